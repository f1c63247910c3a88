// The search's table work without any window: which sizes are shared, which files are equal, the group order.
#pragma once
#include "search/WorkingTable.h"
#include <windows.h>
#include <vector>

// keep[i] is 1 when the length entry i compares by is not 0 and another entry has the same length.
std::vector<BYTE> FindSharedLengths(const std::vector<SearchEntry>& entries);

const UINT kNoNextFile = 0xFFFFFFFFu;

// The files of equal content, linked in table order: nextEqual[i] is the next later entry with
// the same key, or kNoNextFile; isFirst[i] tells the earliest entry of each key.
struct EqualContent
{
    std::vector<UINT> nextEqual;
    std::vector<BYTE> isFirst;
};
EqualContent FindEqualContent(const std::vector<SearchEntry>& entries);

// The files of the equal-content chain that starts at nFirst, in table order, each physical file
// once: of two paths to one file (hard links, links to files, a folder reached twice) the later goes.
// A file id of 0 (unknown) is never taken for another file's.
std::vector<UINT> DistinctMembers(UINT nFirst, const std::vector<UINT>& nextEqual,
                                  const std::vector<SearchEntry>& entries);

// The order in which a left-to-right exchange sort by ascending size leaves the groups
// (for each i, every later smaller size is swapped into place i), computed in O(m log m).
// order[k] is the index of the group that ends at place k.
std::vector<UINT> ExchangeSortOrder(const std::vector<ULONGLONG>& sizes);
