// A 64-bit content fingerprint, independent of the CRC: multiply-accumulate over 64-byte stripes.
#pragma once
#include <windows.h>
#include <cstddef>

class CFingerprint
{
public:
    static const size_t kStripeSize = 64;
    static const int kAccumulators = 8;

    CFingerprint();
    void Update(const BYTE* data, size_t count);
    ULONGLONG Value() const;

private:
    ULONGLONG m_acc[kAccumulators];
    DWORD m_stripeInBlock;
    ULONGLONG m_length;
    BYTE m_pending[kStripeSize];
    size_t m_pendingCount;
};
