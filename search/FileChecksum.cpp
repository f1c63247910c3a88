// File reading for checksums: plain reads into a reused buffer; any failure or short read gives no checksum.
#include "search/FileChecksum.h"
#include "search/ContentHasher.h"
#include "search/Mp3Tags.h"
#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace
{

const std::align_val_t kReadBufferAlignment = std::align_val_t(4096);
const FileChecksum kNoChecksum = {0, 0, 0, false};
const Mp3AudioSpan kNoAudio = {0, 0};

FileChecksum Finished(const CContentHasher& hasher, ULONGLONG fileSize)
{
    const FileChecksum checksum = {hasher.Crc(), hasher.Fingerprint(), fileSize, true};
    return checksum;
}

// On a file just opened, which reads from its start; *length receives the file's size.
Mp3AudioSpan ProbeMp3Audio(CFile& file, ULONGLONG* length)
{
    if (!file.GetLength(*length))
        return kNoAudio;
    BYTE head[kId3v2HeaderSize];
    BYTE tailTag[kTagMarkerSize];
    const DWORD headCount = static_cast<DWORD>(std::min<ULONGLONG>(*length, kId3v2HeaderSize));
    const bool hasTailTag = *length >= kId3v1TagSize;
    if (!file.ReadExactly(head, headCount))
        return kNoAudio;
    if (hasTailTag && (!file.Seek(*length - kId3v1TagSize) || !file.ReadExactly(tailTag, kTagMarkerSize)))
        return kNoAudio;
    return LocateMp3Audio(*length, head, hasTailTag ? tailTag : NULL);
}

}  // namespace

void CFileDigester::CBufferRelease::operator()(BYTE* buffer) const
{
    ::operator delete(buffer, kReadBufferAlignment);
}

CFileDigester::CFileDigester(std::function<bool()> betweenChunks)
    : m_buffer(static_cast<BYTE*>(::operator new(kLoadSize, kReadBufferAlignment))),
      m_betweenChunks(std::move(betweenChunks))
{
}

FileChecksum CFileDigester::DigestRange(CFile& file, ULONGLONG offset, ULONGLONG length, ULONGLONG fileSize)
{
    if (!file.Seek(offset))
        return kNoChecksum;
    CContentHasher hasher;
    for (ULONGLONG done = 0; done < length;)
    {
        if (done > 0 && !MayGoOn())
            return kNoChecksum;
        const DWORD count = static_cast<DWORD>(std::min<ULONGLONG>(length - done, kLoadSize));
        if (!file.ReadExactly(m_buffer.get(), count))
            return kNoChecksum;
        hasher.Update(m_buffer.get(), count);
        done += count;
    }
    return Finished(hasher, fileSize);
}

// Reads until a load comes up short, which on a disk file means its end: asking for the size
// first and seeking to the start would each cost a call per file and tell nothing more.
FileChecksum CFileDigester::WholeFile(LPCSTR path, ULONGLONG listedSize)
{
    // Not memory mapping: a read error inside a mapped view arrives as an exception, not an error code.
    CFile file;
    if (!file.OpenForReading(path))
        return kNoChecksum;
    CContentHasher hasher;
    ULONGLONG done = 0;
    for (DWORD got = kLoadSize; got == kLoadSize;)
    {
        if (done > 0 && !MayGoOn())
            return kNoChecksum;
        if (!file.Read(m_buffer.get(), kLoadSize, got))
            return kNoChecksum;
        done += got;
        if (done > listedSize)
            return kNoChecksum;  // grown since it was listed: no need to read the rest
        hasher.Update(m_buffer.get(), got);
    }
    if (done != listedSize)
        return kNoChecksum;
    return Finished(hasher, done);
}

FileChecksum CFileDigester::Mp3Audio(LPCSTR path)
{
    CFile file;
    if (!file.OpenForReading(path))
        return kNoChecksum;
    ULONGLONG fileSize = 0;
    const Mp3AudioSpan span = ProbeMp3Audio(file, &fileSize);
    // No audio between the tags, or tags that do not fit: nothing that could be compared.
    if (span.length == 0)
        return kNoChecksum;
    return DigestRange(file, span.offset, span.length, fileSize);
}

ULONGLONG CFileDigester::Mp3AudioLength(LPCSTR path)
{
    CFile file;
    if (!file.OpenForReading(path))
        return 0;
    ULONGLONG fileSize = 0;
    return ProbeMp3Audio(file, &fileSize).length;
}

BOOL IsMp3File(LPCSTR pszPath)
{
    const size_t length = std::strlen(pszPath);
    return length >= 3 && ::lstrcmpiA(pszPath + length - 3, "mp3") == 0;
}

FileChecksum GetFileCrc(CFileDigester& digester, LPCSTR pszPath, ULONGLONG nListedSize)
{
    return digester.WholeFile(pszPath, nListedSize);
}

FileChecksum GetMp3Crc(CFileDigester& digester, LPCSTR pszPath)
{
    return digester.Mp3Audio(pszPath);
}

ULONGLONG GetMp3DataSize(LPCSTR pszPath)
{
    return CFileDigester::Mp3AudioLength(pszPath);
}
