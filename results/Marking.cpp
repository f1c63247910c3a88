// Marking rows: "Выделить" and "Убрать выделение" act on a path prefix. The list itself keeps separator
// rows from being selected.
#include "app/VelmoraDlg.h"
#include "framework/FileSystem.h"
#include <algorithm>
#include <string>

void CVelmoraDlg::OnMark()
{
    MarkByPrefix(TRUE);
}

void CVelmoraDlg::OnUnmark()
{
    MarkByPrefix(FALSE);
}

// The list's own find operation is not used: Wine's compares case-sensitively and cuts texts at 260
// characters. Letters compare without regard to case in every script, whole characters with whole ones.
void CVelmoraDlg::MarkByPrefix(BOOL bMark)
{
    UpdateData(TRUE);
    // An empty prefix would match every row; a click on an empty field must not touch all marks.
    if (m_strFolder.IsEmpty())
        return;
    // The field is also the target folder, where '/' is read as '\'; the list shows only '\'.
    std::string prefix = static_cast<LPCSTR>(m_strFolder);
    std::replace(prefix.begin(), prefix.end(), '/', '\\');
    const int nRows = m_list.GetItemCount();
    for (int nRow = 0; nRow < nRows; ++nRow)
    {
        CString strPath;
        if (!m_list.ResolveRow(nRow, strPath) || !StartsWithNoCase(strPath, prefix.c_str()))
            continue;
        m_list.SetItemState(nRow, bMark ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
}
