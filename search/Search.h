// CSearch: one search, from the folder to the rows of the results list.
#pragma once
#include "search/SearchStage.h"

// It owns its working table, which lives no longer than the search.
class CSearch
{
public:
    CSearch(const std::string& root, BOOL bMp3, std::function<Outcome()> checkStop, DWORD nWaitMs,
            CSearchProgress& report, CSearchHold& hold, CResultsTable& results, CDupListCtrl& list);
    CSearch(const CSearch&) = delete;
    CSearch& operator=(const CSearch&) = delete;

    // Every stage in turn; at the end the status line says how many groups were found.
    Outcome Run();
    // The walk alone, as a search runs it.
    Outcome Walk();
    const CWorkingTable& Table() const { return m_run.table; }

private:
    SearchRun m_run;
};
