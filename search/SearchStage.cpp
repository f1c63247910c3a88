// RunStage: the loop of every stage of a search.
#include "search/SearchStage.h"
#include "search/SearchProgress.h"
#include "search/StoreFile.h"

CChecksumStore* StoreOf(SearchRun& run)
{
    if (!run.bStoreOpened)
    {
        run.pStore = OpenChecksumStore(run.root.c_str());
        run.bStoreOpened = TRUE;
    }
    return run.pStore.get();
}

Outcome RunStage(CSearchStage& stage, SearchRun& run)
{
    run.report.Restart();
    for (CSearchStage::Step step = stage.Begin(run) ? CSearchStage::Step::kNext : CSearchStage::Step::kDone;
         step != CSearchStage::Step::kDone;)
    {
        if (run.checkStop() == Outcome::kStopped)
            return Outcome::kStopped;
        step = stage.Next(run);
        if (step == CSearchStage::Step::kWait)
            run.report.ShowWhenDue();
    }
    run.report.Flush();
    return stage.End(run);
}
