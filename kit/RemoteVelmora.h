// CRemoteVelmora: drives a running Velmora.exe from another process, only through window messages,
// as a user's typing and clicks would.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class CRemoteVelmora
{
public:
    CRemoteVelmora() = default;
    ~CRemoteVelmora();
    CRemoteVelmora(const CRemoteVelmora&) = delete;
    CRemoteVelmora& operator=(const CRemoteVelmora&) = delete;

    // Starts the program and waits for its main window; FALSE when it does not appear.
    BOOL Start(const std::string& exePath, DWORD timeoutMs = 20000);
    // Takes over a program already running (found by its window caption).
    BOOL Attach(DWORD timeoutMs = 20000);

    HWND Window() const { return m_hWnd; }
    HANDLE ProcessHandle() const { return m_hProcess; }
    HWND Control(int id) const { return ::GetDlgItem(m_hWnd, id); }

    void SetText(int id, const std::string& text);
    std::string Text(int id) const;
    void SetCheck(int id, BOOL checked);
    // Clicks a button without waiting for its handler, which may run for a long time.
    void Click(int id);
    // Clicks a button and returns when its handler has returned (for short commands).
    void Press(int id);
    BOOL IsEnabled(int id) const { return ::IsWindowEnabled(Control(id)); }

    // Waits until the status line starts with the text; FALSE on time-out.
    BOOL WaitForStatus(const std::string& prefix, DWORD timeoutMs = 60000) const;
    // Waits until the control shows exactly the text; FALSE on time-out.
    BOOL WaitForText(int id, const std::string& text, DWORD timeoutMs = 60000) const;
    // Waits until an operation runs ("Стоп" on the search button); FALSE on time-out.
    BOOL WaitForBusy(DWORD timeoutMs = 60000) const;
    // Waits until the window is idle again ("Поиск" on the search button).
    BOOL WaitForIdle(DWORD timeoutMs = 60000) const;

    int RowCount() const;
    int SelectedCount() const;
    std::string CellText(int row, int column) const;
    // The texts of one column of every row, read through one buffer lent once: a million rows in a minute.
    std::vector<std::string> ColumnTexts(int column) const;
    BOOL IsRowSelected(int row) const;

    // The first window of this program with the caption, or null.
    HWND FindOwnWindow(const char* caption) const;
    // Waits for the program to end; FALSE on time-out.
    BOOL WaitForExit(DWORD timeoutMs = 20000);
    void Kill();

private:
    // The texts of one column of the rows from firstRow up to endRow.
    std::vector<std::string> ItemTexts(int column, int firstRow, int endRow) const;

    HWND m_hWnd = nullptr;
    DWORD m_processId = 0;
    HANDLE m_hProcess = nullptr;
};
