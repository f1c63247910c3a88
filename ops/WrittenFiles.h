// CWrittenFiles: the files that one run of a copy or move has written, known by identity.
#pragma once
#include "framework/FileSystem.h"
#include <windows.h>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

// A run never replaces a file it wrote itself. On a target folder that ignores letter case, Foo.txt
// and foo.txt from a folder that does not are one file, and the second would take the first's place;
// a name cannot tell this (case, short names, links), the file's identity can.
class CWrittenFiles
{
public:
    // The file with this index on its volume (0: the file system gives none) now stands at pszTarget.
    void Add(ULONGLONG nIndex, LPCSTR pszTarget);
    // TRUE when the existing file open at pszPath, with file index nIndex (0: unknown), is one the run wrote.
    BOOL Holds(const CFile& file, ULONGLONG nIndex, LPCSTR pszPath) const;

private:
    // By index, with the paths written: the volume, a dear question, is asked only of an index met again.
    std::unordered_map<ULONGLONG, std::vector<std::string>> m_pathsByIndex;
    // Of the files whose file system gives no index: full paths, compared without regard to case.
    std::set<std::string> m_fullPaths;
};
