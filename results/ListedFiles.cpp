// CListedFiles: the listed files by file index, and by full path where indexes are unknown.
#include "results/ListedFiles.h"
#include "framework/AutoHandle.h"
#include "ops/FileSystem.h"
#include "results/ItemKey.h"
#include <algorithm>

void CListedFiles::AddGroup(const std::vector<ULONGLONG>& indexes)
{
    m_groupStart.push_back(m_indexes.size());
    m_indexes.insert(m_indexes.end(), indexes.begin(), indexes.end());
    if (std::find(indexes.begin(), indexes.end(), 0ull) != indexes.end())
        m_bAnyIndexUnknown = TRUE;
    m_bFullPathsResolved = FALSE;
}

void CListedFiles::Reorder(const std::vector<UINT>& order)
{
    std::vector<ULONGLONG> indexes;
    std::vector<size_t> groupStart;
    indexes.reserve(m_indexes.size());
    groupStart.reserve(order.size());
    for (UINT g : order)
    {
        const size_t nEnd = g + 1 < m_groupStart.size() ? m_groupStart[g + 1] : m_indexes.size();
        groupStart.push_back(indexes.size());
        indexes.insert(indexes.end(), m_indexes.begin() + static_cast<std::ptrdiff_t>(m_groupStart[g]),
                       m_indexes.begin() + static_cast<std::ptrdiff_t>(nEnd));
    }
    m_indexes.swap(indexes);
    m_groupStart.swap(groupStart);
}

void CListedFiles::Forget(LPARAM key)
{
    if (IsSeparatorKey(key) || ItemKeyGroup(key) >= m_groupStart.size())
        return;
    const size_t nEntry = m_groupStart[ItemKeyGroup(key)] + ItemKeyFile(key);
    if (nEntry >= m_indexes.size() || m_indexes[nEntry] == kGone)
        return;
    m_indexes[nEntry] = kGone;
    if (m_bFullPathsResolved)
    {
        const CStringArray* pGroup = m_groups[ItemKeyGroup(key)];
        if (pGroup && ItemKeyFile(key) < static_cast<UINT>(pGroup->GetSize()))
            m_fullPaths.erase(ComparablePath(pGroup->GetAt(ItemKeyFile(key))));
    }
}

void CListedFiles::RemoveAll()
{
    m_indexes.clear();
    m_groupStart.clear();
    m_bAnyIndexUnknown = FALSE;
    m_fullPaths.clear();
    m_bFullPathsResolved = FALSE;
}

BOOL CListedFiles::Contains(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot)
{
    if (m_indexes.empty())
        return FALSE;
    if (nIndex != 0 && HasIndexOnRootVolume(hFile, nIndex, pszRoot))
        return TRUE;
    return (nIndex == 0 || m_bAnyIndexUnknown) && HasFullPath(pszPath);
}

BOOL CListedFiles::HasIndexOnRootVolume(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszRoot) const
{
    if (std::find(m_indexes.begin(), m_indexes.end(), nIndex) == m_indexes.end())
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
                if (nEntry < m_indexes.size() && m_indexes[nEntry] != kGone)
                    m_fullPaths.insert(ComparablePath(pGroup->GetAt(f)));
            }
        }
        m_bFullPathsResolved = TRUE;
    }
    const std::string fullPath = ComparablePath(pszPath);
    return !fullPath.empty() && m_fullPaths.count(fullPath) != 0;
}
