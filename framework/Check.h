// States that cannot happen: a debug build stops at once, a release build takes the caller's safe way out.
#pragma once
#include <windows.h>
#include <cstdlib>

#ifdef NDEBUG
#define VERIFY_STATE(condition) (static_cast<bool>(condition))
#else
#define VERIFY_STATE(condition) ((condition) ? true : (::DebugBreak(), std::abort(), false))
#endif
