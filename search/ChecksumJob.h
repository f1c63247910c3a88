// CChecksumJob: the checksum stage's work, handed whole to the reading threads.
#pragma once
#include "search/FileChecksum.h"
#include "search/WorkingTable.h"
#include <vector>

// The working table's records, lent to the reading threads for the stage. A thread only reads a
// record's path and listing, and writes the key of the file it reads; the window reads a record only
// once the reader has handed its file over (CReadAhead::Take), and only its path before. A reading
// thread left running after a stop holds the job until it ends.
struct CChecksumJob
{
    std::vector<SearchEntry> entries;
    std::vector<UINT> toRead;  // the entries whose keys are read, in table order; the store gives the others'
    BOOL bMp3 = FALSE;
};

// What a reading thread runs for file i of the job, entries[i].
void ChecksumJobFile(CChecksumJob& job, size_t i, CFileDigester& digester);
