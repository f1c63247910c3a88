// CSearch: the stages of a search, run in their order.
#include "search/Search.h"
#include "results/ResultsTable.h"
#include "search/SearchProgress.h"
#include "search/Stages.h"

CSearch::CSearch(const std::string& root, BOOL bMp3, std::function<Outcome()> checkStop, DWORD nWaitMs,
                 CSearchProgress& report, CSearchHold& hold, CResultsTable& results, CDupListCtrl& list)
    : m_run{root, bMp3, std::move(checkStop), nWaitMs, report, hold, results, list, CWorkingTable(), FALSE, FALSE, 0}
{
}

Outcome CSearch::Run()
{
    for (const StageMaker makeStage : kSearchStages)
    {
        // Each stage lives for its own run alone and lets go of what it holds at its end.
        const Outcome outcome = RunStage(*makeStage(), m_run);
        if (outcome != Outcome::kCompleted)
            return outcome;
    }
    CString found;
    found.Format("Найдено %d дубликатов", m_run.results.GroupCount());
    m_run.report.ShowText(found);
    m_run.report.ResetBar();
    return Outcome::kCompleted;
}

Outcome CSearch::Walk()
{
    return RunStage(*MakeWalkStage(), m_run);
}
