// "Просмотр": the contents of every file left, from the store where it remembers them, otherwise read
// by two threads ahead of the window.
#include "search/ChecksumJob.h"
#include "search/ReadAhead.h"
#include "search/SearchHold.h"
#include "search/SearchProgress.h"
#include "search/Stages.h"
#include "search/StoreFile.h"
#include <memory>

namespace
{
// The window takes the files in table order: the status names each file in turn, also while one long
// file is read, and the window keeps answering between. The table goes to the reading threads for the
// stage and comes back when every file has been read. What was read goes to the store at the end, and
// after a stop too, so that the next search goes on from there.
class CChecksumStage : public CSearchStage
{
public:
    ~CChecksumStage() override
    {
        if (!m_pRun)
            return;
        StopReading();
        // The files taken so far are read whole; a stuck reading thread may still write the others'.
        Remember();
    }

    BOOL Begin(SearchRun& run) override
    {
        m_pRun = &run;
        m_pJob = std::make_shared<CChecksumJob>();
        m_pJob->entries = run.table.Lend();
        m_pJob->bMp3 = run.bMp3;
        std::vector<SearchEntry>& entries = m_pJob->entries;
        std::vector<BYTE> known(entries.size(), 0);
        if (HasStore(run))
        {
            m_byId = checksum_store::KnowableById(entries);
            LookUpStore(
                run.storeVolume, entries, m_byId, [&](UINT i) { return IsAudio(i); },
                [&](UINT i, const ContentKey& key)
                {
                    if (key.length != entries[i].key.length)
                        return;
                    entries[i].key = key;
                    known[i] = 1;
                },
                [&] { KeepAnswering(run); });
        }
        for (UINT i = 0; i < entries.size(); ++i)
        {
            if (!known[i])
                m_pJob->toRead.push_back(i);
        }
        // isLong runs on the thread that then reads the file, and reads only what no thread writes.
        const auto job = m_pJob;
        m_pReader = std::make_unique<CReadAhead>(
            static_cast<int>(job->toRead.size()),
            [job](CFileDigester& digester, int k)
            { ChecksumJobFile(*job, job->toRead[static_cast<size_t>(k)], digester); },
            [job](int k)
            { return job->entries[job->toRead[static_cast<size_t>(k)]].key.length > CFileDigester::kLoadSize; });
        run.hold.SetReader(m_pReader.get());
        return TRUE;
    }

    Step Next(SearchRun& run) override
    {
        const std::vector<SearchEntry>& entries = m_pJob->entries;
        const int nFiles = static_cast<int>(entries.size());
        if (m_nFile >= nFiles)
            return Step::kDone;
        if (!m_bShown)
        {
            run.report.ShowFile("Просмотр %d/%d: %s", m_nFile + 1, nFiles, entries[static_cast<size_t>(m_nFile)].path,
                                m_nFile, nFiles - 1);
            m_bShown = TRUE;
        }
        const std::vector<UINT>& toRead = m_pJob->toRead;
        const BOOL bToRead = static_cast<size_t>(m_nRead) < toRead.size() &&
                             toRead[static_cast<size_t>(m_nRead)] == static_cast<UINT>(m_nFile);
        if (bToRead)
        {
            if (!m_pReader->Take(m_nRead, run.nWaitMs))
                return Step::kWait;
            ++m_nRead;
        }
        ++m_nFile;
        m_bShown = FALSE;
        return Step::kNext;
    }

    Outcome End(SearchRun& run) override
    {
        StopReading();
        Remember();
        run.table.Return(std::move(m_pJob->entries));
        m_pRun = nullptr;
        return Outcome::kCompleted;
    }

private:
    // In MP3 mode an MP3 file's key is its audio's.
    bool IsAudio(UINT i) const { return m_pJob->bMp3 && IsMp3File(m_pJob->entries[i].path); }

    void StopReading()
    {
        if (m_pRun)
            m_pRun->hold.SetReader(nullptr);
        m_pReader.reset();
    }

    // The store is written anew with the files read now: those taken from the reader, which are read
    // whole; a reading thread stuck after a stop may still write the others'.
    void Remember()
    {
        if (!m_pRun->bHasStore)
            return;
        std::vector<BYTE> read(m_pJob->entries.size(), 0);
        for (int k = 0; k < m_nRead; ++k)
            read[m_pJob->toRead[static_cast<size_t>(k)]] = 1;
        SaveStore(
            m_pRun->storeVolume, m_pJob->entries, m_byId, [&](UINT i) { return read[i] != 0; },
            [&](UINT i) { return IsAudio(i); }, [&] { KeepAnswering(*m_pRun); });
    }

    SearchRun* m_pRun = nullptr;  // while the stage holds the table
    std::shared_ptr<CChecksumJob> m_pJob;
    std::vector<UINT> m_byId;  // the files the store may know
    std::unique_ptr<CReadAhead> m_pReader;
    int m_nFile = 0;
    int m_nRead = 0;        // files of toRead taken from the reader
    BOOL m_bShown = FALSE;  // the status names the file awaited
};
}  // namespace

std::unique_ptr<CSearchStage> MakeChecksumStage()
{
    return std::make_unique<CChecksumStage>();
}
