// CVisitedFolders: folder identities by file index, and by volume too where two indexes meet.
#include "search/VisitedFolders.h"

BOOL CVisitedFolders::Enter(const CFile& folder, LPCSTR pszFolder)
{
    const ULONGLONG nIndex = folder.GetFileIndex();
    if (nIndex == 0)
        return TRUE;
    std::vector<std::string>& paths = m_pathsByIndex[nIndex];
    for (const std::string& path : paths)
    {
        CFile other;
        if (other.OpenForIdentity(path.c_str()) && folder.IsOnOneVolume(other))
            return FALSE;
    }
    paths.emplace_back(pszFolder);
    return TRUE;
}
