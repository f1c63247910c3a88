// The content checksum: CRC-32 over the reflected 0xEDB88320 table, starting from 0, no final inversion.
#pragma once
#include <windows.h>
#include <cstddef>

// Continues `crc` over the bytes; the fastest engine this processor supports computes it.
DWORD UpdateCrc32(DWORD crc, const BYTE* data, DWORD count);

enum class CrcEngine
{
    ByteTable,
    Slice16,
    Pclmul,
    Vpclmul512,
};

bool IsCrcEngineAvailable(CrcEngine engine);
CrcEngine FastestCrcEngine();

// The same result as UpdateCrc32, through the given engine, which must be available.
DWORD UpdateCrc32With(CrcEngine engine, DWORD crc, const BYTE* data, size_t count);
