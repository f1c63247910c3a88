// CVisitedFolders: folder identities by file index, and by volume too where two indexes meet.
#include "search/VisitedFolders.h"
#include "framework/AutoHandle.h"
#include "ops/FileSystem.h"
#include "search/FileIdentity.h"

BOOL CVisitedFolders::Enter(LPCSTR pszFolder)
{
    CAutoHandle folder(OpenForIdentity(pszFolder));
    const ULONGLONG nIndex = folder.IsValid() ? FileIndexOf(folder.Get()) : 0;
    if (nIndex == 0)
        return TRUE;
    std::vector<std::string>& paths = m_pathsByIndex[nIndex];
    for (const std::string& path : paths)
    {
        CAutoHandle other(OpenForIdentity(path.c_str()));
        if (other.IsValid() && IsOnOneVolume(folder.Get(), other.Get()))
            return FALSE;
    }
    paths.emplace_back(pszFolder);
    return TRUE;
}
