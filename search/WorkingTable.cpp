// CWorkingTable: adding, keeping, lending and releasing the search's records.
#include "search/WorkingTable.h"
#include "framework/Check.h"
#include <utility>

void CWorkingTable::Add(const CString& path, const ListedState& listed)
{
    // Copied, not moved: the copy is sized to the path, while the joined text the walk hands in has
    // room to spare, which at a million files is some 50 MB.
    m_entries.push_back(SearchEntry{path, listed, ContentKey{listed.size, 0, 0, false}});
}

void CWorkingTable::KeepOnly(const std::vector<BYTE>& keep)
{
    if (!VERIFY_STATE(keep.size() == m_entries.size()))
        return;
    size_t nKept = 0;
    for (size_t i = 0; i < m_entries.size(); ++i)
    {
        if (!keep[i])
            continue;
        if (nKept != i)
            m_entries[nKept] = std::move(m_entries[i]);
        ++nKept;
    }
    m_entries.resize(nKept);
}

std::vector<SearchEntry> CWorkingTable::Lend()
{
    return std::exchange(m_entries, {});
}

void CWorkingTable::Return(std::vector<SearchEntry>&& entries)
{
    m_entries = std::move(entries);
}

void CWorkingTable::Release()
{
    std::vector<SearchEntry>().swap(m_entries);
}
