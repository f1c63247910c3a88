// Deleting marked files through the main window (one file of each pair of copies, 1,000 unless the command
// line says another count) against a bare DeleteFileA loop over as many files.
#include "kit/DialogUnderTest.h"
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// A thousand files a folder: Wine looks through a whole folder for each name it creates.
std::vector<std::string> MakeFiles(const std::string& folder, int nFiles)
{
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> paths;
    for (int i = 0; i < nFiles; ++i)
    {
        const std::string subfolder = folder + "\\" + std::to_string(i / 1000);
        if (i % 1000 == 0)
            ::CreateDirectoryA(subfolder.c_str(), nullptr);
        const std::string path = subfolder + "\\file" + std::to_string(i) + ".dat";
        const HANDLE file =
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, "same", 4, &written, nullptr);
        ::CloseHandle(file);
        paths.push_back(path);
    }
    return paths;
}

void RemoveFolders(const std::string& folder, int nFiles)
{
    for (int i = 0; i < nFiles; i += 1000)
        ::RemoveDirectoryA((folder + "\\" + std::to_string(i / 1000)).c_str());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const int nMarked = argc > 1 ? std::atoi(argv[1]) : 1000;
    ::InitCommonControls();
    CWinApp app;
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "velmora-delete-bench-" + std::to_string(::GetCurrentProcessId());

    const std::vector<std::string> bare = MakeFiles(base + "-bare", nMarked);
    double start = NowSeconds();
    for (const std::string& path : bare)
        ::DeleteFileA(path.c_str());
    const double bareSeconds = NowSeconds() - start;
    RemoveFolders(base + "-bare", nMarked);

    // Each group keeps one copy: the first row of each is marked, as a prefix marks one folder's copies.
    const std::vector<std::string> files = MakeFiles(base + "-dialog", 2 * nMarked);
    CDialogUnderTest dlg;
    // As the search fills the list: drawn once at the end, not after each group.
    dlg.m_list.SetRedraw(FALSE);
    for (int g = 0; g < nMarked; ++g)
        dlg.AddGroup({files[2 * g], files[2 * g + 1]});
    for (int g = 0; g < nMarked; ++g)
        dlg.m_list.SetItemState(3 * g, LVIS_SELECTED, LVIS_SELECTED);
    dlg.m_list.SetRedraw(TRUE);
    PumpMessages();
    const UINT nSelected = dlg.m_list.GetSelectedCount();

    start = NowSeconds();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED),
                    reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, IDC_DELETE)));
    const double dialogSeconds = NowSeconds() - start;
    const int nLeft = dlg.m_list.GetItemCount();
    for (const std::string& path : files)
        ::DeleteFileA(path.c_str());
    RemoveFolders(base + "-dialog", 2 * nMarked);

    std::printf("marked rows: %u, rows left: %d\n", nSelected, nLeft);
    std::printf("bare DeleteFileA loop: %.1f ms (%.1f us per file)\n", bareSeconds * 1000, bareSeconds * 1e6 / nMarked);
    std::printf("\"Удалить\" in the window: %.1f ms (%.1f us per file)\n", dialogSeconds * 1000,
                dialogSeconds * 1e6 / nMarked);
    std::printf("ratio: %.2f\n", dialogSeconds / bareSeconds);
    return 0;
}
