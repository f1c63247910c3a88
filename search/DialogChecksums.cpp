// The dialog's checksum functions over the shared read buffer of the running search.
#include "app/VelmoraDlg.h"

FileChecksum CVelmoraDlg::GetFileCrc(LPCSTR pszPath, ULONGLONG nListedSize)
{
    return m_pDigester ? m_pDigester->WholeFile(pszPath, nListedSize) : CFileDigester().WholeFile(pszPath, nListedSize);
}

FileChecksum CVelmoraDlg::GetMp3Crc(LPCSTR pszPath)
{
    return m_pDigester ? m_pDigester->Mp3Audio(pszPath) : CFileDigester().Mp3Audio(pszPath);
}

ULONGLONG CVelmoraDlg::GetMp3DataSize(LPCSTR pszPath)
{
    return CFileDigester::Mp3AudioLength(pszPath);
}
