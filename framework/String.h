// CString: the framework's single-byte string, which holds UTF-8 text.
#pragma once
#include <windows.h>
#include <string>

class CString
{
public:
    CString() = default;
    CString(LPCSTR psz) : m_str(psz ? psz : "") {}
    CString(LPCSTR pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    // Gives back the memory the text took, as the framework's strings do.
    void Empty() { std::string().swap(m_str); }
    char GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCSTR() const { return m_str.c_str(); }

    CString& operator=(LPCSTR psz)
    {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator+=(LPCSTR psz)
    {
        m_str += psz;
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_str += ch;
        return *this;
    }

    CString Left(int nCount) const { return CString(m_str.substr(0, static_cast<size_t>(nCount))); }
    CString Mid(int nFirst) const { return CString(m_str.substr(static_cast<size_t>(nFirst))); }

    void Format(LPCSTR pszFormat, ...);

    friend CString operator+(const CString& a, LPCSTR b) { return CString(a.m_str + b); }
    friend bool operator==(const CString& a, LPCSTR b) { return a.m_str == b; }
    friend bool operator!=(const CString& a, LPCSTR b) { return a.m_str != b; }

private:
    explicit CString(std::string str) : m_str(std::move(str)) {}
    std::string m_str;
};
