// The loop over the marked rows that every command on marked files runs with its own descriptor.
#include "framework/Check.h"
#include "ops/FileCommand.h"
#include "ops/OperationProgress.h"
#include "ops/OperationScope.h"

void CVelmoraDlg::RunOnSelectedRows(const FileCommand& command, const std::vector<BYTE>& groupsToEmpty)
{
    const int nSelected = static_cast<int>(m_list.GetSelectedCount());
    if (nSelected <= 0)
        return;
    COperationProgress progress(m_list, m_status, m_progress, nSelected);
    COperationScope operation(*this, progress);
    if (RunOnRows(command, groupsToEmpty, progress) == Outcome::kStopped)
        return;
    if (command.bDestroys)
    {
        // Lone files the loop left for later and then did not handle: their marks were taken off during a
        // pause. After a stop, files not reached stay as they are, marked.
        progress.HoldListRedraw();
        const std::vector<int> rows = m_groups.RowsOfLoneFiles();
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            m_list.RemoveFileRow(*it);
    }
    progress.Refresh();
}

Outcome CVelmoraDlg::RunOnRows(const FileCommand& command, const std::vector<BYTE>& groupsToEmpty,
                               COperationProgress& progress)
{
    const auto isMarked = [this](int nRow) { return (m_list.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0; };
    const ShownFileTest isShown = [this](const CFile& target, ULONGLONG nIndex, LPCSTR pszTarget)
    { return m_groups.ShowsFile(target, nIndex, pszTarget, m_strRoot); };
    CKnownFiles written;
    for (int nRow = m_list.GetNextItem(-1, LVNI_SELECTED); nRow >= 0;)
    {
        if (CheckStop() == Outcome::kStopped)
            return Outcome::kStopped;
        // A click handled inside CheckStop may have taken the mark off this row.
        CString strSource;
        ListedState listed = {};
        // A marked row is a file row: a separator can never be marked.
        if (!isMarked(nRow) || !VERIFY_STATE(m_list.ResolveRow(nRow, strSource)))
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
        const UINT nGroup = ItemKeyGroup(m_list.GetRowKey(nRow));
        FileFailure failure;
        if (!bHasTarget || !m_groups.StateOfRow(nRow, listed))
            failure = FileFailure::kNotListed;
        else if (command.bDestroys && !(nGroup < groupsToEmpty.size() && groupsToEmpty[nGroup]) &&
                 !m_groups.HasOtherCopy(nRow, isMarked))
            failure = FileFailure::kLastCopy;
        else
            failure =
                command.pfnStep({strSource, listed, strTarget, isShown, written, [&] { progress.RefreshIfDue(); }});

        // The loop looks for its next row after this one; the rows that go before it move it up.
        int nNextFrom = nRow;
        if (failure == FileFailure::kNone && command.bRemovesRow)
            nNextFrom = RemoveRow(nRow, nNextFrom - 1, progress);
        if (failure != FileFailure::kNone)
        {
            progress.Refresh();
            CString strMessage;
            strMessage.Format(command.pszFailure, static_cast<LPCSTR>(strShown));
            ShowBusyBox(strMessage, command.pszCaption);
        }
        if (command.bDestroys)
            nNextFrom = RemoveLoneFile(nGroup, nRow, nNextFrom, isMarked, progress);
        progress.Step();
        // The next row is looked for after nNextFrom: a row of the list or, at its top, -1.
        if (!VERIFY_STATE(nNextFrom >= -1 && nNextFrom < m_list.GetItemCount()))
            return Outcome::kCompleted;
        nRow = m_list.GetNextItem(nNextFrom, LVNI_SELECTED);
    }
    return Outcome::kCompleted;
}

// A group down to one shown file leaves the list, since that file no longer has a copy, unless the loop
// is still to reach it marked. The group's rows stand together, so that file's row is next to nNear.
int CVelmoraDlg::RemoveLoneFile(UINT nGroup, int nNear, int nNextFrom, const std::function<BOOL(int)>& isMarked,
                                COperationProgress& progress)
{
    if (nGroup >= static_cast<UINT>(m_groups.GroupCount()) || m_groups.ShownFileCount(nGroup) != 1)
        return nNextFrom;
    for (int nRow = nNear - 1; nRow <= nNear + 1; ++nRow)
    {
        const LPARAM key = m_list.GetRowKey(nRow);
        if (IsSeparatorKey(key) || ItemKeyGroup(key) != nGroup)
            continue;
        if (nRow > nNextFrom && isMarked(nRow))
            return nNextFrom;
        return RemoveRow(nRow, nNextFrom, progress);
    }
    return nNextFrom;
}

// Takes out a file row with the separator that goes with it; returns nNextFrom, the row after which the
// loop looks next, where it stands once those rows are gone.
int CVelmoraDlg::RemoveRow(int nRow, int nNextFrom, COperationProgress& progress)
{
    int nFirst;
    int nLast;
    m_groups.RowsGoingWith(nRow, nFirst, nLast);
    progress.HoldListRedraw();
    m_list.RemoveFileRow(nRow);
    if (nNextFrom < nFirst)
        return nNextFrom;
    return nNextFrom > nLast ? nNextFrom - (nLast - nFirst + 1) : nFirst - 1;
}
