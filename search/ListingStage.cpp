// "Составление списка файлов...": the rows of the results list, a group at a time.
#include "results/DupListCtrl.h"
#include "results/ResultsTable.h"
#include "search/SearchHold.h"
#include "search/SearchProgress.h"
#include "search/Stages.h"

namespace
{
// Rows inserted with drawing on cost about 9 ms each; without, a few microseconds. A pause shows the
// rows so far; at the end, and after a stop, the list draws itself again.
class CListingStage : public CSearchStage
{
public:
    ~CListingStage() override
    {
        if (!m_pRun)
            return;
        m_pRun->hold.SetListing(nullptr);
        m_pRun->list.SetRedraw(TRUE);
        m_pRun->list.Invalidate();
        m_pRun->list.UpdateWindow();
    }

    BOOL Begin(SearchRun& run) override
    {
        run.report.ShowText("Составление списка файлов...");
        m_pRun = &run;
        run.list.SetRedraw(FALSE);
        run.hold.SetListing(&run.list);
        return TRUE;
    }

    Step Next(SearchRun& run) override
    {
        const int nGroups = run.results.GroupCount();
        if (m_nGroup >= nGroups)
            return Step::kDone;
        run.report.ShowPos(m_nGroup, nGroups - 1);
        run.list.AppendGroupRows(static_cast<UINT>(m_nGroup));
        ++m_nGroup;
        return Step::kNext;
    }

private:
    SearchRun* m_pRun = nullptr;
    int m_nGroup = 0;
};
}  // namespace

std::unique_ptr<CSearchStage> MakeListingStage()
{
    return std::make_unique<CListingStage>();
}
