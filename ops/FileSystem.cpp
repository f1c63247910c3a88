// Creating the folders along a path, and file identity by volume and file index.
#include "ops/FileSystem.h"
#include "framework/AutoHandle.h"
#include <cstring>

namespace
{
const size_t kPathBufferSize = 2048;

// A relative prefix is looked for in the current folder only, not along the system's search path.
BOOL NameExists(LPCSTR pszName)
{
    return ::GetFileAttributesA(pszName) != INVALID_FILE_ATTRIBUTES;
}

BOOL GetIdentity(LPCSTR pszPath, BY_HANDLE_FILE_INFORMATION& info)
{
    // No access rights asked for and every sharing allowed: the file may be open anywhere else.
    CAutoHandle file(::CreateFileA(pszPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.IsValid() && ::GetFileInformationByHandle(file.Get(), &info);
}
}  // namespace

BOOL MakeFolders(LPCSTR pszPath, BOOL bWholePath)
{
    const size_t nLength = std::strlen(pszPath);
    if (nLength >= kPathBufferSize)
        return FALSE;
    size_t nEnd = nLength;
    if (!bWholePath)
    {
        LPCSTR pszLastSlash = std::strrchr(pszPath, '\\');
        if (!pszLastSlash)
            return TRUE;
        nEnd = static_cast<size_t>(pszLastSlash - pszPath);
    }
    char prefix[kPathBufferSize];
    for (size_t j = 0; j <= nEnd; ++j)
    {
        if (j != nEnd && pszPath[j] != '\\')
            continue;
        std::memcpy(prefix, pszPath, j);
        prefix[j] = '\0';
        if (NameExists(prefix))
            continue;
        ::CreateDirectoryA(prefix, nullptr);
        if (!NameExists(prefix))
            return FALSE;
    }
    return TRUE;
}

BOOL IsSameFile(LPCSTR pszFirst, LPCSTR pszSecond)
{
    BY_HANDLE_FILE_INFORMATION first, second;
    if (!GetIdentity(pszFirst, first) || !GetIdentity(pszSecond, second))
        return FALSE;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
