// One file of the checksum stage: its checksum, with the size it had when it was read.
#include "search/ChecksumJob.h"

void ChecksumJobFile(CChecksumJob& job, size_t i, CFileDigester& digester)
{
    const CString& path = job.paths[static_cast<INT_PTR>(i)];
    ULONGLONG& nLength = job.lengths[static_cast<INT_PTR>(i)];
    const FileChecksum checksum =
        job.bMp3 && IsMp3File(path) ? GetMp3Crc(digester, path) : GetFileCrc(digester, path, nLength);
    job.keys[i] = ContentKey{nLength, checksum.fingerprint, checksum.crc, checksum.read, checksum.fileIndex};
    nLength = checksum.fileSize;
}
