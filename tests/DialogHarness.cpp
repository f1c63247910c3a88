// Test helpers: filling the results list, the message watch and recorder, the pause answerer.
#include "tests/DialogHarness.h"
#include <atomic>
#include <thread>

namespace
{
INPUT KeyInput(WORD vk, WORD scan, DWORD flags)
{
    INPUT input = {INPUT_KEYBOARD, {}};
    input.ki = {vk, scan, flags, 0, 0};
    return input;
}

INPUT MouseInput(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input = {INPUT_MOUSE, {}};
    input.mi = {x, y, 0, flags, 0, 0};
    return input;
}

// The queue holds the input as soon as SendInput returns.
void Queue(std::vector<INPUT> inputs)
{
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Handled as the program's modal loop handles it, with the keyboard navigation of the active dialog.
void Deliver(std::vector<INPUT> inputs)
{
    Queue(std::move(inputs));
    PumpMessages(::GetActiveWindow());
}
}  // namespace

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD vk : keys)
        inputs.push_back(KeyInput(vk, 0, 0));
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        inputs.push_back(KeyInput(*it, 0, KEYEVENTF_KEYUP));
    Deliver(inputs);
}

void TypeText(const std::string& text)
{
    std::vector<INPUT> inputs;
    for (char ch : text)
    {
        inputs.push_back(KeyInput(0, static_cast<BYTE>(ch), KEYEVENTF_UNICODE));
        inputs.push_back(KeyInput(0, static_cast<BYTE>(ch), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    Deliver(inputs);
}

POINT Middle(HWND hWnd)
{
    RECT rect;
    ::GetClientRect(hWnd, &rect);
    return {rect.right / 2, rect.bottom / 2};
}

void ClickAt(HWND hWnd, POINT point, std::initializer_list<WORD> held)
{
    QueueClick(hWnd, point, held);
    PumpMessages(::GetActiveWindow());
}

void QueueClick(HWND hWnd, POINT point, std::initializer_list<WORD> held)
{
    ::ClientToScreen(hWnd, &point);
    const LONG x = point.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    const LONG y = point.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    std::vector<INPUT> inputs;
    for (WORD vk : held)
        inputs.push_back(KeyInput(vk, 0, 0));
    inputs.push_back(MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y));
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(MouseInput(MOUSEEVENTF_LEFTUP));
    for (auto it = std::rbegin(held); it != std::rend(held); ++it)
        inputs.push_back(KeyInput(*it, 0, KEYEVENTF_KEYUP));
    Queue(inputs);
}

void ExpectIdle(const CDialogUnderTest& dlg)
{
    EXPECT_FALSE(dlg.m_bBusy);
    EXPECT_EQ(CString("Поиск"), dlg.ControlText(IDC_SEARCH));
    EXPECT_EQ(CString("Удалить"), dlg.ControlText(IDC_DELETE));
    EXPECT_TRUE(::IsWindowEnabled(dlg.m_btnExit.m_hWnd));
    EXPECT_TRUE(::IsWindowEnabled(dlg.m_editPath.m_hWnd));
    EXPECT_EQ(nullptr, dlg.m_pSearch) << "no search, and so no working table, is left";
}

CSentMessageWatch* CSentMessageWatch::s_pActive = nullptr;

CSentMessageWatch::CSentMessageWatch(std::function<void(const CWPSTRUCT&)> onMessage)
    : m_onMessage(std::move(onMessage)), m_pOuter(s_pActive),
      m_hook(m_pOuter ? nullptr
                      : ::SetWindowsHookExA(WH_CALLWNDPROC, &CSentMessageWatch::Hook, nullptr, ::GetCurrentThreadId()))
{
    s_pActive = this;
}

CSentMessageWatch::~CSentMessageWatch()
{
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
    s_pActive = m_pOuter;
}

LRESULT CALLBACK CSentMessageWatch::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    for (CSentMessageWatch* pWatch = s_pActive; code == HC_ACTION && pWatch; pWatch = pWatch->m_pOuter)
        pWatch->m_onMessage(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

CPauseAnswerer::CPauseAnswerer(const CVelmoraDlg& dlg)
    : m_watch(
          [this, &dlg, hButton = ::GetDlgItem(dlg.m_hWnd, IDC_DELETE)](const CWPSTRUCT& msg)
          {
              if (msg.message == WM_SETTEXT && msg.hwnd == hButton &&
                  ::lstrcmpA(reinterpret_cast<LPCSTR>(msg.lParam), "Продолжить") == 0)
              {
                  ++m_nAnswered;
                  PostClick(dlg, IDC_DELETE);
              }
          })
{
}

CMessageBoxRecorder* CMessageBoxRecorder::s_pActive = nullptr;

CMessageBoxRecorder::CMessageBoxRecorder() : m_pfnPrevious(AfxMessageBoxFunction)
{
    s_pActive = this;
    AfxMessageBoxFunction = &CMessageBoxRecorder::Show;
}

CMessageBoxRecorder::~CMessageBoxRecorder()
{
    AfxMessageBoxFunction = m_pfnPrevious;
    s_pActive = nullptr;
}

int CMessageBoxRecorder::Show(HWND, LPCSTR pszText, LPCSTR pszCaption, UINT nType)
{
    if ((nType & MB_TYPEMASK) == MB_YESNO)
    {
        s_pActive->questions.push_back({pszText, pszCaption, nType});
        return s_pActive->questionAnswer;
    }
    s_pActive->boxes.push_back({pszText, pszCaption, nType});
    if (s_pActive->onBox)
        s_pActive->onBox();
    return IDOK;
}

CLongFileTree::CLongFileTree(LONGLONG nLength)
    : m_firstSmall(m_root.Write("a1.bin", "small")), m_secondSmall(m_root.Write("a2.bin", "small")),
      m_long(m_root.WriteSparse("b1.bin", nLength)), m_holdTwin(HoldOpen(m_root.WriteSparse("b2.bin", nLength)))
{
}

bool SearchWatchingTheLongFile(CDialogUnderTest& dlg, const CLongFileTree& tree, bool bStop)
{
    dlg.RefreshEvery(10);  // well below the time the long file takes, whatever the program's own pacing
    std::atomic<bool> bDone{false};
    bool bSeen = false;
    std::thread watcher(
        [&, hStatus = ::GetDlgItem(dlg.m_hWnd, IDC_STATUS), hFolder = ::GetDlgItem(dlg.m_hWnd, IDC_FOLDER)]
        {
            while (!bDone && !bSeen)
            {
                bSeen = TextFromOutside(hStatus) == "Просмотр 3/4: " + tree.Long() &&
                        TextFromOutside(hFolder) == tree.Long();
            }
            if (bSeen && bStop)
                PostClick(dlg, IDC_SEARCH);
        });
    dlg.Search(tree.Path());
    bDone = true;
    watcher.join();
    return bSeen;
}
