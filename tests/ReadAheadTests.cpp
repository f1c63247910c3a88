// The search's reading threads: how far they run ahead, holding, long files read alone, and a stop
// that never waits for a thread stuck in the system.
#include "framework/ScopedWin.h"
#include "search/ReadAhead.h"
#include "kit/MessagePump.h"
#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <memory>

namespace
{
const DWORD kPatienceMs = 5000;

// Takes files in order until nUpTo, waiting as long as the search would wait for a slow disk.
bool TakeUpTo(CReadAhead& reader, int nFrom, int nUpTo, std::atomic<int>* pTaken = nullptr)
{
    for (int i = nFrom; i < nUpTo; ++i)
    {
        if (pTaken)
            *pTaken = i + 1;
        if (!reader.Take(i, kPatienceMs))
            return false;
    }
    return true;
}
}  // namespace

TEST(ReadAhead, RunsOnlyAFewFilesAheadAndStartsNoneWhileHeld)
{
    std::atomic<int> started{0};
    std::atomic<int> taken{0};
    std::atomic<bool> tooFarAhead{false};
    const int kWindow = CReadAhead::kWindow;
    const int kFiles = 3 * kWindow;
    CReadAhead reader(
        kFiles,
        [&](CFileDigester&, int i)
        {
            tooFarAhead = tooFarAhead || i > taken + kWindow;
            ++started;
        },
        [](int) { return false; });
    ASSERT_TRUE(WaitUntil([&] { return started >= kWindow; }, kPatienceMs));
    EXPECT_FALSE(WaitUntil([&] { return started > kWindow; }, 100)) << "nothing taken yet";

    reader.Hold(TRUE);
    const int ahead = started;
    ASSERT_TRUE(TakeUpTo(reader, 0, ahead, &taken));
    EXPECT_FALSE(WaitUntil([&] { return started > ahead; }, 100)) << "held";

    reader.Hold(FALSE);
    ASSERT_TRUE(TakeUpTo(reader, ahead, kFiles, &taken));
    EXPECT_EQ(kFiles, started);
    EXPECT_FALSE(tooFarAhead);
}

TEST(ReadAhead, ALongFileIsReadAloneAndShortOnesTogether)
{
    std::atomic<int> reading{0};
    std::atomic<bool> longOverlapped{false};
    std::atomic<bool> shortOverlapped{false};
    auto isLong = [](int i) { return i % 4 == 0; };
    CReadAhead reader(
        40,
        [&](CFileDigester&, int i)
        {
            ++reading;
            if (WaitUntil([&] { return reading > 1; }, 20))
                (isLong(i) ? longOverlapped : shortOverlapped) = true;
            --reading;
        },
        isLong);
    ASSERT_TRUE(TakeUpTo(reader, 0, 40));
    EXPECT_FALSE(longOverlapped);
    EXPECT_TRUE(shortOverlapped);
}

TEST(ReadAhead, AStopNeverWaitsForAThreadStuckInARead)
{
    // The read of file 0 never returns until the test lets it: a device, a dead network drive.
    const auto release = std::make_shared<CAutoHandle>(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const auto finished = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> inRead{false};
    const ULONGLONG nStart = ::GetTickCount64();
    {
        CReadAhead reader(
            10,
            [release, finished, &inRead](CFileDigester&, int i)
            {
                if (i != 0)
                    return;
                inRead = true;
                ::WaitForSingleObject(release->Get(), INFINITE);
                *finished = true;
            },
            [](int) { return false; });
        ASSERT_TRUE(WaitUntil([&] { return inRead.load(); }, kPatienceMs));
        EXPECT_FALSE(reader.Take(0, 50));
    }
    EXPECT_LT(::GetTickCount64() - nStart, 1000u);
    ::SetEvent(release->Get());
    EXPECT_TRUE(WaitUntil([&] { return finished->load(); }, kPatienceMs)) << "the thread ends by itself";
}

TEST(ReadAhead, WithoutThreadsEachFileIsReadWhenItIsTaken)
{
    int nRead = 0;
    CReadAhead reader(
        3, [&](CFileDigester&, int i) { nRead = i + 1; }, [](int) { return false; }, 0);
    EXPECT_EQ(reader.ThreadCount(), 0);
    ASSERT_TRUE(TakeUpTo(reader, 0, 2));
    EXPECT_EQ(nRead, 2);
}

TEST(ReadAhead, EndsAtOnceWhileHeld)
{
    std::atomic<int> started{0};
    {
        CReadAhead reader(
            1000, [&](CFileDigester&, int) { ++started; }, [](int) { return false; });
        reader.Hold(TRUE);
    }
    EXPECT_LT(started, 1000);
}
