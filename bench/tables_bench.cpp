// Time of the search's table work on 1,000,000 entries: size filter, equal contents and group order.
#include "kit/Clock.h"
#include "search/SearchTables.h"
#include <cstdio>
#include <random>

int main()
{
    const size_t kEntries = 1000000;
    std::mt19937_64 random(1);
    std::vector<ULONGLONG> sizes(kEntries);
    std::vector<SearchEntry> entries(kEntries);
    for (size_t i = 0; i < kEntries; ++i)
    {
        sizes[i] = random() % (kEntries / 2);
        entries[i].key = ContentKey{sizes[i], random() % 4, static_cast<DWORD>(random() % (kEntries / 3)), true};
    }
    const double start = NowSeconds();
    const std::vector<BYTE> keep = FindSharedLengths(entries);
    const double filtered = NowSeconds();
    const EqualContent equal = FindEqualContent(entries);
    const double grouped = NowSeconds();
    const std::vector<UINT> order = ExchangeSortOrder(sizes);
    const double sorted = NowSeconds();
    std::printf("size filter %.3f s, equal contents %.3f s, group order %.3f s, total %.3f s (%zu entries)\n",
                filtered - start, grouped - filtered, sorted - grouped, sorted - start, kEntries);
    return keep.size() + equal.isFirst.size() + order.size() == 3 * kEntries ? 0 : 1;
}
