// Known files: file indexes where the file system gives them, full paths where not.
#include "framework/KnownFiles.h"

void CKnownFiles::Add(ULONGLONG nIndex, LPCSTR pszPath)
{
    if (nIndex != 0)
        m_pathsByIndex[nIndex].push_back(pszPath);
    else
        m_fullPaths.insert(ComparablePath(pszPath));
}

BOOL CKnownFiles::Holds(const CFile& file, ULONGLONG nIndex, LPCSTR pszPath) const
{
    const auto found = m_pathsByIndex.find(nIndex);
    if (found != m_pathsByIndex.end())
    {
        for (const std::string& known : found->second)
        {
            if (IsSameFile(known.c_str(), file, nIndex, pszPath))
                return TRUE;
        }
    }
    return !m_fullPaths.empty() && m_fullPaths.count(ComparablePath(pszPath)) != 0;
}
