// What a listed file was when the search listed and read it, and whether it is still so.
#pragma once
#include <windows.h>

// A file that changed since (it may have been read before or after the change) is no longer the
// file the results show, and no operation may take it for a copy.
struct ListedState
{
    ULONGLONG size;       // as the checksum read it
    ULONGLONG writeTime;  // as the walk listed it
};

struct ListedFile
{
    ULONGLONG index;  // which physical file it is on its volume; 0 when the file system gives none
    ListedState state;
};

// The size and write time the file at the path has now; FALSE when it cannot be asked.
BOOL QueryListedState(LPCSTR pszPath, ListedState& state);
// TRUE when the file at the path, or open as hFile, still has the listed size and write time.
BOOL IsAsListed(LPCSTR pszPath, const ListedState& listed);
BOOL IsAsListed(HANDLE hFile, const ListedState& listed);
