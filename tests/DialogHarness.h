// Test helpers: the main window created without a modal loop, message pumping, watching and answering it.
#pragma once
#include "kit/DialogUnderTest.h"
#include "framework/ScopedWin.h"
#include "results/ItemKey.h"
#include "kit/TestFiles.h"
#include <functional>
#include <initializer_list>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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
// A click in the middle of a button, as the user's hand gives it.
inline void ClickButton(HWND hButton)
{
    ClickAt(hButton, Middle(hButton));
}

// The idle look after an operation: idle captions, the controls enabled, no search lists left.
void ExpectIdle(const CDialogUnderTest& dlg);

// Stands in for the program's message boxes while it lives: records each one and runs onBox in its place.
// A question (Yes and No) is recorded apart and answered with questionAnswer.
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
    std::vector<RecordedBox> questions;
    int questionAnswer = IDYES;

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

// A control's text as another program reads it: answered only when the window handles messages.
inline std::string TextFromOutside(HWND hWnd)
{
    char text[1024] = "";
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 200, &result);
    return text;
}

// A tree whose search reads a long file third of four: two small equal files, the long file, and its
// twin of equal size, held open while the tree lives so that only the one long file is read.
class CLongFileTree
{
public:
    explicit CLongFileTree(LONGLONG nLength);
    const std::string& Path() const { return m_root.Path(); }
    const std::string& FirstSmall() const { return m_firstSmall; }
    const std::string& Long() const { return m_long; }

private:
    CTempFolder m_root;
    std::string m_firstSmall;
    std::string m_secondSmall;
    std::string m_long;
    CAutoHandle m_holdTwin;
};

// Searches the tree while another thread watches the window as another program would, until the status
// and the lower field name the long file; with bStop, "Стоп" is clicked then. TRUE when it was seen.
bool SearchWatchingTheLongFile(CDialogUnderTest& dlg, const CLongFileTree& tree, bool bStop);

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
