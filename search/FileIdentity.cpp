// The file index of an open file, from the native file-information query.
#include "search/FileIdentity.h"
#include <winternl.h>

ULONGLONG FileIndexOf(HANDLE hFile)
{
    IO_STATUS_BLOCK status;
    FILE_INTERNAL_INFORMATION info;
    if (!NT_SUCCESS(::NtQueryInformationFile(hFile, &status, &info, sizeof(info), FileInternalInformation)))
        return 0;
    return static_cast<ULONGLONG>(info.IndexNumber.QuadPart);
}
