// CThread: a function running on a thread of its own. The thread owns the function and whatever it
// holds, so a thread that cannot be waited for (stuck in a system call that never returns) can be left
// to end on its own without anything it uses going away under it.
#pragma once
#include <windows.h>
#include <functional>

class CThread
{
public:
    CThread() = default;
    // Leaves a thread that is still running to end by itself.
    ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;
    CThread(CThread&& other) noexcept : m_hThread(other.m_hThread) { other.m_hThread = nullptr; }

    // FALSE when the system could not start a thread; fn has then not run.
    BOOL Start(std::function<void()> fn);
    // TRUE once the thread has ended, waiting at most nTimeoutMs for it.
    BOOL Join(DWORD nTimeoutMs);
    // Asks the system to end a read or write the thread is waiting in; it then fails.
    void CancelIo();

private:
    HANDLE m_hThread = nullptr;
};
