// Byte-buffer helpers shared by the checksum tests.
#pragma once
#include <windows.h>
#include <cstring>
#include <random>
#include <vector>

typedef std::vector<BYTE> Bytes;

inline Bytes RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (BYTE& b : bytes)
        b = static_cast<BYTE>(random());
    return bytes;
}

inline Bytes FromText(const char* text)
{
    return Bytes(text, text + std::strlen(text));
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
