// Scoped owners for kernel handles: each closes its handle when it leaves scope.
#pragma once
#include <windows.h>

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
