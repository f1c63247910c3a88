// The checksum store's lookups and its renewal, each a pass over the store from its start.
#include "search/ChecksumStore.h"
#include "search/StoreFormat.h"
#include <algorithm>
#include <memory>
#include <utility>

namespace checksum_store
{
namespace
{
// The renewal of the volume's section, fed its stored files in id order: it hands on, also in id order,
// every file the section keeps, the files read now among them, and notes which audio records still hold.
class CSectionMerge
{
public:
    CSectionMerge(const std::vector<SearchEntry>& entries, const std::vector<UINT>& byId,
                  const std::function<bool(UINT)>& readNow, const std::function<bool(UINT)>& isAudio, int nOldestAge,
                  std::function<void(const StoredFile&)> keep)
        : m_entries(entries), m_byId(byId), m_readNow(readNow), m_isAudio(isAudio), m_nOldestAge(nOldestAge),
          m_keep(std::move(keep))
    {
    }

    void Stored(const StoredFile& stored)
    {
        while (m_next < m_byId.size() && IdAt(m_next) < stored.fileId)
            Fresh(TakeEntry());
        if (m_next < m_byId.size() && IdAt(m_next) == stored.fileId)
        {
            const UINT i = TakeEntry();
            const ListedState& listed = m_entries[i].listed;
            if (IsRead(i))
                Keep(FromRead(i, IsSameState(stored, listed) ? &stored : nullptr));
            else if (IsSameState(stored, listed))
                Keep(Aged(stored, 0));
            return;
        }
        const int nAge = std::min(stored.age + 1, 0xFFFF);
        if (nAge <= m_nOldestAge)
            Keep(Aged(stored, static_cast<WORD>(nAge)));
    }
    void Finish()
    {
        while (m_next < m_byId.size())
            Fresh(TakeEntry());
    }
    // Ids of kept files whose stored audio still holds, in order.
    const std::vector<ULONGLONG>& KeptAudio() const { return m_keptAudio; }
    // The audio records read now, in id order.
    const std::vector<StoredAudio>& NewAudio() const { return m_newAudio; }

private:
    ULONGLONG IdAt(size_t k) const { return m_entries[m_byId[k]].listed.fileId; }
    bool IsRead(UINT i) const { return m_readNow(i) && m_entries[i].key.read; }

    // Two paths to one file (hard links) are one file.
    UINT TakeEntry()
    {
        const UINT i = m_byId[m_next++];
        while (m_next < m_byId.size() && IdAt(m_next) == m_entries[i].listed.fileId)
            ++m_next;
        return i;
    }
    void Fresh(UINT i)
    {
        if (IsRead(i))
            Keep(FromRead(i, nullptr));
    }
    static StoredFile Aged(const StoredFile& stored, WORD nAge)
    {
        StoredFile aged = stored;
        aged.age = nAge;
        aged.flags &= kWholeFile | kAudio;
        return aged;
    }
    // Read anew in the state it was stored in, a file keeps the key of the other kind too.
    StoredFile FromRead(UINT i, const StoredFile* pSameState)
    {
        const SearchEntry& entry = m_entries[i];
        StoredFile file = pSameState ? Aged(*pSameState, 0) : StoredFile{};
        if (!pSameState)
        {
            file.fileId = entry.listed.fileId;
            file.size = entry.listed.size;
            file.writeTime = entry.listed.writeTime;
            file.changeTime = entry.listed.changeTime;
        }
        if (m_isAudio(i))
        {
            file.flags |= kAudio;
            m_newAudio.push_back(StoredAudio{file.fileId, entry.key.length, entry.key.fingerprint, entry.key.crc, 0});
        }
        else
        {
            file.flags |= kWholeFile;
            file.fingerprint = entry.key.fingerprint;
            file.crc = entry.key.crc;
        }
        return file;
    }
    // A kept file keeps its stored audio too, unless its audio was read now.
    void Keep(const StoredFile& file)
    {
        if ((file.flags & kAudio) && (m_newAudio.empty() || m_newAudio.back().fileId != file.fileId) &&
            (m_keptAudio.empty() || m_keptAudio.back() != file.fileId))
            m_keptAudio.push_back(file.fileId);
        m_keep(file);
    }

    const std::vector<SearchEntry>& m_entries;
    const std::vector<UINT>& m_byId;
    const std::function<bool(UINT)>& m_readNow;
    const std::function<bool(UINT)>& m_isAudio;
    const int m_nOldestAge;
    const std::function<void(const StoredFile&)> m_keep;
    size_t m_next = 0;
    std::vector<ULONGLONG> m_keptAudio;
    std::vector<StoredAudio> m_newAudio;
};

// The audio records the section keeps: the stored ones still held, and those read now, in id order.
void MergeAudio(CStoreReader& reader, DWORD nStored, const CSectionMerge& merge,
                const std::function<void(const StoredAudio&)>& keep)
{
    const std::vector<ULONGLONG>& kept = merge.KeptAudio();
    const std::vector<StoredAudio>& fresh = merge.NewAudio();
    size_t nKept = 0;
    size_t nFresh = 0;
    ULONGLONG lastId = 0;
    for (DWORD a = 0; a < nStored; ++a)
    {
        StoredAudio stored;
        if (!reader.Next(stored, lastId))
            return;
        while (nFresh < fresh.size() && fresh[nFresh].fileId < stored.fileId)
            keep(fresh[nFresh++]);
        while (nKept < kept.size() && kept[nKept] < stored.fileId)
            ++nKept;
        const bool bReadNow = nFresh < fresh.size() && fresh[nFresh].fileId == stored.fileId;
        if (!bReadNow && nKept < kept.size() && kept[nKept] == stored.fileId)
            keep(stored);
    }
    while (nFresh < fresh.size())
        keep(fresh[nFresh++]);
}

// Goes through the old store from its start: the volume's section through the merge that makeMerge
// gives, its audio through audio, each other section through other. When the store has no section of
// the volume, the merge takes place at its end, with no stored files. FALSE when the store is not whole.
bool PassOver(const Read& read, ULONGLONG volumeSerial,
              const std::function<CSectionMerge&(const SectionHeader*)>& makeMerge,
              const std::function<void(const SectionHeader&, CStoreReader&)>& other,
              const std::function<void(DWORD nStored, CSectionMerge&, CStoreReader&)>& audio, ULONGLONG& saveCount)
{
    CStoreReader reader(read);
    StoreHeader header;
    if (!reader.Header(header))
        return false;
    saveCount = header.saveCount;
    bool bMerged = false;
    for (DWORD s = 0; s < header.sectionCount; ++s)
    {
        SectionHeader section;
        if (!reader.Section(section))
            return false;
        if (section.volumeSerial != volumeSerial || bMerged)
        {
            other(section, reader);
            continue;
        }
        bMerged = true;
        CSectionMerge& merge = makeMerge(&section);
        ULONGLONG lastId = 0;
        for (DWORD f = 0; f < section.fileCount; ++f)
        {
            StoredFile stored;
            if (!reader.Next(stored, lastId))
                return false;
            merge.Stored(stored);
        }
        merge.Finish();
        audio(section.audioCount, merge, reader);
    }
    if (!reader.Trailer())
        return false;
    if (!bMerged)
    {
        CSectionMerge& merge = makeMerge(nullptr);
        merge.Finish();
        audio(0, merge, reader);
    }
    return true;
}

// What the renewed section holds when it keeps stored files up to an age.
struct SectionCounts
{
    DWORD nFiles = 0;
    DWORD nAudio = 0;
    size_t nAtAge[kMaxAge + 1] = {};  // at 0, the files read or found now
};
}  // namespace

// Sorted as pairs that hold the id beside the index: a million records read out of order to compare
// their ids cost three times as long.
std::vector<UINT> KnowableById(const std::vector<SearchEntry>& entries)
{
    std::vector<std::pair<ULONGLONG, UINT>> pairs;
    for (UINT i = 0; i < entries.size(); ++i)
    {
        if (entries[i].listed.fileId != 0 && entries[i].listed.changeTime != 0)
            pairs.emplace_back(entries[i].listed.fileId, i);
    }
    std::sort(pairs.begin(), pairs.end());
    std::vector<UINT> byId(pairs.size());
    for (size_t k = 0; k < pairs.size(); ++k)
        byId[k] = pairs[k].second;
    return byId;
}

BOOL IsWhole(const Read& read)
{
    CStoreReader reader(read);
    StoreHeader header;
    if (!reader.Header(header))
        return FALSE;
    for (DWORD s = 0; s < header.sectionCount; ++s)
    {
        SectionHeader section;
        if (!reader.Section(section) || !reader.Skip(RecordBytes(section)))
            return FALSE;
    }
    return reader.Trailer();
}

void LookUp(const Read& read, ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries,
            const std::vector<UINT>& byId, const std::function<bool(UINT)>& wantsAudio,
            const std::function<void(UINT, const ContentKey&)>& found)
{
    CStoreReader reader(read);
    StoreHeader header;
    if (!reader.Header(header))
        return;
    for (DWORD s = 0; s < header.sectionCount; ++s)
    {
        SectionHeader section;
        if (!reader.Section(section))
            return;
        if (section.volumeSerial != volumeSerial)
        {
            if (!reader.Skip(RecordBytes(section)))
                return;
            continue;
        }
        // Both in id order: one walk through each. The audio records follow the files.
        std::vector<UINT> audioWanted;
        size_t k = 0;
        ULONGLONG lastId = 0;
        for (DWORD f = 0; f < section.fileCount; ++f)
        {
            StoredFile stored;
            if (!reader.Next(stored, lastId))
                return;
            for (; k < byId.size() && entries[byId[k]].listed.fileId <= stored.fileId; ++k)
            {
                const UINT i = byId[k];
                if (!IsSameState(stored, entries[i].listed))
                    continue;
                if (wantsAudio(i) && (stored.flags & kAudio))
                    audioWanted.push_back(i);
                else if (!wantsAudio(i) && (stored.flags & kWholeFile))
                    found(i, ContentKey{stored.size, stored.fingerprint, stored.crc, true});
            }
        }
        size_t a = 0;
        lastId = 0;
        for (DWORD n = 0; n < section.audioCount && a < audioWanted.size(); ++n)
        {
            StoredAudio stored;
            if (!reader.Next(stored, lastId))
                return;
            for (; a < audioWanted.size() && entries[audioWanted[a]].listed.fileId <= stored.fileId; ++a)
            {
                if (entries[audioWanted[a]].listed.fileId == stored.fileId)
                    found(audioWanted[a], ContentKey{stored.length, stored.fingerprint, stored.crc, true});
            }
        }
        return;
    }
}

BOOL Renew(const Source& source, ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries,
           const std::vector<UINT>& byId, const std::function<bool(UINT)>& readNow,
           const std::function<bool(UINT)>& isAudio, const Write& write)
{
    std::unique_ptr<CSectionMerge> pMerge;
    std::vector<SectionHeader> others;
    ULONGLONG saveCount = 0;
    // A pass that counts, with stored files kept up to nOldestAge; FALSE when there is no whole old store.
    const auto countAt = [&](int nOldestAge, SectionCounts& counts)
    {
        counts = SectionCounts();
        others.clear();
        const auto makeMerge = [&](const SectionHeader*) -> CSectionMerge&
        {
            pMerge = std::make_unique<CSectionMerge>(entries, byId, readNow, isAudio, nOldestAge,
                                                     [&](const StoredFile& file)
                                                     {
                                                         ++counts.nFiles;
                                                         ++counts.nAtAge[file.age];
                                                     });
            return *pMerge;
        };
        const auto other = [&](const SectionHeader& section, CStoreReader& reader)
        {
            others.push_back(section);
            reader.Skip(RecordBytes(section));
        };
        const auto audio = [&](DWORD nStored, CSectionMerge& merge, CStoreReader& reader)
        { MergeAudio(reader, nStored, merge, [&](const StoredAudio&) { ++counts.nAudio; }); };
        if (source && PassOver(source(), volumeSerial, makeMerge, other, audio, saveCount))
            return true;
        // As if there were no store: the files read now alone.
        counts = SectionCounts();
        others.clear();
        saveCount = 0;
        CSectionMerge& merge = makeMerge(nullptr);
        merge.Finish();
        counts.nAudio = static_cast<DWORD>(merge.NewAudio().size());
        return false;
    };

    SectionCounts counts;
    const bool bOld = countAt(kMaxAge, counts);
    // The section alone past the store's bound: its oldest files go first.
    int nOldestAge = kMaxAge;
    size_t nFiles = counts.nAtAge[0];
    for (int nAge = 1; nAge <= kMaxAge && nOldestAge == kMaxAge; ++nAge)
    {
        if (nFiles + counts.nAtAge[nAge] > kMaxFiles)
            nOldestAge = nAge - 1;
        else
            nFiles += counts.nAtAge[nAge];
    }
    if (nOldestAge != kMaxAge)
        countAt(nOldestAge, counts);
    // Then the other volumes', the most recently searched first, while they fit.
    std::vector<size_t> byRecency(others.size());
    for (size_t k = 0; k < byRecency.size(); ++k)
        byRecency[k] = k;
    std::stable_sort(byRecency.begin(), byRecency.end(),
                     [&](size_t a, size_t b) { return others[a].lastSave > others[b].lastSave; });
    std::vector<BYTE> keepOther(others.size(), 0);
    size_t nTotal = counts.nFiles;
    DWORD nSections = 1;
    for (size_t k : byRecency)
    {
        if (nTotal + others[k].fileCount > kMaxFiles)
            continue;
        nTotal += others[k].fileCount;
        keepOther[k] = 1;
        ++nSections;
    }

    CStoreWriter writer(write);
    const StoreHeader header = MakeHeader(nSections, saveCount + 1);
    writer.Put(&header, sizeof(header));
    const SectionHeader renewed = {volumeSerial, saveCount + 1, counts.nFiles, counts.nAudio};
    const auto makeMerge = [&](const SectionHeader*) -> CSectionMerge&
    {
        writer.Put(&renewed, sizeof(renewed));
        pMerge = std::make_unique<CSectionMerge>(entries, byId, readNow, isAudio, nOldestAge,
                                                 [&](const StoredFile& file) { writer.Put(&file, sizeof(file)); });
        return *pMerge;
    };
    size_t nOther = 0;
    const auto other = [&](const SectionHeader& section, CStoreReader& reader)
    {
        const ULONGLONG nBytes = RecordBytes(section);
        if (!keepOther[nOther++])
        {
            reader.Skip(nBytes);
            return;
        }
        writer.Put(&section, sizeof(section));
        BYTE chunk[4096];
        for (ULONGLONG nLeft = nBytes; nLeft > 0;)
        {
            const size_t nChunk = static_cast<size_t>(std::min<ULONGLONG>(nLeft, sizeof(chunk)));
            if (!reader.Take(chunk, nChunk))
                return;
            writer.Put(chunk, nChunk);
            nLeft -= nChunk;
        }
    };
    const auto audio = [&](DWORD nStored, CSectionMerge& merge, CStoreReader& reader)
    { MergeAudio(reader, nStored, merge, [&](const StoredAudio& record) { writer.Put(&record, sizeof(record)); }); };
    if (bOld)
    {
        if (!PassOver(source(), volumeSerial, makeMerge, other, audio, saveCount))
            return FALSE;
    }
    else
    {
        CSectionMerge& merge = makeMerge(nullptr);
        merge.Finish();
        for (const StoredAudio& record : merge.NewAudio())
            writer.Put(&record, sizeof(record));
    }
    return writer.Finish();
}
}  // namespace checksum_store
