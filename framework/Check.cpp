// The report of a failed check: a line for the debugger's output, and a stop in a debug build.
#include "framework/Check.h"
#include <windows.h>
#include <cstdio>
#include <cstdlib>

namespace
{
void ReportToDebugger(const char* pszCondition, const char* pszFile, int nLine)
{
    char text[512];
    std::snprintf(text, sizeof(text), "Velmora: check failed: %s (%s:%d)\n", pszCondition, pszFile, nLine);
    ::OutputDebugStringA(text);
#ifndef NDEBUG
    ::DebugBreak();
    std::abort();
#endif
}
}  // namespace

void (*AfxReportFailedCheck)(const char* pszCondition, const char* pszFile, int nLine) = ReportToDebugger;
