// The checksum store's file: its headers and records, read and written in order, hashed as they go.
#pragma once
#include "search/ChecksumStore.h"
#include "search/ContentHasher.h"

namespace checksum_store
{
// The file: a header, a section for each volume (a header, its files, its audio records), and the
// checksum of everything before it. Numbers are as the machine holds them.
struct StoreHeader
{
    char magic[8];
    DWORD version;
    DWORD sectionCount;
    ULONGLONG saveCount;  // the stores written so far: a section's lastSave tells how recent it is
};

struct SectionHeader
{
    ULONGLONG volumeSerial;
    ULONGLONG lastSave;
    DWORD fileCount;
    DWORD audioCount;
};

const WORD kWholeFile = 1;
const WORD kAudio = 2;

// The bytes of a section's records.
ULONGLONG RecordBytes(const SectionHeader& section);
bool IsSameState(const StoredFile& stored, const ListedState& listed);
// The header of a store of this format.
StoreHeader MakeHeader(DWORD nSections, ULONGLONG saveCount);

// Reads the store in order, hashing what it reads, and tells whether what it read so far made sense.
class CStoreReader
{
public:
    explicit CStoreReader(const Read& read) : m_read(read) {}

    bool Take(void* pData, size_t nBytes);
    // A header of this format, a section header with counts that can be.
    bool Header(StoreHeader& header);
    bool Section(SectionHeader& header);
    // The records of a section one at a time, each checked to follow the one before by id.
    template <class Record> bool Next(Record& record, ULONGLONG& lastId)
    {
        if (!Take(&record, sizeof(record)) || (lastId != 0 && record.fileId <= lastId))
            return m_bGood = false;
        lastId = record.fileId;
        return true;
    }
    bool Skip(ULONGLONG nBytes);
    // The end: the checksum of all that was read.
    bool Trailer();

private:
    const Read& m_read;
    CContentHasher m_hasher;
    bool m_bGood = true;
};

// Writes through a buffer, so that a record at a time costs no call to the system, and hashes it.
class CStoreWriter
{
public:
    explicit CStoreWriter(const Write& write);

    void Put(const void* pData, size_t nBytes);
    // The checksum of all that was put, and the last of the buffer; FALSE when any write failed.
    BOOL Finish();

private:
    void Flush();

    const Write& m_write;
    std::vector<BYTE> m_buffer;
    CContentHasher m_hasher;
    BOOL m_bGood = TRUE;
};
}  // namespace checksum_store
