// Carry-less multiplication CRC kernels; each is compiled with its own instruction-set flags.
#pragma once
#include <cstddef>
#include <cstdint>

// Only standard types here: the kernel files must not pull in shared inline code, or the linker
// could keep their AVX-512 copy of it for the whole program.

const uint32_t kCrc32ReflectedPoly = 0xEDB88320;

// A kernel folds `count` bytes (a multiple of its block size, at least one block) into 16 bytes whose
// CRC from 0 equals the CRC of the input from `crc`; the caller finishes those 16 bytes with a table.
const size_t kPclmulBlock = 64;
const size_t kVpclmul512Block = 256;
void FoldCrcPclmul(uint32_t crc, const unsigned char* data, size_t count, unsigned char folded[16]);
void FoldCrcVpclmul512(uint32_t crc, const unsigned char* data, size_t count, unsigned char folded[16]);

// x^power mod P, bit-reflected and shifted left by one. The carry-less product of two reflected
// 64-bit values lands one bit short of the 128-bit lane; the shift puts it back in place.
static constexpr uint64_t FoldConstant(unsigned power)
{
    uint32_t value = 0x80000000;  // x^0 in reflected order
    for (unsigned i = 0; i < power; ++i)
        value = (value >> 1) ^ ((value & 1) ? kCrc32ReflectedPoly : 0);
    return static_cast<uint64_t>(value) << 1;
}

// Moving a 128-bit lane `distance` bits forward: its first (low) qword carries x^64 more weight than
// its second, hence x^(distance+32) and x^(distance-32) once the extra x^32 of the CRC is counted.
struct FoldConstants
{
    uint64_t low;
    uint64_t high;
};

static constexpr FoldConstants FoldBy(unsigned distance)
{
    return FoldConstants{FoldConstant(distance + 32), FoldConstant(distance - 32)};
}
