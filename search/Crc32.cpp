// Table-driven CRC engines and the run-time choice between them and the folding kernels.
#include "search/Crc32.h"
#include "search/CpuFeatures.h"
#include "search/CrcFold.h"
#include <cstdint>
#include <cstring>

namespace
{

const int kSlices = 16;
const int kByteValues = 256;

// kTables.t[k][b]: the CRC of byte b followed by k zero bytes.
struct CrcTables
{
    uint32_t t[kSlices][kByteValues];

    constexpr CrcTables() : t()
    {
        for (int b = 0; b < kByteValues; ++b)
        {
            uint32_t crc = static_cast<uint32_t>(b);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ ((crc & 1) ? kCrc32ReflectedPoly : 0);
            t[0][b] = crc;
        }
        for (int k = 1; k < kSlices; ++k)
            for (int b = 0; b < kByteValues; ++b)
                t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF];
    }
};

constexpr CrcTables kTables;

// Folding pays for its setup and the 16-byte finish only on longer inputs.
const size_t kPclmulMinLength = 128;
const size_t kVpclmul512MinLength = 1024;
// Aligned loads keep every vector inside one cache line.
const size_t kPclmulAlignment = 16;
const size_t kVpclmul512Alignment = 64;
const size_t kFoldedSize = 16;

static_assert(kPclmulMinLength >= kPclmulAlignment - 1 + kPclmulBlock, "PCLMUL needs a whole block after aligning");
static_assert(kVpclmul512MinLength >= kVpclmul512Alignment - 1 + kVpclmul512Block,
              "VPCLMUL needs a whole block after aligning");

uint32_t ByteTable(uint32_t crc, const BYTE* data, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        crc = (crc >> 8) ^ kTables.t[0][(crc ^ data[i]) & 0xFF];
    return crc;
}

uint32_t Load32(const BYTE* p)
{
    uint32_t value;
    std::memcpy(&value, p, sizeof(value));
    return value;
}

uint32_t Slice16(uint32_t crc, const BYTE* data, size_t count)
{
    const auto& t = kTables.t;
    for (; count >= kSlices; data += kSlices, count -= kSlices)
    {
        const uint32_t a = Load32(data) ^ crc;
        const uint32_t b = Load32(data + 4);
        const uint32_t c = Load32(data + 8);
        const uint32_t d = Load32(data + 12);
        crc = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^ t[11][b & 0xFF] ^
              t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^ t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^
              t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^ t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^
              t[0][d >> 24];
    }
    return ByteTable(crc, data, count);
}

typedef void (*FoldKernel)(uint32_t crc, const unsigned char* data, size_t count, unsigned char folded[16]);

uint32_t Folded(FoldKernel kernel, size_t block, size_t alignment, uint32_t crc, const BYTE* data, size_t count)
{
    const size_t head = (alignment - reinterpret_cast<uintptr_t>(data) % alignment) % alignment;
    crc = Slice16(crc, data, head);
    data += head;
    count -= head;

    const size_t body = count - count % block;
    unsigned char folded[kFoldedSize];
    kernel(crc, data, body, folded);
    crc = Slice16(0, folded, kFoldedSize);
    return Slice16(crc, data + body, count - body);
}

uint32_t Pclmul(uint32_t crc, const BYTE* data, size_t count)
{
    if (count < kPclmulMinLength)
        return Slice16(crc, data, count);
    return Folded(FoldCrcPclmul, kPclmulBlock, kPclmulAlignment, crc, data, count);
}

uint32_t Vpclmul512(uint32_t crc, const BYTE* data, size_t count)
{
    if (count < kVpclmul512MinLength)
        return Pclmul(crc, data, count);
    return Folded(FoldCrcVpclmul512, kVpclmul512Block, kVpclmul512Alignment, crc, data, count);
}

}  // namespace

bool IsCrcEngineAvailable(CrcEngine engine)
{
    switch (engine)
    {
    case CrcEngine::Pclmul:
        return GetCpuFeatures().pclmul;
    case CrcEngine::Vpclmul512:
        return GetCpuFeatures().vpclmul512;
    default:
        return true;
    }
}

CrcEngine FastestCrcEngine()
{
    static const CrcEngine fastest = IsCrcEngineAvailable(CrcEngine::Vpclmul512) ? CrcEngine::Vpclmul512
                                     : IsCrcEngineAvailable(CrcEngine::Pclmul)   ? CrcEngine::Pclmul
                                                                                 : CrcEngine::Slice16;
    return fastest;
}

DWORD UpdateCrc32With(CrcEngine engine, DWORD crc, const BYTE* data, size_t count)
{
    switch (engine)
    {
    case CrcEngine::ByteTable:
        return ByteTable(crc, data, count);
    case CrcEngine::Pclmul:
        return Pclmul(crc, data, count);
    case CrcEngine::Vpclmul512:
        return Vpclmul512(crc, data, count);
    default:
        return Slice16(crc, data, count);
    }
}

DWORD UpdateCrc32(DWORD crc, const BYTE* data, DWORD count)
{
    return UpdateCrc32With(FastestCrcEngine(), crc, data, count);
}
