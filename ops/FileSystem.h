// File-system steps of copy and move: creating the folders of a path, telling whether two paths are one file.
#pragma once
#include <windows.h>

// TRUE when every folder that the path needs exists afterwards. With bWholePath the whole path
// names a folder; otherwise the text after the last backslash is a file name and is not created.
BOOL MakeFolders(LPCSTR pszPath, BOOL bWholePath);

// TRUE when both paths exist and lead to the same file, however each is written.
BOOL IsSameFile(LPCSTR pszFirst, LPCSTR pszSecond);
