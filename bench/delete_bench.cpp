// Deleting 1,000 marked files through the main window against a bare DeleteFileA loop over as many files.
#include "app/VelmoraDlg.h"
#include <commctrl.h>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
const int kFiles = 1000;

std::vector<std::string> MakeFiles(const std::string& folder)
{
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i)
    {
        const std::string path = folder + "\\file" + std::to_string(i) + ".dat";
        const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, "same", 4, &written, nullptr);
        ::CloseHandle(file);
        paths.push_back(path);
    }
    return paths;
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
}  // namespace

int main()
{
    ::InitCommonControls();
    CWinApp app;
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "velmora-delete-bench-" + std::to_string(::GetCurrentProcessId());

    const std::vector<std::string> bare = MakeFiles(base + "-bare");
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (const std::string& path : bare)
        ::DeleteFileA(path.c_str());
    ::QueryPerformanceCounter(&end);
    const double bareSeconds = Seconds(start, end);
    ::RemoveDirectoryA((base + "-bare").c_str());

    const std::vector<std::string> marked = MakeFiles(base + "-dialog");
    CVelmoraDlg dlg;
    app.m_pMainWnd = &dlg;
    dlg.Create();
    ::ShowWindow(dlg.m_hWnd, SW_SHOW);
    for (int g = 0; g < kFiles / 2; ++g)
    {
        CStringArray* pGroup = new CStringArray;
        pGroup->Add(marked[2 * g].c_str());
        pGroup->Add(marked[2 * g + 1].c_str());
        dlg.m_groups.Add(pGroup);
        dlg.m_list.AppendGroupRows(static_cast<UINT>(g), 2);
    }
    dlg.m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    PumpMessages();
    const UINT nSelected = dlg.m_list.GetSelectedCount();

    ::QueryPerformanceCounter(&start);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED),
                    reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, IDC_DELETE)));
    ::QueryPerformanceCounter(&end);
    const double dialogSeconds = Seconds(start, end);
    const int nLeft = dlg.m_list.GetItemCount();
    ::RemoveDirectoryA((base + "-dialog").c_str());

    std::printf("marked rows: %u, rows left: %d\n", nSelected, nLeft);
    std::printf("bare DeleteFileA loop: %.1f ms (%.1f us per file)\n", bareSeconds * 1000, bareSeconds * 1e6 / kFiles);
    std::printf("\"Удалить\" in the window: %.1f ms (%.1f us per file)\n", dialogSeconds * 1000,
                dialogSeconds * 1e6 / kFiles);
    std::printf("ratio: %.2f\n", dialogSeconds / bareSeconds);
    dlg.ClearResults();
    dlg.DestroyWindow();
    app.m_pMainWnd = nullptr;
    return 0;
}
