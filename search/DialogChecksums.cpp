// The dialog's checksum functions, over the read buffer of the thread that reads the file.
#include "app/VelmoraDlg.h"

FileChecksum CVelmoraDlg::GetFileCrc(CFileDigester& digester, LPCSTR pszPath, ULONGLONG nListedSize)
{
    return digester.WholeFile(pszPath, nListedSize);
}

FileChecksum CVelmoraDlg::GetMp3Crc(CFileDigester& digester, LPCSTR pszPath)
{
    return digester.Mp3Audio(pszPath);
}

ULONGLONG CVelmoraDlg::GetMp3DataSize(LPCSTR pszPath)
{
    return CFileDigester::Mp3AudioLength(pszPath);
}
