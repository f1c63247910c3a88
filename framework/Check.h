// States that cannot happen. The check stays in every build, since asserts are off on users' machines:
// a failed check is reported, a debug build then stops at once, and the caller takes its safe way out.
#pragma once

// Reports a failed check; tests put a recorder in its place to see a check fire.
extern void (*AfxReportFailedCheck)(const char* pszCondition, const char* pszFile, int nLine);

#define VERIFY_STATE(condition) ((condition) ? true : (AfxReportFailedCheck(#condition, __FILE__, __LINE__), false))
