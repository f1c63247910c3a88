// "Удалить": deletes the marked files for good; while an operation runs it pauses and resumes instead.
#include "app/VelmoraDlg.h"
#include "framework/AutoHandle.h"
#include "framework/FileSystem.h"

void CVelmoraDlg::OnDelete()
{
    if (HandlePauseClick())
        return;
    RunOnSelectedRows(kDeleteFile);
}

// Checked and deleted through one handle that lets nobody write meanwhile: a file changed since it was
// listed is not the copy the list shows, and stays.
BOOL CVelmoraDlg::DeleteMarkedFile(const CString& strSource, const ListedState& listed)
{
    CAutoHandle file(OpenHeldForDeletion(strSource));
    return file.IsValid() && IsAsListed(file.Get(), listed) && MarkForDeletion(file.Get(), TRUE);
}
