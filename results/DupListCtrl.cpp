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

void CDupListCtrl::GetCellText(LPARAM key, int nColumn, LPSTR pszBuffer, int cchBuffer)
{
    pszBuffer[0] = '\0';
    if (IsSeparatorKey(key))
    {
        if (nColumn == kColumnFile)
            ::lstrcpynA(pszBuffer, kSeparatorText, cchBuffer);
        return;
    }
    const UINT nGroup = ItemKeyGroup(key);
    if (!m_pGroups || nGroup >= static_cast<UINT>(m_pGroups->GetSize()))
        return;
    const CStringArray* pGroup = m_pGroups->GetAt(nGroup);
    const UINT nFile = ItemKeyFile(key);
    if (!pGroup || nFile >= static_cast<UINT>(pGroup->GetSize()))
        return;
    const CString& path = pGroup->GetAt(nFile);
    if (nColumn == kColumnFile)
    {
        ::lstrcpynA(pszBuffer, path, cchBuffer);
    }
    else if (nColumn == kColumnSize)
    {
        std::snprintf(pszBuffer, static_cast<size_t>(cchBuffer), "%lld байт", CurrentFileSize(path));
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
