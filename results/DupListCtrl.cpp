// CDupListCtrl: the rows, columns and cell texts of the results list, resolved through the group table,
// and the rule that keeps separator rows unselected.
#include "results/DupListCtrl.h"
#include "framework/Check.h"
#include "framework/FileSystem.h"
#include "results/ItemKey.h"
#include "results/ResultsTable.h"

namespace
{
const char kSeparatorText[] = "--------";
const int kFileColumnWidth = 350;
const int kSizeColumnWidth = 100;

// The file's present size, or -1 when it cannot be opened.
LONGLONG CurrentFileSize(LPCSTR pszPath)
{
    CFile file;
    ULONGLONG nSize = 0;
    if (!file.OpenForReading(pszPath) || !file.GetLength(nSize))
        return -1;
    return static_cast<LONGLONG>(nSize);
}
}  // namespace

BOOL CDupListCtrl::InsertColumns()
{
    InsertColumn(kColumnFile, "Файл", LVCFMT_LEFT, kFileColumnWidth, kColumnFile);
    InsertColumn(kColumnSize, "Размер", LVCFMT_RIGHT, kSizeColumnWidth, kColumnSize);
    m_nColumns = 2;
    return TRUE;
}

int CDupListCtrl::GetColumnCount()
{
    return m_nColumns;
}

LPARAM CDupListCtrl::GetRowKey(int nRow) const
{
    return m_table.RowKey(nRow);
}

BOOL CDupListCtrl::ResolveRow(int nRow, CString& strPath) const
{
    const CString* pPath = m_table.PathOfKey(GetRowKey(nRow));
    if (!pPath)
        return FALSE;
    strPath = *pPath;
    return TRUE;
}

CString CDupListCtrl::GetCellText(int nRow, int nColumn) const
{
    const LPARAM key = GetRowKey(nRow);
    if (IsSeparatorKey(key))
        return nColumn == kColumnFile ? CString(kSeparatorText) : CString();
    const CString* pPath = m_table.PathOfKey(key);
    if (!pPath)
        return CString();
    if (nColumn == kColumnFile)
        return *pPath;
    CString strSize;
    if (nColumn == kColumnSize)
        strSize.Format("%lld байт", CurrentFileSize(*pPath));
    return strSize;
}

COLORREF CDupListCtrl::GetRowColor(int nRow)
{
    const LPARAM key = GetRowKey(nRow);
    if (IsSeparatorKey(key))
        return RGB(0, 0, 0);
    return m_colors[ItemKeyGroup(key) % kGroupColors];
}

// The control hears of the new rows at once, so that a pause while the list is filled shows them;
// it redraws nothing while drawing is off.
void CDupListCtrl::AppendGroupRows(UINT nGroup)
{
    m_table.AppendGroupRows(nGroup);
    SetItemCountEx(m_table.RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    VERIFY_STATE(GetItemCount() == m_table.RowCount());
}

// The control takes out a row before its key goes, so that what it reports of the row while doing so
// is still the row's own.
void CDupListCtrl::RemoveFileRow(int nRow)
{
    if (nRow < 0 || nRow >= m_table.RowCount())
        return;
    int nFirst;
    int nLast;
    m_table.RowsGoingWith(nRow, nFirst, nLast);
    for (int i = nLast; i >= nFirst; --i)
    {
        DeleteItem(i);
        m_table.EraseRow(i);
    }
    // The control asks for a row's texts by its number: a row too many or too few would show another file.
    VERIFY_STATE(GetItemCount() == m_table.RowCount());
}

void CDupListCtrl::RemoveAllRows()
{
    DeleteAllItems();
}

// The control of an owner-data list asks its parent to find a row by typed text, and takes no answer
// for row 0: one key typed in the list would then replace every mark by that row. Every path begins
// with the same drive, so finding by typed text has no use here: the answer is always "no row".
//
// The control of an owner-data list asks nobody before it selects a row: it reports a row after the
// change, and a range (Shift, select all) as a whole. A separator that became selected is unselected
// right away, before anything can act on the mark or paint it.
BOOL CDupListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (message == WM_NOTIFY && pHdr->code == LVN_ITEMCHANGED)
    {
        OnItemChanged(reinterpret_cast<const NMLISTVIEW*>(lParam));
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY && (pHdr->code == LVN_ODFINDITEMA || pHdr->code == LVN_ODFINDITEMW))
    {
        *pResult = -1;
        return TRUE;
    }
    if (message == WM_NOTIFY && pHdr->code == LVN_ODSTATECHANGED)
    {
        const NMLVODSTATECHANGE* pChange = reinterpret_cast<const NMLVODSTATECHANGE*>(lParam);
        if (pChange->uNewState & LVIS_SELECTED)
            UnselectSeparators(pChange->iFrom, pChange->iTo);
        *pResult = 0;
        return TRUE;
    }
    return CColorListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

void CDupListCtrl::OnItemChanged(const NMLISTVIEW* pNMLV)
{
    if (!(pNMLV->uNewState & LVIS_SELECTED))
        return;
    if (pNMLV->iItem < 0)
        UnselectSeparators(0, m_table.RowCount() - 1);
    else
        UnselectSeparators(pNMLV->iItem, pNMLV->iItem);
}

void CDupListCtrl::UnselectSeparators(int nFrom, int nTo)
{
    const int nLast = m_table.RowCount() - 1;
    for (int nRow = nFrom < 0 ? 0 : nFrom; nRow <= nTo && nRow <= nLast; ++nRow)
    {
        if (!CanSelectRow(nRow))
            SetItemState(nRow, 0, LVIS_SELECTED);
    }
}

// A change of the selection within one row (Shift+click or Shift+Space on the focused row) is reported
// by no notification at all, so after every click and key the focused row is looked at too.
LRESULT CDupListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CColorListCtrl::WindowProc(message, wParam, lParam);
    switch (message)
    {
    case WM_KEYDOWN:
        StepOverSeparator(static_cast<UINT>(wParam), lParam);
        [[fallthrough]];
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    {
        const int nFocused = GetNextItem(-1, LVNI_FOCUSED);
        if (nFocused >= 0)
            UnselectSeparators(nFocused, nFocused);
        break;
    }
    default:
        break;
    }
    return result;
}

// Up, Down, Page Up and Page Down that end on a separator go on to the file row beyond it, so that the
// keyboard walks the whole list; with Shift the range grows over the separator, which stays unmarked.
// Separators stand only between two groups, so the row beyond one is always a file row.
void CDupListCtrl::StepOverSeparator(UINT nKey, LPARAM lKeyData)
{
    UINT nStep;
    if (nKey == VK_DOWN || nKey == VK_NEXT)
        nStep = VK_DOWN;
    else if (nKey == VK_UP || nKey == VK_PRIOR)
        nStep = VK_UP;
    else
        return;
    const int nFocused = GetNextItem(-1, LVNI_FOCUSED);
    if (nFocused < 0 || CanSelectRow(nFocused))
        return;
    CColorListCtrl::WindowProc(WM_KEYDOWN, nStep, lKeyData);
    UnselectSeparators(nFocused, nFocused);
}
