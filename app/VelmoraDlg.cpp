// CVelmoraDlg: construction, data exchange, initialisation, the message map, clearing and closing.
#include "app/VelmoraDlg.h"
#include "app/AboutDlg.h"
#include "framework/Gdi.h"

CVelmoraDlg::CVelmoraDlg(CWnd* pParent) : CDialog(IDD_VELMORA_DIALOG, pParent)
{
    m_hIcon = static_cast<HICON>(
        ::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

CVelmoraDlg::~CVelmoraDlg() = default;

void CVelmoraDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PATH, m_strPath);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_STATUS, m_status);
    DDX_Control(pDX, IDC_SEARCH, m_btnSearch);
    DDX_Control(pDX, IDC_DELETE, m_btnDelete);
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_PATH, m_editPath);
    DDX_Control(pDX, IDC_LIST_TEMPLATE, m_listTemplate);
    DDX_Text(pDX, IDC_FOLDER, m_strFolder);
    DDX_Control(pDX, IDC_MARK, m_btnMark);
    DDX_Control(pDX, IDC_UNMARK, m_btnUnmark);
    DDX_Control(pDX, IDC_COPY, m_btnCopy);
    DDX_Control(pDX, IDC_MOVE, m_btnMove);
    DDX_Control(pDX, IDCANCEL, m_btnExit);
    DDX_Check(pDX, IDC_MP3, m_bMp3);
    DDX_Control(pDX, IDC_MP3, m_chkMp3);
    DDX_Control(pDX, IDC_FOLDER, m_editFolder);
}

BOOL CVelmoraDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    const int kTemplateColumnMargin = 10;
    RECT rcTemplate;
    m_listTemplate.GetWindowRect(&rcTemplate);
    m_listTemplate.InsertColumn(0, "Одинаковые файлы", LVCFMT_LEFT,
                                rcTemplate.right - rcTemplate.left - kTemplateColumnMargin);

    const RECT rcEmpty = {0, 0, 0, 0};
    const DWORD dwListStyle =
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_OWNERDATA | LVS_NOSORTHEADER;
    m_list.Create(WS_EX_CLIENTEDGE, dwListStyle, rcEmpty, this, IDC_RESULTS);

    // A typed path can be far longer than an edit takes by default.
    for (CEdit* pEdit : {&m_editPath, &m_editFolder})
        pEdit->SetLimitText(0);

    RECT rcClient;
    GetClientRect(&rcClient);
    m_cxClient = rcClient.right;
    m_cyClient = rcClient.bottom;
    RECT rcWindow;
    GetWindowRect(&rcWindow);
    m_sizeMinTrack = {rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top};
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(m_cxClient, m_cyClient));
    return TRUE;
}

// The message map: each message or command to its handler.
BOOL CVelmoraDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        *pResult = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        switch (LOWORD(wParam))
        {
        case IDC_BROWSE:
            OnBrowse();
            return TRUE;
        case IDC_DELETE:
            OnDelete();
            return TRUE;
        case IDC_SEARCH:
            OnSearch();
            return TRUE;
        case IDC_MARK:
            OnMark();
            return TRUE;
        case IDC_UNMARK:
            OnUnmark();
            return TRUE;
        case IDC_COPY:
            OnCopyTo();
            return TRUE;
        case IDC_MOVE:
            OnMoveTo();
            return TRUE;
        case ID_APP_ABOUT:
            OnAbout();
            return TRUE;
        default:
            return FALSE;
        }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *pResult = TRUE;
        return TRUE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CVelmoraDlg::OnPaint()
{
    if (!IsIconic())
        return FALSE;
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc.Get(), x, y, m_hIcon);
    return TRUE;
}

HCURSOR CVelmoraDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CVelmoraDlg::ClearResults()
{
    m_list.RemoveAllRows();
    m_groups.Clear();
}

void CVelmoraDlg::OnAbout()
{
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

void CVelmoraDlg::OnCancel()
{
    if (m_bBusy)
        return;
    ClearResults();
    CDialog::OnCancel();
}
