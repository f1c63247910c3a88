// CVisitedFolders: the folders entered, by identity.
#include "search/VisitedFolders.h"

BOOL CVisitedFolders::Enter(const CFile& folder, LPCSTR pszFolder)
{
    const ULONGLONG nIndex = folder.GetFileIndex();
    if (nIndex == 0)
        return TRUE;
    if (m_entered.Holds(folder, nIndex, pszFolder))
        return FALSE;
    m_entered.Add(nIndex, pszFolder);
    return TRUE;
}
