// CWinApp: the one application object, reached through AfxGetApp.
#pragma once
#include "framework/Wnd.h"

class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE when the program has done its work and needs no message loop. Enters the
    // thread into a single-threaded COM apartment, which the shell's folder chooser requires;
    // ExitInstance leaves it.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

private:
    BOOL m_bComEntered = FALSE;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
