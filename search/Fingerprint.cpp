// The fingerprint: SSE2 multiply-accumulate per stripe, a scramble per 1 KiB block, length mixed in at the end.
#include "search/Fingerprint.h"
#include <emmintrin.h>
#include <algorithm>
#include <cstring>

namespace
{

const DWORD kStripesPerBlock = 16;
const int kLanes = 4;  // 128-bit lanes per stripe
const int kLaneBytes = 16;
const int kLaneAccumulators = 2;
const int kSwapHalves = _MM_SHUFFLE(1, 0, 3, 2);
const int kScrambleShift = 47;
const ULONGLONG kScramblePrime = 0x9E3779B1;
const ULONGLONG kLengthPrime = 0x9E3779B97F4A7C15;
const ULONGLONG kKeySeed = 0x243F6A8885A308D3;

constexpr ULONGLONG SplitMix(ULONGLONG& state)
{
    state += 0x9E3779B97F4A7C15;
    ULONGLONG z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
}

struct FingerprintKeys
{
    // Stripe n of a block takes stripe[n .. n+8): neighbours see shifted keys, so reordering
    // stripes within a block changes the sums.
    ULONGLONG stripe[kStripesPerBlock + CFingerprint::kAccumulators - 1];
    ULONGLONG scramble[CFingerprint::kAccumulators];
    ULONGLONG merge[CFingerprint::kAccumulators];
    ULONGLONG initial[CFingerprint::kAccumulators];

    constexpr FingerprintKeys() : stripe(), scramble(), merge(), initial()
    {
        ULONGLONG state = kKeySeed;
        for (ULONGLONG& key : stripe)
            key = SplitMix(state);
        for (int i = 0; i < CFingerprint::kAccumulators; ++i)
        {
            scramble[i] = SplitMix(state);
            merge[i] = SplitMix(state);
            initial[i] = SplitMix(state);
        }
    }
};

constexpr FingerprintKeys kKeys;

__m128i Load(const void* p)
{
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

__m128i Accumulate(__m128i acc, const BYTE* lane, const ULONGLONG* key)
{
    const __m128i data = Load(lane);
    const __m128i mixed = _mm_xor_si128(data, Load(key));
    const __m128i product = _mm_mul_epu32(mixed, _mm_srli_epi64(mixed, 32));
    // The raw data goes in too, crosswise, so input that zeroes a product is not lost.
    return _mm_add_epi64(acc, _mm_add_epi64(product, _mm_shuffle_epi32(data, kSwapHalves)));
}

__m128i Scramble(__m128i acc, const ULONGLONG* key)
{
    acc = _mm_xor_si128(_mm_xor_si128(acc, _mm_srli_epi64(acc, kScrambleShift)), Load(key));
    const __m128i prime = _mm_set1_epi64x(static_cast<long long>(kScramblePrime));
    const __m128i low = _mm_mul_epu32(acc, prime);
    const __m128i high = _mm_mul_epu32(_mm_srli_epi64(acc, 32), prime);
    return _mm_add_epi64(low, _mm_slli_epi64(high, 32));
}

void AbsorbStripes(ULONGLONG acc[CFingerprint::kAccumulators], DWORD& stripeInBlock, const BYTE* data, size_t stripes)
{
    __m128i a[kLanes];
    for (int i = 0; i < kLanes; ++i)
        a[i] = Load(acc + kLaneAccumulators * i);
    for (; stripes > 0; --stripes, data += CFingerprint::kStripeSize)
    {
        const ULONGLONG* key = kKeys.stripe + stripeInBlock;
        for (int i = 0; i < kLanes; ++i)
            a[i] = Accumulate(a[i], data + kLaneBytes * i, key + kLaneAccumulators * i);
        if (++stripeInBlock == kStripesPerBlock)
        {
            for (int i = 0; i < kLanes; ++i)
                a[i] = Scramble(a[i], kKeys.scramble + kLaneAccumulators * i);
            stripeInBlock = 0;
        }
    }
    for (int i = 0; i < kLanes; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(acc + kLaneAccumulators * i), a[i]);
}

ULONGLONG MultiplyFold(ULONGLONG a, ULONGLONG b)
{
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return static_cast<ULONGLONG>(product) ^ static_cast<ULONGLONG>(product >> 64);
}

ULONGLONG Avalanche(ULONGLONG h)
{
    h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCD;
    h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53;
    return h ^ (h >> 33);
}

}  // namespace

CFingerprint::CFingerprint() : m_stripeInBlock(0), m_length(0), m_pending(), m_pendingCount(0)
{
    std::memcpy(m_acc, kKeys.initial, sizeof(m_acc));
}

void CFingerprint::Update(const BYTE* data, size_t count)
{
    m_length += count;
    if (m_pendingCount > 0)
    {
        const size_t take = std::min(count, kStripeSize - m_pendingCount);
        std::memcpy(m_pending + m_pendingCount, data, take);
        m_pendingCount += take;
        data += take;
        count -= take;
        if (m_pendingCount < kStripeSize)
            return;
        AbsorbStripes(m_acc, m_stripeInBlock, m_pending, 1);
        m_pendingCount = 0;
    }
    const size_t stripes = count / kStripeSize;
    AbsorbStripes(m_acc, m_stripeInBlock, data, stripes);
    m_pendingCount = count - stripes * kStripeSize;
    std::memcpy(m_pending, data + stripes * kStripeSize, m_pendingCount);
}

ULONGLONG CFingerprint::Value() const
{
    ULONGLONG acc[kAccumulators];
    std::memcpy(acc, m_acc, sizeof(acc));
    DWORD stripeInBlock = m_stripeInBlock;
    if (m_pendingCount > 0)
    {
        // Zero padding is unambiguous because the length is mixed in below.
        BYTE last[kStripeSize] = {};
        std::memcpy(last, m_pending, m_pendingCount);
        AbsorbStripes(acc, stripeInBlock, last, 1);
    }
    ULONGLONG h = m_length * kLengthPrime;
    for (int i = 0; i < kAccumulators; i += 2)
        h += MultiplyFold(acc[i] ^ kKeys.merge[i], acc[i + 1] ^ kKeys.merge[i + 1]);
    return Avalanche(h);
}
