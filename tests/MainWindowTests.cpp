// The main window as it starts, its controls, and the ways it ends; the About box.
#include "framework/Check.h"
#include "tests/DialogHarness.h"
#include <string>
#include <vector>

namespace
{
struct TemplateControl
{
    int id;
    const char* className;
    const char* text;
    RECT dialogUnits;  // left, top, width, height
    DWORD styleBits;
    DWORD exStyleBits;
};

// The dialog manager converts position and size apart, as MapDialogRect converts each field.
RECT ToPixels(HWND hDlg, RECT units)
{
    RECT rect = units;
    ::MapDialogRect(hDlg, &rect);
    return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

RECT ClientRectOf(HWND hDlg, HWND hControl)
{
    RECT rect;
    ::GetWindowRect(hControl, &rect);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

std::string ClassOf(HWND hWnd)
{
    char name[64];
    ::GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

void ExpectSameRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

// Runs a check on the first window with the given caption once it is shown by a modal loop; the
// timer's id points at it.
struct ModalWatcher
{
    const char* caption;
    HWND hMain;
    bool seen = false;
    HWND owner = nullptr;
    bool mainEnabled = true;
    WPARAM closingKey = 0;
};

void CALLBACK WatchModal(HWND hWnd, UINT, UINT_PTR idEvent, DWORD)
{
    ModalWatcher& watcher = *reinterpret_cast<ModalWatcher*>(idEvent);
    const HWND hBox = ::FindWindowA(nullptr, watcher.caption);
    if (!hBox || !::IsWindowVisible(hBox))
        return;
    ::KillTimer(hWnd, idEvent);
    watcher.seen = true;
    watcher.owner = ::GetWindow(hBox, GW_OWNER);
    watcher.mainEnabled = ::IsWindowEnabled(watcher.hMain) != FALSE;
    // A key press as a user would give it: the box's own modal loop turns it into a command.
    ::PostMessageA(::GetFocus() ? ::GetFocus() : hBox, WM_KEYDOWN, watcher.closingKey, 0);
}

// Fills the dialog with groups of the given sizes: rows, separators and all.
void FillGroups(CDialogUnderTest& dlg, const std::vector<int>& sizes)
{
    for (size_t g = 0; g < sizes.size(); ++g)
    {
        std::vector<std::string> paths;
        for (int f = 0; f < sizes[g]; ++f)
            paths.push_back("C:\\g" + std::to_string(g) + "\\f" + std::to_string(f));
        dlg.AddGroup(paths);
    }
}

CString CellText(CDialogUnderTest& dlg, int row, int column, int bufferSize = 512)
{
    std::vector<char> buffer(static_cast<size_t>(bufferSize) + 8, '#');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = bufferSize;
    dlg.m_list.SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ('#', buffer[static_cast<size_t>(bufferSize)]) << "text written past the request's buffer";
    return CString(buffer.data());
}

// An operation that holds nothing, for a test of the busy state alone.
class CNoHold : public IOperationHold
{
public:
    void OnHold(BOOL) override {}
};
}  // namespace

TEST(MainWindow, StartsEmptyIdleAndWithTheFocusInThePathField)
{
    CDialogUnderTest dlg;
    EXPECT_EQ(CString(""), dlg.ControlText(IDC_PATH));
    EXPECT_EQ(CString(""), dlg.ControlText(IDC_FOLDER));
    EXPECT_EQ(CString(""), dlg.ControlText(IDC_STATUS));
    EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(dlg.m_hWnd, IDC_MP3));
    EXPECT_EQ(0, dlg.m_progress.SendMessage(PBM_GETPOS));
    EXPECT_EQ(0, dlg.m_list.GetItemCount());
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_PATH), ::GetFocus());

    const int buttons[] = {IDC_BROWSE, IDC_SEARCH, IDC_MARK, IDC_UNMARK,  IDC_DELETE,
                           IDC_COPY,   IDC_MOVE,   IDCANCEL, ID_APP_ABOUT};
    for (int id : buttons)
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, id))) << id;
    EXPECT_EQ(CString("Поиск"), dlg.ControlText(IDC_SEARCH));
    EXPECT_EQ(CString("Удалить"), dlg.ControlText(IDC_DELETE));

    HICON hBig = reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_BIG));
    HICON hSmall = reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_SMALL));
    EXPECT_NE(nullptr, dlg.m_hIcon);
    EXPECT_EQ(dlg.m_hIcon, hBig);
    EXPECT_EQ(dlg.m_hIcon, hSmall);
}

TEST(MainWindow, ResultsListLiesOverTheHiddenTemplateListWithItsTwoColumns)
{
    CDialogUnderTest dlg;
    const HWND hResults = ::GetDlgItem(dlg.m_hWnd, IDC_RESULTS);
    const HWND hTemplate = ::GetDlgItem(dlg.m_hWnd, IDC_LIST_TEMPLATE);
    ASSERT_EQ(dlg.m_list.m_hWnd, hResults);
    EXPECT_TRUE(::IsWindowVisible(hResults));
    EXPECT_FALSE(::IsWindowVisible(hTemplate));
    ExpectSameRect(ClientRectOf(dlg.m_hWnd, hTemplate), ClientRectOf(dlg.m_hWnd, hResults), "results list");

    const LONG_PTR style = ::GetWindowLongPtrA(hResults, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_OWNERDATA |
                                    LVS_NOSORTHEADER),
              style & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS));
    EXPECT_EQ(WS_EX_CLIENTEDGE, ::GetWindowLongPtrA(hResults, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    struct Column
    {
        const char* heading;
        int format;
        int width;
    } const columns[] = {{"Файл", LVCFMT_LEFT, 350}, {"Размер", LVCFMT_RIGHT, 100}};
    for (int i = 0; i < 2; ++i)
    {
        char heading[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = heading;
        column.cchTextMax = sizeof(heading);
        ASSERT_TRUE(dlg.m_list.GetColumn(i, &column));
        EXPECT_STREQ(columns[i].heading, heading);
        EXPECT_EQ(columns[i].format, column.fmt & LVCFMT_JUSTIFYMASK);
        EXPECT_EQ(columns[i].width, column.cx);
    }
    EXPECT_FALSE(dlg.m_list.GetColumn(2, nullptr));

    // Tab goes round every other control and never reaches either list.
    HWND hFocus = ::GetDlgItem(dlg.m_hWnd, IDC_PATH);
    for (int step = 0; step < 40; ++step)
    {
        hFocus = ::GetNextDlgTabItem(dlg.m_hWnd, hFocus, FALSE);
        EXPECT_NE(hResults, hFocus);
        EXPECT_NE(hTemplate, hFocus);
    }
}

TEST(MainWindow, EveryTemplateControlHasItsIdTextPlaceAndStyle)
{
    CDialogUnderTest dlg;
    const DWORD edit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    const DWORD frame = SS_BLACKFRAME | SS_SUNKEN;
    const TemplateControl controls[] = {
        {IDC_PATH, "Edit", "", {29, 7, 229, 12}, edit, 0},
        {IDC_BROWSE, "Button", "Обзор...", {263, 7, 50, 13}, WS_TABSTOP, 0},
        {IDC_LIST_TEMPLATE,
         "SysListView32",
         "",
         {7, 47, 306, 103},
         LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP,
         0},
        {IDC_SEARCH, "Button", "Поиск", {7, 155, 48, 12}, WS_TABSTOP, 0},
        {IDC_MARK, "Button", "Выделить", {7, 172, 59, 12}, WS_TABSTOP, 0},
        {IDC_UNMARK, "Button", "Убрать выделение", {71, 172, 78, 12}, WS_TABSTOP, 0},
        {IDC_DELETE, "Button", "Удалить", {265, 155, 48, 12}, WS_TABSTOP, 0},
        {IDC_COPY, "Button", "Копировать в", {172, 172, 78, 12}, WS_TABSTOP, 0},
        {IDC_MOVE, "Button", "Переместить в", {254, 172, 59, 12}, WS_TABSTOP, 0},
        {IDC_FOLDER, "Edit", "", {7, 189, 306, 12}, edit, 0},
        {IDC_LINE_BOTTOM, "Static", "", {7, 207, 306, 1}, frame, 0},
        {IDC_STATUS, "Edit", "", {76, 213, 182, 12}, WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, WS_EX_STATICEDGE},
        {IDCANCEL, "Button", "Выход", {263, 213, 50, 12}, WS_TABSTOP, 0},
        {IDC_PROGRESS, "msctls_progress32", "", {72, 155, 177, 12}, WS_BORDER, 0},
        {IDC_LINE_TOP, "Static", "", {7, 26, 306, 1}, frame, 0},
        {ID_APP_ABOUT, "Button", "О программе...", {7, 213, 64, 12}, WS_TABSTOP, 0},
        {IDC_MP3, "Button", "Специальная обработка MP3-файлов", {94, 32, 142, 10}, BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    };

    // The template's order is the tab order; the label comes first and starts a group.
    HWND hChild = ::GetWindow(dlg.m_hWnd, GW_CHILD);
    ASSERT_EQ(IDC_STATIC, ::GetDlgCtrlID(hChild));
    CString label;
    CWnd(hChild).GetWindowText(label);
    EXPECT_EQ(CString("Путь:"), label);
    EXPECT_TRUE(::GetWindowLongPtrA(hChild, GWL_STYLE) & WS_GROUP);
    ExpectSameRect(ToPixels(dlg.m_hWnd, {7, 8, 20, 8}), ClientRectOf(dlg.m_hWnd, hChild), "Путь:");

    for (const TemplateControl& expected : controls)
    {
        hChild = ::GetWindow(hChild, GW_HWNDNEXT);
        ASSERT_NE(nullptr, hChild);
        SCOPED_TRACE(testing::Message() << expected.id << " " << expected.text);
        EXPECT_EQ(expected.id, ::GetDlgCtrlID(hChild));
        EXPECT_EQ(expected.className, ClassOf(hChild));
        if (expected.id != IDC_MP3)  // the check box is centred by the first layout
            ExpectSameRect(ToPixels(dlg.m_hWnd, expected.dialogUnits), ClientRectOf(dlg.m_hWnd, hChild), "rect");
        CString text;
        CWnd(hChild).GetWindowText(text);
        EXPECT_EQ(CString(expected.text), text);
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hChild, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(hChild, GWL_EXSTYLE));
        EXPECT_EQ(expected.styleBits & ~WS_BORDER, style & expected.styleBits & ~WS_BORDER);
        // Controls turn a border into an edge of their own; the progress bar paints its own frame.
        const bool bordered = (style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        if ((expected.styleBits & WS_BORDER) && expected.id != IDC_PROGRESS)
        {
            EXPECT_TRUE(bordered);
        }
        EXPECT_EQ(expected.id != IDC_LIST_TEMPLATE, (style & WS_VISIBLE) != 0);
        EXPECT_FALSE(style & WS_DISABLED);
        if (ClassOf(hChild) == "Button" && expected.id != IDC_MP3)
        {
            EXPECT_EQ(static_cast<DWORD>(BS_PUSHBUTTON), style & BS_TYPEMASK) << "no default button";
        }
        if (expected.id == IDC_STATUS)
        {
            EXPECT_FALSE(style & WS_BORDER);
        }
        EXPECT_EQ(expected.exStyleBits, exStyle & expected.exStyleBits);
    }
    // The run-time results list comes after the template's controls.
    EXPECT_EQ(IDC_RESULTS, ::GetDlgCtrlID(::GetWindow(hChild, GW_HWNDNEXT)));
}

TEST(ResultsList, RowsShowPathsSizesAndSeparators)
{
    CDialogUnderTest dlg;
    CTempFolder folder;
    const std::string empty = folder.Write("empty.txt", "");
    const std::string small = folder.Write("small.txt", "12345");
    const std::string gone = folder.Write("gone.txt", "abc");
    const std::string huge = folder.WriteSparse("huge.bin", 5368709120LL);
    dlg.AddGroup({small, empty});
    dlg.AddGroup({gone, huge});
    std::string longPath = "C:\\x";  // each buffer the reading tries then ends inside a letter
    for (int i = 0; i < 300; ++i)
        longPath += "ж";
    dlg.AddGroup({longPath});
    ::DeleteFileA(gone.c_str());

    EXPECT_EQ(CString(small.c_str()), CellText(dlg, 0, 0));
    EXPECT_EQ(CString("5 байт"), CellText(dlg, 0, 1));
    EXPECT_EQ(CString("0 байт"), CellText(dlg, 1, 1));
    EXPECT_EQ(CString("--------"), CellText(dlg, 2, 0));
    EXPECT_EQ(CString(""), CellText(dlg, 2, 1));
    EXPECT_EQ(CString(gone.c_str()), CellText(dlg, 3, 0)) << "the path stays after the file is gone";
    EXPECT_EQ(CString("-1 байт"), CellText(dlg, 3, 1));
    EXPECT_EQ(CString("5368709120 байт"), CellText(dlg, 4, 1));

    // A request with a short buffer gets the text cut at its end, never beyond.
    EXPECT_EQ(CString(small.c_str()).Left(7), CellText(dlg, 0, 0, 8));
    EXPECT_EQ(CString("536"), CellText(dlg, 4, 1, 4));
    EXPECT_EQ(CString("---"), CellText(dlg, 2, 0, 4));
    // The list's own reading gives a long text whole.
    EXPECT_EQ(CString(longPath.c_str()), dlg.m_list.GetCellText(6, 0));
}

TEST(ResultsList, ItemKeysNameGroupAndFileAndSurviveLargeIndices)
{
    CDialogUnderTest dlg;
    FillGroups(dlg, {2, 3, 2});
    EXPECT_EQ(dlg.RowKeys(), (std::vector<LPARAM>{MakeItemKey(0, 0), MakeItemKey(0, 1), kSeparatorKey,
                                                  MakeItemKey(1, 0), MakeItemKey(1, 1), MakeItemKey(1, 2),
                                                  kSeparatorKey, MakeItemKey(2, 0), MakeItemKey(2, 1)}));
    EXPECT_EQ(CString("C:\\g1\\f2"), CellText(dlg, 5, 0));

    for (UINT group : {0u, 1u, 65535u, 65536u, 0x7FFFFFFFu, 0xFFFFFFFEu})
    {
        for (UINT file : {0u, 65535u, 65536u, 0xFFFFFFFEu})
        {
            const LPARAM key = MakeItemKey(group, file);
            EXPECT_EQ(group, ItemKeyGroup(key));
            EXPECT_EQ(file, ItemKeyFile(key));
            EXPECT_FALSE(IsSeparatorKey(key));
        }
    }
    EXPECT_TRUE(IsSeparatorKey(kSeparatorKey));
}

TEST(MainWindow, ExitEscapeAndTheCloseBoxClearTheResultsBeforeClosing)
{
    const auto closeWith = [](const char* how, auto close)
    {
        SCOPED_TRACE(how);
        CDialogUnderTest dlg;
        FillGroups(dlg, {2, 2});
        close(dlg);
        PumpMessages(dlg.m_hWnd);
        EXPECT_EQ(nullptr, dlg.m_hWnd) << "the window is closed";
        EXPECT_EQ(0, dlg.m_groups.GroupCount());
        EXPECT_EQ(nullptr, dlg.m_pSearch);
    };
    closeWith("Выход", [](CDialogUnderTest& dlg) { dlg.Click(IDCANCEL); });
    closeWith("Esc", [](CDialogUnderTest& dlg)
              { ::PostMessageA(::GetDlgItem(dlg.m_hWnd, IDC_PATH), WM_KEYDOWN, VK_ESCAPE, 0); });
    closeWith("close box", [](CDialogUnderTest& dlg) { ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); });
}

TEST(MainWindow, EnterEndsThroughOkWithoutClearing)
{
    CDialogUnderTest dlg;
    FillGroups(dlg, {2, 2});
    dlg.m_editPath.SetWindowText("C:\\typed");
    ::SetFocus(dlg.m_editPath.m_hWnd);
    ::PostMessageA(dlg.m_editPath.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages(dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(2, dlg.m_groups.GroupCount()) << "the results stay";
    EXPECT_EQ(CString("C:\\typed"), dlg.m_strPath) << "OK reads the controls";
}

TEST(MainWindow, ClosingIsRefusedWhileBusy)
{
    CDialogUnderTest dlg;
    FillGroups(dlg, {2});
    CNoHold hold;
    CDialogUnderTest::COperationScope busy(dlg, hold);
    EXPECT_FALSE(::IsWindowEnabled(dlg.m_btnExit.m_hWnd));
    ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    PumpMessages(dlg.m_hWnd);
    EXPECT_NE(nullptr, dlg.m_hWnd);
    EXPECT_EQ(1, dlg.m_groups.GroupCount());
}

TEST(AboutBox, OpensOwnedByTheMainWindowAndClosesWithOkOrEscape)
{
    for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)})
    {
        CDialogUnderTest dlg;
        ModalWatcher watcher{"О программе", dlg.m_hWnd, false, nullptr, true, key};
        ::SetTimer(dlg.m_hWnd, reinterpret_cast<UINT_PTR>(&watcher), 50, &WatchModal);
        dlg.Click(ID_APP_ABOUT);  // returns when the box has closed
        EXPECT_TRUE(watcher.seen);
        EXPECT_EQ(dlg.m_hWnd, watcher.owner);
        EXPECT_FALSE(watcher.mainEnabled) << "the main window waits while the box is open";
        EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
        EXPECT_EQ(nullptr, ::FindWindowA(nullptr, "О программе"));
    }
}

namespace
{
int g_nFailedChecks = 0;
void CountFailedCheck(const char*, const char*, int)
{
    ++g_nFailedChecks;
}
}  // namespace

// The one check for a state that cannot happen fires in the build users get, not only in a debug build.
TEST(Framework, AMessageForAWindowThatLostItsWrapperIsReportedAndGetsTheDefaultAnswer)
{
    const auto previous = AfxReportFailedCheck;
    AfxReportFailedCheck = CountFailedCheck;
    g_nFailedChecks = 0;
    const HWND hWrapped =
        ::CreateWindowExA(0, "STATIC", "wrapped", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const HWND hBare = ::CreateWindowExA(0, "STATIC", "bare", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    {
        CWnd wrapper;
        ASSERT_TRUE(wrapper.SubclassWindow(hWrapped));
        const LONG_PTR bareProc = ::GetWindowLongPtrA(hBare, GWLP_WNDPROC);
        ::SetWindowLongPtrA(hBare, GWLP_WNDPROC, ::GetWindowLongPtrA(hWrapped, GWLP_WNDPROC));
        EXPECT_EQ(0, ::SendMessageA(hBare, WM_USER, 0, 0));
        ::SetWindowLongPtrA(hBare, GWLP_WNDPROC, bareProc);
    }
    EXPECT_EQ(1, g_nFailedChecks);
    ::DestroyWindow(hBare);
    ::DestroyWindow(hWrapped);
    AfxReportFailedCheck = previous;
}
