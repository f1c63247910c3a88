// The checksum store's file format: checked as it is read, hashed as it is written.
#include "search/StoreFormat.h"
#include <algorithm>
#include <cstring>

namespace checksum_store
{
namespace
{
const char kMagic[8] = {'V', 'L', 'M', 'C', 'K', 'S', 'U', 'M'};
const DWORD kVersion = 1;
const DWORD kMostSections = 4096;
// More than any store ever written holds: beyond this a count can only be a damaged one.
const DWORD kMostFiles = 1u << 26;
const size_t kWriteBufferSize = 1 << 20;

struct StoreTrailer
{
    ULONGLONG fingerprint;
    DWORD crc;
    DWORD reserved;
};
}  // namespace

ULONGLONG RecordBytes(const SectionHeader& section)
{
    return ULONGLONG{section.fileCount} * sizeof(StoredFile) + ULONGLONG{section.audioCount} * sizeof(StoredAudio);
}

bool IsSameState(const StoredFile& stored, const ListedState& listed)
{
    return stored.fileId == listed.fileId && stored.size == listed.size && stored.writeTime == listed.writeTime &&
           stored.changeTime == listed.changeTime;
}

StoreHeader MakeHeader(DWORD nSections, ULONGLONG saveCount)
{
    StoreHeader header = {{}, kVersion, nSections, saveCount};
    std::memcpy(header.magic, kMagic, sizeof(kMagic));
    return header;
}

bool CStoreReader::Take(void* pData, size_t nBytes)
{
    m_bGood = m_bGood && m_read(pData, nBytes);
    if (m_bGood)
        m_hasher.Update(static_cast<const BYTE*>(pData), nBytes);
    return m_bGood;
}

bool CStoreReader::Header(StoreHeader& header)
{
    return Take(&header, sizeof(header)) && std::memcmp(header.magic, kMagic, sizeof(kMagic)) == 0 &&
           header.version == kVersion && header.sectionCount <= kMostSections;
}

bool CStoreReader::Section(SectionHeader& header)
{
    return Take(&header, sizeof(header)) && header.fileCount <= kMostFiles && header.audioCount <= header.fileCount;
}

bool CStoreReader::Skip(ULONGLONG nBytes)
{
    BYTE scratch[4096];
    for (; nBytes > 0 && m_bGood; nBytes -= std::min<ULONGLONG>(nBytes, sizeof(scratch)))
        Take(scratch, static_cast<size_t>(std::min<ULONGLONG>(nBytes, sizeof(scratch))));
    return m_bGood;
}

bool CStoreReader::Trailer()
{
    StoreTrailer trailer;
    return m_bGood && m_read(&trailer, sizeof(trailer)) && trailer.crc == m_hasher.Crc() &&
           trailer.fingerprint == m_hasher.Fingerprint();
}

CStoreWriter::CStoreWriter(const Write& write) : m_write(write)
{
    m_buffer.reserve(kWriteBufferSize);
}

void CStoreWriter::Put(const void* pData, size_t nBytes)
{
    m_hasher.Update(static_cast<const BYTE*>(pData), nBytes);
    const BYTE* pBytes = static_cast<const BYTE*>(pData);
    m_buffer.insert(m_buffer.end(), pBytes, pBytes + nBytes);
    if (m_buffer.size() >= kWriteBufferSize)
        Flush();
}

BOOL CStoreWriter::Finish()
{
    const StoreTrailer trailer = {m_hasher.Fingerprint(), m_hasher.Crc(), 0};
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(&trailer);
    m_buffer.insert(m_buffer.end(), pBytes, pBytes + sizeof(trailer));
    Flush();
    return m_bGood;
}

void CStoreWriter::Flush()
{
    if (m_bGood && !m_buffer.empty())
        m_bGood = m_write(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}
}  // namespace checksum_store
