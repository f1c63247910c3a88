// The written files of one run: identities where the file system gives ids, full paths where not.
#include "ops/WrittenFiles.h"

void CWrittenFiles::Add(const FileIdentity& identity, LPCSTR pszTarget)
{
    if (identity.IsKnown())
        m_identities.insert(identity);
    else
        m_paths.insert(ComparablePath(pszTarget));
}

// The identity, a call to the system, is asked only once a file that has one is written.
BOOL CWrittenFiles::Holds(HANDLE hFile, LPCSTR pszPath) const
{
    if (!m_identities.empty() && m_identities.count(FileIdentityOf(hFile)) != 0)
        return TRUE;
    return !m_paths.empty() && m_paths.count(ComparablePath(pszPath)) != 0;
}
