// "Оценка": only files whose length another file shares can have a copy; the others leave the table.
#include "search/SearchProgress.h"
#include "search/SearchTables.h"
#include "search/Stages.h"

namespace
{
// Removing an entry whose length is unique never makes another length unique, so whether an entry
// stays is decided once for all; the entries are still shown one by one, each where it stood.
class CSizeFilterStage : public CSearchStage
{
public:
    BOOL Begin(SearchRun& run) override
    {
        m_keep = FindSharedLengths(run.table.Entries());
        return TRUE;
    }

    Step Next(SearchRun& run) override
    {
        const int nTotal = static_cast<int>(run.table.Size());
        if (m_nFile >= nTotal)
            return Step::kDone;
        run.report.ShowFile("Оценка %d/%d: %s", m_nFile + 1, nTotal, run.table[static_cast<size_t>(m_nFile)].path,
                            m_nFile + 1, nTotal - 1);
        ++m_nFile;
        return Step::kNext;
    }

    Outcome End(SearchRun& run) override
    {
        run.table.KeepOnly(m_keep);
        return Outcome::kCompleted;
    }

private:
    std::vector<BYTE> m_keep;
    int m_nFile = 0;
};
}  // namespace

std::unique_ptr<CSearchStage> MakeSizeFilterStage()
{
    return std::make_unique<CSizeFilterStage>();
}
