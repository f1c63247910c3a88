// The application object and its start-up: the main window, shown modally, is the whole program.
// There is no help file, no control container and no profile in the registry, so the help command,
// AfxEnableControlContainer and SetRegistryKey are left out.
#include "app/VelmoraApp.h"
#include "app/VelmoraDlg.h"

CVelmoraApp theApp;

BOOL CVelmoraApp::InitInstance()
{
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
