// In MP3 mode, an MP3 file compares by the length of its audio between the tags, not by its size.
#include "search/ChecksumStore.h"
#include "search/FileChecksum.h"
#include "search/SearchProgress.h"
#include "search/Stages.h"

namespace
{
class CMp3LengthStage : public CSearchStage
{
public:
    BOOL Begin(SearchRun& run) override { return run.bMp3; }

    Step Next(SearchRun& run) override
    {
        const int nFiles = static_cast<int>(run.table.Size());
        if (m_nFile >= nFiles)
            return Step::kDone;
        SearchEntry& entry = run.table[static_cast<size_t>(m_nFile)];
        run.report.ShowFile("MP3: %d/%d: %s", m_nFile + 1, nFiles, entry.path, m_nFile, nFiles - 1);
        // An empty file has no audio; and a link to a device or a pipe lists as empty, so no such
        // thing is ever opened, here or when the contents are read.
        if (entry.key.length != 0 && IsMp3File(entry.path))
            entry.key.length = Mp3Length(run, entry);
        ++m_nFile;
        return Step::kNext;
    }

private:
    // From the store when the file is as it was when its audio was read; otherwise from its tags.
    static ULONGLONG Mp3Length(SearchRun& run, const SearchEntry& entry)
    {
        CChecksumStore* pStore = StoreOf(run);
        ContentKey key;
        if (pStore && pStore->FindAudio(entry.listed, key))
            return key.length;
        return GetMp3DataSize(entry.path);
    }

    int m_nFile = 0;
};
}  // namespace

std::unique_ptr<CSearchStage> MakeMp3LengthStage()
{
    return std::make_unique<CMp3LengthStage>();
}
