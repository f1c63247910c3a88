// The program's entry point: hands control to the application object.
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    pApp->m_hInstance = hInstance;
    if (pApp->InitInstance())
    {
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return pApp->ExitInstance();
}
