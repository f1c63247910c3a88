// The checksum store: the keys of files read by earlier searches, remembered by file identity, read
// and written as a stream so that no search ever holds the whole store.
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
// time, which no program can set back. A file with no id or no change time is neither looked up nor kept.
//
// The store holds a section for each volume searched. A search looks up and renews only its own
// volume's, whose files unseen for kMaxAge searches of that volume are dropped; the whole store holds at
// most kMaxFiles files, and beyond that the sections searched least recently go first.
namespace checksum_store
{
const WORD kMaxAge = 10;
const size_t kMaxFiles = 2000000;

// Reads the next nBytes of the store, or FALSE; reading starts at the store's beginning.
using Read = std::function<BOOL(void* pData, size_t nBytes)>;
// A reading of the store from its beginning, each time it is called.
using Source = std::function<Read()>;
using Write = std::function<BOOL(const void* pData, size_t nBytes)>;

// Entries the store may know (with an id and a change time): their indexes, by file id.
std::vector<UINT> KnowableById(const std::vector<SearchEntry>& entries);

// TRUE when the store is of this format, complete, and its own checksum is right. A store that is not
// is never looked up: it is ignored, and written anew.
BOOL IsWhole(const Read& read);

// For each entries[i], i of byId, that the volume's section knows in its present state: found(i, key),
// with the audio's key when wantsAudio(i), the whole file's otherwise. Only for a store found whole.
void LookUp(const Read& read, ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries,
            const std::vector<UINT>& byId, const std::function<bool(UINT)>& wantsAudio,
            const std::function<void(UINT, const ContentKey&)>& found);

// The store written anew: the volume's section renewed with this search, whose files are entries[i] for
// i of byId; those read now (readNow(i)) are kept with their key, the audio's when isAudio(i). Files of
// the section found as they were are kept and renewed; the others age. The other volumes' sections go
// as they were. The old store comes from source, read twice, or from nowhere when source is empty or
// it is not whole.
BOOL Renew(const Source& source, ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries,
           const std::vector<UINT>& byId, const std::function<bool(UINT)>& readNow,
           const std::function<bool(UINT)>& isAudio, const Write& write);
}  // namespace checksum_store
