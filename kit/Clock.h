// The clock that tests, benchmarks and the driver time things by.
#pragma once
#include <windows.h>

// Seconds on the performance counter: only differences mean anything.
inline double NowSeconds()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
