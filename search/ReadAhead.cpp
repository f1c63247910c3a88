// CReadAhead: two reading threads start files in list order, within a window ahead of the taker.
#include "search/ReadAhead.h"
#include <utility>

namespace
{
// Measured under Wine on two cores: every open, read and close waits for the Wine server, so two
// readers take half the time of one on small files; a third adds nothing.
const int kReaders = 2;

// Holds an SRW lock, exclusively or shared, for its lifetime.
class CSrwLockGuard
{
public:
    explicit CSrwLockGuard(SRWLOCK& lock, bool bExclusive = true) : m_lock(lock), m_bExclusive(bExclusive)
    {
        m_bExclusive ? ::AcquireSRWLockExclusive(&m_lock) : ::AcquireSRWLockShared(&m_lock);
    }
    ~CSrwLockGuard() { m_bExclusive ? ::ReleaseSRWLockExclusive(&m_lock) : ::ReleaseSRWLockShared(&m_lock); }
    CSrwLockGuard(const CSrwLockGuard&) = delete;
    CSrwLockGuard& operator=(const CSrwLockGuard&) = delete;

private:
    SRWLOCK& m_lock;
    const bool m_bExclusive;
};
}  // namespace

CReadAhead::CReadAhead(int nFiles, ReadFn read, std::function<bool(int)> isLong)
    : m_nFiles(nFiles), m_read(std::move(read)), m_isLong(std::move(isLong))
{
    for (int& nDone : m_done)
        nDone = -1;
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
        CSrwLockGuard lock(m_lock);
        m_bStopped = true;
    }
    ::WakeAllConditionVariable(&m_workAllowed);
}

void CReadAhead::Hold(BOOL bHeld)
{
    {
        CSrwLockGuard lock(m_lock);
        m_bHeld = bHeld != FALSE;
    }
    if (!bHeld)
        ::WakeAllConditionVariable(&m_workAllowed);
}

BOOL CReadAhead::Take(int i, DWORD nTimeoutMs)
{
    {
        CSrwLockGuard lock(m_lock);
        if (m_done[i % kWindow] != i)
        {
            const ULONGLONG nDeadline = ::GetTickCount64() + nTimeoutMs;
            m_nAwaited = i;
            for (ULONGLONG nNow = ::GetTickCount64(); m_done[i % kWindow] != i && nNow < nDeadline;
                 nNow = ::GetTickCount64())
                ::SleepConditionVariableSRW(&m_fileDone, &m_lock, static_cast<DWORD>(nDeadline - nNow), 0);
            m_nAwaited = -1;
            if (m_done[i % kWindow] != i)
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
    CSrwLockGuard lock(m_lock);
    while (!m_bStopped && m_nNext < m_nFiles && (m_bHeld || m_nNext >= m_nTaken + kWindow))
        ::SleepConditionVariableSRW(&m_workAllowed, &m_lock, INFINITE, 0);
    return !m_bStopped && m_nNext < m_nFiles ? m_nNext++ : -1;
}

BOOL CReadAhead::MayGoOn()
{
    if (m_bHeld)
    {
        CSrwLockGuard lock(m_lock);
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
            CSrwLockGuard turn(m_diskLock, m_isLong(i));
            if (!m_bStopped)
                m_read(digester, i);
        }
        BOOL bWake;
        {
            CSrwLockGuard lock(m_lock);
            m_done[i % kWindow] = i;
            bWake = m_nAwaited == i;
        }
        if (bWake)
            ::WakeAllConditionVariable(&m_fileDone);
    }
}
