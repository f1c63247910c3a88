// CRC folding four 128-bit lanes at a time with PCLMULQDQ (build with -mpclmul -msse4.1).
#include "search/CrcFold.h"
#include <immintrin.h>

namespace {

const unsigned kLaneBits = 128;
const int kLanes = 4;

// Computed while compiling: the loop behind each constant runs thousands of steps.
constexpr FoldConstants kAcrossLane = FoldBy(kLaneBits);
constexpr FoldConstants kAcrossBlock = FoldBy(kLanes * kLaneBits);

__m128i Vector(FoldConstants constants)
{
    return _mm_set_epi64x(static_cast<long long>(constants.high), static_cast<long long>(constants.low));
}

__m128i Fold(__m128i lane, __m128i constants, __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

__m128i Load(const unsigned char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

} // namespace

void FoldCrcPclmul(uint32_t crc, const unsigned char* data, size_t count, unsigned char folded[16])
{
    const __m128i acrossBlock = Vector(kAcrossBlock);
    const __m128i acrossLane = Vector(kAcrossLane);
    const unsigned char* end = data + count;

    // The running CRC enters as an XOR over the first four message bytes.
    __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = Load(data + 16);
    __m128i x2 = Load(data + 32);
    __m128i x3 = Load(data + 48);
    for (data += kPclmulBlock; data != end; data += kPclmulBlock)
    {
        x0 = Fold(x0, acrossBlock, Load(data));
        x1 = Fold(x1, acrossBlock, Load(data + 16));
        x2 = Fold(x2, acrossBlock, Load(data + 32));
        x3 = Fold(x3, acrossBlock, Load(data + 48));
    }
    __m128i x = Fold(x0, acrossLane, x1);
    x = Fold(x, acrossLane, x2);
    x = Fold(x, acrossLane, x3);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), x);
}
