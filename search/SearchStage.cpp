// RunStage: the loop of every stage of a search.
#include "search/SearchStage.h"
#include "search/SearchProgress.h"
#include "search/StoreFile.h"

void KeepAnswering(SearchRun& run)
{
    static_cast<void>(run.checkStop());
}

BOOL HasStore(SearchRun& run)
{
    if (!run.bStoreAsked)
    {
        run.bHasStore = StoreVolumeOf(run.root.c_str(), run.storeVolume);
        run.bStoreAsked = TRUE;
    }
    return run.bHasStore;
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
