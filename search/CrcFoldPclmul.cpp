// CRC folding four 128-bit lanes at a time with PCLMULQDQ (build with -mpclmul -msse4.1).
#include "search/CrcFoldLane.h"

namespace
{

const int kLanes = 4;

constexpr FoldConstants kAcrossBlock = FoldBy(kLanes * kLaneBits);

}  // namespace

void FoldCrcPclmul(uint32_t crc, const unsigned char* data, size_t count, unsigned char folded[16])
{
    const __m128i acrossBlock = Vector(kAcrossBlock);
    const __m128i acrossLane = Vector(kAcrossLane);
    const unsigned char* end = data + count;

    // The running CRC enters as an XOR over the first four message bytes.
    __m128i x0 = _mm_xor_si128(LoadLane(data), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = LoadLane(data + 16);
    __m128i x2 = LoadLane(data + 32);
    __m128i x3 = LoadLane(data + 48);
    for (data += kPclmulBlock; data != end; data += kPclmulBlock)
    {
        x0 = FoldLane(x0, acrossBlock, LoadLane(data));
        x1 = FoldLane(x1, acrossBlock, LoadLane(data + 16));
        x2 = FoldLane(x2, acrossBlock, LoadLane(data + 32));
        x3 = FoldLane(x3, acrossBlock, LoadLane(data + 48));
    }
    __m128i x = FoldLane(x0, acrossLane, x1);
    x = FoldLane(x, acrossLane, x2);
    x = FoldLane(x, acrossLane, x3);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), x);
}
