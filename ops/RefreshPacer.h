// CRefreshPacer: says when a long loop may spend time on the window again (status, bar, repaint, drain).
#pragma once
#include <windows.h>

class CRefreshPacer
{
public:
    explicit CRefreshPacer(DWORD nIntervalMs) : m_nIntervalMs(nIntervalMs)
    {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        m_interval = frequency.QuadPart * nIntervalMs / 1000;
    }

    // TRUE on the first call and then at most once per interval; each TRUE starts a new interval.
    BOOL Due()
    {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        if (m_started && now.QuadPart - m_last < m_interval)
            return FALSE;
        m_started = TRUE;
        m_last = now.QuadPart;
        return TRUE;
    }
    // The next Due() says TRUE at once.
    void Reset() { m_started = FALSE; }
    DWORD IntervalMs() const { return m_nIntervalMs; }

private:
    DWORD m_nIntervalMs;
    LONGLONG m_interval;
    LONGLONG m_last = 0;
    BOOL m_started = FALSE;
};
