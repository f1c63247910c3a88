// CDupListCtrl: the columns and cell texts of the results list, resolved through the group table.
#include "results/DupListCtrl.h"
#include "framework/AutoHandle.h"
#include "results/ItemKey.h"
#include <cstdio>

namespace
{
const char kSeparatorText[] = "--------";
const int kFileColumnWidth = 350;
const int kSizeColumnWidth = 100;

// The file's present size, or -1 when it cannot be opened.
LONGLONG CurrentFileSize(LPCSTR pszPath)
{
    CAutoHandle file(::CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.IsValid() || !::GetFileSizeEx(file.Get(), &size))
        return -1;
    return size.QuadPart;
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

const CString* CDupListCtrl::PathOfKey(LPARAM key) const
{
    if (IsSeparatorKey(key) || !m_pGroups)
        return nullptr;
    const UINT nGroup = ItemKeyGroup(key);
    if (nGroup >= static_cast<UINT>(m_pGroups->GetSize()) || !m_pGroups->GetAt(nGroup))
        return nullptr;
    const CStringArray& group = *m_pGroups->GetAt(nGroup);
    const UINT nFile = ItemKeyFile(key);
    if (nFile >= static_cast<UINT>(group.GetSize()))
        return nullptr;
    return &group[nFile];
}

BOOL CDupListCtrl::ResolveRow(int nRow, CString& strPath) const
{
    const CString* pPath = PathOfKey(static_cast<LPARAM>(GetItemData(nRow)));
    if (!pPath)
        return FALSE;
    strPath = *pPath;
    return TRUE;
}

void CDupListCtrl::GetCellText(LPARAM key, int nColumn, LPSTR pszBuffer, int cchBuffer)
{
    pszBuffer[0] = '\0';
    if (IsSeparatorKey(key))
    {
        if (nColumn == kColumnFile)
            ::lstrcpynA(pszBuffer, kSeparatorText, cchBuffer);
        return;
    }
    const CString* pPath = PathOfKey(key);
    if (!pPath)
        return;
    if (nColumn == kColumnFile)
    {
        ::lstrcpynA(pszBuffer, *pPath, cchBuffer);
    }
    else if (nColumn == kColumnSize)
    {
        std::snprintf(pszBuffer, static_cast<size_t>(cchBuffer), "%lld байт", CurrentFileSize(*pPath));
    }
}

COLORREF CDupListCtrl::GetRowColor(int nRow)
{
    const LPARAM key = static_cast<LPARAM>(GetItemData(nRow));
    if (IsSeparatorKey(key))
        return RGB(0, 0, 0);
    return m_colors[ItemKeyGroup(key) % kGroupColors];
}

void CDupListCtrl::AppendRow(LPARAM key)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = GetItemCount();
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = key;
    InsertItem(&item);
}

void CDupListCtrl::AppendGroupRows(UINT nGroup, UINT nFiles)
{
    if (GetItemCount() > 0)
        AppendRow(kSeparatorKey);
    for (UINT nFile = 0; nFile < nFiles; ++nFile)
        AppendRow(MakeItemKey(nGroup, nFile));
}

// The separator below a row goes with it when the row was the last of its block, and the separator
// above it when the row was the last of the list.
void CDupListCtrl::RemoveFileRow(int nRow)
{
    const BOOL bFirstOfBlock = nRow == 0 || IsSeparatorKey(static_cast<LPARAM>(GetItemData(nRow - 1)));
    const int nRows = GetItemCount();
    DeleteItem(nRow);
    if (!bFirstOfBlock)
        return;
    if (nRow + 1 < nRows)
    {
        if (IsSeparatorKey(static_cast<LPARAM>(GetItemData(nRow))))
            DeleteItem(nRow);
    }
    else if (nRow > 0)
    {
        DeleteItem(nRow - 1);
    }
}
