// Scoped owners for GDI objects, selections, saved states and window device contexts.
#pragma once
#include <windows.h>

// A brush, pen or region made by the holder; deleted when it leaves scope.
class CAutoGdiObject
{
public:
    explicit CAutoGdiObject(HGDIOBJ hObject) : m_hObject(hObject) {}
    ~CAutoGdiObject()
    {
        if (m_hObject)
            ::DeleteObject(m_hObject);
    }
    CAutoGdiObject(const CAutoGdiObject&) = delete;
    CAutoGdiObject& operator=(const CAutoGdiObject&) = delete;

    HGDIOBJ Get() const { return m_hObject; }
    HRGN GetRegion() const { return static_cast<HRGN>(m_hObject); }

private:
    HGDIOBJ m_hObject;
};

// An object selected into a device context; the previous one is selected back at the end,
// so the holder must be declared after the object it selects.
class CAutoSelectObject
{
public:
    CAutoSelectObject(HDC hdc, HGDIOBJ hObject) : m_hdc(hdc), m_hPrevious(::SelectObject(hdc, hObject)) {}
    ~CAutoSelectObject() { ::SelectObject(m_hdc, m_hPrevious); }
    CAutoSelectObject(const CAutoSelectObject&) = delete;
    CAutoSelectObject& operator=(const CAutoSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hPrevious;
};

// The state of a device context, saved now and restored at the end.
class CAutoSaveDC
{
public:
    explicit CAutoSaveDC(HDC hdc) : m_hdc(hdc), m_nSaved(::SaveDC(hdc)) {}
    ~CAutoSaveDC() { ::RestoreDC(m_hdc, m_nSaved); }
    CAutoSaveDC(const CAutoSaveDC&) = delete;
    CAutoSaveDC& operator=(const CAutoSaveDC&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};

// The device context of a window's client area, released at the end.
class CAutoClientDC
{
public:
    explicit CAutoClientDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(::GetDC(hWnd)) {}
    ~CAutoClientDC()
    {
        if (m_hdc)
            ::ReleaseDC(m_hWnd, m_hdc);
    }
    CAutoClientDC(const CAutoClientDC&) = delete;
    CAutoClientDC& operator=(const CAutoClientDC&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HWND m_hWnd;
    HDC m_hdc;
};
