// CListedFiles: the files of the results that are still there to see, so that a copy or move can
// refuse to write over one of them. A file leaves when an operation deletes or moves it away.
#pragma once
#include <windows.h>
#include <string>
#include <unordered_map>
#include <unordered_set>

class CListedFiles
{
public:
    // pszPath as its duplicate group holds it; nIndex its file index on the searched volume, 0 when unknown.
    void Add(LPCSTR pszPath, ULONGLONG nIndex);
    void Remove(LPCSTR pszPath);
    void RemoveAll();
    // TRUE when the existing file open as hFile, at pszPath, with file index nIndex (0: unknown), is a
    // listed file: the same file index on the volume of pszRoot, or the same full path, which is all
    // that tells files apart where indexes are unknown.
    BOOL Contains(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot);

private:
    BOOL HasIndexOnRootVolume(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszRoot) const;
    // Full paths are resolved only once a copy or move needs them, not for every search.
    void ResolveFullPaths();

    std::unordered_map<std::string, ULONGLONG> m_indexOfPath;
    std::unordered_multiset<ULONGLONG> m_indexes;
    std::unordered_set<std::string> m_fullPaths;
    BOOL m_bFullPathsResolved = FALSE;
};
