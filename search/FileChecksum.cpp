// File reading for checksums: plain ReadFile into a reused buffer, any failure or short read gives no checksum.
#include "search/FileChecksum.h"
#include "search/ContentHasher.h"
#include "search/Mp3Tags.h"
#include "framework/ScopedWin.h"
#include "framework/FileSystem.h"
#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace
{

const std::align_val_t kReadBufferAlignment = std::align_val_t(4096);
const FileChecksum kNoChecksum = {0, 0, 0, 0, false};
const Mp3AudioSpan kNoAudio = {0, 0};

// Not memory mapping: a read error inside a mapped view arrives as an exception instead of an error code.
HANDLE OpenForReading(LPCSTR path)
{
    return OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
}

FileChecksum Finished(const CContentHasher& hasher, HANDLE file, ULONGLONG fileSize)
{
    const FileChecksum checksum = {hasher.Crc(), hasher.Fingerprint(), FileIndexOf(file), fileSize, true};
    return checksum;
}

bool GetLength(HANDLE file, ULONGLONG* length)
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file, &size))
        return false;
    *length = static_cast<ULONGLONG>(size.QuadPart);
    return true;
}

// Seek, then read: positioned reads through OVERLAPPED cost about 40 us each under Wine, these under 1 us.
bool Seek(HANDLE file, ULONGLONG offset)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, to, NULL, FILE_BEGIN) != FALSE;
}

// A short read means the file shrank since its length was taken, which counts as a failure.
bool ReadExactly(HANDLE file, BYTE* buffer, DWORD count)
{
    DWORD got = 0;
    return ::ReadFile(file, buffer, count, &got, NULL) && got == count;
}

// On a file just opened, which reads from its start; *length receives the file's size.
Mp3AudioSpan ProbeMp3Audio(HANDLE file, ULONGLONG* length)
{
    if (!GetLength(file, length))
        return kNoAudio;
    BYTE head[kId3v2HeaderSize];
    BYTE tailTag[kTagMarkerSize];
    const DWORD headCount = static_cast<DWORD>(std::min<ULONGLONG>(*length, kId3v2HeaderSize));
    const bool hasTailTag = *length >= kId3v1TagSize;
    if (!ReadExactly(file, head, headCount))
        return kNoAudio;
    if (hasTailTag && (!Seek(file, *length - kId3v1TagSize) || !ReadExactly(file, tailTag, kTagMarkerSize)))
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

FileChecksum CFileDigester::DigestRange(HANDLE file, ULONGLONG offset, ULONGLONG length, ULONGLONG fileSize)
{
    if (!Seek(file, offset))
        return kNoChecksum;
    CContentHasher hasher;
    for (ULONGLONG done = 0; done < length;)
    {
        if (done > 0 && !MayGoOn())
            return kNoChecksum;
        const DWORD count = static_cast<DWORD>(std::min<ULONGLONG>(length - done, kLoadSize));
        if (!ReadExactly(file, m_buffer.get(), count))
            return kNoChecksum;
        hasher.Update(m_buffer.get(), count);
        done += count;
    }
    return Finished(hasher, file, fileSize);
}

// Reads until a load comes up short, which on a disk file means its end: asking for the size
// first and seeking to the start would each cost a call per file and tell nothing more.
FileChecksum CFileDigester::WholeFile(LPCSTR path, ULONGLONG listedSize)
{
    CAutoHandle file(OpenForReading(path));
    if (!file.IsValid())
        return kNoChecksum;
    CContentHasher hasher;
    ULONGLONG done = 0;
    for (DWORD got = kLoadSize; got == kLoadSize;)
    {
        if (done > 0 && !MayGoOn())
            return kNoChecksum;
        if (!::ReadFile(file.Get(), m_buffer.get(), kLoadSize, &got, NULL))
            return kNoChecksum;
        done += got;
        if (done > listedSize)
            return kNoChecksum;  // grown since it was listed: no need to read the rest
        hasher.Update(m_buffer.get(), got);
    }
    if (done != listedSize)
        return kNoChecksum;
    return Finished(hasher, file.Get(), done);
}

FileChecksum CFileDigester::Mp3Audio(LPCSTR path)
{
    CAutoHandle file(OpenForReading(path));
    if (!file.IsValid())
        return kNoChecksum;
    ULONGLONG fileSize = 0;
    const Mp3AudioSpan span = ProbeMp3Audio(file.Get(), &fileSize);
    // No audio between the tags, or tags that do not fit: nothing that could be compared.
    if (span.length == 0)
        return kNoChecksum;
    return DigestRange(file.Get(), span.offset, span.length, fileSize);
}

ULONGLONG CFileDigester::Mp3AudioLength(LPCSTR path)
{
    CAutoHandle file(OpenForReading(path));
    if (!file.IsValid())
        return 0;
    ULONGLONG fileSize = 0;
    return ProbeMp3Audio(file.Get(), &fileSize).length;
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
