// CListedFiles: the listed files by file index, and by full path where indexes are unknown.
#include "results/ListedFiles.h"
#include "framework/AutoHandle.h"
#include "framework/FileSystem.h"
#include "results/ItemKey.h"
#include <algorithm>

void CListedFiles::AddGroup(const std::vector<Entry>& entries)
{
    m_groupStart.push_back(m_entries.size());
    m_entries.insert(m_entries.end(), entries.begin(), entries.end());
    if (std::any_of(entries.begin(), entries.end(), [](const Entry& entry) { return entry.index == 0; }))
        m_bAnyIndexUnknown = TRUE;
    m_bFullPathsResolved = FALSE;
}

const CListedFiles::Entry* CListedFiles::EntryOf(LPARAM key) const
{
    if (IsSeparatorKey(key) || ItemKeyGroup(key) >= m_groupStart.size())
        return nullptr;
    const size_t nEntry = m_groupStart[ItemKeyGroup(key)] + ItemKeyFile(key);
    const size_t nEnd = ItemKeyGroup(key) + 1 < m_groupStart.size() ? m_groupStart[ItemKeyGroup(key) + 1]
                                                                     : m_entries.size();
    if (nEntry >= nEnd || m_entries[nEntry].index == kGone)
        return nullptr;
    return &m_entries[nEntry];
}

BOOL CListedFiles::StateOf(LPARAM key, ListedState& state) const
{
    const Entry* pEntry = EntryOf(key);
    if (!pEntry)
        return FALSE;
    state = pEntry->state;
    return TRUE;
}

void CListedFiles::Reorder(const std::vector<UINT>& order)
{
    std::vector<Entry> entries;
    std::vector<size_t> groupStart;
    entries.reserve(m_entries.size());
    groupStart.reserve(order.size());
    for (UINT g : order)
    {
        const size_t nEnd = g + 1 < m_groupStart.size() ? m_groupStart[g + 1] : m_entries.size();
        groupStart.push_back(entries.size());
        entries.insert(entries.end(), m_entries.begin() + static_cast<std::ptrdiff_t>(m_groupStart[g]),
                       m_entries.begin() + static_cast<std::ptrdiff_t>(nEnd));
    }
    m_entries.swap(entries);
    m_groupStart.swap(groupStart);
}

void CListedFiles::Forget(LPARAM key)
{
    Entry* pEntry = const_cast<Entry*>(EntryOf(key));
    if (!pEntry)
        return;
    pEntry->index = kGone;
    if (m_bFullPathsResolved)
    {
        const CStringArray* pGroup = m_groups[ItemKeyGroup(key)];
        if (pGroup && ItemKeyFile(key) < static_cast<UINT>(pGroup->GetSize()))
            m_fullPaths.erase(ComparablePath(pGroup->GetAt(ItemKeyFile(key))));
    }
}

void CListedFiles::RemoveAll()
{
    m_entries.clear();
    m_groupStart.clear();
    m_bAnyIndexUnknown = FALSE;
    m_fullPaths.clear();
    m_bFullPathsResolved = FALSE;
}

BOOL CListedFiles::Contains(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot)
{
    if (m_entries.empty())
        return FALSE;
    if (nIndex != 0 && HasIndexOnRootVolume(hFile, nIndex, pszRoot))
        return TRUE;
    return (nIndex == 0 || m_bAnyIndexUnknown) && HasFullPath(pszPath);
}

BOOL CListedFiles::HasIndexOnRootVolume(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszRoot) const
{
    if (std::none_of(m_entries.begin(), m_entries.end(), [nIndex](const Entry& entry) { return entry.index == nIndex; }))
        return FALSE;
    CAutoHandle root(OpenForIdentity(pszRoot));
    return !root.IsValid() || IsOnOneVolume(hFile, root.Get());
}

BOOL CListedFiles::HasFullPath(LPCSTR pszPath)
{
    if (!m_bFullPathsResolved)
    {
        m_fullPaths.clear();
        for (size_t g = 0; g < m_groupStart.size() && g < static_cast<size_t>(m_groups.GetSize()); ++g)
        {
            const CStringArray* pGroup = m_groups[static_cast<INT_PTR>(g)];
            for (INT_PTR f = 0; pGroup && f < pGroup->GetSize(); ++f)
            {
                const size_t nEntry = m_groupStart[g] + static_cast<size_t>(f);
                if (nEntry < m_entries.size() && m_entries[nEntry].index != kGone)
                    m_fullPaths.insert(ComparablePath(pGroup->GetAt(f)));
            }
        }
        m_bFullPathsResolved = TRUE;
    }
    const std::string fullPath = ComparablePath(pszPath);
    return !fullPath.empty() && m_fullPaths.count(fullPath) != 0;
}
