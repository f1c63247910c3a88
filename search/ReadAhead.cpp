// CReadAhead: two reading threads start files in list order, within a window ahead of the taker.
#include "search/ReadAhead.h"
#include <utility>

namespace
{
// Measured under Wine on two cores: every open, read and close waits for the Wine server, so two
// readers take half the time of one on small files; a third adds nothing.
const int kReaders = 2;

class CExclusiveLock
{
public:
    explicit CExclusiveLock(SRWLOCK& lock) : m_lock(lock) { ::AcquireSRWLockExclusive(&m_lock); }
    ~CExclusiveLock() { ::ReleaseSRWLockExclusive(&m_lock); }
    CExclusiveLock(const CExclusiveLock&) = delete;
    CExclusiveLock& operator=(const CExclusiveLock&) = delete;

private:
    SRWLOCK& m_lock;
};

// Shared for a file read in one load, exclusive for a long file.
class CDiskTurn
{
public:
    CDiskTurn(SRWLOCK& lock, bool bAlone) : m_lock(lock), m_bAlone(bAlone)
    {
        m_bAlone ? ::AcquireSRWLockExclusive(&m_lock) : ::AcquireSRWLockShared(&m_lock);
    }
    ~CDiskTurn() { m_bAlone ? ::ReleaseSRWLockExclusive(&m_lock) : ::ReleaseSRWLockShared(&m_lock); }
    CDiskTurn(const CDiskTurn&) = delete;
    CDiskTurn& operator=(const CDiskTurn&) = delete;

private:
    SRWLOCK& m_lock;
    const bool m_bAlone;
};
}  // namespace

CReadAhead::CReadAhead(int nFiles, ReadFn read, std::function<bool(int)> isLong)
    : m_nFiles(nFiles), m_read(std::move(read)), m_isLong(std::move(isLong))
{
    for (std::atomic<int>& done : m_done)
        done.store(-1);
    try
    {
        for (int k = 0; k < kReaders; ++k)
            m_threads.emplace_back([this] { ReadFiles(); });
    }
    catch (...)
    {
        Stop();
        for (std::thread& thread : m_threads)
            thread.join();
        throw;
    }
}

CReadAhead::~CReadAhead()
{
    Stop();
    for (std::thread& thread : m_threads)
        thread.join();
}

void CReadAhead::Stop()
{
    {
        CExclusiveLock lock(m_lock);
        m_bStopped = true;
    }
    ::WakeAllConditionVariable(&m_workAllowed);
}

void CReadAhead::Hold(BOOL bHeld)
{
    {
        CExclusiveLock lock(m_lock);
        m_bHeld = bHeld != FALSE;
    }
    if (!bHeld)
        ::WakeAllConditionVariable(&m_workAllowed);
}

BOOL CReadAhead::Take(int i, DWORD nTimeoutMs)
{
    std::atomic<int>& done = m_done[i % kWindow];
    {
        CExclusiveLock lock(m_lock);
        if (done.load(std::memory_order_acquire) != i)
        {
            const ULONGLONG nDeadline = ::GetTickCount64() + nTimeoutMs;
            m_nAwaited = i;
            for (ULONGLONG nNow = ::GetTickCount64(); done.load(std::memory_order_acquire) != i && nNow < nDeadline;
                 nNow = ::GetTickCount64())
                ::SleepConditionVariableSRW(&m_fileDone, &m_lock, static_cast<DWORD>(nDeadline - nNow), 0);
            m_nAwaited = -1;
            if (done.load(std::memory_order_acquire) != i)
                return FALSE;
        }
        m_nTaken = i + 1;
    }
    ::WakeAllConditionVariable(&m_workAllowed);
    return TRUE;
}

// -1 once every file has been started or the reading is stopped.
int CReadAhead::NextFile()
{
    CExclusiveLock lock(m_lock);
    while (!m_bStopped && m_nNext < m_nFiles && (m_bHeld || m_nNext >= m_nTaken + kWindow))
        ::SleepConditionVariableSRW(&m_workAllowed, &m_lock, INFINITE, 0);
    return !m_bStopped && m_nNext < m_nFiles ? m_nNext++ : -1;
}

BOOL CReadAhead::MayGoOn()
{
    if (m_bHeld)
    {
        CExclusiveLock lock(m_lock);
        while (m_bHeld && !m_bStopped)
            ::SleepConditionVariableSRW(&m_workAllowed, &m_lock, INFINITE, 0);
    }
    return !m_bStopped;
}

void CReadAhead::ReadFiles()
{
    CFileDigester digester([this] { return MayGoOn() != FALSE; });
    for (int i; (i = NextFile()) >= 0;)
    {
        {
            CDiskTurn turn(m_diskLock, m_isLong(i));
            if (!m_bStopped)
                m_read(digester, i);
        }
        m_done[i % kWindow].store(i, std::memory_order_release);
        BOOL bWake;
        {
            CExclusiveLock lock(m_lock);
            bWake = m_nAwaited == i;
        }
        if (bWake)
            ::WakeAllConditionVariable(&m_fileDone);
    }
}
