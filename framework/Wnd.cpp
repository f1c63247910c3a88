// Window subclassing and the default processing behind CWnd::WindowProc.
#include "framework/Wnd.h"
#include "framework/Check.h"
#include <algorithm>
#include <utility>
#include <vector>

namespace
{
// The wrappers of subclassed windows. A window property would do, but under Wine every property
// look-up is a round trip to the server, and the look-up runs for every message of the window.
std::vector<std::pair<HWND, CWnd*>>& Wrappers()
{
    static std::vector<std::pair<HWND, CWnd*>> s_wrappers;
    return s_wrappers;
}

void ForgetWrapper(HWND hWnd)
{
    auto& wrappers = Wrappers();
    wrappers.erase(std::remove_if(wrappers.begin(), wrappers.end(),
                                  [hWnd](const std::pair<HWND, CWnd*>& entry) { return entry.first == hWnd; }),
                   wrappers.end());
}

int SystemMessageBox(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT nType)
{
    return ::MessageBoxA(hWnd, pszText, pszCaption, nType);
}
}  // namespace

int (*AfxMessageBoxFunction)(HWND, LPCSTR, LPCSTR, UINT) = SystemMessageBox;

CWnd::~CWnd()
{
    if (m_pfnSuper && ::IsWindow(m_hWnd))
    {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ForgetWrapper(m_hWnd);
    }
}

void CWnd::GetWindowText(CString& rString) const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
    rString = CString(text.data(), copied);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    m_hWnd = hWnd;
    ForgetWrapper(hWnd);
    Wrappers().emplace_back(hWnd, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return m_pfnSuper != nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    for (const auto& entry : Wrappers())
    {
        if (entry.first == hWnd)
            return entry.second;
    }
    return nullptr;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    // Every subclassed window has its wrapper until WM_NCDESTROY; without one the window procedure
    // it replaced is unknown, and the default processing is the only safe answer.
    if (!VERIFY_STATE(pWnd))
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const MSG previous = pWnd->m_current;
    pWnd->m_current = MSG{hWnd, message, wParam, lParam, 0, {}};
    const WNDPROC pfnSuper = pWnd->m_pfnSuper;
    LRESULT result;
    if (message == WM_NCDESTROY)
    {
        ForgetWrapper(hWnd);
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnSuper));
        result = ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
        pWnd->m_pfnSuper = nullptr;
        pWnd->m_hWnd = nullptr;
        return result;
    }
    result = pWnd->WindowProc(message, wParam, lParam);
    pWnd->m_current = previous;
    return result;
}
