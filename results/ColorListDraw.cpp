// CColorListCtrl's painting: rows in their colours, the white area below the rows, the grid.
#include "framework/Gdi.h"
#include "results/ColorListCtrl.h"
#include "framework/Utf8.h"

namespace
{
// Each cell's text keeps this many pixels off both edges of its column.
const int kCellMargin = 5;

// The text is UTF-8, which the single-byte drawing does not take whatever the font: it is drawn wide.
// A text wider than its cell ends with the last whole character that fits, never with part of one.
// A cell shows a path as it is: an ampersand in a file name is no mnemonic prefix.
void DrawCellText(HDC hdc, const CString& text, RECT rcText, UINT nAlignment)
{
    const std::wstring wide = WideFromUtf8(text);
    const int nLength = static_cast<int>(wide.size());
    int nFit = nLength;
    SIZE extent;
    if (!::GetTextExtentExPointW(hdc, wide.c_str(), nLength, rcText.right - rcText.left, &nFit, nullptr, &extent))
        nFit = nLength;
    else if (nFit > 0 && nFit < nLength && IS_HIGH_SURROGATE(wide[static_cast<size_t>(nFit) - 1]))
        --nFit;
    ::DrawTextW(hdc, wide.c_str(), nFit, &rcText, nAlignment | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
}  // namespace

LRESULT CColorListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        OnPaint();
        return 0;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

BOOL CColorListCtrl::HasFocus() const
{
    // The header is a child of the list and does not count as the list.
    return ::GetFocus() == m_hWnd;
}

BOOL CColorListCtrl::DrawItem(UINT nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (static_cast<int>(nIDCtl) != GetDlgCtrlID())
        return FALSE;
    const HDC hdc = lpDrawItemStruct->hDC;
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    // The rectangle handed to an owner-drawn row may start right of the first column (two pixels
    // under Wine), which would shift every cell off its header; the row's bounds never do.
    RECT rcItem = lpDrawItemStruct->rcItem;
    RECT rcBounds;
    if (GetItemRect(nItem, &rcBounds, LVIR_BOUNDS))
        rcItem.left = rcBounds.left;
    {
        CSaveDC saved(hdc);
        COLORREF background = GetRowColor(nItem);
        COLORREF text = m_colors[kText];
        if ((lpDrawItemStruct->itemState & ODS_SELECTED) && CanSelectRow(nItem))
        {
            const BOOL bFocused = HasFocus();
            background = m_colors[bFocused ? kSelectedFocused : kSelectedUnfocused];
            text = m_colors[bFocused ? kTextSelectedFocused : kTextSelectedUnfocused];
        }
        FillRow(hdc, rcItem, background);
        ::SetTextColor(hdc, text);
        ::SetBkMode(hdc, TRANSPARENT);
        DrawCells(hdc, nItem, rcItem);
    }
    if ((lpDrawItemStruct->itemState & ODS_FOCUS) && HasFocus())
    {
        const RECT rcFocus = {rcItem.left, rcItem.top, rcItem.right - 1, rcItem.bottom - 1};
        ::DrawFocusRect(hdc, &rcFocus);
    }
    return TRUE;
}

void CColorListCtrl::FillRow(HDC hdc, const RECT& rcItem, COLORREF color)
{
    CBrush brush(::CreateSolidBrush(color));
    CSelection selectBrush(hdc, brush.Get());
    CSelection selectPen(hdc, ::GetStockObject(NULL_PEN));
    // With the null pen Rectangle leaves out the right and bottom edges: one pixel more each way.
    ::Rectangle(hdc, rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1);
}

void CColorListCtrl::DrawCells(HDC hdc, int nItem, const RECT& rcItem)
{
    const int nColumns = GetColumnCount();
    int x = rcItem.left + kCellMargin;
    for (int i = 0; i < nColumns; ++i)
    {
        const int width = GetColumnWidth(i);
        RECT rcText = {x, rcItem.top, x + width - 2 * kCellMargin, rcItem.bottom};
        CRgn clip(::CreateRectRgnIndirect(&rcText));
        ::ExtSelectClipRgn(hdc, clip.Get(), RGN_COPY);
        DrawCellText(hdc, GetCellText(nItem, i), rcText, CellAlignment(i));
        x += width;
    }
}

UINT CColorListCtrl::CellAlignment(int nColumn) const
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    GetColumn(nColumn, &column);
    if (column.fmt & LVCFMT_CENTER)
        return DT_CENTER;
    if (column.fmt & LVCFMT_RIGHT)
        return DT_RIGHT;
    return DT_LEFT;
}

void CColorListCtrl::OnPaint()
{
    Default();
    if (GetItemCount() <= 0)
        return;
    CClientDC dc(m_hWnd);
    RECT rcClient;
    GetClientRect(&rcClient);
    ClearBelowLastRow(dc.Get(), rcClient);
    DrawGrid(dc.Get(), rcClient);
}

void CColorListCtrl::ClearBelowLastRow(HDC hdc, const RECT& rcClient)
{
    RECT rcLast;
    if (!GetItemRect(GetItemCount() - 1, &rcLast, LVIR_BOUNDS) || rcLast.bottom >= rcClient.bottom)
        return;
    CSelection selectBrush(hdc, ::GetStockObject(WHITE_BRUSH));
    CSelection selectPen(hdc, ::GetStockObject(NULL_PEN));
    ::Rectangle(hdc, 0, rcLast.bottom, rcClient.right + 1, rcClient.bottom + 1);
}

void CColorListCtrl::DrawGrid(HDC hdc, const RECT& rcClient)
{
    // Without the first visible row's place the grid has nothing to line up with.
    RECT rcTop;
    if (!GetItemRect(GetTopIndex(), &rcTop, LVIR_BOUNDS))
        return;
    CPen pen(::CreatePen(PS_SOLID, 1, m_colors[kGrid]));
    CSelection selectPen(hdc, pen.Get());
    const int top = rcTop.top;
    const int rowHeight = rcTop.bottom - rcTop.top;

    // On the last pixel column of every column, from the first visible row down.
    const int nColumns = GetColumnCount();
    int x = GetColumnWidth(0) - ::GetScrollPos(m_hWnd, SB_HORZ) - 1;
    for (int i = 1; i <= nColumns && x < rcClient.right; ++i)
    {
        ::MoveToEx(hdc, x, top, nullptr);
        ::LineTo(hdc, x, rcClient.bottom);
        x += GetColumnWidth(i);
    }

    // On the last pixel row of every row position of the page, whether a row stands there or not.
    const int nRows = GetCountPerPage();
    int y = top + rowHeight - 1;
    for (int i = 0; i < nRows; ++i)
    {
        ::MoveToEx(hdc, 0, y, nullptr);
        ::LineTo(hdc, rcClient.right, y);
        y += rowHeight;
    }
}
