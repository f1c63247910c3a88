// CVelmoraDlg: the main window. It holds the program's state; its handlers live in the folder of the
// subsystem they belong to (app, search, results, ops). What reads or writes files on other threads
// lives in search/ and owns its data: no such code reaches this class.
#pragma once
#include "framework/Afx.h"
#include "ops/Outcome.h"
#include "ops/RefreshPacer.h"
#include "res/resource.h"
#include "results/DupListCtrl.h"
#include "results/ResultsTable.h"
#include "search/SearchProgress.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

class COperationProgress;
class CSearch;
class IOperationHold;
struct FileCommand;

class CVelmoraDlg : public CDialog
{
public:
    explicit CVelmoraDlg(CWnd* pParent = nullptr);
    ~CVelmoraDlg() override;

    // Empties the results list and the group table, rows before groups.
    void ClearResults();

protected:
    class COperationScope;

    // Dialog data
    HICON m_hIcon;
    // Long-operation control. m_bBusy holds from an operation's start to its end, also after the
    // user asked it to stop: a click that arrives meanwhile must not start a second operation.
    BOOL m_bBusy = FALSE;
    BOOL m_bPaused = FALSE;             // the running operation waits for "Продолжить"
    BOOL m_bStopRequested = FALSE;      // "Стоп" was pressed; the operation ends at its next stop check
    IOperationHold* m_pHold = nullptr;  // what the running operation holds while paused
    HWND m_hFocusBeforeBusy = nullptr;  // where the keyboard was when the operation began
    // The search under way, which owns its working table; null outside a search.
    const CSearch* m_pSearch = nullptr;
    CResultsTable m_groups;  // the results of the last search: groups, listed files, row keys
    CString m_strRoot;       // search root, ending in a backslash
    CString m_strPath;
    CProgressCtrl m_progress;
    CEdit m_status;
    CButton m_btnSearch;
    CButton m_btnDelete;
    CButton m_btnBrowse;
    CEdit m_editPath;
    CDupListCtrl m_list{m_groups};
    int m_cxClient = 0;  // client size at the last layout
    int m_cyClient = 0;
    CListCtrl m_listTemplate;
    CString m_strFolder;
    CButton m_btnMark;
    CButton m_btnUnmark;
    CButton m_btnCopy;
    CButton m_btnMove;
    CButton m_btnExit;
    BOOL m_bMp3 = FALSE;
    CButton m_chkMp3;
    CEdit m_editFolder;
    // The search's window refreshes and message drains, paced so that they cost no time per file.
    // Each drain costs a round trip to the Wine server even with nothing queued; 50 ms still answers
    // at once to a person.
    static const DWORD kDrainIntervalMs = 50;
    CSearchProgress m_report{m_status, m_editFolder, m_progress};
    CRefreshPacer m_drainPacer{kDrainIntervalMs};
    SIZE m_sizeMinTrack = {0, 0};  // the window's size at start-up: it cannot be made smaller

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Application shell
    BOOL OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnAbout();
    void OnSize(UINT nType, int cx, int cy);
    void MoveControl(CWnd& control, int dLeft, int dTop, int dRight, int dBottom);
    void OnGetMinMaxInfo(MINMAXINFO* pMMI);

    // Results list
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Long-operation control: an operation runs inside a COperationScope, which alone calls these two.
    void SetIdle(BOOL bIdle);
    void EndOperation();
    void RestoreFocus();
    Outcome CheckStop();
    // An operation runs and no stop has been asked for.
    BOOL IsGoingOn() const { return m_bBusy && !m_bStopRequested; }
    // CheckStop for loops over many small units: drains at most once per kDrainIntervalMs.
    Outcome CheckStopPaced();
    // The roles of "Поиск" and "Удалить" while an operation runs; TRUE when the click was theirs.
    BOOL HandleStopClick();
    BOOL HandlePauseClick();
    void ShowStatus(LPCSTR pszText);
    // A box shown while the operation runs, which leaves the keyboard focus where it found it.
    void ShowBusyBox(LPCSTR pszText, LPCSTR pszCaption);
    void DrainMessages();

    // Duplicate search
    void OnSearch();
    void ReportUnlistableRoot();

    // Marking
    void OnMark();
    void OnUnmark();
    void MarkByPrefix(BOOL bMark);

    // Operations on marked files
    void OnDelete();
    void OnCopyTo();
    void OnMoveTo();
    void CopyOrMoveTo(const FileCommand& command);
    // groupsToEmpty flags the groups whose every file the user chose to delete.
    void RunOnSelectedRows(const FileCommand& command, const std::vector<BYTE>& groupsToEmpty = {});
    Outcome RunOnRows(const FileCommand& command, const std::vector<BYTE>& groupsToEmpty, COperationProgress& progress);
    int RemoveLoneFile(UINT nGroup, int nNear, int nNextFrom, const std::function<BOOL(int)>& isMarked,
                       COperationProgress& progress);
    int RemoveRow(int nRow, int nNextFrom, COperationProgress& progress);
    // The file's place below the target folder, as it lies below the search root.
    BOOL TargetPath(const CString& strSource, CString& strTarget) const;

    // Folder picker
    void OnBrowse();
    BOOL BrowseForFolder(std::string& path, LPCSTR pszTitle);
    static int CALLBACK BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
};
