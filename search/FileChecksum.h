// Checksums of files on disk: the whole content, or the MP3 audio between its tags.
#pragma once
#include <windows.h>
#include <memory>

// crc 0 means "no checksum" (unreadable, empty or all-zero content); the fingerprint is then 0 too.
// fileIndex tells which physical file was read (0: unknown); it is no part of the contents.
struct FileChecksum
{
    DWORD crc;
    ULONGLONG fingerprint;
    ULONGLONG fileIndex;
};

inline bool operator==(const FileChecksum& a, const FileChecksum& b)
{
    return a.crc == b.crc && a.fingerprint == b.fingerprint;
}

// Reads through one buffer allocated up front, so checksumming many files allocates nothing per file.
class CFileDigester
{
public:
    CFileDigester();
    FileChecksum WholeFile(LPCSTR path);
    FileChecksum Mp3Audio(LPCSTR path);
    // Reads only the few tag bytes; 0 when the file cannot be opened or its tags do not fit.
    static ULONGLONG Mp3AudioLength(LPCSTR path);

private:
    FileChecksum DigestRange(HANDLE file, ULONGLONG offset, ULONGLONG length);

    struct CBufferRelease
    {
        void operator()(BYTE* buffer) const;
    };
    std::unique_ptr<BYTE, CBufferRelease> m_buffer;
};
