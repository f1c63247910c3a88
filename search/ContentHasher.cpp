// Feeds content to the CRC and the fingerprint chunk by chunk.
#include "search/ContentHasher.h"
#include "search/Crc32.h"
#include <algorithm>

namespace
{

// Small enough to stay in L1 between the CRC pass and the fingerprint pass over it.
const size_t kChunkSize = 16 * 1024;

}  // namespace

void CContentHasher::Update(const BYTE* data, size_t count)
{
    while (count > 0)
    {
        const size_t chunk = std::min(count, kChunkSize);
        m_crc = UpdateCrc32(m_crc, data, static_cast<DWORD>(chunk));
        m_fingerprint.Update(data, chunk);
        data += chunk;
        count -= chunk;
    }
}
