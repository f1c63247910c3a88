// CKnownFiles: a set of files known by identity, which no spelling of a path can get round.
#pragma once
#include "framework/FileSystem.h"
#include <windows.h>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

// A name cannot tell whether two paths are one file (letter case on a folder that ignores it, short
// names, links); the file's identity can. A copy or move never replaces a file it wrote itself, and
// the walk never enters a folder twice, each by asking this.
class CKnownFiles
{
public:
    // The file with this index on its volume (0: the file system gives none) stands at pszPath.
    void Add(ULONGLONG nIndex, LPCSTR pszPath);
    // TRUE when the existing file open at pszPath, with file index nIndex (0: unknown), is a known one.
    BOOL Holds(const CFile& file, ULONGLONG nIndex, LPCSTR pszPath) const;

private:
    // By index, with their paths: the volume, a dear question, is asked only of an index met again.
    std::unordered_map<ULONGLONG, std::vector<std::string>> m_pathsByIndex;
    // Of the files whose file system gives no index: full paths, compared without regard to case.
    std::set<std::string> m_fullPaths;
};
