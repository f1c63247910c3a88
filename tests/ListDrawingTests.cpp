// The results list as the user sees it: row colours, selection, grid and cut texts, read from the screen.
#include "framework/Gdi.h"
#include "tests/DialogHarness.h"
#include <string>
#include <vector>

namespace
{
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGrid = RGB(127, 127, 127);
const COLORREF kSelectedFocused = RGB(0, 0, 255);
const COLORREF kSelectedUnfocused = RGB(192, 192, 192);

// The client area of a window as it stands on the screen once the window has painted itself.
class CScreenPixels
{
public:
    explicit CScreenPixels(HWND hWnd)
    {
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages();
        RECT rect;
        ::GetClientRect(hWnd, &rect);
        m_cx = rect.right;
        m_cy = rect.bottom;
        m_pixels.resize(static_cast<size_t>(m_cx) * m_cy);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_cx;
        info.bmiHeader.biHeight = -m_cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        CClientDC screen(hWnd);
        const HDC hdcMemory = ::CreateCompatibleDC(screen.Get());
        CGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), m_cx, m_cy));
        {
            CSelection select(hdcMemory, bitmap.Get());
            ::BitBlt(hdcMemory, 0, 0, m_cx, m_cy, screen.Get(), 0, 0, SRCCOPY);
        }
        ::GetDIBits(hdcMemory, bitmap.Get(), 0, m_cy, m_pixels.data(), &info, DIB_RGB_COLORS);
        ::DeleteDC(hdcMemory);
    }

    COLORREF At(int x, int y) const
    {
        const DWORD bgr = m_pixels[static_cast<size_t>(y) * m_cx + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // How many pixels of the rectangle (right and bottom excluded) have the colour.
    int Count(const RECT& rect, COLORREF color) const
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += At(x, y) == color;
        return count;
    }

private:
    int m_cx = 0;
    int m_cy = 0;
    std::vector<DWORD> m_pixels;
};

std::string Rgb(COLORREF color)
{
    return std::to_string(GetRValue(color)) + ", " + std::to_string(GetGValue(color)) + ", " +
           std::to_string(GetBValue(color));
}

class ListDrawingTest : public ::testing::Test
{
protected:
    CDialogUnderTest dlg;
    CTempFolder folder;

    // Groups of two real files each, a different content per group.
    void ShowPairs(int nGroups)
    {
        std::vector<std::vector<std::string>> groups;
        for (int g = 0; g < nGroups; ++g)
        {
            const std::string contents(static_cast<size_t>(g + 1), 'x');
            groups.push_back({folder.Write("a\\" + std::to_string(g) + ".dat", contents),
                              folder.Write("b\\" + std::to_string(g) + ".dat", contents)});
        }
        dlg.ShowGroups(groups);
    }
    RECT Row(int nItem) const
    {
        RECT rect;
        dlg.m_list.GetItemRect(nItem, &rect, LVIR_BOUNDS);
        return rect;
    }
    int ColumnWidth(int nColumn) const { return dlg.m_list.GetColumnWidth(nColumn); }
    void SetColumnWidth(int nColumn, int nWidth)
    {
        dlg.m_list.SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nColumn), MAKELPARAM(nWidth, 0));
    }
    void Select(int nItem) { dlg.m_list.SetItemState(nItem, LVIS_SELECTED, LVIS_SELECTED); }
    CScreenPixels Pixels() const { return CScreenPixels(dlg.m_list.m_hWnd); }
    // The part of column 0 of a row where its text may stand.
    RECT TextArea(int nItem) const
    {
        const RECT row = Row(nItem);
        return {row.left + 5, row.top, row.left + ColumnWidth(0) - 5, row.bottom - 1};
    }
};
}  // namespace

TEST_F(ListDrawingTest, RowsOfAGroupShareTheColourOfTheirGroupIndexModuloTen)
{
    dlg.ResizeBy(0, 600);
    ShowPairs(13);
    const CScreenPixels pixels = Pixels();
    for (int g = 0; g < 13; ++g)
    {
        const COLORREF expected = dlg.m_list.m_colors[g % 10];
        for (int nItem : {3 * g, 3 * g + 1})
            EXPECT_EQ(Rgb(pixels.At(Row(nItem).left + 2, Row(nItem).top + 1)), Rgb(expected))
                << "group " << g << ", row " << nItem;
    }
    const RECT lastGroup = Row(3 * 12);
    EXPECT_EQ(Rgb(pixels.At(lastGroup.left + 2, lastGroup.top + 1)), Rgb(RGB(238, 234, 255)));
}

TEST_F(ListDrawingTest, SeparatorRowIsASolidBlackBar)
{
    ShowPairs(2);
    const CScreenPixels pixels = Pixels();
    const RECT separator = Row(2);
    // Every pixel black but those of the two vertical grid lines and the row's bottom line.
    const RECT bar = {separator.left, separator.top, separator.right, separator.bottom - 1};
    const int height = bar.bottom - bar.top;
    EXPECT_EQ(pixels.Count(bar, kBlack), (bar.right - bar.left - 2) * height);
    EXPECT_EQ(pixels.Count(bar, kGrid), 2 * height);

    // Drawn as selected, as the control may ask for in the moment before the mark comes off again.
    ::SetFocus(dlg.m_list.m_hWnd);
    CClientDC screen(dlg.m_list.m_hWnd);
    const HDC hdc = ::CreateCompatibleDC(screen.Get());
    CGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), separator.right, separator.bottom));
    {
        CSelection select(hdc, bitmap.Get());
        DRAWITEMSTRUCT item = {
            ODT_LISTVIEW, IDC_RESULTS, 2, ODA_DRAWENTIRE, ODS_SELECTED | ODS_FOCUS, dlg.m_list.m_hWnd,
            hdc,          separator,   0};
        dlg.m_list.DrawItem(IDC_RESULTS, &item);
        EXPECT_EQ(Rgb(::GetPixel(hdc, separator.left + 2, separator.top + 2)), Rgb(kBlack));
    }
    ::DeleteDC(hdc);
}

TEST_F(ListDrawingTest, SelectedRowIsBlueWithWhiteTextWhileTheListHasTheFocusAndGreyOtherwise)
{
    ShowPairs(2);
    Select(1);
    ::SetFocus(dlg.m_list.m_hWnd);
    PumpMessages();
    {
        const CScreenPixels pixels = Pixels();
        EXPECT_EQ(Rgb(pixels.At(Row(1).left + 2, Row(1).top + 1)), Rgb(kSelectedFocused));
        EXPECT_GT(pixels.Count(TextArea(1), kWhite), 0);
        EXPECT_EQ(pixels.Count(TextArea(1), kBlack), 0);
        EXPECT_EQ(Rgb(pixels.At(Row(0).left + 2, Row(0).top + 1)), Rgb(dlg.m_list.m_colors[0]));
    }
    ::SetFocus(dlg.m_btnSearch.m_hWnd);
    PumpMessages();
    {
        const CScreenPixels pixels = Pixels();
        EXPECT_EQ(Rgb(pixels.At(Row(1).left + 2, Row(1).top + 1)), Rgb(kSelectedUnfocused));
        EXPECT_GT(pixels.Count(TextArea(1), kBlack), 0);
        EXPECT_EQ(pixels.Count(TextArea(1), kWhite), 0);
    }
}

TEST_F(ListDrawingTest, GridLinesLieOnTheLastPixelOfEveryColumnAndRow)
{
    ShowPairs(1);
    const CScreenPixels pixels = Pixels();
    const RECT row = Row(0);
    const int x0 = ColumnWidth(0) - 1;
    const int x1 = x0 + ColumnWidth(1);
    EXPECT_EQ(Rgb(pixels.At(x0, row.top + 1)), Rgb(kGrid));
    EXPECT_EQ(Rgb(pixels.At(x1, row.top + 1)), Rgb(kGrid));
    EXPECT_EQ(Rgb(pixels.At(x0 - 1, row.top + 1)), Rgb(dlg.m_list.m_colors[0]));
    EXPECT_EQ(Rgb(pixels.At(x0 + 1, row.top + 1)), Rgb(dlg.m_list.m_colors[0]));
    EXPECT_EQ(Rgb(pixels.At(2, row.bottom - 1)), Rgb(kGrid));
    EXPECT_EQ(Rgb(pixels.At(2, row.bottom - 2)), Rgb(dlg.m_list.m_colors[0]));
    // Nothing of the grid crosses the header.
    EXPECT_NE(Rgb(pixels.At(x0, row.top - 2)), Rgb(kGrid));
}

TEST_F(ListDrawingTest, BelowTheLastRowIsWhiteCrossedByTheGridDownToTheLastWholeRowPosition)
{
    ShowPairs(1);
    const int perPage = dlg.m_list.GetCountPerPage();
    ASSERT_GE(perPage, 4);
    const CScreenPixels pixels = Pixels();
    const RECT row = Row(0);
    const int height = row.bottom - row.top;
    const int x0 = ColumnWidth(0) - 1;
    for (int position = 2; position < perPage; ++position)
    {
        const int top = row.top + position * height;
        EXPECT_EQ(Rgb(pixels.At(2, top + height / 2)), Rgb(kWhite)) << "row position " << position;
        EXPECT_EQ(Rgb(pixels.At(2, top + height - 1)), Rgb(kGrid)) << "row position " << position;
        EXPECT_EQ(Rgb(pixels.At(x0, top + height / 2)), Rgb(kGrid)) << "row position " << position;
    }
    for (int y = row.top + perPage * height; y < pixels.Height(); ++y)
        EXPECT_EQ(Rgb(pixels.At(2, y)), Rgb(kWhite)) << "at y " << y;
}

TEST_F(ListDrawingTest, EmptyListShowsNoGrid)
{
    ShowPairs(1);
    const CScreenPixels filled = Pixels();
    const RECT firstRow = Row(0);
    dlg.ClearResults();
    const CScreenPixels pixels = Pixels();
    const RECT body = {0, firstRow.top, pixels.Width(), pixels.Height()};
    EXPECT_EQ(pixels.Count(body, kGrid), 0);
    EXPECT_GT(filled.Count(body, kGrid), 0);
}

TEST_F(ListDrawingTest, LongPathIsCutFivePixelsBeforeTheColumnEdge)
{
    const std::string longName(120, 'W');
    dlg.ShowGroups({{folder.Write("a\\" + longName, "same"), folder.Write("b\\" + longName, "same")}});
    const CScreenPixels pixels = Pixels();
    const RECT row = Row(0);
    const int edge = ColumnWidth(0);
    const RECT justInside = {edge - 20, row.top, edge - 5, row.bottom - 1};
    const RECT margin = {edge - 5, row.top, edge - 1, row.bottom - 1};
    EXPECT_GT(pixels.Count(justInside, kBlack), 0);
    EXPECT_EQ(pixels.Count(margin, dlg.m_list.m_colors[0]), 4 * (row.bottom - 1 - row.top));

    SetColumnWidth(0, 200);
    const CScreenPixels narrowed = Pixels();
    const RECT newInside = {200 - 20, row.top, 200 - 5, row.bottom - 1};
    const RECT newMargin = {200 - 5, row.top, 200 - 1, row.bottom - 1};
    EXPECT_GT(narrowed.Count(newInside, kBlack), 0);
    EXPECT_EQ(narrowed.Count(newMargin, dlg.m_list.m_colors[0]), 4 * (row.bottom - 1 - row.top));
    EXPECT_EQ(Rgb(narrowed.At(199, row.top + 1)), Rgb(kGrid));
    EXPECT_EQ(Rgb(narrowed.At(199 + ColumnWidth(1), row.top + 1)), Rgb(kGrid));
    EXPECT_NE(Rgb(narrowed.At(edge - 1, row.top + 1)), Rgb(kGrid));
}

TEST_F(ListDrawingTest, VerticalGridLinesMoveWithTheColumnsWhenScrolledSideways)
{
    ShowPairs(1);
    SetColumnWidth(0, 300);
    SetColumnWidth(1, 400);
    dlg.m_list.SendMessage(LVM_SCROLL, 100, 0);
    const CScreenPixels pixels = Pixels();
    const RECT row = Row(0);
    const int scrolled = ::GetScrollPos(dlg.m_list.m_hWnd, SB_HORZ);
    ASSERT_GT(scrolled, 0);
    EXPECT_EQ(row.left, -scrolled);
    const int line = 300 - scrolled - 1;
    EXPECT_EQ(Rgb(pixels.At(line, row.top + 1)), Rgb(kGrid));
    EXPECT_EQ(Rgb(pixels.At(line, row.top + 5 * (row.bottom - row.top))), Rgb(kGrid));
    EXPECT_NE(Rgb(pixels.At(299, row.top + 1)), Rgb(kGrid));
}

TEST_F(ListDrawingTest, AmpersandsInAPathAreDrawnAsTheyAre)
{
    const std::string path = folder.Write("A&B\\f&&g&&&&h.txt", "same");
    dlg.ShowGroups({{path, folder.Write("b.txt", "same")}});
    SIZE whole, ampersand;
    {
        CClientDC dc(dlg.m_list.m_hWnd);
        CSelection font(dc.Get(), reinterpret_cast<HGDIOBJ>(dlg.m_list.SendMessage(WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32A(dc.Get(), path.c_str(), static_cast<int>(path.size()), &whole);
        ::GetTextExtentPoint32A(dc.Get(), "&", 1, &ampersand);
    }
    const CScreenPixels pixels = Pixels();
    const RECT text = TextArea(0);
    int right = text.left;
    for (int x = text.left; x < text.right; ++x)
        if (pixels.Count({x, text.top, x + 1, text.bottom}, kBlack) > 0)
            right = x;
    // Prefix processing would drop four ampersands: a text shorter by far more than one ampersand.
    EXPECT_NEAR(right, text.left + whole.cx, ampersand.cx);
}
