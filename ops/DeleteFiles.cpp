// "Удалить": deletes the marked files for good; while an operation runs it pauses and resumes instead.
#include "app/VelmoraDlg.h"
#include "ops/FileCommand.h"

void CVelmoraDlg::OnDelete()
{
    if (HandlePauseClick())
        return;
    RunOnSelectedRows(kDeleteCommand);
}
