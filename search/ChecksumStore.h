// CChecksumStore: the keys of files read by earlier searches, remembered by file identity.
#pragma once
#include "search/WorkingTable.h"
#include <windows.h>
#include <functional>
#include <vector>

// What is remembered of one file: its id on its volume, the state it had when it was read, and what
// was read. No name and no path: the store tells nothing of what the user keeps.
struct StoredFile
{
    ULONGLONG fileId;
    ULONGLONG size;
    ULONGLONG writeTime;
    ULONGLONG changeTime;
    ULONGLONG fingerprint;  // of the whole contents, when flags has kWholeFile
    DWORD crc;
    WORD age;    // searches of its volume since it was last read or found
    WORD flags;  // kWholeFile, kAudio
};
static_assert(sizeof(StoredFile) == 48, "the store's records are 48 bytes");

// The audio of an MP3 file between its tags, kept while the StoredFile of the same id is as it was.
struct StoredAudio
{
    ULONGLONG fileId;
    ULONGLONG length;
    ULONGLONG fingerprint;
    DWORD crc;
    DWORD reserved;
};
static_assert(sizeof(StoredAudio) == 32, "the store's audio records are 32 bytes");

// A key is taken from the store only for a file whose id, size, write time and change time all equal
// those it was read with: any change at all, even one with the write time set back, moves the change
// time, which no program can set back.
//
// The store holds a section for each volume searched. A search looks up and renews only its own
// volume's, whose files unseen for kMaxAge searches of that volume are dropped; the whole store holds at
// most kMaxFiles files, and beyond that the sections searched least recently go first.
class CChecksumStore
{
public:
    static const WORD kMaxAge = 10;
    static const size_t kMaxFiles = 2000000;
    // Reads or writes exactly that many bytes; FALSE when it cannot.
    using Transfer = std::function<BOOL(void* pData, size_t nBytes)>;

    explicit CChecksumStore(ULONGLONG volumeSerial) : m_volumeSerial(volumeSerial) {}
    CChecksumStore(const CChecksumStore&) = delete;
    CChecksumStore& operator=(const CChecksumStore&) = delete;

    // A store that is cut short, of another format or that fails its own checksum counts as empty,
    // and is written anew. FALSE then.
    BOOL Load(const Transfer& read);
    // The whole file's key, or an MP3 file's audio key (its length the audio's), of a file unchanged
    // since it was read; FALSE when there is none.
    BOOL FindWholeFile(const ListedState& listed, ContentKey& key);
    BOOL FindAudio(const ListedState& listed, ContentKey& key);
    // Writes the store with what this search read: entries[i] for every i of read, whose key is the
    // audio's when isAudio(i). The other volumes' sections go as they were.
    BOOL Save(const std::vector<SearchEntry>& entries, const std::vector<UINT>& read,
              const std::function<bool(UINT)>& isAudio, const Transfer& write);

private:
    struct Section
    {
        ULONGLONG volumeSerial = 0;
        ULONGLONG lastSave = 0;
        std::vector<StoredFile> files;   // by file id
        std::vector<StoredAudio> audio;  // by file id
    };

    StoredFile* FindFile(const ListedState& listed);
    void Clear();

    ULONGLONG m_volumeSerial;
    ULONGLONG m_saveCount = 0;
    Section m_section;              // this volume's
    std::vector<Section> m_others;  // the other volumes', kept as they are
};
