// CSearchStage and the runner every stage of a search goes through.
#pragma once
#include "ops/Outcome.h"
#include "search/WorkingTable.h"
#include <functional>
#include <string>

class CDupListCtrl;
class CResultsTable;
class CSearchHold;
class CSearchProgress;

// What one search works with: what the user asked for, its working table, and the window it runs in.
struct SearchRun
{
    std::string root;  // a full path ending in a backslash
    BOOL bMp3;
    // The paced stop check of the long-operation control: kStopped once the user has stopped.
    std::function<Outcome()> checkStop;
    DWORD nWaitMs;  // how long a step may wait for work before the window is looked at again
    CSearchProgress& report;
    CSearchHold& hold;
    CResultsTable& results;
    CDupListCtrl& list;
    CWorkingTable table;
    // Whether the root's volume has a section in the checksum store, and which: asked at the first need.
    BOOL bStoreAsked = FALSE;
    BOOL bHasStore = FALSE;
    ULONGLONG storeVolume = 0;
};

// TRUE when the search looks up and renews the checksum store, in the section of run.storeVolume.
BOOL HasStore(SearchRun& run);
// Lets the window answer in the middle of a long step that cannot stop halfway; a stop asked for
// meanwhile takes effect at the next step.
void KeepAnswering(SearchRun& run);

// A stage is its texts, its step on the next entry and what it keeps. Whatever it holds on to while it
// runs (threads, a list with its drawing off) it lets go in its destructor, which runs after a stop too.
class CSearchStage
{
public:
    enum class Step
    {
        kNext,  // one entry done
        kWait,  // the entry is not ready: the window is looked at, and the same step runs again
        kDone,  // no entry is left
    };

    virtual ~CSearchStage() = default;
    // Before the first step; FALSE when there is nothing to step through: the stage ends at once.
    virtual BOOL Begin(SearchRun& run) { return TRUE; }
    virtual Step Next(SearchRun& run) = 0;
    // After the last step: what the stage keeps of its work.
    virtual Outcome End(SearchRun& run) { return Outcome::kCompleted; }
};

// The scaffold written once: the progress shows its first change at once, a stop is looked for before
// every step, a step that waits keeps the window's progress moving, and whatever the stage showed last
// is on the window when it ends.
Outcome RunStage(CSearchStage& stage, SearchRun& run);
