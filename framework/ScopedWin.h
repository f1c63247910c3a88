// Scoped owners of the system's handles and memory: each lets go of what it holds when it leaves scope.
#pragma once
#include <windows.h>
#include <objbase.h>

// A kernel handle: a file, an event, a thread. Both INVALID_HANDLE_VALUE and NULL mean none.
class CAutoHandle
{
public:
    explicit CAutoHandle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~CAutoHandle() { Close(); }
    CAutoHandle(const CAutoHandle&) = delete;
    CAutoHandle& operator=(const CAutoHandle&) = delete;

    BOOL IsValid() const { return m_h != INVALID_HANDLE_VALUE && m_h != NULL; }
    HANDLE Get() const { return m_h; }
    void Close()
    {
        if (IsValid())
            ::CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }
    void Reset(HANDLE h)
    {
        Close();
        m_h = h;
    }

private:
    HANDLE m_h;
};

// A directory search of FindFirstFile.
class CAutoFind
{
public:
    explicit CAutoFind(HANDLE h) : m_h(h) {}
    ~CAutoFind()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            ::FindClose(m_h);
    }
    CAutoFind(const CAutoFind&) = delete;
    CAutoFind& operator=(const CAutoFind&) = delete;

    BOOL IsValid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

// Memory that the shell hands over and its allocator frees, such as a chosen folder's item list.
template <class T> class CAutoCoTaskMem
{
public:
    explicit CAutoCoTaskMem(T* p) : m_p(p) {}
    ~CAutoCoTaskMem() { ::CoTaskMemFree(m_p); }
    CAutoCoTaskMem(const CAutoCoTaskMem&) = delete;
    CAutoCoTaskMem& operator=(const CAutoCoTaskMem&) = delete;

    T* Get() const { return m_p; }

private:
    T* m_p;
};
