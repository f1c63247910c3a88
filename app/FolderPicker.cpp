// "Обзор...": the system's folder chooser, opened on the folder typed in the path field.
#include "app/VelmoraDlg.h"
#include "framework/FileSystem.h"
#include "framework/ScopedWin.h"
#include <shlobj.h>

void CVelmoraDlg::OnBrowse()
{
    UpdateData(TRUE);
    std::string path = static_cast<LPCSTR>(m_strPath);
    if (!BrowseForFolder(path, nullptr))
        return;
    m_strPath = path.c_str();
    UpdateData(FALSE);
}

// The chooser opens on the folder the text names; the chosen folder's path, of any length, replaces it.
BOOL CVelmoraDlg::BrowseForFolder(std::string& path, LPCSTR pszTitle)
{
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = pszTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &CVelmoraDlg::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(path.c_str());
    CAutoCoTaskMem<ITEMIDLIST> chosen(::SHBrowseForFolderA(&info));
    if (!chosen.Get())
        return FALSE;
    const std::string chosenPath = PathOfShellItem(chosen.Get());
    if (chosenPath.empty())
        return FALSE;
    path = chosenPath;
    return TRUE;
}

int CALLBACK CVelmoraDlg::BrowseCallback(HWND hwnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED)
        ::SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, lpData);
    return 0;
}
