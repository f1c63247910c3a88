// The message pump and the clock that tests, benchmarks and the driver share.
#pragma once
#include <windows.h>

// Handles every message queued for this thread, as the modal loop would; with hDlg, keyboard
// navigation of that dialog included.
inline void PumpMessages(HWND hDlg = nullptr)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (hDlg && ::IsWindow(hDlg) && ::IsDialogMessageA(hDlg, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Seconds on the performance counter: only differences mean anything.
inline double NowSeconds()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
