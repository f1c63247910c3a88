// CVelmoraDlg: the main window. It holds all of the program's state; its handlers live in the
// folder of the subsystem they belong to (app, search, results, ops).
#pragma once
#include "framework/Afx.h"
#include "ops/Outcome.h"
#include "ops/ProgressDisplay.h"
#include "ops/RefreshPacer.h"
#include "res/resource.h"
#include "results/DupListCtrl.h"
#include "results/ResultsTable.h"
#include "search/SearchProgress.h"
#include "search/FileChecksum.h"
#include "search/ReadAhead.h"
#include "search/SearchTables.h"
#include "search/VisitedFolders.h"
#include <functional>
#include <memory>

class CVelmoraDlg : public CDialog
{
public:
    explicit CVelmoraDlg(CWnd* pParent = nullptr);

    // Dialog data
    HICON m_hIcon;
    BOOL m_bBusy;    // a long operation runs; clearing it asks the operation to stop
    BOOL m_bPaused;  // the running operation waits for "Продолжить"
    CStringArray m_files;        // search working table: full paths
    CArray<ULONGLONG> m_values;  // parallel to m_files: sizes, then checksums
    CArray<ULONGLONG> m_writeTimes;  // parallel to m_files: when each file was last written, as listed
    CVisitedFolders m_visitedFolders;  // the folders the walk has entered
    CResultsTable m_groups;      // the results of the last search: groups, listed files, row keys
    CString m_strRoot;           // search root, ending in a backslash
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
    BOOL m_bMp3;
    CButton m_chkMp3;
    CEdit m_editFolder;
    // Set from the start to the end of an operation's loop, also after a stop request:
    // a click that arrives in between must not start a second operation inside the first.
    BOOL m_bOperationRunning = FALSE;
    HWND m_hFocusBeforeBusy = nullptr;  // where the keyboard was when the operation began
    // The search's window refreshes and message drains, paced so that they cost no time per file.
    // Each drain costs a round trip to the Wine server even with nothing queued; 50 ms still answers at once to a person.
    static const DWORD kDrainIntervalMs = 50;
    CSearchProgress m_report{m_status, m_editFolder, m_progress};
    CRefreshPacer m_drainPacer{kDrainIntervalMs};
    SIZE m_sizeMinTrack = {0, 0};  // the window's size at start-up: it cannot be made smaller
    // The progress display of the running search, delete, copy or move; null while idle.
    IProgressDisplay* m_pProgress = nullptr;

    // Empties the search tables, the results list and the group table, rows before groups.
    void ClearResults();

protected:
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

    // Long-operation control
    void SetIdle(BOOL bIdle);
    void RestoreFocus();
    // Every end of an operation: the input still queued gets its busy meaning, then the idle look.
    void EndOperation();
    Outcome CheckStop();
    // The roles of "Поиск" and "Удалить" while an operation runs; TRUE when the click was theirs.
    BOOL HandleStopClick();
    BOOL HandlePauseClick();
    void ShowStatus(LPCSTR pszText);
    void DrainMessages();
    // CheckStop for loops over many small units: drains at most once per kDrainIntervalMs.
    Outcome CheckStopPaced();

    // Duplicate search
    void OnSearch();
    Outcome RunSearch();
    void ReportUnlistableRoot();
    Outcome ScanFolder(LPCSTR pszFolder);
    // FALSE when the folder's listing cannot even begin: no such folder, a file, no such drive.
    static BOOL CanListFolder(LPCSTR pszFolder);
    Outcome MeasureMp3Spans();
    Outcome KeepSharedSizes();
    Outcome ChecksumFiles(std::vector<ContentKey>& keys);
    Outcome TakeChecksums(CReadAhead& reader, const CStringArray& paths);
    Outcome GroupEqualFiles(std::vector<ContentKey>& keys);
    int AddGroupOfDistinctFiles(UINT nFirst, const std::vector<UINT>& nextEqual,
                                const std::vector<ContentKey>& keys);
    void SortGroups();
    Outcome ListGroups();
    Outcome AppendGroupRows();

    // Marking
    void OnMark();
    void OnUnmark();
    void MarkByPrefix(BOOL bMark);

    // Operations on marked files
    enum FileAction
    {
        kDeleteFile,
        kCopyFile,
        kMoveFile
    };
    void OnDelete();
    void OnCopyTo();
    void OnMoveTo();
    void CopyOrMoveTo(FileAction action);
    void RunOnSelectedRows(FileAction action);
    // The file's place below the target folder, as it lies below the search root.
    BOOL TargetPath(const CString& strSource, CString& strTarget) const;
    BOOL DeleteMarkedFile(const CString& strSource, const ListedState& listed);
    // A copy or move of one file; onChunk runs between the chunks of a long copy.
    BOOL CopyOrMoveFile(FileAction action, const CString& strSource, const ListedState& listed,
                        const CString& strTarget, const std::function<void()>& onChunk);
    // TRUE when a file stands at the target that must not be replaced: the source itself or a listed file.
    BOOL IsProtectedTarget(const CString& strSource, const CString& strTarget);

    // Folder picker
    void OnBrowse();
    BOOL BrowseForFolder(std::string& path, LPCSTR pszTitle);
    static int CALLBACK BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
};
