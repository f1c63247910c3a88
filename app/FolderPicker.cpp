// "Обзор...": the system's folder chooser, opened on the folder typed in the path field.
#include "app/VelmoraDlg.h"
#include <shlobj.h>

namespace
{
const int kPathBufferSize = 2048;

// Frees the chooser's item list with the shell's allocator.
class CAutoItemList
{
public:
    explicit CAutoItemList(LPITEMIDLIST pidl) : m_pidl(pidl) {}
    ~CAutoItemList() { ::CoTaskMemFree(m_pidl); }
    CAutoItemList(const CAutoItemList&) = delete;
    CAutoItemList& operator=(const CAutoItemList&) = delete;

    LPITEMIDLIST Get() const { return m_pidl; }

private:
    LPITEMIDLIST m_pidl;
};
}  // namespace

void CVelmoraDlg::OnBrowse()
{
    UpdateData(TRUE);
    char path[kPathBufferSize];
    ::lstrcpynA(path, m_strPath, kPathBufferSize);
    if (!BrowseForFolder(path, nullptr))
        return;
    m_strPath = path;
    UpdateData(FALSE);
}

BOOL CVelmoraDlg::BrowseForFolder(LPSTR pszPath, LPCSTR pszTitle)
{
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = pszTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &CVelmoraDlg::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(pszPath);
    CAutoItemList chosen(::SHBrowseForFolderA(&info));
    return chosen.Get() && ::SHGetPathFromIDListA(chosen.Get(), pszPath);
}

int CALLBACK CVelmoraDlg::BrowseCallback(HWND hwnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED)
        ::SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, lpData);
    return 0;
}
