// The written files of one run: file indexes where the file system gives them, full paths where not.
#include "ops/WrittenFiles.h"

void CWrittenFiles::Add(ULONGLONG nIndex, LPCSTR pszTarget)
{
    if (nIndex != 0)
        m_pathsByIndex[nIndex].push_back(pszTarget);
    else
        m_fullPaths.insert(ComparablePath(pszTarget));
}

BOOL CWrittenFiles::Holds(const CFile& file, ULONGLONG nIndex, LPCSTR pszPath) const
{
    const auto found = m_pathsByIndex.find(nIndex);
    if (found != m_pathsByIndex.end())
    {
        for (const std::string& written : found->second)
        {
            if (IsSameFile(written.c_str(), file, nIndex, pszPath))
                return TRUE;
        }
    }
    return !m_fullPaths.empty() && m_fullPaths.count(ComparablePath(pszPath)) != 0;
}
