// CWorkingTable: the search's working table, one record for each file the walk listed.
#pragma once
#include "framework/FileSystem.h"
#include "framework/String.h"
#include <vector>

// What two files must share to be duplicates; a file that was not read matches nothing.
struct ContentKey
{
    ULONGLONG length;  // the length compared: the size, or in MP3 mode an MP3 file's audio length
    ULONGLONG fingerprint;
    DWORD crc;
    bool read;  // the contents were read whole, as listed
};

// One file from the walk to its group: where it is, what it was when listed, what it holds.
struct SearchEntry
{
    CString path;
    ListedState listed;
    ContentKey key;
};

// The records change together or not at all: the walk adds them, a stage keeps some, the reading
// threads fill in their keys while they hold the whole table, and the grouping takes the paths.
class CWorkingTable
{
public:
    // As the walk lists a file: what it compares by is its size until a stage says otherwise.
    void Add(const CString& path, const ListedState& listed);
    size_t Size() const { return m_entries.size(); }
    BOOL IsEmpty() const { return m_entries.empty(); }
    SearchEntry& operator[](size_t i) { return m_entries[i]; }
    const SearchEntry& operator[](size_t i) const { return m_entries[i]; }
    const std::vector<SearchEntry>& Entries() const { return m_entries; }

    // Keeps the records flagged in keep, in their order.
    void KeepOnly(const std::vector<BYTE>& keep);
    // Hands every record over (to the reading threads) and takes them back: the table is empty between.
    std::vector<SearchEntry> Lend();
    void Return(std::vector<SearchEntry>&& entries);
    // Lets go of every record and of the memory they took.
    void Release();

private:
    std::vector<SearchEntry> m_entries;
};
