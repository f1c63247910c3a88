// The loop over the marked rows that delete, copy and move share, and the rule that takes out rows.
#include "app/VelmoraDlg.h"
#include "ops/OperationProgress.h"

namespace
{
struct FileActionTexts
{
    LPCSTR pszStatus;
    LPCSTR pszFailure;
    LPCSTR pszCaption;
    BOOL bRemovesRow;
};

const FileActionTexts kActionTexts[] = {
    {"Удаляю: %s", "Невозможно удалить файл:\n%s", "Ошибка при удалении", TRUE},
    {"Копирую: %s", "Невозможно скопировать файл:\n%s", "Ошибка при копировании", FALSE},
    {"Перемещаю: %s", "Невозможно переместить файл:\n%s", "Ошибка при перемещении", TRUE},
};
}  // namespace

void CVelmoraDlg::RunOnSelectedRows(FileAction action)
{
    const int nSelected = static_cast<int>(m_list.GetSelectedCount());
    if (nSelected <= 0)
        return;
    const FileActionTexts& texts = kActionTexts[action];
    SetIdle(FALSE);
    COperationProgress progress(m_list, m_status, m_progress, nSelected);
    CProgressRegistration registration(m_pProgress, progress);

    int nRow = m_list.GetNextItem(-1, LVNI_SELECTED);
    while (nRow >= 0)
    {
        if (CheckStop() == Outcome::kStopped)
            return;
        // A click handled inside CheckStop may have taken the mark off this row.
        CString strSource;
        if (!(m_list.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) || !m_list.ResolveRow(nRow, strSource))
        {
            nRow = m_list.GetNextItem(nRow, LVNI_SELECTED);
            continue;
        }
        ListedState listed = {};
        const BOOL bListed = m_groups.StateOfRow(nRow, listed);
        CString strTarget;
        const BOOL bHasTarget = action == kDeleteFile || TargetPath(strSource, strTarget);
        const CString& strShown = action == kDeleteFile || !bHasTarget ? strSource : strTarget;
        progress.SetStatus(texts.pszStatus, strShown);
        // Before the file when the pacing allows, and between the chunks of a long copy: a file whose
        // copy outlasts the refresh interval is named on the window while it is copied.
        progress.RefreshIfDue();
        const BOOL bDone = bListed && (action == kDeleteFile
                                           ? DeleteMarkedFile(strSource, listed)
                                           : bHasTarget && CopyOrMoveFile(action, strSource, listed, strTarget,
                                                                          [&] { progress.RefreshIfDue(); }));
        int nNextFrom = nRow;
        if (bDone && texts.bRemovesRow)
        {
            progress.HoldListRedraw();
            m_list.RemoveFileRow(nRow);
            nNextFrom = nRow - 1;
        }
        if (!bDone)
        {
            progress.Refresh();
            CString strMessage;
            strMessage.Format(texts.pszFailure, static_cast<LPCSTR>(strShown));
            MessageBox(strMessage, texts.pszCaption, MB_OK | MB_ICONEXCLAMATION);
        }
        progress.Step();
        nRow = m_list.GetNextItem(nNextFrom, LVNI_SELECTED);
    }
    progress.Refresh();
    EndOperation();
}
