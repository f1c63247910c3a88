// CReadAhead: two reading threads start files in list order, within a window ahead of the taker.
#include "search/ReadAhead.h"
#include "framework/Check.h"
#include "framework/Sync.h"
#include <utility>

namespace
{
// How long a stop waits for the reading threads in all. A thread that stops at its next load ends
// within a few milliseconds; one that does not is stuck in the system and is left to end by itself.
const DWORD kStopWaitMs = 100;
}  // namespace

// What the window and the reading threads share; each thread holds it for as long as it runs.
struct CReadAhead::CShared
{
    CShared(int n, ReadFn readFn, IsLongFn isLongFn) : nFiles(n), read(std::move(readFn)), isLong(std::move(isLongFn))
    {
        for (int& nDone : done)
            nDone = -1;
    }

    const int nFiles;
    const ReadFn read;
    const IsLongFn isLong;
    // Taken shared to read a one-load file and exclusively to read a long one.
    CSrwLock diskLock;

    // Everything below is guarded by lock. Invariant: next <= taken + kWindow, so the files started and
    // not yet taken, [taken, next), fit in the window, and slot i % kWindow belongs to file i alone while
    // it is there: done[i % kWindow] == i once file i is read. A reading thread writes file i's results
    // before it sets that slot, and the window reads them only after it has seen it set.
    CSrwLock lock;
    CConditionVariable workAllowed;  // next may move on: a file taken, the hold released, the stop
    CConditionVariable fileDone;
    int next = 0;
    int taken = 0;
    int awaited = -1;  // the file the window waits for, if it waits: only its reading wakes the window
    bool held = false;
    bool stopped = false;
    int done[kWindow];

    // The next file to read, -1 once every file has been started or the reading is stopped.
    int NextFile()
    {
        CSrwLockGuard guard(lock);
        while (!stopped && next < nFiles && (held || next >= taken + kWindow))
            workAllowed.Wait(lock);
        return !stopped && next < nFiles ? next++ : -1;
    }
    // Between two loads of a long file: waits while held; false once stopped.
    bool MayGoOn()
    {
        CSrwLockGuard guard(lock);
        while (held && !stopped)
            workAllowed.Wait(lock);
        return !stopped;
    }
    bool IsStopped()
    {
        CSrwLockGuard guard(lock, false);
        return stopped;
    }
    void MarkDone(int i)
    {
        bool bAwaited;
        {
            CSrwLockGuard guard(lock);
            done[i % kWindow] = i;
            bAwaited = awaited == i;
        }
        if (bAwaited)
            fileDone.WakeAll();
    }
};

CReadAhead::CReadAhead(int nFiles, ReadFn read, IsLongFn isLong, int nThreads)
    : m_pShared(std::make_shared<CShared>(nFiles, std::move(read), std::move(isLong)))
{
    for (int k = 0; k < nThreads; ++k)
    {
        CThread thread;
        if (thread.Start([pShared = m_pShared] { ReadFiles(pShared); }))
            m_threads.push_back(std::move(thread));
    }
    if (m_threads.empty())
        m_pInlineDigester = std::make_unique<CFileDigester>();
}

CReadAhead::~CReadAhead()
{
    {
        CSrwLockGuard guard(m_pShared->lock);
        m_pShared->stopped = true;
    }
    m_pShared->workAllowed.WakeAll();
    const ULONGLONG nDeadline = ::GetTickCount64() + kStopWaitMs;
    for (CThread& thread : m_threads)
    {
        const ULONGLONG nNow = ::GetTickCount64();
        if (!thread.Join(nNow < nDeadline ? static_cast<DWORD>(nDeadline - nNow) : 0))
            thread.CancelIo();
    }
}

void CReadAhead::ReadFiles(const std::shared_ptr<CShared>& pShared)
{
    CFileDigester digester([&pShared] { return pShared->MayGoOn(); });
    for (int i; (i = pShared->NextFile()) >= 0;)
    {
        {
            CSrwLockGuard turn(pShared->diskLock, pShared->isLong(i));
            if (!pShared->IsStopped())
                pShared->read(digester, i);
        }
        pShared->MarkDone(i);
    }
}

void CReadAhead::Hold(BOOL bHeld)
{
    {
        CSrwLockGuard guard(m_pShared->lock);
        m_pShared->held = bHeld != FALSE;
    }
    if (!bHeld)
        m_pShared->workAllowed.WakeAll();
}

BOOL CReadAhead::Take(int i, DWORD nTimeoutMs)
{
    CShared& shared = *m_pShared;
    if (m_threads.empty())
    {
        if (!VERIFY_STATE(i == shared.taken))
            return FALSE;
        shared.read(*m_pInlineDigester, i);
        shared.taken = i + 1;
        return TRUE;
    }
    {
        CSrwLockGuard guard(shared.lock);
        // Only the file after the one taken last can be in the window: a slot holds no other.
        if (!VERIFY_STATE(i == shared.taken))
            return FALSE;
        if (shared.done[i % kWindow] != i)
        {
            const ULONGLONG nDeadline = ::GetTickCount64() + nTimeoutMs;
            shared.awaited = i;
            for (ULONGLONG nNow = ::GetTickCount64(); shared.done[i % kWindow] != i && nNow < nDeadline;
                 nNow = ::GetTickCount64())
                shared.fileDone.Wait(shared.lock, static_cast<DWORD>(nDeadline - nNow));
            shared.awaited = -1;
            if (shared.done[i % kWindow] != i)
                return FALSE;
        }
        shared.taken = i + 1;
    }
    shared.workAllowed.WakeAll();
    return TRUE;
}
