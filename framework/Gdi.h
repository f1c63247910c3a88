// Typed owners of GDI objects and device contexts: each object is deleted, each selection undone, each
// state restored and each device context released when its holder leaves scope.
#pragma once
#include <windows.h>

// A brush, pen or region made for one drawing: CBrush, CPen, CRgn.
template <class THandle> class CGdiObject
{
public:
    explicit CGdiObject(THandle hObject) : m_hObject(hObject) {}
    ~CGdiObject()
    {
        if (m_hObject)
            ::DeleteObject(m_hObject);
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    THandle Get() const { return m_hObject; }

private:
    THandle m_hObject;
};

using CBrush = CGdiObject<HBRUSH>;
using CPen = CGdiObject<HPEN>;
using CRgn = CGdiObject<HRGN>;

// An object selected into a device context; the previous one is selected back at the end, so the
// selection must be declared after the object it selects.
class CSelection
{
public:
    CSelection(HDC hdc, HGDIOBJ hObject) : m_hdc(hdc), m_hPrevious(::SelectObject(hdc, hObject)) {}
    ~CSelection() { ::SelectObject(m_hdc, m_hPrevious); }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hPrevious;
};

// The state of a device context, saved now and restored at the end.
class CSaveDC
{
public:
    explicit CSaveDC(HDC hdc) : m_hdc(hdc), m_nSaved(::SaveDC(hdc)) {}
    ~CSaveDC() { ::RestoreDC(m_hdc, m_nSaved); }
    CSaveDC(const CSaveDC&) = delete;
    CSaveDC& operator=(const CSaveDC&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};

// The device context of a window's whole client area.
class CClientDC
{
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(::GetDC(hWnd)) {}
    ~CClientDC()
    {
        if (m_hdc)
            ::ReleaseDC(m_hWnd, m_hdc);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HWND m_hWnd;
    HDC m_hdc;
};

// The device context of WM_PAINT, between BeginPaint and EndPaint.
class CPaintDC
{
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(::BeginPaint(hWnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
    HDC m_hdc;
};
