// The system's slim reader/writer lock, its guard, and the condition variable that waits on it.
#pragma once
#include <windows.h>

class CSrwLock
{
public:
    CSrwLock() = default;
    CSrwLock(const CSrwLock&) = delete;
    CSrwLock& operator=(const CSrwLock&) = delete;

    void Lock() { ::AcquireSRWLockExclusive(&m_lock); }
    void Unlock() { ::ReleaseSRWLockExclusive(&m_lock); }
    void LockShared() { ::AcquireSRWLockShared(&m_lock); }
    void UnlockShared() { ::ReleaseSRWLockShared(&m_lock); }
    PSRWLOCK Get() { return &m_lock; }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
};

// Holds the lock, exclusively or shared, for its lifetime.
class CSrwLockGuard
{
public:
    explicit CSrwLockGuard(CSrwLock& lock, bool bExclusive = true) : m_lock(lock), m_bExclusive(bExclusive)
    {
        m_bExclusive ? m_lock.Lock() : m_lock.LockShared();
    }
    ~CSrwLockGuard() { m_bExclusive ? m_lock.Unlock() : m_lock.UnlockShared(); }
    CSrwLockGuard(const CSrwLockGuard&) = delete;
    CSrwLockGuard& operator=(const CSrwLockGuard&) = delete;

private:
    CSrwLock& m_lock;
    const bool m_bExclusive;
};

class CConditionVariable
{
public:
    CConditionVariable() = default;
    CConditionVariable(const CConditionVariable&) = delete;
    CConditionVariable& operator=(const CConditionVariable&) = delete;

    // Called with the lock held exclusively; it is held again on return. FALSE when the time ran out.
    BOOL Wait(CSrwLock& lock, DWORD nTimeoutMs = INFINITE)
    {
        return ::SleepConditionVariableSRW(&m_condition, lock.Get(), nTimeoutMs, 0);
    }
    void WakeAll() { ::WakeAllConditionVariable(&m_condition); }

private:
    CONDITION_VARIABLE m_condition = CONDITION_VARIABLE_INIT;
};
