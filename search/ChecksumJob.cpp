// One file of the checksum stage: its key, from contents of the size it was listed with.
#include "search/ChecksumJob.h"

void ChecksumJobFile(CChecksumJob& job, size_t i, CFileDigester& digester)
{
    SearchEntry& entry = job.entries[i];
    const FileChecksum checksum = job.bMp3 && IsMp3File(entry.path)
                                      ? GetMp3Crc(digester, entry.path)
                                      : GetFileCrc(digester, entry.path, entry.key.length);
    entry.key.fingerprint = checksum.fingerprint;
    entry.key.crc = checksum.crc;
    // A file of another size than listed has changed since: what was read is not what the list shows.
    entry.key.read = checksum.read && checksum.fileSize == entry.listed.size;
}
