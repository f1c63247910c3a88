// CSearchProgress: the search's newest progress, put on the window at most once per interval.
#pragma once
#include "framework/Afx.h"
#include "ops/RefreshPacer.h"
#include <string>

class CSearchProgress
{
public:
    CSearchProgress(CEdit& status, CEdit& fileField, CProgressCtrl& bar);

    // The status line alone, as the text format with one folder path.
    void ShowFolder(LPCSTR pszFormat, LPCSTR pszFolder);
    // The status line as format(nNumber, nCount, path), the path in the file field, the bar at nPos of 0..nMax.
    void ShowFile(LPCSTR pszFormat, int nNumber, int nCount, LPCSTR pszPath, int nPos, int nMax);
    void ShowPos(int nPos, int nMax);
    // The status line as the text, shown now, and what was pending for it dropped.
    void ShowText(LPCSTR pszText);
    // The status line and the file field emptied, to be drawn when the window next paints.
    void ClearTexts();
    // The file field emptied and shown so now.
    void ClearFileField();
    // The bar back at its start, shown now.
    void ResetBar();
    // Puts what is pending on the window if the interval has passed; for a long step that shows nothing new.
    void ShowWhenDue();
    // Puts what is pending on the window now.
    void Flush();
    // The next change shows at once.
    void Restart() { m_pacer.Reset(); }
    void SetRefreshInterval(DWORD nIntervalMs) { m_pacer = CRefreshPacer(nIntervalMs); }

private:
    CRefreshPacer m_pacer;
    CEdit& m_status;
    CEdit& m_fileField;
    CProgressCtrl& m_bar;
    LPCSTR m_pszFormat = nullptr;
    BOOL m_bWithCounts = FALSE;
    int m_nNumber = 0;
    int m_nCount = 0;
    std::string m_path;  // a copy: the caller's string may be gone by the time it shows
    int m_nPos = 0;
    int m_nMax = 0;
    BOOL m_bStatusPending = FALSE;
    BOOL m_bFilePending = FALSE;
    BOOL m_bBarPending = FALSE;
};
