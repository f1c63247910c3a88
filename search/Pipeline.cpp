// "Поиск": the folder typed, made a full path, searched; or, while an operation runs, its stop.
#include "framework/FileSystem.h"
#include "framework/PathText.h"
#include "ops/OperationScope.h"
#include "search/Search.h"
#include "search/SearchHold.h"

void CVelmoraDlg::OnSearch()
{
    if (HandleStopClick())
        return;
    ClearResults();
    UpdateData(TRUE);
    m_status.SetWindowText("");
    m_editFolder.SetWindowText("");
    m_strPath = CleanTypedPath(static_cast<LPCSTR>(m_strPath)).c_str();
    if (m_strPath.IsEmpty())
        return;
    Outcome outcome;
    {
        CSearchHold hold(m_report);
        COperationScope operation(*this, hold);
        // Every path of the results is taken literally from here on: the root is a full path, with
        // "." and ".." resolved and a relative path taken from the current folder.
        const std::string root = FullPath(static_cast<LPCSTR>(m_strPath));
        if (!root.empty())
            m_strPath = root.c_str();
        if (m_strPath[m_strPath.GetLength() - 1] != '\\')
            m_strPath += '\\';
        m_strRoot = m_strPath;
        m_progress.SetPos(0);
        m_progress.UpdateWindow();
        CSearch search(
            static_cast<LPCSTR>(m_strRoot), m_bMp3, [this] { return CheckStopPaced(); }, m_drainPacer.IntervalMs(),
            m_report, hold, m_groups, m_list);
        m_pSearch = &search;
        outcome = search.Run();
        m_pSearch = nullptr;
    }
    if (outcome == Outcome::kStopped)
        ClearResults();
    else if (outcome == Outcome::kFailed)
        ReportUnlistableRoot();
}

// A root that cannot be listed is a failure, not a search that found nothing.
void CVelmoraDlg::ReportUnlistableRoot()
{
    ShowStatus("");
    m_progress.SetPos(0);
    m_progress.UpdateWindow();
    CString strMessage;
    strMessage.Format("Невозможно открыть папку:\n%s", static_cast<LPCSTR>(m_strRoot));
    MessageBox(strMessage, "Ошибка при поиске", MB_OK | MB_ICONEXCLAMATION);
}
