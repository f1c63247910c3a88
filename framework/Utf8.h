// The program's text is UTF-8; the few wide calls (the file system, the list's cells) take it converted.
#pragma once
#include <string>

// length -1: up to the terminating zero. Invalid sequences become U+FFFD.
std::wstring WideFromUtf8(const char* pszText, int nLength = -1);
std::string Utf8FromWide(const wchar_t* pszText, int nLength = -1);

// How many bytes of the first nMaxBytes of the text end on a character boundary: a text cut there
// never ends in the middle of a character.
size_t WholeCharactersIn(const char* pszText, size_t nMaxBytes);
