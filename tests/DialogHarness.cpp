// Test helpers: filling the results list, temporary folders, the message-box recorder.
#include "tests/DialogHarness.h"
#include "tests/RemoveTree.h"

void CDialogUnderTest::ShowGroups(const std::vector<std::vector<std::string>>& groups)
{
    for (const std::vector<std::string>& paths : groups)
        AddGroup(paths);
    PumpMessages();
}

CTempFolder::CTempFolder()
{
    static int s_counter = 0;
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    // Process ids come again under Wine, and a folder left by an earlier run must not be reused.
    do
    {
        wsprintfA(name, "%svelmora-test-%lu-%d\\", temp, ::GetCurrentProcessId(), ++s_counter);
    } while (!::CreateDirectoryA(name, nullptr) && ::GetLastError() == ERROR_ALREADY_EXISTS);
    m_path = name;
}

CTempFolder::~CTempFolder()
{
    RemoveTempTree(m_path);
}

std::string CTempFolder::MakeFolder(const std::string& relative) const
{
    std::string path = m_path;
    for (size_t i = 0; i < relative.size(); ++i)
    {
        if (relative[i] == '\\')
            ::CreateDirectoryA(path.c_str(), nullptr);
        path.push_back(relative[i]);
    }
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string CTempFolder::Write(const std::string& relative, const std::string& contents) const
{
    const size_t slash = relative.rfind('\\');
    if (slash != std::string::npos)
        MakeFolder(relative.substr(0, slash));
    const std::string path = m_path + relative;
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    ::CloseHandle(file);
    return path;
}

std::string CTempFolder::WriteSparse(const std::string& relative, LONGLONG nSize) const
{
    const std::string path = Write(relative, "");
    CAutoHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD returned = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = nSize;
    ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file.Get());
    return path;
}

int CDialogUnderTest::AddGroup(const std::vector<std::string>& paths)
{
    CStringArray* pGroup = new CStringArray;
    for (const std::string& path : paths)
        pGroup->Add(CString(path.c_str()));
    const int nGroup = static_cast<int>(m_groups.Add(pGroup));
    m_list.AppendGroupRows(static_cast<UINT>(nGroup), static_cast<UINT>(paths.size()));
    return nGroup;
}

std::vector<LPARAM> CDialogUnderTest::RowKeys() const
{
    std::vector<LPARAM> keys;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        keys.push_back(static_cast<LPARAM>(m_list.GetItemData(i)));
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

CSentMessageWatch* CSentMessageWatch::s_pActive = nullptr;

CSentMessageWatch::CSentMessageWatch(std::function<void(const CWPSTRUCT&)> onMessage)
    : m_onMessage(std::move(onMessage)),
      m_hook(::SetWindowsHookExA(WH_CALLWNDPROC, &CSentMessageWatch::Hook, nullptr, ::GetCurrentThreadId()))
{
    s_pActive = this;
}

CSentMessageWatch::~CSentMessageWatch()
{
    ::UnhookWindowsHookEx(m_hook);
    s_pActive = nullptr;
}

LRESULT CALLBACK CSentMessageWatch::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && s_pActive)
        s_pActive->m_onMessage(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

CMessageBoxRecorder* CMessageBoxRecorder::s_pActive = nullptr;

CMessageBoxRecorder::CMessageBoxRecorder() : m_pfnPrevious(AfxMessageBoxFunction)
{
    s_pActive = this;
    AfxMessageBoxFunction = &CMessageBoxRecorder::Show;
}

CMessageBoxRecorder::~CMessageBoxRecorder()
{
    AfxMessageBoxFunction = m_pfnPrevious;
    s_pActive = nullptr;
}

int CMessageBoxRecorder::Show(HWND, LPCSTR pszText, LPCSTR pszCaption, UINT nType)
{
    s_pActive->boxes.push_back({pszText, pszCaption, nType});
    if (s_pActive->onBox)
        s_pActive->onBox();
    return IDOK;
}

BOOL FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

LONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadWholeFile(const std::string& path)
{
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[4096];
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
    ::CloseHandle(file);
    return std::string(buffer, read);
}
