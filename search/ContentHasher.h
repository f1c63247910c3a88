// One pass over content feeding both the CRC and the fingerprint.
#pragma once
#include "search/Fingerprint.h"

class CContentHasher
{
public:
    CContentHasher() : m_crc(0) {}
    void Update(const BYTE* data, size_t count);
    DWORD Crc() const { return m_crc; }
    ULONGLONG Fingerprint() const { return m_fingerprint.Value(); }

private:
    DWORD m_crc;
    CFingerprint m_fingerprint;
};
