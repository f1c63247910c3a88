// The folder walk: every file below the search root with its size, depth first, in listing order.
#include "app/VelmoraDlg.h"
#include "framework/ScopedWin.h"
#include "framework/FileSystem.h"
#include "search/VisitedFolders.h"

namespace
{
// Symbolic links and junctions name another folder; entering them could list a tree twice or
// forever. The listing's own tag field is not filled in by every system, so the link is asked.
BOOL IsNameSurrogate(const CString& path, const FolderEntry& entry)
{
    if (!(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return FALSE;
    if (IsReparseTagNameSurrogate(entry.reparseTag))
        return TRUE;
    CAutoHandle link(OpenPath(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS));
    FILE_ATTRIBUTE_TAG_INFO info;
    if (!link.IsValid() || !::GetFileInformationByHandleEx(link.Get(), FileAttributeTagInfo, &info, sizeof(info)))
        return TRUE;  // a reparse point that cannot be asked is not entered either
    return IsReparseTagNameSurrogate(info.ReparseTag);
}
}  // namespace

BOOL CVelmoraDlg::CanListFolder(LPCSTR pszFolder)
{
    return CFolderListing(pszFolder).IsOpen();
}

Outcome CVelmoraDlg::ScanFolder(LPCSTR pszFolder)
{
    if (CheckStopPaced() == Outcome::kStopped)
        return Outcome::kStopped;
    CFolderListing listing(pszFolder);
    if (!listing.IsOpen() || !m_pVisitedFolders->Enter(listing.Handle(), pszFolder))
        return Outcome::kCompleted;
    m_report.ShowFolder("Просмотр: %s", pszFolder);

    FolderEntry entry;
    while (listing.Next(entry))
    {
        CString path = CString(pszFolder) + entry.name.c_str();
        if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
        {
            // Copied, not moved: the copy is sized to the path, the joined text has room to spare,
            // which at a million files is some 50 MB.
            m_files.Add(path);
            m_values.Add(entry.state.size);
            m_listed.push_back(entry.state);
        }
        else if (!IsNameSurrogate(path, entry))
        {
            path += '\\';
            if (ScanFolder(path) == Outcome::kStopped)
                return Outcome::kStopped;
        }
    }
    return Outcome::kCompleted;
}
