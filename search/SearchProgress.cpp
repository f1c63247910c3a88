// CSearchProgress: keeps the newest values and formats them only when they are put on the window.
#include "search/SearchProgress.h"

namespace
{
// A refresh costs 1 ms under Wine, several while other programs keep the processor busy; at 30 ms a
// search of small files spent up to a fifth of its time on it, at 100 ms the status still moves ten
// times a second for a few percent.
const DWORD kRefreshIntervalMs = 100;
}  // namespace

CSearchProgress::CSearchProgress(CEdit& status, CEdit& fileField, CProgressCtrl& bar)
    : m_pacer(kRefreshIntervalMs), m_status(status), m_fileField(fileField), m_bar(bar)
{
}

void CSearchProgress::ShowFolder(LPCSTR pszFormat, LPCSTR pszFolder)
{
    m_pszFormat = pszFormat;
    m_bWithCounts = FALSE;
    m_path = pszFolder;
    m_bStatusPending = TRUE;
    ShowWhenDue();
}

void CSearchProgress::ShowFile(LPCSTR pszFormat, int nNumber, int nCount, LPCSTR pszPath, int nPos, int nMax)
{
    m_pszFormat = pszFormat;
    m_bWithCounts = TRUE;
    m_nNumber = nNumber;
    m_nCount = nCount;
    m_path = pszPath;
    m_bStatusPending = TRUE;
    m_bFilePending = TRUE;
    ShowPos(nPos, nMax);
}

void CSearchProgress::ShowPos(int nPos, int nMax)
{
    m_nPos = nPos;
    m_nMax = nMax;
    m_bBarPending = TRUE;
    ShowWhenDue();
}

void CSearchProgress::ShowText(LPCSTR pszText)
{
    m_bStatusPending = FALSE;
    m_status.SetWindowText(pszText);
    m_status.UpdateWindow();
}

void CSearchProgress::ClearTexts()
{
    m_bStatusPending = FALSE;
    m_bFilePending = FALSE;
    m_status.SetWindowText("");
    m_fileField.SetWindowText("");
}

void CSearchProgress::ClearFileField()
{
    m_bFilePending = FALSE;
    m_fileField.SetWindowText("");
    m_fileField.UpdateWindow();
}

void CSearchProgress::ResetBar()
{
    m_bBarPending = FALSE;
    m_bar.SetPos(0);
    m_bar.UpdateWindow();
}

void CSearchProgress::ShowWhenDue()
{
    if (m_pacer.Due())
        Flush();
}

// Each pending part is taken off before it is shown, so that a flush from inside the showing (whatever
// runs on the control's messages) does not show it twice.
void CSearchProgress::Flush()
{
    if (m_bStatusPending)
    {
        m_bStatusPending = FALSE;
        CString text;
        if (m_bWithCounts)
            text.Format(m_pszFormat, m_nNumber, m_nCount, m_path.c_str());
        else
            text.Format(m_pszFormat, m_path.c_str());
        m_status.SetWindowText(text);
        m_status.UpdateWindow();
    }
    if (m_bFilePending)
    {
        m_bFilePending = FALSE;
        m_fileField.SetWindowText(m_path.c_str());
        m_fileField.UpdateWindow();
    }
    if (m_bBarPending)
    {
        m_bBarPending = FALSE;
        m_bar.SetRange32(0, m_nMax);
        m_bar.SetPos(m_nPos);
        m_bar.UpdateWindow();
    }
}
