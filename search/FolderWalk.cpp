// The folder walk: every file below the search root with its size, depth first, in listing order.
#include "app/VelmoraDlg.h"
#include "framework/AutoHandle.h"
#include "ops/ListedState.h"

namespace
{
// Symbolic links and junctions name another folder; entering them could list a tree twice or
// forever. The listing's own tag field is not filled in by every system, so the link is asked.
BOOL IsNameSurrogate(const CString& path, const WIN32_FIND_DATAA& entry)
{
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return FALSE;
    if (IsReparseTagNameSurrogate(entry.dwReserved0))
        return TRUE;
    CAutoHandle link(::CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILE_ATTRIBUTE_TAG_INFO info;
    if (!link.IsValid() || !::GetFileInformationByHandleEx(link.Get(), FileAttributeTagInfo, &info, sizeof(info)))
        return TRUE;  // a reparse point that cannot be asked is not entered either
    return IsReparseTagNameSurrogate(info.ReparseTag);
}

BOOL IsDotEntry(LPCSTR pszName)
{
    return ::lstrcmpiA(pszName, ".") == 0 || ::lstrcmpiA(pszName, "..") == 0;
}

HANDLE FindFirstEntry(LPCSTR pszFolder, WIN32_FIND_DATAA& entry)
{
    CString pattern;
    pattern.Format("%s*.*", pszFolder);
    return ::FindFirstFileA(pattern, &entry);
}
}  // namespace

BOOL CVelmoraDlg::CanListFolder(LPCSTR pszFolder)
{
    WIN32_FIND_DATAA entry;
    CAutoFind find(FindFirstEntry(pszFolder, entry));
    // A drive's empty root lists no entry at all, not even ".", and yet it is a folder.
    return find.IsValid() || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

Outcome CVelmoraDlg::ScanFolder(LPCSTR pszFolder)
{
    if (CheckStopPaced() == Outcome::kStopped)
        return Outcome::kStopped;
    if (!m_visitedFolders.Enter(pszFolder))
        return Outcome::kCompleted;
    m_report.ShowFolder("Просмотр: %s", pszFolder);

    WIN32_FIND_DATAA entry;
    CAutoFind find(FindFirstEntry(pszFolder, entry));
    if (!find.IsValid())
        return Outcome::kCompleted;
    do
    {
        CString path;
        path.Format("%s%s", pszFolder, entry.cFileName);
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        {
            m_files.Add(path);
            m_values.Add((static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
            m_writeTimes.Add(FileTimeValue(entry.ftLastWriteTime));
        }
        else if (!IsDotEntry(entry.cFileName) && !IsNameSurrogate(path, entry))
        {
            path += '\\';
            if (ScanFolder(path) == Outcome::kStopped)
                return Outcome::kStopped;
        }
    } while (::FindNextFileA(find.Get(), &entry));
    return Outcome::kCompleted;
}
