// CResultsTable: the results of the last search: the duplicate groups in their shown order, what each
// listed file was, and the item key of every row of the list. They change only together, through the
// operations below, so that a row always resolves to its own file and a file whose row has gone no
// longer counts as listed.
#pragma once
#include "framework/Array.h"
#include "framework/FileSystem.h"
#include "results/ItemKey.h"
#include "results/ListedFile.h"
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

class CResultsTable
{
public:
    // Groups, added and ordered before any row is shown. A group holds the full paths of equal files
    // in folder-walk order, and for each what it was when it was listed.
    void AddGroup(CStringArray&& paths, std::vector<ListedFile>&& files);
    // Puts the groups in this order: order[k] is the index of the group that goes to place k.
    void Reorder(const std::vector<UINT>& order);
    int GroupCount() const { return static_cast<int>(m_groups.size()); }
    const CStringArray& GroupPaths(int nGroup) const { return m_groups[static_cast<size_t>(nGroup)].paths; }
    // The size the group's first file was listed with, and read at.
    ULONGLONG FirstFileSize(int nGroup) const { return m_groups[static_cast<size_t>(nGroup)].files[0].state.size; }

    // Rows: one per file of a group, and a separator between two groups.
    int RowCount() const { return static_cast<int>(m_keys.size()); }
    // The key of a row; a row outside the list names no file and reads as a separator.
    LPARAM RowKey(int nRow) const;
    // The rows of a group at the end, after a separator unless there are no rows yet.
    void AppendGroupRows(UINT nGroup);
    // The rows that go when the file of row nRow is gone: the row, and the separator that would
    // otherwise stand next to another separator or at either end of the list; from nFirst to nLast.
    void RowsGoingWith(int nRow, int& nFirst, int& nLast) const;
    // Takes out one row; the file of a file row no longer counts as listed.
    void EraseRow(int nRow);
    // How many files of the group the list still shows.
    int ShownFileCount(UINT nGroup) const { return m_groups[nGroup].nShown; }
    // The rows of groups that the list shows with one file only, in row order.
    std::vector<int> RowsOfLoneFiles() const;
    // The groups of which every shown file is marked, flagged by group index, given the marked rows.
    std::vector<BYTE> GroupsAllMarked(const std::vector<int>& markedRows) const;
    // TRUE when another file of the row's group is still shown and still on disk as listed: the row's
    // file is then not the last copy of its content. Unmarked files are looked at first, since a marked
    // one may go next; the file found is tried first the next time.
    BOOL HasOtherCopy(int nRow, const std::function<BOOL(int nRow)>& isMarked);

    // The full path a key names; null for a separator or a key that names no file.
    const CString* PathOfKey(LPARAM key) const;
    // How the file of a row was when it was listed; FALSE for a separator or a file gone.
    BOOL StateOfRow(int nRow, ListedState& state) const;
    // TRUE when the existing file open as file, at pszPath, with file index nIndex (0: unknown), is a
    // listed file still shown: the same file index on the volume of pszRoot, or, where indexes are
    // unknown, the same full path.
    BOOL ShowsFile(const CFile& file, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot);

    // Empties the table, groups and rows alike.
    void Clear();

private:
    static const UINT kNoFile = ~0u;

    struct Group
    {
        CStringArray paths;
        std::vector<ListedFile> files;  // parallel to paths
        int nShown = 0;                 // files whose rows are in the list
        UINT nLastCopyFound = kNoFile;  // the file that last served as another file's copy
    };

    const ListedFile* FileOfKey(LPARAM key) const;
    BOOL IsCopyOnDisk(const Group& group, UINT nFile) const;
    BOOL HasIndexOnRootVolume(const CFile& file, ULONGLONG nIndex, LPCSTR pszRoot) const;
    BOOL HasFullPath(LPCSTR pszPath);

    std::vector<Group> m_groups;
    std::vector<LPARAM> m_keys;  // the item key of every row, in row order
    BOOL m_bAnyIndexUnknown = FALSE;
    // Full paths are resolved only once a copy's target needs them, not for every search.
    std::unordered_set<std::string> m_fullPaths;
    BOOL m_bFullPathsResolved = FALSE;
};
