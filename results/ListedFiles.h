// CListedFiles: the file identities of the results, parallel to the group table, so that a copy or
// move can refuse to write over a file that the list still shows. A file stops counting when an
// operation deletes or moves it away.
#pragma once
#include "ops/ListedState.h"
#include "results/DuplicateGroups.h"
#include <string>
#include <unordered_set>
#include <vector>

class CListedFiles
{
public:
    explicit CListedFiles(const CGroupArray& groups) : m_groups(groups) {}

    struct Entry
    {
        ULONGLONG index;  // the file index, 0 when unknown
        ListedState state;
    };
    // The files of the group just added to the table, in the group's order.
    void AddGroup(const std::vector<Entry>& entries);
    // How the file of this item key was when it was listed; FALSE for a separator or a file gone.
    BOOL StateOf(LPARAM key, ListedState& state) const;
    // The group table was put in this order: order[k] is the old index of the k-th group.
    void Reorder(const std::vector<UINT>& order);
    // The file of this item key is gone: deleted, or moved away.
    void Forget(LPARAM key);
    void RemoveAll();
    // TRUE when the existing file open as hFile, at pszPath, with file index nIndex (0: unknown), is a
    // listed file: the same file index on the volume of pszRoot, or, where indexes are unknown, the
    // same full path.
    BOOL Contains(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot);

private:
    static const ULONGLONG kGone = ~0ull;

    BOOL HasIndexOnRootVolume(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszRoot) const;
    // The entry of this item key, or null.
    const Entry* EntryOf(LPARAM key) const;
    BOOL HasFullPath(LPCSTR pszPath);

    const CGroupArray& m_groups;
    // One entry per file of the group table; a copy or move looks through them only when its target
    // exists, which costs far less than keeping a second index of every listed file.
    std::vector<Entry> m_entries;
    std::vector<size_t> m_groupStart;
    BOOL m_bAnyIndexUnknown = FALSE;
    // Full paths are resolved only once a target needs them, not for every search.
    std::unordered_set<std::string> m_fullPaths;
    BOOL m_bFullPathsResolved = FALSE;
};
