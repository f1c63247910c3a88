// COperationProgress: bounded-rate refresh of the status, the bar and the list during a file operation.
#include "ops/OperationProgress.h"

COperationProgress::COperationProgress(CListCtrl& list, CEdit& status, CProgressCtrl& bar, int nTotal)
    : m_list(list), m_status(status), m_bar(bar), m_pacer(kRefreshIntervalMs), m_listPacer(kListRefreshIntervalMs)
{
    m_listPacer.Due();
    m_bar.SetRange32(0, nTotal);
    m_bar.SetStep(1);
    m_bar.SetPos(0);
}

COperationProgress::~COperationProgress()
{
    if (m_bListHeld)
    {
        m_list.SetRedraw(TRUE);
        m_list.Invalidate();
    }
}

void COperationProgress::SetStatus(LPCSTR pszFormat, LPCSTR pszPath)
{
    m_strStatus.Format(pszFormat, pszPath);
    m_bStatusSet = TRUE;
}

void COperationProgress::HoldListRedraw()
{
    if (m_bListHeld)
        return;
    m_list.SetRedraw(FALSE);
    m_bListHeld = TRUE;
}

void COperationProgress::RefreshIfDue()
{
    if (!m_pacer.Due())
        return;
    if (m_listPacer.Due())
        RefreshList();
    ShowStatusAndBar();
}

void COperationProgress::Refresh()
{
    RefreshList();
    m_listPacer.Reset();
    m_listPacer.Due();
    ShowStatusAndBar();
}

void COperationProgress::OnHold(BOOL bHeld)
{
    if (bHeld)
        Refresh();
}

void COperationProgress::RefreshList()
{
    if (m_bListHeld)
    {
        m_list.SetRedraw(TRUE);
        m_list.Invalidate();
        m_list.UpdateWindow();
        m_bListHeld = FALSE;
    }
}

// Until a file has been handled the status line keeps what it showed before the operation.
void COperationProgress::ShowStatusAndBar()
{
    if (m_bStatusSet)
    {
        m_status.SetWindowText(m_strStatus);
        m_status.UpdateWindow();
    }
    m_bar.SetPos(m_nDone);
    m_bar.UpdateWindow();
    m_pacer.Reset();
    m_pacer.Due();
}
