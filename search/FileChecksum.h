// Checksums of files on disk: the whole content, or the MP3 audio between its tags.
#pragma once
#include "framework/FileSystem.h"
#include <windows.h>
#include <functional>
#include <memory>

// read is false when the file gave no checksum (it could not be read whole); crc 0 is a checksum like
// any other, the one of every content made only of zero bytes. fileSize is the whole file's size as
// read on the open handle, which is no part of the contents.
struct FileChecksum
{
    DWORD crc;
    ULONGLONG fingerprint;
    ULONGLONG fileSize;
    bool read;
};

inline bool operator==(const FileChecksum& a, const FileChecksum& b)
{
    return a.read == b.read && a.crc == b.crc && a.fingerprint == b.fingerprint;
}

// Reads through one buffer allocated up front, so checksumming many files allocates nothing per file.
class CFileDigester
{
public:
    // Measured under Wine: at 256 KiB the cost of each ReadFile call shows, 1 MiB no longer stays in L2 while hashed.
    static constexpr DWORD kLoadSize = 512 * 1024;

    // betweenChunks runs between two buffer loads of one file, so that a long file does not keep
    // its caller's window silent; when it returns false the file is left with no checksum.
    explicit CFileDigester(std::function<bool()> betweenChunks = nullptr);
    // listedSize is the size the file was listed with: content of another length (the file
    // changed since) gets no checksum.
    FileChecksum WholeFile(LPCSTR path, ULONGLONG listedSize);
    FileChecksum Mp3Audio(LPCSTR path);
    // Reads only the few tag bytes; 0 when the file cannot be opened or its tags do not fit.
    static ULONGLONG Mp3AudioLength(LPCSTR path);

private:
    FileChecksum DigestRange(CFile& file, ULONGLONG offset, ULONGLONG length, ULONGLONG fileSize);
    bool MayGoOn() const { return !m_betweenChunks || m_betweenChunks(); }

    struct CBufferRelease
    {
        void operator()(BYTE* buffer) const;
    };
    std::unique_ptr<BYTE, CBufferRelease> m_buffer;
    std::function<bool()> m_betweenChunks;
};

// A name ending in "mp3", in any letter case: in MP3 mode such a file compares by its audio alone.
BOOL IsMp3File(LPCSTR pszPath);

// The checksum of the whole file, read through the digester of the thread that reads it; none when
// its content has another length than listed (it changed since).
FileChecksum GetFileCrc(CFileDigester& digester, LPCSTR pszPath, ULONGLONG nListedSize);
// The checksum of an MP3 file's audio, between its tags.
FileChecksum GetMp3Crc(CFileDigester& digester, LPCSTR pszPath);
// The length of an MP3 file's audio, from the few bytes of its tags; 0 when it cannot be read.
ULONGLONG GetMp3DataSize(LPCSTR pszPath);
