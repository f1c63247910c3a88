// CColorListCtrl: creation, colour table and the control's own text requests.
#include "results/ColorListCtrl.h"
#include "framework/Utf8.h"
#include <cstring>

CColorListCtrl::CColorListCtrl()
    : m_colors{
          RGB(255, 234, 234), RGB(234, 255, 255), RGB(238, 234, 255), RGB(234, 255, 242),
          RGB(255, 234, 247), RGB(251, 255, 234), RGB(234, 242, 255), RGB(255, 247, 234),
          RGB(251, 234, 255), RGB(238, 255, 234), RGB(0, 0, 255),     RGB(192, 192, 192),
          RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),       RGB(127, 127, 127),
      }
{
}

BOOL CColorListCtrl::Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CListCtrl::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(dwExStyle));
    if (!InsertColumns())
    {
        DestroyWindow();
        return FALSE;
    }
    UpdateWindow();
    return TRUE;
}

BOOL CColorListCtrl::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (message != WM_NOTIFY || pHdr->code != LVN_GETDISPINFOA)
        return FALSE;
    OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam));
    *pResult = 0;
    return TRUE;
}

// Others read the cells through the control (another program, with a buffer of its own): as much of
// the text as fits with its end, cut between two characters, never inside one.
void CColorListCtrl::OnGetDispInfo(NMLVDISPINFOA* pDispInfo)
{
    LVITEMA& item = pDispInfo->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    const CString text = GetCellText(item.iItem, item.iSubItem);
    const size_t nBytes = WholeCharactersIn(text, static_cast<size_t>(item.cchTextMax) - 1);
    std::memcpy(item.pszText, static_cast<LPCSTR>(text), nBytes);
    item.pszText[nBytes] = '\0';
}
