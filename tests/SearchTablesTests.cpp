// The table work of the search checked against the plain quadratic procedures it replaces.
#include "search/SearchTables.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

namespace
{
// The exchange sort the order must match: every later smaller size is swapped into place i.
std::vector<UINT> LiteralExchangeSort(std::vector<ULONGLONG> sizes)
{
    std::vector<UINT> order(sizes.size());
    for (UINT i = 0; i < order.size(); ++i)
        order[i] = i;
    for (size_t i = 0; i < sizes.size(); ++i)
    {
        for (size_t j = i + 1; j < sizes.size(); ++j)
        {
            if (sizes[j] < sizes[i])
            {
                std::swap(sizes[i], sizes[j]);
                std::swap(order[i], order[j]);
            }
        }
    }
    return order;
}

// crc 0 stands for a file that could not be read; Zero for a read file whose checksum is 0.
const DWORD kZeroCrc = 0xFFFFFFFFu;
SearchEntry Key(DWORD crc, ULONGLONG length, ULONGLONG fingerprint = 7)
{
    const ContentKey key =
        crc == kZeroCrc ? ContentKey{length, fingerprint, 0, true} : ContentKey{length, fingerprint, crc, crc != 0};
    return SearchEntry{CString(), ListedState{length, 0, 0, 0}, key};
}
}  // namespace

TEST(ExchangeSortOrder, MatchesTheLiteralExchangeSortOnRandomInputs)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 20000; ++round)
    {
        const size_t count = random() % 13;
        const ULONGLONG distinct = 1 + random() % 5;
        std::vector<ULONGLONG> sizes(count);
        for (ULONGLONG& size : sizes)
            size = random() % distinct == 0 ? ~0ull : random() % distinct;
        ASSERT_EQ(LiteralExchangeSort(sizes), ExchangeSortOrder(sizes)) << "round " << round;
    }
}

TEST(ExchangeSortOrder, KnownOrdersOfEqualSizes)
{
    // A5, B5, C3 -> C, B, A; A5, C3, B5 -> C, A, B
    EXPECT_EQ((std::vector<UINT>{2, 1, 0}), ExchangeSortOrder({5, 5, 3}));
    EXPECT_EQ((std::vector<UINT>{1, 0, 2}), ExchangeSortOrder({5, 3, 5}));
    EXPECT_TRUE(ExchangeSortOrder({}).empty());
}

TEST(FindSharedLengths, KeepsNonZeroLengthsThatOccurTwice)
{
    std::vector<SearchEntry> entries;
    for (ULONGLONG length : {5ull, 0ull, 7ull, 5ull, 0ull, 1ull << 32, 5ull, 1ull << 32, 9ull})
        entries.push_back(Key(9, length));
    const std::vector<BYTE> keep = FindSharedLengths(entries);
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 1, 0, 1, 1, 1, 0}), keep);
}

TEST(FindEqualContent, LinksEqualKeysInTableOrderAndNeverAnUnreadFile)
{
    const EqualContent equal = FindEqualContent({
        Key(9, 10),         // 0: first of 0, 3, 5
        Key(0, 10),         // 1: no checksum
        Key(9, 11),         // 2: same crc, other length
        Key(9, 10),         // 3
        Key(0, 10),         // 4: no checksum, never linked to 1
        Key(9, 10),         // 5
        Key(9, 10, 8),      // 6: same crc and length, other fingerprint
        Key(kZeroCrc, 10),  // 7: a checksum of 0, read: first of 7, 8
        Key(kZeroCrc, 10),  // 8
    });
    EXPECT_EQ(
        (std::vector<UINT>{3, kNoNextFile, kNoNextFile, 5, kNoNextFile, kNoNextFile, kNoNextFile, 8, kNoNextFile}),
        equal.nextEqual);
    EXPECT_EQ((std::vector<BYTE>{1, 1, 1, 0, 1, 0, 1, 1, 0}), equal.isFirst);
}

TEST(DistinctMembers, KeepsEachPhysicalFileOnceInTableOrderAndNeverJoinsUnknownIndexes)
{
    // Chain 0 -> 2 -> 3 -> 5 -> 6: 3 is a second path to 0's file, 6 to 5's; 2 and 5 have no index.
    std::vector<SearchEntry> keys(7, Key(9, 10));
    const ULONGLONG indexes[] = {41, 0, 0, 41, 0, 0, 0};
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i].listed.fileId = indexes[i];
    keys[5].listed.fileId = 77;
    keys[6].listed.fileId = 77;
    std::vector<UINT> nextEqual(7, kNoNextFile);
    nextEqual[0] = 2;
    nextEqual[2] = 3;
    nextEqual[3] = 5;
    nextEqual[5] = 6;
    EXPECT_EQ((std::vector<UINT>{0, 2, 5}), DistinctMembers(0, nextEqual, keys));
    EXPECT_EQ((std::vector<UINT>{1}), DistinctMembers(1, nextEqual, keys));
}
