// Checks of the CRC engines, the fingerprint and the hasher that runs both.
#include "search/ContentHasher.h"
#include "search/Crc32.h"
#include "tests/TestBytes.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include <string>

namespace
{

const BYTE* Text(const char* text)
{
    return reinterpret_cast<const BYTE*>(text);
}

DWORD CrcOf(const char* text)
{
    return UpdateCrc32(0, Text(text), static_cast<DWORD>(std::strlen(text)));
}

ULONGLONG FingerprintOf(const BYTE* data, size_t count)
{
    CFingerprint fingerprint;
    fingerprint.Update(data, count);
    return fingerprint.Value();
}

}  // namespace

TEST(Crc32, KnownValuesZerosAndContinuation)
{
    EXPECT_EQ(0xCA6598D0u, CrcOf("abc"));
    EXPECT_EQ(0x2DFD2D88u, CrcOf("123456789"));
    EXPECT_EQ(0u, CrcOf(""));
    EXPECT_EQ(0x2DFD2D88u, UpdateCrc32(CrcOf("1234"), Text("56789"), 5));

    const Bytes zeros(3 << 20);
    for (size_t count : {size_t(1), size_t(17), size_t(4096), zeros.size()})
        EXPECT_EQ(0u, UpdateCrc32(0, zeros.data(), static_cast<DWORD>(count))) << count << " zero bytes";
}

class CrcEngineTest : public testing::TestWithParam<CrcEngine>
{
};

TEST_P(CrcEngineTest, MatchesByteTableForAnyLengthAlignmentAndStart)
{
    const CrcEngine engine = GetParam();
    if (!IsCrcEngineAvailable(engine))
        GTEST_SKIP() << "the processor lacks this engine";

    const size_t kMaxShortLength = 5000;
    const size_t kAlignments = 64;
    const Bytes data = RandomBytes(kMaxShortLength + kAlignments, 1);
    std::mt19937 random(2);
    for (size_t length = 0; length <= kMaxShortLength; ++length)
    {
        const BYTE* start = &data[random() % kAlignments];
        const DWORD initial = random();
        ASSERT_EQ(UpdateCrc32With(CrcEngine::ByteTable, initial, start, length),
                  UpdateCrc32With(engine, initial, start, length))
            << "length " << length << ", offset " << (start - data.data());
    }

    const Bytes large = RandomBytes((5 << 20) + 333, 3);
    for (size_t offset : {0, 1, 13, 63})
    {
        const size_t length = large.size() - 3 * offset;
        EXPECT_EQ(UpdateCrc32With(CrcEngine::ByteTable, 0x12345678, &large[offset], length),
                  UpdateCrc32With(engine, 0x12345678, &large[offset], length))
            << "offset " << offset;
    }
}

std::string EngineName(const testing::TestParamInfo<CrcEngine>& info)
{
    static const char* const names[] = {"ByteTable", "Slice16", "Pclmul", "Vpclmul512"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Engines, CrcEngineTest,
                         testing::Values(CrcEngine::Slice16, CrcEngine::Pclmul, CrcEngine::Vpclmul512), EngineName);

TEST(ContentHasher, SameResultHoweverTheDataIsSplit)
{
    // Long enough for several 16 KiB chunks, 1 KiB fingerprint blocks and a partial stripe at the end.
    const Bytes data = RandomBytes(100000, 4);
    CContentHasher whole;
    whole.Update(data.data(), data.size());
    EXPECT_EQ(UpdateCrc32(0, data.data(), static_cast<DWORD>(data.size())), whole.Crc());
    EXPECT_EQ(FingerprintOf(data.data(), data.size()), whole.Fingerprint());

    for (size_t piece : {1, 63, 64, 65, 1023, 1024, 1025, 16383, 16385})
    {
        CContentHasher split;
        for (size_t at = 0; at < data.size(); at += piece)
            split.Update(&data[at], std::min(piece, data.size() - at));
        EXPECT_EQ(whole.Crc(), split.Crc()) << "pieces of " << piece;
        EXPECT_EQ(whole.Fingerprint(), split.Fingerprint()) << "pieces of " << piece;
    }

    // Random pieces, some empty, with the result peeked at along the way.
    std::mt19937 random(5);
    CContentHasher split;
    for (size_t at = 0; at < data.size();)
    {
        const size_t piece = std::min<size_t>(random() % 3000, data.size() - at);
        split.Update(&data[at], piece);
        split.Fingerprint();
        at += piece;
    }
    EXPECT_EQ(whole.Crc(), split.Crc());
    EXPECT_EQ(whole.Fingerprint(), split.Fingerprint());
}

TEST(Fingerprint, TellsApartWhatTheCrcCannot)
{
    // A CRC starting from 0 does not see leading zeros.
    const Bytes data = RandomBytes(3000, 6);
    const Bytes padded = Bytes(5, 0) + data;
    CContentHasher plain, behindZeros;
    plain.Update(data.data(), data.size());
    behindZeros.Update(padded.data(), padded.size());
    EXPECT_EQ(plain.Crc(), behindZeros.Crc());
    EXPECT_NE(plain.Fingerprint(), behindZeros.Fingerprint());

    // All-zero contents all have CRC 0; their lengths still tell them apart.
    const Bytes zeros(2100);
    std::set<ULONGLONG> zeroRuns;
    for (size_t length = 0; length <= zeros.size(); ++length)
        zeroRuns.insert(FingerprintOf(zeros.data(), length));
    EXPECT_EQ(zeros.size() + 1, zeroRuns.size());
}

TEST(Fingerprint, EveryBitAndStripeOrderCount)
{
    // A full 1 KiB block plus a partial stripe that gets padded.
    Bytes data = RandomBytes(1100, 7);
    std::set<ULONGLONG> seen = {FingerprintOf(data.data(), data.size())};
    for (size_t bit = 0; bit < data.size() * 8; ++bit)
    {
        data[bit / 8] ^= static_cast<BYTE>(1 << bit % 8);
        seen.insert(FingerprintOf(data.data(), data.size()));
        data[bit / 8] ^= static_cast<BYTE>(1 << bit % 8);
    }
    EXPECT_EQ(data.size() * 8 + 1, seen.size());

    std::swap_ranges(data.begin(), data.begin() + CFingerprint::kStripeSize, data.begin() + CFingerprint::kStripeSize);
    EXPECT_EQ(0u, seen.count(FingerprintOf(data.data(), data.size())));
}
