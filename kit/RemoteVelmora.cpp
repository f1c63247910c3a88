// CRemoteVelmora: finding the program's window and reading its controls from outside.
#include "kit/RemoteVelmora.h"
#include "res/resource.h"
#include <commctrl.h>
#include <functional>
#include <vector>

namespace
{
const char kMainCaption[] = "Velmora";
const DWORD kPollMs = 20;
const DWORD kStartAttempts = 5;
const DWORD kStartRetryMs = 250;

struct WindowSearch
{
    DWORD processId;  // 0: any process
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    WindowSearch* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    if (pSearch->processId && processId != pSearch->processId)
        return TRUE;
    char caption[256] = {};
    ::GetWindowTextA(hWnd, caption, sizeof(caption));
    if (lstrcmpA(caption, pSearch->caption) != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    pSearch->found = hWnd;
    return FALSE;
}

// The other program moves on its own clock: look again every pollMs until it shows what is awaited.
BOOL PollUntil(DWORD timeoutMs, const std::function<bool()>& condition, DWORD pollMs = kPollMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += pollMs)
    {
        if (condition())
            return TRUE;
        ::Sleep(pollMs);
    }
    return FALSE;
}

HWND FindTopWindow(DWORD processId, const char* caption)
{
    WindowSearch search = {processId, caption, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A block of memory inside another process, for messages that carry pointers.
class CRemoteBuffer
{
public:
    CRemoteBuffer(HANDLE hProcess, size_t size)
        : m_hProcess(hProcess), m_p(::VirtualAllocEx(hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~CRemoteBuffer()
    {
        if (m_p)
            ::VirtualFreeEx(m_hProcess, m_p, 0, MEM_RELEASE);
    }
    CRemoteBuffer(const CRemoteBuffer&) = delete;
    CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;

    char* Address() const { return static_cast<char*>(m_p); }
    BOOL Write(size_t offset, const void* data, size_t size) const
    {
        return ::WriteProcessMemory(m_hProcess, Address() + offset, data, size, nullptr);
    }
    BOOL Read(size_t offset, void* data, size_t size) const
    {
        return ::ReadProcessMemory(m_hProcess, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE m_hProcess;
    void* m_p;
};
}  // namespace

CRemoteVelmora::~CRemoteVelmora()
{
    if (m_hProcess)
        ::CloseHandle(m_hProcess);
}

BOOL CRemoteVelmora::Start(const std::string& exePath, DWORD timeoutMs)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + exePath + "\"";
    // Under Wine a start was seen to fail at once, right after the test before had ended its program,
    // and not again in a dozen runs; a start that fails is tried again a few times.
    const auto start = [&]
    {
        return ::CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process) != FALSE;
    };
    if (!PollUntil(kStartAttempts * kStartRetryMs, start, kStartRetryMs))
        return FALSE;
    ::CloseHandle(process.hThread);
    m_hProcess = process.hProcess;
    m_processId = process.dwProcessId;
    ::WaitForInputIdle(m_hProcess, timeoutMs);
    return PollUntil(timeoutMs, [this] { return (m_hWnd = FindTopWindow(m_processId, kMainCaption)) != nullptr; });
}

BOOL CRemoteVelmora::Attach(DWORD timeoutMs)
{
    if (!PollUntil(timeoutMs, [this] { return (m_hWnd = FindTopWindow(0, kMainCaption)) != nullptr; }))
        return FALSE;
    ::GetWindowThreadProcessId(m_hWnd, &m_processId);
    m_hProcess = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, m_processId);
    return m_hProcess != nullptr;
}

void CRemoteVelmora::SetText(int id, const std::string& text)
{
    ::SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CRemoteVelmora::Text(int id) const
{
    char text[4096] = {};
    ::SendMessageA(Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

void CRemoteVelmora::SetCheck(int id, BOOL checked)
{
    ::SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CRemoteVelmora::Click(int id)
{
    ::PostMessageA(Control(id), BM_CLICK, 0, 0);
}

void CRemoteVelmora::Press(int id)
{
    ::SendMessageA(Control(id), BM_CLICK, 0, 0);
}

BOOL CRemoteVelmora::WaitForText(int id, const std::string& text, DWORD timeoutMs) const
{
    return PollUntil(timeoutMs, [&] { return Text(id) == text; });
}

BOOL CRemoteVelmora::WaitForBusy(DWORD timeoutMs) const
{
    // Polled closely: a search of a small tree is over within a fraction of a second.
    return PollUntil(
        timeoutMs, [this] { return Text(IDC_SEARCH) == "Стоп"; }, 1);
}

BOOL CRemoteVelmora::WaitForStatus(const std::string& prefix, DWORD timeoutMs) const
{
    return PollUntil(timeoutMs, [&] { return Text(IDC_STATUS).compare(0, prefix.size(), prefix) == 0; });
}

BOOL CRemoteVelmora::WaitForIdle(DWORD timeoutMs) const
{
    return PollUntil(timeoutMs, [this] { return Text(IDC_SEARCH) == "Поиск" && IsEnabled(IDCANCEL); });
}

int CRemoteVelmora::RowCount() const
{
    return static_cast<int>(::SendMessageA(Control(IDC_RESULTS), LVM_GETITEMCOUNT, 0, 0));
}

int CRemoteVelmora::SelectedCount() const
{
    return static_cast<int>(::SendMessageA(Control(IDC_RESULTS), LVM_GETSELECTEDCOUNT, 0, 0));
}

BOOL CRemoteVelmora::IsRowSelected(int row) const
{
    return (::SendMessageA(Control(IDC_RESULTS), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

std::string CRemoteVelmora::CellText(int row, int column) const
{
    return ItemTexts(column, row, row + 1).front();
}

std::vector<std::string> CRemoteVelmora::ColumnTexts(int column) const
{
    return ItemTexts(column, 0, RowCount());
}

std::vector<std::string> CRemoteVelmora::ItemTexts(int column, int firstRow, int endRow) const
{
    // The list writes the text into memory of its own process: lend it a buffer there, once.
    const size_t kTextSize = 4096;
    CRemoteBuffer buffer(m_hProcess, sizeof(LVITEMA) + kTextSize);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.Address() + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(kTextSize);
    buffer.Write(0, &item, sizeof(item));
    std::vector<std::string> texts;
    for (int row = firstRow; row < endRow; ++row)
    {
        const LRESULT length = ::SendMessageA(Control(IDC_RESULTS), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                              reinterpret_cast<LPARAM>(buffer.Address()));
        std::string text(static_cast<size_t>(length), '\0');
        if (length > 0)
            buffer.Read(sizeof(LVITEMA), &text[0], text.size());
        texts.push_back(text);
    }
    return texts;
}

HWND CRemoteVelmora::FindOwnWindow(const char* caption) const
{
    return FindTopWindow(m_processId, caption);
}

BOOL CRemoteVelmora::WaitForExit(DWORD timeoutMs)
{
    return m_hProcess && ::WaitForSingleObject(m_hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void CRemoteVelmora::Kill()
{
    if (m_hProcess && ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT)
    {
        ::TerminateProcess(m_hProcess, 1);
        ::WaitForSingleObject(m_hProcess, 5000);
    }
}
