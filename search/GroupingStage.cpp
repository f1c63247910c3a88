// "Сравнение": files of equal contents become the groups of the results.
#include "results/ResultsTable.h"
#include "search/SearchProgress.h"
#include "search/SearchTables.h"
#include "search/Stages.h"

namespace
{
// Each file equal to an earlier one joins the earlier one's group and leaves the working list, so the
// count shown falls by the group's later files and the files after it move up. The table is released
// at the end: the listing that follows is when memory peaks.
class CGroupingStage : public CSearchStage
{
public:
    BOOL Begin(SearchRun& run) override
    {
        m_equal = FindEqualContent(run.table.Entries());
        return TRUE;
    }

    Step Next(SearchRun& run) override
    {
        const int nTotal = static_cast<int>(run.table.Size());
        while (m_nFile < nTotal && !m_equal.isFirst[static_cast<size_t>(m_nFile)])
            ++m_nFile;
        if (m_nFile >= nTotal)
            return Step::kDone;
        const int nCurrent = nTotal - m_nRemoved;
        run.report.ShowFile("Сравнение %d/%d: %s", m_nShown + 1, nCurrent, run.table[static_cast<size_t>(m_nFile)].path,
                            m_nShown, nCurrent - 1);
        if (m_equal.nextEqual[static_cast<size_t>(m_nFile)] != kNoNextFile)
        {
            m_nRemoved += AddGroup(run, static_cast<UINT>(m_nFile));
            run.report.ShowPos(m_nShown, nTotal - m_nRemoved - 1);
        }
        else
        {
            // A file with no copy is shown and then needs its path no more: memory peaks while the
            // groups are built, and this gives back as much as the groups take.
            run.table[static_cast<size_t>(m_nFile)].path.Empty();
        }
        ++m_nShown;
        ++m_nFile;
        return Step::kNext;
    }

    Outcome End(SearchRun& run) override
    {
        run.table.Release();
        m_equal = EqualContent();
        return Outcome::kCompleted;
    }

private:
    // A file that changed since it was listed (it may have been read before or after the change) is
    // left out. Returns how many later files were equal.
    int AddGroup(SearchRun& run, UINT nFirst)
    {
        CStringArray paths;
        std::vector<ListedFile> files;
        int nMembers = 0;
        for (UINT k = nFirst; k != kNoNextFile; k = m_equal.nextEqual[k])
            ++nMembers;
        for (UINT k : DistinctMembers(nFirst, m_equal.nextEqual, run.table.Entries()))
        {
            SearchEntry& entry = run.table[k];
            if (!IsAsListed(entry.path, entry.listed))
                continue;
            // Each path joins one group and the working table needs it no more: it moves, so that the
            // paths are not held twice while memory peaks.
            paths.Add(std::move(entry.path));
            files.push_back({entry.listed});
        }
        if (paths.GetSize() >= 2)
            run.results.AddGroup(std::move(paths), std::move(files));
        return nMembers - 1;
    }

    EqualContent m_equal;
    int m_nFile = 0;
    int m_nShown = 0;
    int m_nRemoved = 0;
};
}  // namespace

std::unique_ptr<CSearchStage> MakeGroupingStage()
{
    return std::make_unique<CGroupingStage>();
}
