// UTF-8 and UTF-16 conversions through the system's converter.
#include "framework/Utf8.h"
#include <windows.h>
#include <cstring>

std::wstring WideFromUtf8(const char* pszText, int nLength)
{
    if (nLength < 0)
        nLength = static_cast<int>(std::strlen(pszText));
    std::wstring wide(static_cast<size_t>(nLength), L'\0');
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, pszText, nLength, &wide[0], nLength);
    wide.resize(static_cast<size_t>(nWide));
    return wide;
}

std::string Utf8FromWide(const wchar_t* pszText, int nLength)
{
    if (nLength < 0)
        nLength = static_cast<int>(std::wcslen(pszText));
    const int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, pszText, nLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, pszText, nLength, &text[0], nBytes, nullptr, nullptr);
    return text;
}

size_t WholeCharactersIn(const char* pszText, size_t nMaxBytes)
{
    size_t nEnd = std::strlen(pszText);
    if (nEnd <= nMaxBytes)
        return nEnd;
    nEnd = nMaxBytes;
    // Back over the continuation bytes (10xxxxxx) of the character that the cut would split.
    while (nEnd > 0 && (static_cast<unsigned char>(pszText[nEnd]) & 0xC0) == 0x80)
        --nEnd;
    return nEnd;
}
