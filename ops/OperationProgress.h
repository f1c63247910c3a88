// COperationProgress: the status text, progress bar and list repaint of a delete, copy or move,
// refreshed at a bounded rate instead of after every file.
#pragma once
#include "framework/Controls.h"
#include "ops/OperationHold.h"
#include "ops/RefreshPacer.h"

class COperationProgress : public IOperationHold
{
public:
    COperationProgress(CListCtrl& list, CEdit& status, CProgressCtrl& bar, int nTotal);
    // Lets the list paint itself again; the status and the bar keep what they show.
    ~COperationProgress();
    COperationProgress(const COperationProgress&) = delete;
    COperationProgress& operator=(const COperationProgress&) = delete;

    void SetStatus(LPCSTR pszFormat, LPCSTR pszPath);
    void Step() { ++m_nDone; }
    // Called before a row is taken out: the list stops painting until the next refresh.
    void HoldListRedraw();
    void RefreshIfDue();
    // Shows the status, the bar and the list as they are now.
    void Refresh();
    void OnHold(BOOL bHeld) override;

private:
    static const DWORD kRefreshIntervalMs = 30;
    // Repainting the list costs milliseconds (every visible size cell opens its file), so the list
    // is repainted less often than the status and the bar.
    static const DWORD kListRefreshIntervalMs = 250;

    void RefreshList();
    void ShowStatusAndBar();

    CListCtrl& m_list;
    CEdit& m_status;
    CProgressCtrl& m_bar;
    CRefreshPacer m_pacer;
    CRefreshPacer m_listPacer;
    CString m_strStatus;
    BOOL m_bStatusSet = FALSE;
    int m_nDone = 0;
    BOOL m_bListHeld = FALSE;
};
