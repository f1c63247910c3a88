// Test helpers: the main window created without a modal loop, message pumping, watching and answering it.
#pragma once
#include "app/VelmoraDlg.h"
#include "framework/AutoHandle.h"
#include "results/ItemKey.h"
#include "tests/support/TestFiles.h"
#include <functional>
#include <initializer_list>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Handles every message queued for this thread, as the modal loop would; with hDlg, keyboard
// navigation of that dialog included.
inline void PumpMessages(HWND hDlg = nullptr)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (hDlg && ::IsWindow(hDlg) && ::IsDialogMessageA(hDlg, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Real input, as a user's hands give it: it goes through the system's input queue to the window that
// has the focus (keys) or lies under the pointer (mouse), and is handled before these return.
// PressKeys holds the keys down in order and lets them go in reverse order: {VK_SHIFT, VK_DOWN}.
void PressKeys(std::initializer_list<WORD> keys);
void TypeText(const std::string& text);
// A click of the left button at a point of the window's client area, with the keys held meanwhile.
void ClickAt(HWND hWnd, POINT point, std::initializer_list<WORD> held = {});
// The same click, only queued: clicks queued one after another arrive while the first one's
// handler runs, as a quick hand's do.
void QueueClick(HWND hWnd, POINT point, std::initializer_list<WORD> held = {});
// The middle of a control of the dialog, for a click on it.
POINT Middle(HWND hWnd);

// A test's own instance of the main window, shown and owning its state; destroyed at the end.
class CDialogUnderTest : public CVelmoraDlg
{
public:
    CDialogUnderTest()
    {
        AfxGetApp()->m_pMainWnd = this;
        Create();
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        PumpMessages();
    }
    ~CDialogUnderTest() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        if (m_hWnd)
        {
            ClearResults();
            DestroyWindow();
        }
        PumpMessages();
    }

    void Click(int nID)
    {
        SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                    reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, nID)));
        PumpMessages();
    }
    CString ControlText(int nID) const
    {
        CString text;
        GetDlgItem(nID).GetWindowText(text);
        return text;
    }
    // Changes the window's outer size, and so its client size, by the given pixels.
    void ResizeBy(int dx, int dy)
    {
        RECT rect;
        GetWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
    }
    // Fills the results list as a search does: a group per entry of full paths, one row per file,
    // a separator row between two groups.
    void ShowGroups(const std::vector<std::vector<std::string>>& groups);
    using CVelmoraDlg::OnWndMsg;
    using CVelmoraDlg::CheckStop;
    using CVelmoraDlg::HandlePauseClick;
    using CVelmoraDlg::ScanFolder;
    using CVelmoraDlg::SetIdle;

    // Types the path, sets the MP3 option and presses "Поиск"; returns when the search has ended.
    void Search(const std::string& path, BOOL bMp3 = FALSE)
    {
        ::SetDlgItemTextA(m_hWnd, IDC_PATH, path.c_str());
        ::CheckDlgButton(m_hWnd, IDC_MP3, bMp3 ? BST_CHECKED : BST_UNCHECKED);
        Click(IDC_SEARCH);
    }
    // Every refresh and every drain as it comes, so that a test sees each step of a search.
    void RefreshOnEveryStep() { RefreshEvery(0); }
    void RefreshEvery(DWORD nIntervalMs)
    {
        m_report.SetRefreshInterval(nIntervalMs);
        m_drainPacer = CRefreshPacer(nIntervalMs);
    }
    void SetControlText(int nID, const std::string& text) { ::SetDlgItemTextA(m_hWnd, nID, text.c_str()); }

    // Appends a duplicate group of these paths and its rows, with a separator row before it
    // when it is not the first group; returns the group's index.
    int AddGroup(const std::vector<std::string>& paths);
    std::vector<LPARAM> RowKeys() const;
    std::vector<int> SelectedRows() const;
    void SelectRows(const std::vector<int>& rows);
};

// The idle look after an operation: idle captions, the controls enabled, no search lists left.
void ExpectIdle(const CDialogUnderTest& dlg);

// Stands in for the program's message boxes while it lives: records each one and runs onBox in its place.
struct RecordedBox
{
    std::string text;
    std::string caption;
    UINT style;
};

class CMessageBoxRecorder
{
public:
    CMessageBoxRecorder();
    ~CMessageBoxRecorder();
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    std::vector<RecordedBox> boxes;
    std::function<void()> onBox;

private:
    static int Show(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT nType);
    static CMessageBoxRecorder* s_pActive;
    int (*m_pfnPrevious)(HWND, LPCSTR, LPCSTR, UINT);
};

// Sees every message sent to a window of this thread while it lives (a WH_CALLWNDPROC hook), so that
// a test can act at an exact step of a running operation. Watches nest: the outermost holds the hook
// and each one sees every message.
class CSentMessageWatch
{
public:
    explicit CSentMessageWatch(std::function<void(const CWPSTRUCT&)> onMessage);
    ~CSentMessageWatch();
    CSentMessageWatch(const CSentMessageWatch&) = delete;
    CSentMessageWatch& operator=(const CSentMessageWatch&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static CSentMessageWatch* s_pActive;
    std::function<void(const CWPSTRUCT&)> m_onMessage;
    CSentMessageWatch* m_pOuter;
    HHOOK m_hook;
};

// Queues a click on a button of the dialog, as a user's click would arrive while an operation runs.
inline void PostClick(const CVelmoraDlg& dlg, int nID)
{
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, nID)));
}

// Queues the mouse button going down (WM_LBUTTONDOWN) or up (WM_LBUTTONUP) over a button of the
// dialog, as the user's hand gives it.
inline void PostMouse(const CVelmoraDlg& dlg, int nID, UINT message)
{
    ::PostMessageA(::GetDlgItem(dlg.m_hWnd, nID), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                   MAKELPARAM(4, 4));
}

// While it lives, answers every pause of the dialog's operation with "Продолжить": as soon as the
// button takes that caption, a click on it is queued, which the operation takes at its next look at
// its queue. A stop queued before it ends the operation first, and the end drops the click.
class CPauseAnswerer
{
public:
    explicit CPauseAnswerer(const CVelmoraDlg& dlg);
    int Answered() const { return m_nAnswered; }

private:
    int m_nAnswered = 0;
    CSentMessageWatch m_watch;  // last: it may see a message as soon as it exists
};
