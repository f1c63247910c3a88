// The main window's layout: controls follow the window's right and bottom edges as it is resized.
#include "app/VelmoraDlg.h"

void CVelmoraDlg::MoveControl(CWnd& control, int dLeft, int dTop, int dRight, int dBottom)
{
    RECT rect;
    control.GetWindowRect(&rect);
    ScreenToClient(&rect);
    rect.left += dLeft;
    rect.top += dTop;
    rect.right += dRight;
    rect.bottom += dBottom;
    control.MoveWindow(&rect, TRUE);
}

void CVelmoraDlg::OnSize(UINT nType, int cx, int cy)
{
    // Until OnInitDialog has measured the client area (and with it the minimum size) there is no
    // layout to move the controls from.
    if (m_sizeMinTrack.cx == 0 || nType == SIZE_MINIMIZED)
        return;
    const int dx = cx - m_cxClient;
    const int dy = cy - m_cyClient;
    m_cxClient = cx;
    m_cyClient = cy;

    MoveControl(m_btnBrowse, dx, 0, dx, 0);
    MoveControl(m_btnExit, dx, dy, dx, dy);
    MoveControl(m_btnDelete, dx, dy, dx, dy);
    MoveControl(m_btnCopy, dx, dy, dx, dy);
    MoveControl(m_btnMove, dx, dy, dx, dy);
    MoveControl(m_btnMark, 0, dy, 0, dy);
    MoveControl(m_btnUnmark, 0, dy, 0, dy);
    MoveControl(m_btnSearch, 0, dy, 0, dy);
    CWnd about = GetDlgItem(ID_APP_ABOUT);
    MoveControl(about, 0, dy, 0, dy);

    RECT rcCheck;
    m_chkMp3.GetWindowRect(&rcCheck);
    ScreenToClient(&rcCheck);
    m_chkMp3.SetWindowPos(nullptr, (cx - (rcCheck.right - rcCheck.left)) / 2, rcCheck.top, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER);

    MoveControl(m_editPath, 0, 0, dx, 0);
    MoveControl(m_editFolder, 0, dy, dx, dy);
    MoveControl(m_progress, 0, dy, dx, dy);
    MoveControl(m_status, 0, dy, dx, dy);
    MoveControl(m_listTemplate, 0, 0, dx, dy);

    RECT rcList;
    m_listTemplate.GetWindowRect(&rcList);
    ScreenToClient(&rcList);
    m_list.MoveWindow(&rcList, TRUE);

    CWnd lineTop = GetDlgItem(IDC_LINE_TOP);
    MoveControl(lineTop, 0, 0, dx, 0);
    CWnd lineBottom = GetDlgItem(IDC_LINE_BOTTOM);
    MoveControl(lineBottom, 0, dy, dx, dy);
}

void CVelmoraDlg::OnGetMinMaxInfo(MINMAXINFO* pMMI)
{
    // Below the start-up size a stretching control would get a negative width or height,
    // and the platform would leave it at zero: growing back could not restore the layout.
    if (m_sizeMinTrack.cx > 0)
    {
        pMMI->ptMinTrackSize.x = m_sizeMinTrack.cx;
        pMMI->ptMinTrackSize.y = m_sizeMinTrack.cy;
    }
}
