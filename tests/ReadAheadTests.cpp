// The search's reading threads: how far they run ahead, holding, and long files read alone.
#include "search/ReadAhead.h"
#include <gtest/gtest.h>
#include <atomic>

namespace
{
const DWORD kPatienceMs = 5000;

// Takes files in order until nUpTo, waiting as long as the search would wait for a slow disk.
bool TakeUpTo(CReadAhead& reader, int nFrom, int nUpTo)
{
    for (int i = nFrom; i < nUpTo; ++i)
    {
        if (!reader.Take(i, kPatienceMs))
            return false;
    }
    return true;
}
}  // namespace

TEST(ReadAhead, RunsOnlyAFewFilesAheadAndStartsNoneWhileHeld)
{
    std::atomic<int> started{0};
    CReadAhead reader(100, [&](CFileDigester&, int) { ++started; }, [](int) { return false; });
    ::Sleep(200);
    const int ahead = started;
    EXPECT_GT(ahead, 1);
    EXPECT_LE(ahead, 16);

    reader.Hold(TRUE);
    ASSERT_TRUE(TakeUpTo(reader, 0, ahead));
    ::Sleep(200);
    EXPECT_EQ(ahead, started);

    reader.Hold(FALSE);
    ASSERT_TRUE(TakeUpTo(reader, ahead, 100));
    EXPECT_EQ(100, started);
}

TEST(ReadAhead, ALongFileIsReadAloneAndShortOnesTogether)
{
    std::atomic<int> reading{0};
    std::atomic<bool> longOverlapped{false};
    std::atomic<bool> shortOverlapped{false};
    auto isLong = [](int i) { return i % 4 == 0; };
    CReadAhead reader(
        40,
        [&](CFileDigester&, int i) {
            const int others = reading++;
            if (others > 0)
                (isLong(i) ? longOverlapped : shortOverlapped) = true;
            ::Sleep(5);
            if (isLong(i) && reading > 1)
                longOverlapped = true;
            --reading;
        },
        isLong);
    ASSERT_TRUE(TakeUpTo(reader, 0, 40));
    EXPECT_FALSE(longOverlapped);
    EXPECT_TRUE(shortOverlapped);
}

TEST(ReadAhead, EndsAtOnceWhileHeld)
{
    std::atomic<int> started{0};
    {
        CReadAhead reader(1000, [&](CFileDigester&, int) { ++started; }, [](int) { return false; });
        reader.Hold(TRUE);
    }
    EXPECT_LT(started, 1000);
}
