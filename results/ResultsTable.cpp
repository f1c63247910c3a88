// CResultsTable: groups, row keys and listed files, kept in step.
#include "results/ResultsTable.h"
#include "framework/Check.h"
#include <algorithm>
#include <utility>

void CResultsTable::AddGroup(CStringArray&& paths, std::vector<ListedFile>&& files)
{
    if (std::any_of(files.begin(), files.end(), [](const ListedFile& file) { return file.state.fileId == 0; }))
        m_bAnyIndexUnknown = TRUE;
    m_groups.push_back(Group{std::move(paths), std::move(files)});
    m_bFullPathsResolved = FALSE;
}

void CResultsTable::Reorder(const std::vector<UINT>& order)
{
    // Each group goes to exactly one place: a group left out or taken twice would leave a group moved
    // from, which rows would then name.
    std::vector<BYTE> placed(m_groups.size(), 0);
    for (UINT g : order)
    {
        if (!VERIFY_STATE(g < placed.size() && !placed[g]))
            return;
        placed[g] = 1;
    }
    if (!VERIFY_STATE(order.size() == m_groups.size()))
        return;
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
    Group& group = m_groups[nGroup];
    const UINT nFiles = static_cast<UINT>(group.paths.GetSize());
    for (UINT nFile = 0; nFile < nFiles; ++nFile)
        m_keys.push_back(MakeItemKey(nGroup, nFile));
    group.nShown = static_cast<int>(nFiles);
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
    if (pFile && pFile->shown)
    {
        pFile->shown = false;
        --m_groups[ItemKeyGroup(key)].nShown;
        if (m_bFullPathsResolved)
            m_fullPaths.erase(ComparablePath(*pPath));
    }
    m_keys.erase(m_keys.begin() + nRow);
}

std::vector<int> CResultsTable::RowsOfLoneFiles() const
{
    std::vector<int> rows;
    for (int nRow = 0; nRow < RowCount(); ++nRow)
    {
        const LPARAM key = m_keys[static_cast<size_t>(nRow)];
        if (!IsSeparatorKey(key) && m_groups[ItemKeyGroup(key)].nShown == 1)
            rows.push_back(nRow);
    }
    return rows;
}

std::vector<BYTE> CResultsTable::GroupsAllMarked(const std::vector<int>& markedRows) const
{
    std::vector<int> marked(m_groups.size(), 0);
    for (int nRow : markedRows)
    {
        if (FileOfKey(RowKey(nRow)))
            ++marked[ItemKeyGroup(RowKey(nRow))];
    }
    std::vector<BYTE> allMarked(m_groups.size(), 0);
    for (size_t g = 0; g < m_groups.size(); ++g)
        allMarked[g] = m_groups[g].nShown > 0 && marked[g] == m_groups[g].nShown;
    return allMarked;
}

BOOL CResultsTable::IsCopyOnDisk(const Group& group, UINT nFile) const
{
    if (nFile >= group.files.size())
        return FALSE;
    const ListedFile& file = group.files[nFile];
    return file.shown && IsAsListed(group.paths[static_cast<INT_PTR>(nFile)], file.state);
}

// A group's rows stand together, between two separators or an end of the list.
BOOL CResultsTable::HasOtherCopy(int nRow, const std::function<BOOL(int nRow)>& isMarked)
{
    const LPARAM key = RowKey(nRow);
    if (!FileOfKey(key))
        return FALSE;
    Group& group = m_groups[ItemKeyGroup(key)];
    const UINT nFile = ItemKeyFile(key);
    if (group.nLastCopyFound != nFile && IsCopyOnDisk(group, group.nLastCopyFound))
        return TRUE;
    int nFirst = nRow;
    int nLast = nRow;
    while (nFirst > 0 && !IsSeparatorKey(RowKey(nFirst - 1)))
        --nFirst;
    while (nLast + 1 < RowCount() && !IsSeparatorKey(RowKey(nLast + 1)))
        ++nLast;
    for (const BOOL bMarked : {FALSE, TRUE})
    {
        for (int nOther = nFirst; nOther <= nLast; ++nOther)
        {
            const UINT nOtherFile = ItemKeyFile(RowKey(nOther));
            if (nOther == nRow || nOtherFile == group.nLastCopyFound || !isMarked(nOther) != !bMarked)
                continue;
            if (IsCopyOnDisk(group, nOtherFile))
            {
                group.nLastCopyFound = nOtherFile;
                return TRUE;
            }
        }
    }
    return FALSE;
}

// Every key of a row was made from the groups, which change no more once rows name them.
const CString* CResultsTable::PathOfKey(LPARAM key) const
{
    if (IsSeparatorKey(key) || !VERIFY_STATE(ItemKeyGroup(key) < m_groups.size()))
        return nullptr;
    const CStringArray& paths = m_groups[ItemKeyGroup(key)].paths;
    if (!VERIFY_STATE(ItemKeyFile(key) < static_cast<UINT>(paths.GetSize())))
        return nullptr;
    return &paths[ItemKeyFile(key)];
}

const ListedFile* CResultsTable::FileOfKey(LPARAM key) const
{
    if (!PathOfKey(key))
        return nullptr;
    const ListedFile& file = m_groups[ItemKeyGroup(key)].files[ItemKeyFile(key)];
    return file.shown ? &file : nullptr;
}

BOOL CResultsTable::StateOfRow(int nRow, ListedState& state) const
{
    const ListedFile* pFile = FileOfKey(RowKey(nRow));
    if (!pFile)
        return FALSE;
    state = pFile->state;
    return TRUE;
}

BOOL CResultsTable::ShowsFile(const CFile& file, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot)
{
    if (m_groups.empty())
        return FALSE;
    if (nIndex != 0 && HasIndexOnRootVolume(file, nIndex, pszRoot))
        return TRUE;
    return (nIndex == 0 || m_bAnyIndexUnknown) && HasFullPath(pszPath);
}

// A copy or move looks through the files only when its target exists, which costs far less than
// keeping a second index of every listed file.
BOOL CResultsTable::HasIndexOnRootVolume(const CFile& file, ULONGLONG nIndex, LPCSTR pszRoot) const
{
    const auto hasIndex = [nIndex](const Group& group)
    {
        return std::any_of(group.files.begin(), group.files.end(),
                           [nIndex](const ListedFile& file) { return file.shown && file.state.fileId == nIndex; });
    };
    if (std::none_of(m_groups.begin(), m_groups.end(), hasIndex))
        return FALSE;
    CFile root;
    return !root.OpenForIdentity(pszRoot) || file.IsOnOneVolume(root);
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
                if (group.files[static_cast<size_t>(f)].shown)
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
