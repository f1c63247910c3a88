// CRC folding sixteen 128-bit lanes at a time with VPCLMULQDQ on AVX-512 registers
// (build with -mavx512f -mavx512bw -mavx512vl -mvpclmulqdq -mpclmul).
#include "search/CrcFoldLane.h"

namespace
{

const unsigned kRegisterBits = 512;
const int kRegisters = 4;
const int kRegisterBytes = 64;
const int kXorXorXor = 0x96;  // ternary-logic truth table of a ^ b ^ c

constexpr FoldConstants kAcrossRegister = FoldBy(kRegisterBits);
constexpr FoldConstants kAcrossBlock = FoldBy(kRegisters * kRegisterBits);

__m512i Fold(__m512i lanes, __m512i constants, __m512i next)
{
    const __m512i low = _mm512_clmulepi64_epi128(lanes, constants, 0x00);
    const __m512i high = _mm512_clmulepi64_epi128(lanes, constants, 0x11);
    return _mm512_ternarylogic_epi64(low, high, next, kXorXorXor);
}

__m512i Load(const unsigned char* p)
{
    return _mm512_loadu_si512(p);
}

}  // namespace

void FoldCrcVpclmul512(uint32_t crc, const unsigned char* data, size_t count, unsigned char folded[16])
{
    const __m512i acrossBlock = _mm512_broadcast_i32x4(Vector(kAcrossBlock));
    const __m512i acrossRegister = _mm512_broadcast_i32x4(Vector(kAcrossRegister));
    const __m128i acrossLane = Vector(kAcrossLane);
    const unsigned char* end = data + count;

    // The running CRC enters as an XOR over the first four message bytes.
    __m512i x0 = _mm512_xor_si512(Load(data), _mm512_castsi128_si512(_mm_cvtsi32_si128(static_cast<int>(crc))));
    __m512i x1 = Load(data + kRegisterBytes);
    __m512i x2 = Load(data + 2 * kRegisterBytes);
    __m512i x3 = Load(data + 3 * kRegisterBytes);
    for (data += kVpclmul512Block; data != end; data += kVpclmul512Block)
    {
        x0 = Fold(x0, acrossBlock, Load(data));
        x1 = Fold(x1, acrossBlock, Load(data + kRegisterBytes));
        x2 = Fold(x2, acrossBlock, Load(data + 2 * kRegisterBytes));
        x3 = Fold(x3, acrossBlock, Load(data + 3 * kRegisterBytes));
    }
    __m512i x = Fold(x0, acrossRegister, x1);
    x = Fold(x, acrossRegister, x2);
    x = Fold(x, acrossRegister, x3);

    // Through memory rather than lane extracts: once per call, and GCC 12 warns on its own extract intrinsic.
    unsigned char lanes[kRegisterBytes];
    _mm512_storeu_si512(lanes, x);
    __m128i lane = FoldLane(LoadLane(lanes), acrossLane, LoadLane(lanes + 16));
    lane = FoldLane(lane, acrossLane, LoadLane(lanes + 32));
    lane = FoldLane(lane, acrossLane, LoadLane(lanes + 48));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), lane);
}
