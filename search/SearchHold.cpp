// CSearchHold: holding and releasing the reading threads, the progress and the list being filled.
#include "search/SearchHold.h"
#include "framework/Controls.h"
#include "search/ReadAhead.h"
#include "search/SearchProgress.h"

void CSearchHold::OnHold(BOOL bHeld)
{
    if (m_pReader)
        m_pReader->Hold(bHeld);
    if (bHeld)
        m_report.Flush();
    if (m_pListing)
    {
        m_pListing->SetRedraw(bHeld);
        if (bHeld)
        {
            m_pListing->Invalidate();
            m_pListing->UpdateWindow();
        }
    }
}
