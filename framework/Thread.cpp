// CThread: CreateThread over a function object that the new thread owns and destroys.
#include "framework/Thread.h"
#include <memory>

namespace
{
DWORD WINAPI RunFunction(LPVOID pParameter)
{
    std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(pParameter));
    (*fn)();
    return 0;
}
}  // namespace

CThread::~CThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

BOOL CThread::Start(std::function<void()> fn)
{
    auto pFn = std::make_unique<std::function<void()>>(std::move(fn));
    m_hThread = ::CreateThread(nullptr, 0, &RunFunction, pFn.get(), 0, nullptr);
    if (!m_hThread)
        return FALSE;
    pFn.release();
    return TRUE;
}

BOOL CThread::Join(DWORD nTimeoutMs)
{
    return !m_hThread || ::WaitForSingleObject(m_hThread, nTimeoutMs) == WAIT_OBJECT_0;
}

void CThread::CancelIo()
{
    if (m_hThread)
        ::CancelSynchronousIo(m_hThread);
}
