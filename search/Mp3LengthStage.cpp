// In MP3 mode, an MP3 file compares by the length of its audio between the tags, not by its size.
#include "search/FileChecksum.h"
#include "search/SearchProgress.h"
#include "search/Stages.h"
#include "search/StoreFile.h"

namespace
{
// The length comes from the checksum store for a file as it was when its audio was read, and otherwise
// from the file's tags.
class CMp3LengthStage : public CSearchStage
{
public:
    BOOL Begin(SearchRun& run) override
    {
        if (!run.bMp3)
            return FALSE;
        const std::vector<SearchEntry>& entries = run.table.Entries();
        m_known.assign(entries.size(), 0);
        if (HasStore(run))
        {
            std::vector<UINT> byId = checksum_store::KnowableById(entries);
            byId.erase(std::remove_if(byId.begin(), byId.end(), [&](UINT i) { return !IsMp3(entries[i]); }),
                       byId.end());
            LookUpStore(
                run.storeVolume, entries, byId, [](UINT) { return true; },
                [&](UINT i, const ContentKey& key)
                {
                    run.table[i].key.length = key.length;
                    m_known[i] = 1;
                },
                [&] { KeepAnswering(run); });
        }
        return TRUE;
    }

    Step Next(SearchRun& run) override
    {
        const int nFiles = static_cast<int>(run.table.Size());
        if (m_nFile >= nFiles)
            return Step::kDone;
        SearchEntry& entry = run.table[static_cast<size_t>(m_nFile)];
        run.report.ShowFile("MP3: %d/%d: %s", m_nFile + 1, nFiles, entry.path, m_nFile, nFiles - 1);
        if (IsMp3(entry) && !m_known[static_cast<size_t>(m_nFile)])
            entry.key.length = GetMp3DataSize(entry.path);
        ++m_nFile;
        return Step::kNext;
    }

private:
    // An empty file has no audio; and a link to a device or a pipe lists as empty, so no such thing is
    // ever opened, here or when the contents are read.
    static bool IsMp3(const SearchEntry& entry) { return entry.key.length != 0 && IsMp3File(entry.path); }

    std::vector<BYTE> m_known;  // the lengths the store gave
    int m_nFile = 0;
};
}  // namespace

std::unique_ptr<CSearchStage> MakeMp3LengthStage()
{
    return std::make_unique<CMp3LengthStage>();
}
