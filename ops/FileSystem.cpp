// Creating the folders along a path, and file identity by volume and file index.
#include "ops/FileSystem.h"
#include "framework/AutoHandle.h"
#include "search/FileIdentity.h"
#include <cstring>
#include <vector>

namespace
{
const size_t kPathBufferSize = 2048;

// A relative prefix is looked for in the current folder only, not along the system's search path.
BOOL NameExists(LPCSTR pszName)
{
    return ::GetFileAttributesA(pszName) != INVALID_FILE_ATTRIBUTES;
}

// The volume's serial number; it costs far more than the file index (see search/FileIdentity.h),
// so it is asked only after the file indexes have matched.
BOOL GetVolumeSerial(HANDLE hFile, DWORD& nSerial)
{
    return ::GetVolumeInformationByHandleW(hFile, nullptr, 0, &nSerial, nullptr, nullptr, nullptr, 0);
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

HANDLE OpenHeldForDeletion(LPCSTR pszPath)
{
    return ::CreateFileA(pszPath, GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

BOOL MarkForDeletion(HANDLE hFile, BOOL bDelete)
{
    FILE_DISPOSITION_INFO info = {};
    info.DeleteFile = bDelete;
    return ::SetFileInformationByHandle(hFile, FileDispositionInfo, &info, sizeof(info));
}

HANDLE OpenForIdentity(LPCSTR pszPath)
{
    // No access rights asked for and every sharing allowed.
    return ::CreateFileA(pszPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

BOOL IsSameFile(LPCSTR pszSource, HANDLE hTarget, ULONGLONG nTargetIndex, LPCSTR pszTarget)
{
    CAutoHandle source(OpenForIdentity(pszSource));
    if (!source.IsValid())
        return FALSE;
    return IsSameFileOf(FileIndexOf(source.Get()), nTargetIndex, pszSource, pszTarget,
                        [&] { return IsOnOneVolume(source.Get(), hTarget); });
}

BOOL IsSameFileOf(ULONGLONG nFirstIndex, ULONGLONG nSecondIndex, LPCSTR pszFirst, LPCSTR pszSecond,
                  const std::function<BOOL()>& onOneVolume)
{
    if (nFirstIndex == 0 || nSecondIndex == 0)
    {
        const std::string first = ComparablePath(pszFirst);
        return !first.empty() && first == ComparablePath(pszSecond);
    }
    return nFirstIndex == nSecondIndex && onOneVolume();
}

std::string ComparablePath(LPCSTR pszPath)
{
    std::vector<char> full(kPathBufferSize);
    const DWORD nLength = ::GetFullPathNameA(pszPath, static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (nLength == 0 || nLength >= full.size())
        return std::string();
    ::CharUpperBuffA(full.data(), nLength);
    return std::string(full.data(), nLength);
}

BOOL IsOnOneVolume(HANDLE hFirst, HANDLE hSecond)
{
    DWORD nFirst = 0;
    DWORD nSecond = 0;
    if (!GetVolumeSerial(hFirst, nFirst) || !GetVolumeSerial(hSecond, nSecond))
        return TRUE;
    return nFirst == nSecond;
}
