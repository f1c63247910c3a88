// CString operations that do more than forward to the standard string.
#include "framework/String.h"
#include <cstdarg>
#include <cstdio>

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    m_str.assign(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(&m_str[0], m_str.size() + 1, pszFormat, args);
    va_end(args);
}
