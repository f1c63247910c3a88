// CDialogUnderTest: the main window created without a modal loop, for tests and benchmarks alike.
#pragma once
#include "app/VelmoraDlg.h"
#include "ops/OperationHold.h"
#include "ops/OperationScope.h"
#include "search/WorkingTable.h"
#include "kit/MessagePump.h"
#include <string>
#include <vector>

// A test's own instance of the main window, shown and owning its state; destroyed at the end.
class CDialogUnderTest : public CVelmoraDlg
{
public:
    CDialogUnderTest()
    {
        AfxGetApp()->m_pMainWnd = this;
        Create();
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        PumpMessages();
    }
    ~CDialogUnderTest() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        if (m_hWnd)
        {
            ClearResults();
            DestroyWindow();
        }
        PumpMessages();
    }

    void Click(int nID)
    {
        SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, nID)));
        PumpMessages();
    }
    CString ControlText(int nID) const
    {
        CString text;
        GetDlgItem(nID).GetWindowText(text);
        return text;
    }
    // Changes the window's outer size, and so its client size, by the given pixels.
    void ResizeBy(int dx, int dy)
    {
        RECT rect;
        GetWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
    }
    // Fills the results list as a search does: a group per entry of full paths, one row per file,
    // a separator row between two groups.
    void ShowGroups(const std::vector<std::vector<std::string>>& groups);
    // The test seams: what tests and benchmarks call or look at directly.
    using CVelmoraDlg::CheckStop;
    using CVelmoraDlg::COperationScope;
    using CVelmoraDlg::HandlePauseClick;
    using CVelmoraDlg::m_bBusy;
    using CVelmoraDlg::m_bPaused;
    using CVelmoraDlg::m_btnCopy;
    using CVelmoraDlg::m_btnDelete;
    using CVelmoraDlg::m_btnExit;
    using CVelmoraDlg::m_btnMark;
    using CVelmoraDlg::m_btnMove;
    using CVelmoraDlg::m_btnSearch;
    using CVelmoraDlg::m_editPath;
    using CVelmoraDlg::m_groups;
    using CVelmoraDlg::m_hIcon;
    using CVelmoraDlg::m_list;
    using CVelmoraDlg::m_progress;
    using CVelmoraDlg::m_pSearch;
    using CVelmoraDlg::m_status;
    using CVelmoraDlg::m_strPath;
    using CVelmoraDlg::m_strRoot;

    // Types the path, sets the MP3 option and presses "Поиск"; returns when the search has ended.
    void Search(const std::string& path, BOOL bMp3 = FALSE)
    {
        ::SetDlgItemTextA(m_hWnd, IDC_PATH, path.c_str());
        ::CheckDlgButton(m_hWnd, IDC_MP3, bMp3 ? BST_CHECKED : BST_UNCHECKED);
        Click(IDC_SEARCH);
    }
    // The walk alone, as a search runs it, and the files it listed.
    Outcome Walk(const std::string& folder, std::vector<SearchEntry>& files);
    // Every refresh and every drain as it comes, so that a test sees each step of a search.
    void RefreshOnEveryStep() { RefreshEvery(0); }
    void RefreshEvery(DWORD nIntervalMs)
    {
        m_report.SetRefreshInterval(nIntervalMs);
        m_drainPacer = CRefreshPacer(nIntervalMs);
    }
    void SetControlText(int nID, const std::string& text) { ::SetDlgItemTextA(m_hWnd, nID, text.c_str()); }

    // Appends a duplicate group of these paths and its rows, with a separator row before it
    // when it is not the first group; returns the group's index.
    int AddGroup(const std::vector<std::string>& paths);
    std::vector<LPARAM> RowKeys() const;
    const CResultsTable& Results() const { return m_groups; }
    std::vector<int> SelectedRows() const;
    void SelectRows(const std::vector<int>& rows);
};

