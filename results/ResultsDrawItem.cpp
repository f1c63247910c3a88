// The main window's owner-drawn rows: WM_DRAWITEM goes to the results list's row drawing.
#include "app/VelmoraDlg.h"

void CVelmoraDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    m_list.DrawItem(static_cast<UINT>(nIDCtl), lpDrawItemStruct);
}
