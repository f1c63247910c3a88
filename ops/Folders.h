// Creating the folders along a path that a copy or move writes to.
#pragma once
#include <windows.h>

// TRUE when every folder that the full path needs exists afterwards. With bWholePath the whole path
// names a folder; otherwise the text after the last backslash is a file name and is not created.
// The root, a drive or a server's share, must be there: only the folders below it are made. A file
// where a folder should be fails it. A call that fails takes away the folders it made itself.
BOOL MakeFolders(LPCSTR pszPath, BOOL bWholePath);
