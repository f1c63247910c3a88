// Comparing a file as it is now with the size and write time it was listed with.
#include "results/ListedFile.h"
#include "framework/FileSystem.h"

BOOL QueryListedState(LPCSTR pszPath, ListedState& state)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!QueryPath(pszPath, data))
        return FALSE;
    state.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    state.writeTime =
        (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return TRUE;
}

BOOL IsAsListed(LPCSTR pszPath, const ListedState& listed)
{
    ListedState now;
    return QueryListedState(pszPath, now) && now.size == listed.size && now.writeTime == listed.writeTime;
}

BOOL IsAsListed(HANDLE hFile, const ListedState& listed)
{
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!::GetFileInformationByHandleEx(hFile, FileBasicInfo, &basic, sizeof(basic)) ||
        !::GetFileInformationByHandleEx(hFile, FileStandardInfo, &standard, sizeof(standard)))
        return FALSE;
    return static_cast<ULONGLONG>(standard.EndOfFile.QuadPart) == listed.size &&
           static_cast<ULONGLONG>(basic.LastWriteTime.QuadPart) == listed.writeTime;
}
