// CVisitedFolders: folder identities by file index, and by volume too where two indexes meet.
#include "search/VisitedFolders.h"
#include "framework/ScopedWin.h"
#include "framework/FileSystem.h"

BOOL CVisitedFolders::Enter(HANDLE hFolder, LPCSTR pszFolder)
{
    const ULONGLONG nIndex = FileIndexOf(hFolder);
    if (nIndex == 0)
        return TRUE;
    std::vector<std::string>& paths = m_pathsByIndex[nIndex];
    for (const std::string& path : paths)
    {
        CAutoHandle other(OpenForIdentity(path.c_str()));
        if (other.IsValid() && IsOnOneVolume(hFolder, other.Get()))
            return FALSE;
    }
    paths.emplace_back(pszFolder);
    return TRUE;
}
