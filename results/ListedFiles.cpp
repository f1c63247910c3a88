// CListedFiles: the listed files by file index and by full path.
#include "results/ListedFiles.h"
#include "framework/AutoHandle.h"
#include "ops/FileSystem.h"

void CListedFiles::Add(LPCSTR pszPath, ULONGLONG nIndex)
{
    m_indexOfPath[pszPath] = nIndex;
    if (nIndex != 0)
        m_indexes.insert(nIndex);
    if (m_bFullPathsResolved)
        m_fullPaths.insert(ComparablePath(pszPath));
}

void CListedFiles::Remove(LPCSTR pszPath)
{
    const auto found = m_indexOfPath.find(pszPath);
    if (found == m_indexOfPath.end())
        return;
    const auto index = m_indexes.find(found->second);
    if (index != m_indexes.end())
        m_indexes.erase(index);
    m_indexOfPath.erase(found);
    if (m_bFullPathsResolved)
        m_fullPaths.erase(ComparablePath(pszPath));
}

void CListedFiles::RemoveAll()
{
    m_indexOfPath.clear();
    m_indexes.clear();
    m_fullPaths.clear();
    m_bFullPathsResolved = FALSE;
}

BOOL CListedFiles::Contains(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszPath, LPCSTR pszRoot)
{
    if (m_indexOfPath.empty())
        return FALSE;
    if (HasIndexOnRootVolume(hFile, nIndex, pszRoot))
        return TRUE;
    ResolveFullPaths();
    const std::string fullPath = ComparablePath(pszPath);
    return !fullPath.empty() && m_fullPaths.count(fullPath) != 0;
}

BOOL CListedFiles::HasIndexOnRootVolume(HANDLE hFile, ULONGLONG nIndex, LPCSTR pszRoot) const
{
    if (nIndex == 0 || m_indexes.count(nIndex) == 0)
        return FALSE;
    CAutoHandle root(OpenForIdentity(pszRoot));
    return !root.IsValid() || IsOnOneVolume(hFile, root.Get());
}

void CListedFiles::ResolveFullPaths()
{
    if (m_bFullPathsResolved)
        return;
    m_fullPaths.reserve(m_indexOfPath.size());
    for (const auto& entry : m_indexOfPath)
        m_fullPaths.insert(ComparablePath(entry.first.c_str()));
    m_bFullPathsResolved = TRUE;
}
