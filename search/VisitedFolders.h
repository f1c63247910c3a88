// CVisitedFolders: the folders the walk has entered, by identity, so that no folder is entered twice
// whatever the links that lead to it: a link to a folder above it would make the walk endless.
#pragma once
#include "framework/KnownFiles.h"

class CVisitedFolders
{
public:
    // TRUE when the folder open as folder, at pszFolder, had not been entered before; from now on it
    // has. A folder whose identity cannot be read counts as new: the length of a path still ends any
    // circle such a folder makes.
    BOOL Enter(const CFile& folder, LPCSTR pszFolder);

private:
    CKnownFiles m_entered;
};
