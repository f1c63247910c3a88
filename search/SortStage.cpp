// "Сортировка...": the groups in the order of the size of their first file.
#include "results/ResultsTable.h"
#include "search/SearchProgress.h"
#include "search/SearchTables.h"
#include "search/Stages.h"

namespace
{
// Sorts by the size each group's first file was listed with, which its contents were read at, so that
// no file is opened again here. Nothing to step through, and no stop looked for.
class CSortStage : public CSearchStage
{
public:
    BOOL Begin(SearchRun& run) override
    {
        const int nGroups = run.results.GroupCount();
        run.report.ClearFileField();
        run.report.ShowText("Сортировка...");
        run.report.ShowPos(0, 2 * nGroups - 1);
        std::vector<ULONGLONG> sizes(static_cast<size_t>(nGroups));
        for (int g = 0; g < nGroups; ++g)
            sizes[static_cast<size_t>(g)] = run.results.FirstFileSize(g);
        run.results.Reorder(ExchangeSortOrder(sizes));
        run.report.ShowPos(2 * nGroups - 1, 2 * nGroups - 1);
        return FALSE;
    }

    Step Next(SearchRun&) override { return Step::kDone; }
};
}  // namespace

std::unique_ptr<CSearchStage> MakeSortStage()
{
    return std::make_unique<CSortStage>();
}
