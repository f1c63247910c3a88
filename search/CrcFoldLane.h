// The 128-bit lane steps that both carry-less CRC kernels share. Included only by the kernel files:
// everything here has internal linkage, so each kernel keeps a copy built with its own instruction
// set, and the linker cannot hand the AVX-512 copy to the other kernel.
#pragma once
#include "search/CrcFold.h"
#include <immintrin.h>

namespace
{

const unsigned kLaneBits = 128;

// Computed while compiling: the loop behind the constant runs thousands of steps.
constexpr FoldConstants kAcrossLane = FoldBy(kLaneBits);

inline __m128i Vector(FoldConstants constants)
{
    return _mm_set_epi64x(static_cast<long long>(constants.high), static_cast<long long>(constants.low));
}

inline __m128i LoadLane(const unsigned char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The lane moved forward by the constants' distance, added to the next lane.
inline __m128i FoldLane(__m128i lane, __m128i constants, __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

}  // namespace
