// Processor feature detection with CPUID and XGETBV, done once per process.
#include "search/CpuFeatures.h"
#include <cpuid.h>

namespace
{

const unsigned kLeaf1EcxSse41 = 1u << 19;
const unsigned kLeaf1EcxPclmul = 1u << 1;
const unsigned kLeaf1EcxOsXsave = 1u << 27;
const unsigned kLeaf7EbxAvx512F = 1u << 16;
const unsigned kLeaf7EbxAvx512Bw = 1u << 30;
const unsigned kLeaf7EbxAvx512Vl = 1u << 31;
const unsigned kLeaf7EcxVpclmul = 1u << 10;

// XCR0 bits: SSE and AVX state, then opmask, upper halves of ZMM0-15 and ZMM16-31.
const unsigned long long kXcr0Avx512State = 0x02 | 0x04 | 0x20 | 0x40 | 0x80;

unsigned long long ReadXcr0()
{
    unsigned lo, hi;
    // Raw encoding so this file needs no -mxsave.
    __asm__ volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
}

bool Has(unsigned reg, unsigned bits)
{
    return (reg & bits) == bits;
}

CpuFeatures Detect()
{
    CpuFeatures features = {false, false};
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return features;
    features.pclmul = Has(ecx, kLeaf1EcxPclmul | kLeaf1EcxSse41);
    // Without OSXSAVE, XGETBV faults; without the XCR0 bits, the OS would not preserve ZMM registers.
    if (!features.pclmul || !Has(ecx, kLeaf1EcxOsXsave) || (ReadXcr0() & kXcr0Avx512State) != kXcr0Avx512State)
        return features;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx))
        return features;
    features.vpclmul512 =
        Has(ebx, kLeaf7EbxAvx512F | kLeaf7EbxAvx512Bw | kLeaf7EbxAvx512Vl) && Has(ecx, kLeaf7EcxVpclmul);
    return features;
}

}  // namespace

const CpuFeatures& GetCpuFeatures()
{
    static const CpuFeatures features = Detect();
    return features;
}
