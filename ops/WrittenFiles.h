// CWrittenFiles: the files that one run of a copy or move has written, known by identity.
#pragma once
#include "framework/FileSystem.h"
#include <set>
#include <string>

// A run never replaces a file it wrote itself. On a target folder that ignores letter case, Foo.txt
// and foo.txt from a folder that does not are one file, and the second would take the first's place;
// a name cannot tell this (case, short names, links), the file's identity can.
class CWrittenFiles
{
public:
    // The file of this identity now stands at pszTarget.
    void Add(const FileIdentity& identity, LPCSTR pszTarget);
    // TRUE when the existing file open as hFile, at pszPath, is one the run wrote.
    BOOL Holds(HANDLE hFile, LPCSTR pszPath) const;

private:
    std::set<FileIdentity> m_identities;
    // Of the files whose file system gives no ids: full paths, compared without regard to case.
    std::set<std::string> m_paths;
};
