// CDialogUnderTest: filling the results list as a search does, and reading its rows and marks.
#include "kit/DialogUnderTest.h"
#include "search/Search.h"
#include "search/SearchHold.h"
#include "framework/ScopedWin.h"
#include "framework/FileSystem.h"
#include "results/ListedFile.h"

void CDialogUnderTest::ShowGroups(const std::vector<std::vector<std::string>>& groups)
{
    for (const std::vector<std::string>& paths : groups)
        AddGroup(paths);
    PumpMessages();
}

// Each file as a search would list it: its identity, size and write time as they are now.
int CDialogUnderTest::AddGroup(const std::vector<std::string>& paths)
{
    CStringArray group;
    std::vector<ListedFile> files;
    for (const std::string& path : paths)
    {
        group.Add(CString(path.c_str()));
        ListedFile file = {};
        CFile handle;
        if (handle.OpenForIdentity(path.c_str()) && QueryListedState(path.c_str(), file.state))
            file.state.fileId = handle.GetFileIndex();
        files.push_back(file);
    }
    m_groups.AddGroup(std::move(group), std::move(files));
    const int nGroup = m_groups.GroupCount() - 1;
    m_list.AppendGroupRows(static_cast<UINT>(nGroup));
    return nGroup;
}

Outcome CDialogUnderTest::Walk(const std::string& folder, std::vector<SearchEntry>& files)
{
    CSearchHold hold(m_report);
    COperationScope busy(*this, hold);
    CSearch search(
        folder, FALSE, [this] { return CheckStopPaced(); }, m_drainPacer.IntervalMs(), m_report, hold, m_groups,
        m_list);
    const Outcome outcome = search.Walk();
    files = search.Table().Entries();
    return outcome;
}

std::vector<LPARAM> CDialogUnderTest::RowKeys() const
{
    std::vector<LPARAM> keys;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        keys.push_back(m_list.GetRowKey(i));
    return keys;
}

std::vector<int> CDialogUnderTest::SelectedRows() const
{
    std::vector<int> rows;
    for (int i = m_list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = m_list.GetNextItem(i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

void CDialogUnderTest::SelectRows(const std::vector<int>& rows)
{
    for (int row : rows)
        m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}
