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
    // A UTF-16 unit becomes at most three bytes (a pair of them, four), so one call does.
    std::string text(3 * static_cast<size_t>(nLength), '\0');
    const int nBytes =
        ::WideCharToMultiByte(CP_UTF8, 0, pszText, nLength, &text[0], static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<size_t>(nBytes));
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
