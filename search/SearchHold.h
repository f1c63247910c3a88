// CSearchHold: what a pause holds while the search runs.
#pragma once
#include "ops/OperationHold.h"

class CListCtrl;
class CReadAhead;
class CSearchProgress;

// The progress is put on the window at once; the reading threads, while a stage reads, start no file
// and stop a long one between two loads; the list, while it is filled with its drawing off, shows the
// rows so far.
class CSearchHold : public IOperationHold
{
public:
    explicit CSearchHold(CSearchProgress& report) : m_report(report) {}

    // The stage that reads, or fills the list, names what it works with for as long as it runs.
    void SetReader(CReadAhead* pReader) { m_pReader = pReader; }
    void SetListing(CListCtrl* pList) { m_pListing = pList; }

    void OnHold(BOOL bHeld) override;

private:
    CSearchProgress& m_report;
    CReadAhead* m_pReader = nullptr;
    CListCtrl* m_pListing = nullptr;
};
