// The dialog procedure behind CDialog, its modal and modeless creation, and data exchange.
#include "framework/Dialog.h"
#include "framework/WinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

HWND CDialog::GetSafeOwner() const
{
    if (m_pParentWnd)
        return m_pParentWnd->m_hWnd;
    // Like a dialog with no parent given: owned by the program's main window, when it has one.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd && pMainWnd != this && ::IsWindow(pMainWnd->m_hWnd))
        return pMainWnd->m_hWnd;
    return nullptr;
}

INT_PTR CDialog::DoModal()
{
    m_bModal = TRUE;
    const INT_PTR result = ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), GetSafeOwner(),
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = FALSE;
    return result;
}

BOOL CDialog::Create(CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    const HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), GetSafeOwner(),
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal)
        ::EndDialog(m_hWnd, nResult);
    else
        ::DestroyWindow(m_hWnd);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

namespace
{
// Centres a dialog over its owner, or on the screen's work area when it has none.
void CenterOverOwner(HWND hWnd)
{
    RECT rcDlg, rcArea;
    ::GetWindowRect(hWnd, &rcDlg);
    const HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &rcArea);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
    const int cx = rcDlg.right - rcDlg.left;
    const int cy = rcDlg.bottom - rcDlg.top;
    const int x = (rcArea.left + rcArea.right - cx) / 2;
    const int y = (rcArea.top + rcArea.bottom - cy) / 2;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Messages whose result a dialog procedure returns directly instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    switch (message)
    {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
}  // namespace

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* pDlg;
    if (message == WM_INITDIALOG)
    {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        pDlg->m_hWnd = hWnd;
    }
    else
    {
        pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (!pDlg)
        return FALSE;
    return pDlg->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        CenterOverOwner(m_hWnd);
        return OnInitDialog();
    case WM_NCDESTROY:
        m_hWnd = nullptr;
        return FALSE;
    case WM_NOTIFY:
    {
        // Notifications that a control handles itself are reflected back to it first.
        const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        CWnd* pChild = CWnd::FromHandlePermanent(pHdr->hwndFrom);
        LRESULT result = 0;
        if (pChild && pChild->OnChildNotify(message, wParam, lParam, &result))
        {
            ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        break;
    }
    default:
        break;
    }

    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
    {
        if (ReturnsResultDirectly(message))
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
    {
        switch (LOWORD(wParam))
        {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        default:
            break;
        }
    }
    return FALSE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd control(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
    if (pDX->m_bSaveAndValidate)
        control.GetWindowText(value);
    else
        control.SetWindowText(value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value)
{
    CWnd control(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
    if (pDX->m_bSaveAndValidate)
        value = static_cast<BOOL>(control.SendMessage(BM_GETCHECK));
    else
        control.SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == nullptr)
        rControl.Attach(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}
