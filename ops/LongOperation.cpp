// The long-operation control: the busy and idle looks, the stop check, Stop and Pause/Continue.
#include "ops/OperationScope.h"
#include "ops/OperationHold.h"

CVelmoraDlg::COperationScope::COperationScope(CVelmoraDlg& dlg, IOperationHold& hold) : m_dlg(dlg)
{
    m_dlg.m_pHold = &hold;
    m_dlg.SetIdle(FALSE);
}

CVelmoraDlg::COperationScope::~COperationScope()
{
    m_dlg.EndOperation();
    m_dlg.m_pHold = nullptr;
}

void CVelmoraDlg::SetIdle(BOOL bIdle)
{
    // The control that starts an operation is disabled while it runs, and a disabled control loses
    // the focus: it goes back there afterwards, or to the list, so that the keyboard works on at once.
    if (!bIdle)
        m_hFocusBeforeBusy = ::GetFocus();
    CWnd* const disabledWhileBusy[] = {&m_editPath,  &m_btnBrowse, &m_chkMp3,  &m_btnMark,
                                       &m_btnUnmark, &m_btnCopy,   &m_btnMove, &m_btnExit};
    for (CWnd* pControl : disabledWhileBusy)
        pControl->EnableWindow(bIdle);
    m_editFolder.SetReadOnly(!bIdle);
    m_btnSearch.SetWindowText(bIdle ? "Поиск" : "Стоп");
    m_btnDelete.SetWindowText(bIdle ? "Удалить" : "Пауза");
    m_bBusy = !bIdle;
    m_bPaused = FALSE;
    m_bStopRequested = FALSE;
    if (bIdle)
        RestoreFocus();
    else
        m_drainPacer.Reset();
}

void CVelmoraDlg::RestoreFocus()
{
    const HWND hFocus = ::GetFocus();
    if (hFocus && ::IsWindowEnabled(hFocus) && ::IsChild(m_hWnd, hFocus))
        return;
    HWND hTarget = m_hFocusBeforeBusy;
    if (!hTarget || !::IsChild(m_hWnd, hTarget) || !::IsWindowEnabled(hTarget) || !::IsWindowVisible(hTarget))
        hTarget = m_list.m_hWnd;
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hTarget), TRUE);
}

void CVelmoraDlg::EndOperation()
{
    // Input given while the operation ran can still wait in the queue (under Wine, X input even
    // reaches it only now): handled while the busy look and flags hold, a click on "Пауза" or "Стоп",
    // a key or a close request keeps its busy meaning or is dropped, instead of acting as "Удалить",
    // "Поиск", Enter or Esc of the idle window.
    DrainMessages();
    // "Стоп" or "Пауза" pressed while busy and released after would click with its idle meaning.
    const HWND hCapture = ::GetCapture();
    if (hCapture && (hCapture == m_btnSearch.m_hWnd || hCapture == m_btnDelete.m_hWnd))
        ::ReleaseCapture();
    SetIdle(TRUE);
}

void CVelmoraDlg::DrainMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Only reports the stop: the operation returns at once, and its scope ends it.
Outcome CVelmoraDlg::CheckStop()
{
    DrainMessages();
    MSG msg;
    while (IsGoingOn() && m_bPaused)
    {
        // Blocks in the message queue: a paused operation uses no processor time.
        if (::GetMessageA(&msg, m_hWnd, 0, 0) > 0)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (IsGoingOn())
        return Outcome::kCompleted;

    if (m_pHold)
        m_pHold->OnHold(TRUE);
    m_progress.SetRange32(0, 1);
    m_progress.SetPos(0);
    ShowStatus("Прервано пользователем");
    return Outcome::kStopped;
}

Outcome CVelmoraDlg::CheckStopPaced()
{
    // The flags change only while messages are dispatched, so between drains they still hold.
    if (IsGoingOn() && !m_drainPacer.Due())
        return Outcome::kCompleted;
    DrainMessages();
    if (IsGoingOn() && !m_bPaused)
        return Outcome::kCompleted;
    return CheckStop();
}

BOOL CVelmoraDlg::HandleStopClick()
{
    if (!m_bBusy)
        return FALSE;
    m_bStopRequested = TRUE;
    return TRUE;
}

BOOL CVelmoraDlg::HandlePauseClick()
{
    if (!m_bBusy)
        return FALSE;
    if (m_bStopRequested)
        return TRUE;
    m_btnDelete.SetWindowText(m_bPaused ? "Пауза" : "Продолжить");
    m_bPaused = !m_bPaused;
    if (m_pHold)
        m_pHold->OnHold(m_bPaused);
    return TRUE;
}

// Closing, the box gives the window back its focus, and with none to give (the button pressed was
// disabled) the dialog manager takes the first enabled control, "Стоп": the end of the operation would
// take that for the user's own choice and leave the focus there.
void CVelmoraDlg::ShowBusyBox(LPCSTR pszText, LPCSTR pszCaption)
{
    const HWND hFocus = ::GetFocus();
    MessageBox(pszText, pszCaption, MB_OK | MB_ICONEXCLAMATION);
    if (::GetFocus() != hFocus && (!hFocus || ::IsWindowEnabled(hFocus)))
        ::SetFocus(hFocus);
}

void CVelmoraDlg::ShowStatus(LPCSTR pszText)
{
    m_status.SetWindowText(pszText);
    m_status.UpdateWindow();
}
