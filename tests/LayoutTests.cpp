// The main window's layout: controls follow the frame as the window is resized, minimised and maximised.
#include "tests/DialogHarness.h"
#include <map>

// Found by argument lookup for RECT, which lives in the global namespace.
static bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

static std::ostream& operator<<(std::ostream& os, const RECT& r)
{
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace
{
const int kDesignWidth = 320;  // dialog units
const int kDesignHeight = 230;

const int kLaidOutIds[] = {IDC_STATIC,      IDC_PATH,   IDC_BROWSE, IDC_LIST_TEMPLATE, IDC_RESULTS,  IDC_SEARCH,
                           IDC_MARK,        IDC_UNMARK, IDC_DELETE, IDC_COPY,          IDC_MOVE,     IDC_FOLDER,
                           IDC_LINE_BOTTOM, IDC_STATUS, IDCANCEL,   IDC_PROGRESS,      IDC_LINE_TOP, ID_APP_ABOUT,
                           IDC_MP3};

// Dialog units from a control's right and bottom edges to the window's, at the design size.
const std::pair<int, int> kRightDistances[] = {
    {IDC_BROWSE, 7},   {IDC_DELETE, 7},      {IDC_MOVE, 7},          {IDCANCEL, 7},    {IDC_FOLDER, 7},
    {IDC_LINE_TOP, 7}, {IDC_LINE_BOTTOM, 7}, {IDC_LIST_TEMPLATE, 7}, {IDC_RESULTS, 7}, {IDC_COPY, 70},
    {IDC_PATH, 62},    {IDC_STATUS, 62},     {IDC_PROGRESS, 71}};
const std::pair<int, int> kBottomDistances[] = {
    {IDCANCEL, 5},      {ID_APP_ABOUT, 5}, {IDC_STATUS, 5},         {IDC_LINE_BOTTOM, 22}, {IDC_FOLDER, 29},
    {IDC_MARK, 46},     {IDC_UNMARK, 46},  {IDC_COPY, 46},          {IDC_MOVE, 46},        {IDC_SEARCH, 63},
    {IDC_PROGRESS, 63}, {IDC_DELETE, 63},  {IDC_LIST_TEMPLATE, 80}, {IDC_RESULTS, 80}};

class LayoutTest : public ::testing::Test
{
protected:
    CDialogUnderTest dlg;

    RECT ControlRect(int nID) const
    {
        RECT rect;
        ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, nID), &rect);
        ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
        return rect;
    }
    std::map<int, RECT> AllControlRects() const
    {
        std::map<int, RECT> rects;
        for (int nID : kLaidOutIds)
            rects[nID] = ControlRect(nID);
        return rects;
    }
    SIZE ClientSize() const
    {
        RECT rect;
        ::GetClientRect(dlg.m_hWnd, &rect);
        return {rect.right, rect.bottom};
    }
    SIZE WindowSize() const
    {
        RECT rect;
        ::GetWindowRect(dlg.m_hWnd, &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    int DialogX(int nUnits) const
    {
        RECT rect = {0, 0, nUnits, 0};
        ::MapDialogRect(dlg.m_hWnd, &rect);
        return rect.right;
    }
    int DialogY(int nUnits) const
    {
        RECT rect = {0, 0, 0, nUnits};
        ::MapDialogRect(dlg.m_hWnd, &rect);
        return rect.bottom;
    }

    // Pixels from each listed control's right or bottom edge to the client area's edge.
    std::map<int, int> DistancesToRight() const
    {
        std::map<int, int> distances;
        for (const auto& [nID, nUnits] : kRightDistances)
            distances[nID] = ClientSize().cx - ControlRect(nID).right;
        return distances;
    }
    std::map<int, int> DistancesToBottom() const
    {
        std::map<int, int> distances;
        for (const auto& [nID, nUnits] : kBottomDistances)
            distances[nID] = ClientSize().cy - ControlRect(nID).bottom;
        return distances;
    }

    void ExpectCheckBoxCentred(int nTop) const
    {
        const RECT check = ControlRect(IDC_MP3);
        EXPECT_EQ(check.left, (ClientSize().cx - (check.right - check.left)) / 2);
        EXPECT_EQ(check.top, nTop);
    }
};
}  // namespace

TEST_F(LayoutTest, StartsAtTheDesignSizeWithTheResultsListOverTheHiddenList)
{
    const SIZE client = ClientSize();
    EXPECT_EQ(client.cx, DialogX(kDesignWidth));
    EXPECT_EQ(client.cy, DialogY(kDesignHeight));
    // The dialog manager converts position and size separately, as here.
    const int left = DialogX(7);
    const int top = DialogY(47);
    const RECT templateList = {left, top, left + DialogX(306), top + DialogY(103)};
    EXPECT_EQ(ControlRect(IDC_LIST_TEMPLATE), templateList);
    EXPECT_EQ(ControlRect(IDC_RESULTS), templateList);
    ExpectCheckBoxCentred(DialogY(32));

    // Rounding each position and size on its own may put an edge one pixel off the exact units.
    const std::map<int, int> right = DistancesToRight();
    for (const auto& [nID, nUnits] : kRightDistances)
        EXPECT_NEAR(right.at(nID), DialogX(nUnits), 1) << "control " << nID;
    const std::map<int, int> bottom = DistancesToBottom();
    for (const auto& [nID, nUnits] : kBottomDistances)
        EXPECT_NEAR(bottom.at(nID), DialogY(nUnits), 1) << "control " << nID;
}

TEST_F(LayoutTest, KeepsTheDistancesToTheRightAndBottomEdgesWhenEnlarged)
{
    const std::map<int, int> right = DistancesToRight();
    const std::map<int, int> bottom = DistancesToBottom();
    dlg.ResizeBy(237, 151);
    EXPECT_EQ(DistancesToRight(), right);
    EXPECT_EQ(DistancesToBottom(), bottom);
}

TEST_F(LayoutTest, EnlargingAndShrinkingBackReturnsEveryControlToItsRectangle)
{
    const std::map<int, RECT> before = AllControlRects();
    dlg.ResizeBy(173, 97);
    EXPECT_EQ(ControlRect(IDC_BROWSE).left, before.at(IDC_BROWSE).left + 173);
    EXPECT_EQ(ControlRect(IDCANCEL).top, before.at(IDCANCEL).top + 97);
    dlg.ResizeBy(-173, -97);
    for (int nID : kLaidOutIds)
        EXPECT_EQ(ControlRect(nID), before.at(nID)) << "control " << nID;
}

TEST_F(LayoutTest, MinimisingAndRestoringLeavesEveryControlInPlace)
{
    dlg.ResizeBy(40, 30);
    const std::map<int, RECT> before = AllControlRects();
    ::ShowWindow(dlg.m_hWnd, SW_MINIMIZE);
    PumpMessages();
    ASSERT_TRUE(::IsIconic(dlg.m_hWnd));
    ::ShowWindow(dlg.m_hWnd, SW_RESTORE);
    PumpMessages();
    for (int nID : kLaidOutIds)
        EXPECT_EQ(ControlRect(nID), before.at(nID)) << "control " << nID;
}

TEST_F(LayoutTest, CheckBoxStaysCentredAtItsTopAtEveryWidth)
{
    const int top = ControlRect(IDC_MP3).top;
    for (int dx : {1, 2, 3, 50, 301, 0})
    {
        dlg.ResizeBy(dx, dx / 3);
        ExpectCheckBoxCentred(top);
    }
}

TEST_F(LayoutTest, BothListsShareOneRectangleAtEverySize)
{
    for (const SIZE delta : {SIZE{120, 0}, SIZE{0, 80}, SIZE{-60, -40}, SIZE{333, 211}})
    {
        dlg.ResizeBy(delta.cx, delta.cy);
        EXPECT_EQ(ControlRect(IDC_RESULTS), ControlRect(IDC_LIST_TEMPLATE));
    }
}

TEST_F(LayoutTest, MaximisedWindowKeepsItsMarginsAndRestoresToItsLayout)
{
    const std::map<int, RECT> before = AllControlRects();
    const std::map<int, int> right = DistancesToRight();
    const std::map<int, int> bottom = DistancesToBottom();
    ::ShowWindow(dlg.m_hWnd, SW_MAXIMIZE);
    PumpMessages();
    ASSERT_TRUE(::IsZoomed(dlg.m_hWnd));
    EXPECT_GT(ClientSize().cx, before.at(IDC_BROWSE).right);
    EXPECT_EQ(ControlRect(IDC_RESULTS), ControlRect(IDC_LIST_TEMPLATE));
    EXPECT_EQ(DistancesToRight(), right);
    EXPECT_EQ(DistancesToBottom(), bottom);
    ::ShowWindow(dlg.m_hWnd, SW_RESTORE);
    PumpMessages();
    for (int nID : kLaidOutIds)
        EXPECT_EQ(ControlRect(nID), before.at(nID)) << "control " << nID;
}

TEST_F(LayoutTest, ControlsThatFollowTheEdgesAreRepaintedWhenMaximised)
{
    ::ShowWindow(dlg.m_hWnd, SW_MAXIMIZE);
    PumpMessages();
    for (int nID : {IDCANCEL, IDC_BROWSE, IDC_MP3})
    {
        const HWND hControl = ::GetDlgItem(dlg.m_hWnd, nID);
        RECT rect;
        ::GetClientRect(hControl, &rect);
        const HDC hdc = ::GetDC(hControl);
        int captionPixels = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                captionPixels += ::GetPixel(hdc, x, y) == RGB(0, 0, 0);
        ::ReleaseDC(hControl, hdc);
        EXPECT_GT(captionPixels, 20) << "control " << nID;
    }
}

TEST_F(LayoutTest, PathLabelNeverMovesAndThePathEditGrowsToTheRightOnly)
{
    const RECT label = ControlRect(IDC_STATIC);
    const RECT path = ControlRect(IDC_PATH);
    dlg.ResizeBy(150, 120);
    EXPECT_EQ(ControlRect(IDC_STATIC), label);
    const RECT grown = ControlRect(IDC_PATH);
    EXPECT_EQ(grown.left, path.left);
    EXPECT_EQ(grown.top, path.top);
    EXPECT_EQ(grown.bottom, path.bottom);
    EXPECT_EQ(grown.right, path.right + 150);
}

TEST_F(LayoutTest, CannotBeMadeSmallerThanAtStartUp)
{
    const SIZE design = WindowSize();
    const std::map<int, RECT> before = AllControlRects();
    dlg.ResizeBy(-200, -150);
    EXPECT_EQ(WindowSize().cx, design.cx);
    EXPECT_EQ(WindowSize().cy, design.cy);
    for (int nID : kLaidOutIds)
        EXPECT_EQ(ControlRect(nID), before.at(nID)) << "control " << nID;

    MINMAXINFO info = {};
    dlg.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, design.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, design.cy);
}

namespace
{
// The main window before its window exists, as during the platform's first WM_SIZE.
class CUncreatedDialog : public CVelmoraDlg
{
public:
    using CVelmoraDlg::m_cxClient;
    using CVelmoraDlg::m_cyClient;
    using CVelmoraDlg::OnWndMsg;
};
}  // namespace

TEST(LayoutBeforeControls, SizeMessageBeforeTheControlsAreAttachedLeavesTheStartingPointUnset)
{
    CUncreatedDialog dlg;
    dlg.m_cxClient = 123;
    dlg.m_cyClient = 45;
    LRESULT result = 0;
    dlg.OnWndMsg(WM_SIZE, SIZE_RESTORED, MAKELPARAM(500, 400), &result);
    EXPECT_EQ(dlg.m_cxClient, 123);
    EXPECT_EQ(dlg.m_cyClient, 45);
}
