// The loop over the marked rows that every command on marked files runs with its own descriptor.
#include "ops/FileCommand.h"
#include "ops/OperationProgress.h"
#include "ops/OperationScope.h"

void CVelmoraDlg::RunOnSelectedRows(const FileCommand& command)
{
    const int nSelected = static_cast<int>(m_list.GetSelectedCount());
    if (nSelected <= 0)
        return;
    COperationProgress progress(m_list, m_status, m_progress, nSelected);
    COperationScope operation(*this, progress);
    CWrittenFiles written;

    for (int nRow = m_list.GetNextItem(-1, LVNI_SELECTED); nRow >= 0;)
    {
        if (CheckStop() == Outcome::kStopped)
            return;
        // A click handled inside CheckStop may have taken the mark off this row.
        CString strSource;
        ListedState listed = {};
        if (!(m_list.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) || !m_list.ResolveRow(nRow, strSource))
        {
            nRow = m_list.GetNextItem(nRow, LVNI_SELECTED);
            continue;
        }
        CString strTarget;
        const BOOL bHasTarget = !command.bWritesToTarget || TargetPath(strSource, strTarget);
        const CString& strShown = command.bWritesToTarget && bHasTarget ? strTarget : strSource;
        progress.SetStatus(command.pszStatus, strShown);
        // Before the file when the pacing allows, and between the chunks of a long copy: a file whose
        // copy outlasts the refresh interval is named on the window while it is copied.
        progress.RefreshIfDue();
        FileFailure failure = FileFailure::kNotListed;
        if (bHasTarget && m_groups.StateOfRow(nRow, listed))
            failure = command.pfnStep(
                {strSource, listed, strTarget, m_groups, m_strRoot, written, [&] { progress.RefreshIfDue(); }});

        int nNextFrom = nRow;
        if (failure == FileFailure::kNone && command.bRemovesRow)
        {
            progress.HoldListRedraw();
            m_list.RemoveFileRow(nRow);
            nNextFrom = nRow - 1;
        }
        if (failure != FileFailure::kNone)
        {
            progress.Refresh();
            CString strMessage;
            strMessage.Format(command.pszFailure, static_cast<LPCSTR>(strShown));
            MessageBox(strMessage, command.pszCaption, MB_OK | MB_ICONEXCLAMATION);
        }
        progress.Step();
        nRow = m_list.GetNextItem(nNextFrom, LVNI_SELECTED);
    }
    progress.Refresh();
}
