// MakeFolders: each missing folder of a path, from the root down, and none left behind when one fails.
#include "ops/Folders.h"
#include "framework/FileSystem.h"
#include "framework/PathText.h"
#include <string>
#include <vector>

namespace
{
BOOL IsFolder(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return QueryPath(path.c_str(), data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Deepest first, so that each is empty when its turn comes; one that another program has put something
// in meanwhile stays.
void RemoveFolders(const std::vector<std::string>& made)
{
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        RemoveFolder(it->c_str());
}
}  // namespace

BOOL MakeFolders(LPCSTR pszPath, BOOL bWholePath)
{
    std::string folder = pszPath;
    if (!bWholePath)
    {
        const size_t nSlash = folder.rfind('\\');
        if (nSlash == std::string::npos)
            return TRUE;
        folder.resize(nSlash);
    }
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const size_t nRoot = AbsoluteRootLength(folder + '\\');
    if (nRoot == 0)
        return FALSE;
    // The usual case: an earlier file of the operation made the folder already.
    if (IsFolder(folder))
        return TRUE;
    if (!PathExists(folder.substr(0, nRoot).c_str()))
        return FALSE;
    std::vector<std::string> made;
    for (size_t j = nRoot; j <= folder.size(); ++j)
    {
        if (j != folder.size() && folder[j] != '\\')
            continue;
        const std::string prefix = folder.substr(0, j);
        if (IsFolder(prefix))
            continue;
        if (MakeFolder(prefix.c_str()))
        {
            made.push_back(prefix);
            continue;
        }
        // Another program may have made it meanwhile; a file of that name is no folder to write in.
        if (!IsFolder(prefix))
        {
            RemoveFolders(made);
            return FALSE;
        }
    }
    return TRUE;
}
