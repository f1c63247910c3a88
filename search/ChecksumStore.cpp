// CChecksumStore: the store's format, its lookups, and its renewal merged as it is written.
#include "search/ChecksumStore.h"
#include "search/ContentHasher.h"
#include <algorithm>
#include <cstring>

namespace
{
// The file: a header, a section for each volume (a header, its files, its audio records), and the
// checksum of everything before it. Numbers are as the machine holds them.
const char kMagic[8] = {'V', 'L', 'M', 'C', 'K', 'S', 'U', 'M'};
const DWORD kVersion = 1;
const DWORD kMostSections = 4096;
// More than any store ever written holds: beyond this a count can only be a damaged one.
const size_t kMostFiles = 1 << 26;

struct StoreHeader
{
    char magic[8];
    DWORD version;
    DWORD sectionCount;
    ULONGLONG saveCount;  // the stores written so far: a section's lastSave tells how recent it is
};

struct SectionHeader
{
    ULONGLONG volumeSerial;
    ULONGLONG lastSave;
    DWORD fileCount;
    DWORD audioCount;
};

struct StoreTrailer
{
    ULONGLONG fingerprint;
    DWORD crc;
    DWORD reserved;
};

const WORD kWholeFile = 1;
const WORD kAudio = 2;
const WORD kFoundNow = 0x8000;  // looked up by this search; never written

template <class Record> bool IsById(const std::vector<Record>& records)
{
    return std::adjacent_find(records.begin(), records.end(),
                              [](const Record& a, const Record& b) { return a.fileId >= b.fileId; }) == records.end();
}

template <class Record> const Record* FindById(const std::vector<Record>& records, ULONGLONG fileId)
{
    const auto found = std::lower_bound(records.begin(), records.end(), fileId,
                                        [](const Record& record, ULONGLONG id) { return record.fileId < id; });
    return found != records.end() && found->fileId == fileId ? &*found : nullptr;
}

bool IsSameState(const StoredFile& stored, const ListedState& listed)
{
    return stored.fileId == listed.fileId && stored.size == listed.size && stored.writeTime == listed.writeTime &&
           stored.changeTime == listed.changeTime;
}

// A file with no id, or whose file system gives no change time, could not be told again for sure.
bool IsKnowable(const ListedState& listed)
{
    return listed.fileId != 0 && listed.changeTime != 0;
}

StoredFile StoredOf(const ListedState& listed)
{
    StoredFile stored = {};
    stored.fileId = listed.fileId;
    stored.size = listed.size;
    stored.writeTime = listed.writeTime;
    stored.changeTime = listed.changeTime;
    return stored;
}

// Writes through a buffer, so that a record at a time costs no call to the system, and hashes what it writes.
class CStoreWriter
{
public:
    explicit CStoreWriter(const CChecksumStore::Transfer& write) : m_write(write) { m_buffer.reserve(kBufferSize); }

    void Put(const void* pData, size_t nBytes)
    {
        m_hasher.Update(static_cast<const BYTE*>(pData), nBytes);
        const BYTE* pBytes = static_cast<const BYTE*>(pData);
        m_buffer.insert(m_buffer.end(), pBytes, pBytes + nBytes);
        if (m_buffer.size() >= kBufferSize)
            Flush();
    }
    template <class Record> void PutAll(const std::vector<Record>& records)
    {
        for (const Record& record : records)
            Put(&record, sizeof(record));
    }
    BOOL Finish()
    {
        const StoreTrailer trailer = {m_hasher.Fingerprint(), m_hasher.Crc(), 0};
        const BYTE* pBytes = reinterpret_cast<const BYTE*>(&trailer);
        m_buffer.insert(m_buffer.end(), pBytes, pBytes + sizeof(trailer));
        Flush();
        return m_bGood;
    }

private:
    static const size_t kBufferSize = 1 << 20;

    void Flush()
    {
        if (m_bGood && !m_buffer.empty())
            m_bGood = m_write(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

    const CChecksumStore::Transfer& m_write;
    std::vector<BYTE> m_buffer;
    CContentHasher m_hasher;
    BOOL m_bGood = TRUE;
};
}  // namespace

void CChecksumStore::Clear()
{
    m_saveCount = 0;
    m_section = Section();
    m_others.clear();
}

BOOL CChecksumStore::Load(const Transfer& read)
{
    CContentHasher hasher;
    const auto take = [&](void* pData, size_t nBytes)
    {
        if (!read(pData, nBytes))
            return false;
        hasher.Update(static_cast<const BYTE*>(pData), nBytes);
        return true;
    };
    StoreHeader header;
    if (!take(&header, sizeof(header)) || std::memcmp(header.magic, kMagic, sizeof(kMagic)) != 0 ||
        header.version != kVersion || header.sectionCount > kMostSections)
    {
        Clear();
        return FALSE;
    }
    size_t nFiles = 0;
    for (DWORD s = 0; s < header.sectionCount; ++s)
    {
        SectionHeader sectionHeader;
        Section section;
        if (!take(&sectionHeader, sizeof(sectionHeader)) || sectionHeader.fileCount > kMostFiles - nFiles ||
            sectionHeader.audioCount > sectionHeader.fileCount)
        {
            Clear();
            return FALSE;
        }
        nFiles += sectionHeader.fileCount;
        section.volumeSerial = sectionHeader.volumeSerial;
        section.lastSave = sectionHeader.lastSave;
        section.files.resize(sectionHeader.fileCount);
        section.audio.resize(sectionHeader.audioCount);
        if (!take(section.files.data(), section.files.size() * sizeof(StoredFile)) ||
            !take(section.audio.data(), section.audio.size() * sizeof(StoredAudio)) || !IsById(section.files) ||
            !IsById(section.audio))
        {
            Clear();
            return FALSE;
        }
        for (StoredFile& file : section.files)
            file.flags &= kWholeFile | kAudio;
        if (section.volumeSerial == m_volumeSerial && m_section.files.empty())
            m_section = std::move(section);
        else
            m_others.push_back(std::move(section));
    }
    StoreTrailer trailer;
    if (!read(&trailer, sizeof(trailer)) || trailer.crc != hasher.Crc() || trailer.fingerprint != hasher.Fingerprint())
    {
        Clear();
        return FALSE;
    }
    m_saveCount = header.saveCount;
    return TRUE;
}

StoredFile* CChecksumStore::FindFile(const ListedState& listed)
{
    if (!IsKnowable(listed))
        return nullptr;
    StoredFile* pFile = const_cast<StoredFile*>(FindById(m_section.files, listed.fileId));
    return pFile && IsSameState(*pFile, listed) ? pFile : nullptr;
}

BOOL CChecksumStore::FindWholeFile(const ListedState& listed, ContentKey& key)
{
    StoredFile* pFile = FindFile(listed);
    if (!pFile || !(pFile->flags & kWholeFile))
        return FALSE;
    pFile->flags |= kFoundNow;
    key = ContentKey{listed.size, pFile->fingerprint, pFile->crc, true};
    return TRUE;
}

BOOL CChecksumStore::FindAudio(const ListedState& listed, ContentKey& key)
{
    StoredFile* pFile = FindFile(listed);
    const StoredAudio* pAudio = pFile && (pFile->flags & kAudio) ? FindById(m_section.audio, listed.fileId) : nullptr;
    if (!pAudio)
        return FALSE;
    pFile->flags |= kFoundNow;
    key = ContentKey{pAudio->length, pAudio->fingerprint, pAudio->crc, true};
    return TRUE;
}

// This volume's section is merged as it is written: the files read now by id, beside the stored ones
// renewed (their age 0 when found now, one more otherwise). A first pass counts what each age keeps,
// so that the oldest go when the store would grow past its bound.
BOOL CChecksumStore::Save(const std::vector<SearchEntry>& entries, const std::vector<UINT>& read,
                          const std::function<bool(UINT)>& isAudio, const Transfer& write)
{
    std::vector<UINT> byId;
    byId.reserve(read.size());
    for (UINT i : read)
    {
        if (entries[i].key.read && IsKnowable(entries[i].listed))
            byId.push_back(i);
    }
    const auto idOf = [&](UINT i) { return entries[i].listed.fileId; };
    std::stable_sort(byId.begin(), byId.end(), [&](UINT a, UINT b) { return idOf(a) < idOf(b); });
    // Two paths to one file (hard links) were read as one file.
    byId.erase(std::unique(byId.begin(), byId.end(), [&](UINT a, UINT b) { return idOf(a) == idOf(b); }), byId.end());
    const auto readOf = [&](ULONGLONG fileId) -> const SearchEntry*
    {
        const auto found =
            std::lower_bound(byId.begin(), byId.end(), fileId, [&](UINT i, ULONGLONG id) { return idOf(i) < id; });
        return found != byId.end() && idOf(*found) == fileId ? &entries[*found] : nullptr;
    };
    const auto renewedAge = [](const StoredFile& file)
    { return (file.flags & kFoundNow) ? 0 : std::min<int>(file.age + 1, 0xFFFF); };

    // The oldest age kept: every file of this section up to it, and then the others while they fit.
    std::vector<size_t> atAge(kMaxAge + 1, 0);
    size_t nKept = 0;
    for (const StoredFile& file : m_section.files)
    {
        if (!readOf(file.fileId) && renewedAge(file) <= kMaxAge)
            ++atAge[static_cast<size_t>(renewedAge(file))];
    }
    int nOldestAge = kMaxAge;
    for (size_t nNew = byId.size();; --nOldestAge)
    {
        nKept = nNew;
        for (int age = 0; age <= nOldestAge; ++age)
            nKept += atAge[static_cast<size_t>(age)];
        if (nKept <= kMaxFiles || nOldestAge == 0)
            break;
    }
    std::vector<const Section*> others;
    for (const Section& other : m_others)
        others.push_back(&other);
    std::sort(others.begin(), others.end(),
              [](const Section* a, const Section* b) { return a->lastSave > b->lastSave; });
    size_t nTotal = nKept;
    size_t nOthers = 0;
    while (nOthers < others.size() && nTotal + others[nOthers]->files.size() <= kMaxFiles)
        nTotal += others[nOthers++]->files.size();
    others.resize(nOthers);

    // What the section keeps of a stored file, when it keeps it.
    const auto renewed = [&](const StoredFile& file, StoredFile& kept)
    {
        const SearchEntry* pRead = readOf(file.fileId);
        if (pRead)
        {
            kept = StoredOf(pRead->listed);
            // Read anew in the same state, the file keeps the key of the other kind too.
            if (IsSameState(file, pRead->listed))
            {
                kept.flags = file.flags & (kWholeFile | kAudio);
                kept.fingerprint = file.fingerprint;
                kept.crc = file.crc;
            }
            return true;
        }
        kept = file;
        kept.age = static_cast<WORD>(renewedAge(file));
        kept.flags &= kWholeFile | kAudio;
        return kept.age <= nOldestAge;
    };
    std::vector<StoredAudio> audio;
    for (const StoredAudio& stored : m_section.audio)
    {
        const StoredFile* pFile = FindById(m_section.files, stored.fileId);
        StoredFile kept;
        const SearchEntry* pRead = readOf(stored.fileId);
        if (pFile && renewed(*pFile, kept) && (kept.flags & kAudio) &&
            !(pRead && isAudio(static_cast<UINT>(pRead - entries.data()))))
            audio.push_back(stored);
    }

    CStoreWriter writer(write);
    StoreHeader header = {{}, kVersion, static_cast<DWORD>(others.size() + 1), m_saveCount + 1};
    std::memcpy(header.magic, kMagic, sizeof(kMagic));
    writer.Put(&header, sizeof(header));
    for (const Section* pOther : others)
    {
        const SectionHeader sectionHeader = {pOther->volumeSerial, pOther->lastSave,
                                             static_cast<DWORD>(pOther->files.size()),
                                             static_cast<DWORD>(pOther->audio.size())};
        writer.Put(&sectionHeader, sizeof(sectionHeader));
        writer.PutAll(pOther->files);
        writer.PutAll(pOther->audio);
    }

    // The new audio records join the kept ones by id.
    std::vector<StoredAudio> newAudio;
    for (UINT i : byId)
    {
        if (isAudio(i))
            newAudio.push_back(
                StoredAudio{idOf(i), entries[i].key.length, entries[i].key.fingerprint, entries[i].key.crc, 0});
    }
    std::vector<StoredAudio> allAudio;
    allAudio.reserve(audio.size() + newAudio.size());
    std::merge(audio.begin(), audio.end(), newAudio.begin(), newAudio.end(), std::back_inserter(allAudio),
               [](const StoredAudio& a, const StoredAudio& b) { return a.fileId < b.fileId; });

    const SectionHeader sectionHeader = {m_volumeSerial, m_saveCount + 1, static_cast<DWORD>(nKept),
                                         static_cast<DWORD>(allAudio.size())};
    writer.Put(&sectionHeader, sizeof(sectionHeader));
    auto stored = m_section.files.begin();
    auto fresh = byId.begin();
    while (stored != m_section.files.end() || fresh != byId.end())
    {
        StoredFile file;
        if (fresh == byId.end() || (stored != m_section.files.end() && stored->fileId < idOf(*fresh)))
        {
            if (!renewed(*stored++, file))
                continue;
        }
        else
        {
            const UINT i = *fresh++;
            if (stored != m_section.files.end() && stored->fileId == idOf(i))
                renewed(*stored++, file);
            else
                file = StoredOf(entries[i].listed);
            const ContentKey& key = entries[i].key;
            if (isAudio(i))
            {
                file.flags |= kAudio;
            }
            else
            {
                file.flags |= kWholeFile;
                file.fingerprint = key.fingerprint;
                file.crc = key.crc;
            }
        }
        writer.Put(&file, sizeof(file));
    }
    writer.PutAll(allAudio);
    return writer.Finish();
}
