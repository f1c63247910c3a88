// "Удалить": deletes the marked files for good; while an operation runs it pauses and resumes instead.
#include "app/VelmoraDlg.h"

void CVelmoraDlg::OnDelete()
{
    if (HandlePauseClick())
        return;
    RunOnSelectedRows(kDeleteFile);
}

BOOL CVelmoraDlg::DeleteMarkedFile(const CString& strSource)
{
    return ::DeleteFileA(strSource);
}
