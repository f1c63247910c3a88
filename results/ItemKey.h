// The item key of a results-list row: which file of which duplicate group the row shows.
#pragma once
#include <windows.h>

// Group index in the low 32 bits, file index within the group in the high 32 bits;
// a separator row carries all bits set.
static_assert(sizeof(LPARAM) >= 8,
              "the item key packs two 32-bit indices into LPARAM: in a 32-bit build every row of a group "
              "would resolve to its first file, and a delete would hit the wrong file");
const LPARAM kSeparatorKey = static_cast<LPARAM>(-1);

inline LPARAM MakeItemKey(UINT nGroup, UINT nFile)
{
    return static_cast<LPARAM>((static_cast<ULONGLONG>(nFile) << 32) | nGroup);
}

inline UINT ItemKeyGroup(LPARAM key)
{
    return static_cast<UINT>(static_cast<ULONGLONG>(key) & 0xFFFFFFFFu);
}

inline UINT ItemKeyFile(LPARAM key)
{
    return static_cast<UINT>(static_cast<ULONGLONG>(key) >> 32);
}

inline BOOL IsSeparatorKey(LPARAM key)
{
    return key == kSeparatorKey;
}
