// "Обзор...": the real folder chooser, driven by a timer that presses its buttons.
#include "tests/DialogHarness.h"
#include <commctrl.h>
#include <shlobj.h>

namespace
{
const int kMaxTicks = 30;

// What the driver does with the chooser of that owner once it is up; the timer's id points at it.
struct ChooserScript
{
    HWND hOwner;
    std::string selectFirst;  // a folder to choose before OK; empty: keep the preselection
    int nButton;              // IDOK or IDCANCEL
    BOOL bSeen;
    int nTicksShown;
};

std::string ItemText(HWND hTree, HTREEITEM hItem)
{
    char text[MAX_PATH] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    return hItem && TreeView_GetItem(hTree, &item) ? text : "";
}

// Clicks, in the chooser's tree, the folder of that path if it shows beside the selected one, as a
// user would; else tells the chooser to select it. TRUE once that folder is the selection.
BOOL SelectFolder(HWND hChooser, const std::string& path)
{
    const HWND hTree = ::FindWindowExA(hChooser, nullptr, WC_TREEVIEWA, nullptr);
    const HTREEITEM hSelected = TreeView_GetSelection(hTree);
    const std::string name = path.substr(path.rfind('\\') + 1);
    if (ItemText(hTree, hSelected) == name)
        return TRUE;
    for (HTREEITEM hItem = TreeView_GetChild(hTree, TreeView_GetParent(hTree, hSelected)); hItem;
         hItem = TreeView_GetNextSibling(hTree, hItem))
    {
        if (ItemText(hTree, hItem) == name)
        {
            TreeView_SelectItem(hTree, hItem);
            return FALSE;
        }
    }
    ::SendMessageA(hChooser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
    return FALSE;
}

BOOL CALLBACK FindChooser(HWND hWnd, LPARAM lParam)
{
    ChooserScript& script = *reinterpret_cast<ChooserScript*>(lParam);
    char className[32];
    ::GetClassNameA(hWnd, className, sizeof(className));
    if (::lstrcmpA(className, "#32770") == 0 && ::IsWindowVisible(hWnd) && ::GetWindow(hWnd, GW_OWNER) == script.hOwner)
    {
        // Wine's chooser settles its start selection a little after it shows: let it, as a user would.
        if (++script.nTicksShown < 3)
            return FALSE;
        // Wine's chooser may lose its selection while it is up, or not follow one it is told of, so
        // the driver makes the choice again on each tick and presses OK on one that finds it in place.
        if (!script.selectFirst.empty() && !SelectFolder(hWnd, script.selectFirst) && script.nTicksShown < kMaxTicks)
            return FALSE;
        script.bSeen = TRUE;
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(script.nButton, BN_CLICKED), 0);
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveChooser(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), FindChooser, static_cast<LPARAM>(id));
    if (reinterpret_cast<ChooserScript*>(id)->bSeen)
        ::KillTimer(hWnd, id);
}

void Browse(CDialogUnderTest& dlg, const std::string& selectFirst, int nButton)
{
    ChooserScript script = {dlg.m_hWnd, selectFirst, nButton, FALSE, 0};
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(&script);
    ::SetTimer(dlg.m_hWnd, id, 100, DriveChooser);
    // The chooser's caller must be in a single-threaded COM apartment already (S_FALSE); asked
    // before the click, since Wine's chooser enters one on its own while it is up.
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(hr, S_FALSE);
    if (SUCCEEDED(hr))
        ::CoUninitialize();
    dlg.Click(IDC_BROWSE);
    ::KillTimer(dlg.m_hWnd, id);
    EXPECT_TRUE(script.bSeen);
}
}  // namespace

TEST(FolderPicker, OpensOnTheTypedFolderAndCancelKeepsTheText)
{
    CDialogUnderTest dlg;
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    dlg.SetControlText(IDC_PATH, system);
    Browse(dlg, "", IDOK);
    EXPECT_EQ(::lstrcmpiA(dlg.ControlText(IDC_PATH), system), 0);

    dlg.SetControlText(IDC_PATH, "typed by hand");
    Browse(dlg, "", IDCANCEL);
    EXPECT_STREQ(dlg.ControlText(IDC_PATH), "typed by hand");
}

TEST(FolderPicker, AChoiceReplacesThePath)
{
    CTempFolder temp;
    CDialogUnderTest dlg;
    const std::string chosen = temp.MakeFolder("chosen");
    dlg.SetControlText(IDC_PATH, temp.MakeFolder("typed"));
    Browse(dlg, chosen, IDOK);
    EXPECT_STREQ(dlg.ControlText(IDC_PATH), chosen.c_str());
}
