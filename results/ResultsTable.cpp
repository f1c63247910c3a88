// CResultsTable: groups, row keys and listed files, kept in step.
#include "results/ResultsTable.h"
#include "framework/ScopedWin.h"
#include "framework/FileSystem.h"
#include <algorithm>
#include <utility>

void CResultsTable::AddGroup(CStringArray&& paths, std::vector<ListedFile>&& files)
{
    if (std::any_of(files.begin(), files.end(), [](const ListedFile& file) { return file.index == 0; }))
        m_bAnyIndexUnknown = TRUE;
    m_groups.push_back(Group{std::move(paths), std::move(files)});
    m_bFullPathsResolved = FALSE;
}

void CResultsTable::Reorder(const std::vector<UINT>& order)
{
    std::vector<Group> ordered;
    ordered.reserve(order.size());
    for (UINT g : order)
        ordered.push_back(std::move(m_groups[g]));
    m_groups.swap(ordered);
}

LPARAM CResultsTable::RowKey(int nRow) const
{
    if (nRow < 0 || nRow >= RowCount())
        return kSeparatorKey;
    return m_keys[static_cast<size_t>(nRow)];
}

void CResultsTable::AppendGroupRows(UINT nGroup)
{
    if (!m_keys.empty())
        m_keys.push_back(kSeparatorKey);
    const UINT nFiles = static_cast<UINT>(m_groups[nGroup].paths.GetSize());
    for (UINT nFile = 0; nFile < nFiles; ++nFile)
        m_keys.push_back(MakeItemKey(nGroup, nFile));
}

void CResultsTable::RowsGoingWith(int nRow, int& nFirst, int& nLast) const
{
    const int nRows = RowCount();
    const BOOL bFirstOfBlock = nRow == 0 || IsSeparatorKey(RowKey(nRow - 1));
    nFirst = nRow;
    nLast = nRow;
    if (bFirstOfBlock && nRow + 1 < nRows && IsSeparatorKey(RowKey(nRow + 1)))
        nLast = nRow + 1;
    else if (bFirstOfBlock && nRow + 1 == nRows && nRow > 0)
        nFirst = nRow - 1;
}

void CResultsTable::EraseRow(int nRow)
{
    if (nRow < 0 || nRow >= RowCount())
        return;
    const LPARAM key = m_keys[static_cast<size_t>(nRow)];
    const CString* pPath = PathOfKey(key);
    ListedFile* pFile = pPath ? &m_groups[ItemKeyGroup(key)].files[ItemKeyFile(key)] : nullptr;
    if (pFile && pFile->index != kGone)
    {
        pFile->index = kGone;
        if (m_bFullPathsResolved)
            m_fullPaths.erase(ComparablePath(*pPath));
    }
    m_keys.erase(m_keys.begin() + nRow);
}

const CString* CResultsTable::PathOfKey(LPARAM key) const
{
    if (IsSeparatorKey(key) || ItemKeyGroup(key) >= m_groups.size())
        return nullptr;
    const CStringArray& paths = m_groups[ItemKeyGroup(key)].paths;
    if (ItemKeyFile(key) >= static_cast<UINT>(paths.GetSize()))
        return nullptr;
    return &paths[ItemKeyFile(key)];
}

const ListedFile* CResultsTable::FileOfKey(LPARAM key) const
{
    if (!PathOfKey(key))
        return nullptr;
    const ListedFile& file = m_groups[ItemKeyGroup(key)].files[ItemKeyFile(key)];
    return file.index == kGone ? nullptr : &file;
}

BOOL CResultsTable::StateOfRow(int nRow, ListedState& state) const
{
    const ListedFile* pFile = FileOfKey(RowKey(nRow));
    if (!pFile)
        return FALSE;
    state = pFile->state;
    return TRUE;
}

BOOL CResultsTable::ShowsFile(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot)
{
    if (m_groups.empty())
        return FALSE;
    if (nIndex != 0 && HasIndexOnRootVolume(hFile, nIndex, pszRoot))
        return TRUE;
    return (nIndex == 0 || m_bAnyIndexUnknown) && HasFullPath(pszPath);
}

// A copy or move looks through the files only when its target exists, which costs far less than
// keeping a second index of every listed file.
BOOL CResultsTable::HasIndexOnRootVolume(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszRoot) const
{
    const auto hasIndex = [nIndex](const Group& group)
    {
        return std::any_of(group.files.begin(), group.files.end(),
                           [nIndex](const ListedFile& file) { return file.index == nIndex; });
    };
    if (std::none_of(m_groups.begin(), m_groups.end(), hasIndex))
        return FALSE;
    CAutoHandle root(OpenForIdentity(pszRoot));
    return !root.IsValid() || IsOnOneVolume(hFile, root.Get());
}

BOOL CResultsTable::HasFullPath(LPCSTR pszPath)
{
    if (!m_bFullPathsResolved)
    {
        m_fullPaths.clear();
        for (const Group& group : m_groups)
        {
            for (INT_PTR f = 0; f < group.paths.GetSize(); ++f)
            {
                if (group.files[static_cast<size_t>(f)].index != kGone)
                    m_fullPaths.insert(ComparablePath(group.paths[f]));
            }
        }
        m_bFullPathsResolved = TRUE;
    }
    const std::string fullPath = ComparablePath(pszPath);
    return !fullPath.empty() && m_fullPaths.count(fullPath) != 0;
}

void CResultsTable::Clear()
{
    std::vector<LPARAM>().swap(m_keys);
    std::vector<Group>().swap(m_groups);
    m_bAnyIndexUnknown = FALSE;
    m_fullPaths.clear();
    m_bFullPathsResolved = FALSE;
}
