// The application object and its start-up: the main window, shown modally, is the whole program.
// There is no help file, no control container and no profile in the registry, so the help command,
// AfxEnableControlContainer and SetRegistryKey are left out.
#include "app/VelmoraApp.h"
#include "app/VelmoraDlg.h"

CVelmoraApp theApp;

namespace
{
// The program's texts and paths are UTF-8, which the single-byte calls take only where the manifest
// could make UTF-8 the process's code page. Elsewhere every text would show garbled, so the program
// says so, in a box that does not depend on the code page, and ends.
BOOL RunsWithUtf8CodePage()
{
    if (::GetACP() == CP_UTF8)
        return TRUE;
    ::MessageBoxW(nullptr, L"Velmora работает в Windows 10 версии 1903 или новее.", L"Velmora", MB_OK | MB_ICONSTOP);
    return FALSE;
}
}  // namespace

BOOL CVelmoraApp::InitInstance()
{
    if (!RunsWithUtf8CodePage())
        return FALSE;
    ::InitCommonControls();
    CWinApp::InitInstance();

    {
        CVelmoraDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
    }
    m_pMainWnd = nullptr;
    return FALSE;
}
