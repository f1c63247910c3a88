// "Просмотр": the contents of every file left, read by two threads ahead of the window.
#include "search/ChecksumJob.h"
#include "search/ReadAhead.h"
#include "search/SearchHold.h"
#include "search/SearchProgress.h"
#include "search/Stages.h"
#include <memory>

namespace
{
// The window takes the files in table order: the status names each file in turn, also while one long
// file is read, and the window keeps answering between. The table goes to the reading threads for the
// stage and comes back when every file has been read.
class CChecksumStage : public CSearchStage
{
public:
    ~CChecksumStage() override { StopReading(); }

    BOOL Begin(SearchRun& run) override
    {
        m_pJob = std::make_shared<CChecksumJob>();
        m_pJob->entries = run.table.Lend();
        m_pJob->bMp3 = run.bMp3;
        // isLong runs on the thread that then reads the file, and reads only what no thread writes.
        const auto job = m_pJob;
        m_pReader = std::make_unique<CReadAhead>(
            static_cast<int>(job->entries.size()),
            [job](CFileDigester& digester, int i) { ChecksumJobFile(*job, static_cast<size_t>(i), digester); },
            [job](int i) { return job->entries[static_cast<size_t>(i)].key.length > CFileDigester::kLoadSize; });
        m_pHold = &run.hold;
        m_pHold->SetReader(m_pReader.get());
        return TRUE;
    }

    Step Next(SearchRun& run) override
    {
        const int nFiles = static_cast<int>(m_pJob->entries.size());
        if (m_nFile >= nFiles)
            return Step::kDone;
        if (!m_bShown)
        {
            run.report.ShowFile("Просмотр %d/%d: %s", m_nFile + 1, nFiles,
                                m_pJob->entries[static_cast<size_t>(m_nFile)].path, m_nFile, nFiles - 1);
            m_bShown = TRUE;
        }
        if (!m_pReader->Take(m_nFile, run.nWaitMs))
            return Step::kWait;
        ++m_nFile;
        m_bShown = FALSE;
        return Step::kNext;
    }

    Outcome End(SearchRun& run) override
    {
        StopReading();
        run.table.Return(std::move(m_pJob->entries));
        return Outcome::kCompleted;
    }

private:
    void StopReading()
    {
        if (m_pHold)
            m_pHold->SetReader(nullptr);
        m_pHold = nullptr;
        m_pReader.reset();
    }

    std::shared_ptr<CChecksumJob> m_pJob;
    std::unique_ptr<CReadAhead> m_pReader;
    CSearchHold* m_pHold = nullptr;
    int m_nFile = 0;
    BOOL m_bShown = FALSE;  // the status names the file awaited
};
}  // namespace

std::unique_ptr<CSearchStage> MakeChecksumStage()
{
    return std::make_unique<CChecksumStage>();
}
