// CChecksumJob: the checksum stage's work, handed whole to the reading threads.
#pragma once
#include "framework/Array.h"
#include "search/FileChecksum.h"
#include "search/SearchTables.h"
#include <vector>

// The reading threads only read the inputs, and each writes the results of the files it reads; the
// window reads a file's results only once the reader has handed the file over (CReadAhead::Take).
// A reading thread left running after a stop holds the job until it ends.
struct CChecksumJob
{
    // In.
    CStringArray paths;
    BOOL bMp3 = FALSE;
    // In and out: each file's size as listed (its audio length in MP3 mode), which the thread that
    // reads the file replaces by the whole file's size as read; the group order sorts by that.
    CArray<ULONGLONG> lengths;
    // Out, one entry per file.
    std::vector<ContentKey> keys;
};

// What a reading thread runs for file i of the job.
void ChecksumJobFile(CChecksumJob& job, size_t i, CFileDigester& digester);
