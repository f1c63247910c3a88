// The message pump and the wait for a state that tests, benchmarks and the driver share.
#pragma once
#include "kit/Clock.h"
#include <windows.h>
#include <functional>

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

// TRUE once the state holds, FALSE when it has not come about within the time.
inline bool WaitUntil(const std::function<bool()>& state, DWORD nTimeoutMs)
{
    for (const ULONGLONG nEnd = ::GetTickCount64() + nTimeoutMs; !state();)
    {
        if (::GetTickCount64() >= nEnd)
            return false;
        ::Sleep(1);
    }
    return true;
}
