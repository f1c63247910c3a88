// What a listed file was like when the search listed and read it, and whether it is still so.
#pragma once
#include <windows.h>

// A file that changed since (it may have been read before or after the change) is no longer the
// file the results show, and no operation may take it for a copy.
struct ListedState
{
    ULONGLONG size;       // as read by the checksum
    ULONGLONG writeTime;  // as the walk listed it
};

inline ULONGLONG FileTimeValue(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// TRUE when the file at the path, or open as hFile, still has the listed size and write time.
BOOL IsAsListed(LPCSTR pszPath, const ListedState& listed);
BOOL IsAsListed(HANDLE hFile, const ListedState& listed);
