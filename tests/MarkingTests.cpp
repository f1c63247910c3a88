// Marking rows by prefix, and separator rows that no gesture can select.
#include "tests/DialogHarness.h"
#include <algorithm>

namespace
{
class MarkingTest : public ::testing::Test
{
protected:
    // Rows: 0 Music\a.mp3, 1 music\b.mp3, 2 separator, 3 Music2\c.mp3, 4 Other\d.mp3
    void SetUp() override
    {
        a = temp.Write("Music\\a.mp3", "1");
        b = temp.Path() + "music\\b.mp3";
        c = temp.Write("Music2\\c.mp3", "2");
        d = temp.Write("Other\\d.mp3", "2");
        dlg.m_strRoot = temp.Path().c_str();
        dlg.AddGroup({a, b});
        dlg.AddGroup({c, d});
    }
    void MarkWith(const std::string& prefix)
    {
        dlg.SetControlText(IDC_FOLDER, prefix);
        dlg.Click(IDC_MARK);
    }

    CTempFolder temp;
    CDialogUnderTest dlg;
    std::string a, b, c, d;
};

POINT RowPoint(const CListCtrl& list, int nRow)
{
    RECT rc;
    list.GetItemRect(nRow, &rc, LVIR_LABEL);
    return {rc.left + 5, (rc.top + rc.bottom) / 2};
}

void ClickRow(CListCtrl& list, int nRow, std::initializer_list<WORD> held = {})
{
    ClickAt(list.m_hWnd, RowPoint(list, nRow), held);
}

int FocusedRow(const CListCtrl& list)
{
    return list.GetNextItem(-1, LVNI_FOCUSED);
}
}  // namespace

TEST_F(MarkingTest, PrefixMatchesWithoutRegardToCaseAndAcrossFolderBoundaries)
{
    MarkWith(temp.Path() + "Music");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3}));
}

TEST_F(MarkingTest, PrefixEndingInBackslashStopsAtThatFolder)
{
    MarkWith(temp.Path() + "MUSIC\\");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1}));
    dlg.m_list.SetItemState(-1, 0, LVIS_SELECTED);
    std::string slashed = temp.Path() + "MUSIC/";
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    MarkWith(slashed);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1})) << "'/' read as '\\', as in the target folder";
}

TEST_F(MarkingTest, SeparatorTextAndEmptyPrefixMarkNothing)
{
    MarkWith("-");
    EXPECT_TRUE(dlg.SelectedRows().empty());
    dlg.SelectRows({0, 4});
    MarkWith("");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 4}));
    dlg.Click(IDC_UNMARK);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 4}));
}

TEST_F(MarkingTest, MarksAddUpAndUnmarkingLeavesOtherRows)
{
    dlg.SelectRows({4});
    MarkWith(temp.Path() + "Music\\");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 4}));
    MarkWith(temp.Path() + "Music2");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3, 4}));
    dlg.SetControlText(IDC_FOLDER, temp.Path() + "music\\");
    dlg.Click(IDC_UNMARK);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{3, 4}));
}

TEST_F(MarkingTest, TypingInTheListChangesNeitherTheMarksNorTheFocus)
{
    MarkWith(temp.Path() + "Music");
    ClickRow(dlg.m_list, 4, {VK_CONTROL});
    ASSERT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3, 4}));
    TypeText("a1.");
    PressKeys({'M'});
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(FocusedRow(dlg.m_list), 4);
}

TEST_F(MarkingTest, NoClickOrKeyMarksASeparatorAndTheArrowsStepOverIt)
{
    ClickRow(dlg.m_list, 2);
    EXPECT_TRUE(dlg.SelectedRows().empty()) << "click";
    ClickRow(dlg.m_list, 2, {VK_SHIFT});
    EXPECT_TRUE(dlg.SelectedRows().empty()) << "shift click";
    PressKeys({VK_SHIFT, VK_SPACE});
    EXPECT_TRUE(dlg.SelectedRows().empty()) << "shift space";

    ClickRow(dlg.m_list, 1);
    PressKeys({VK_DOWN});
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{3}));
    EXPECT_EQ(FocusedRow(dlg.m_list), 3);
    PressKeys({VK_SHIFT, VK_UP});
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(FocusedRow(dlg.m_list), 1);

    ClickRow(dlg.m_list, 0);
    ClickRow(dlg.m_list, 4, {VK_SHIFT});
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3, 4}));

    dlg.m_list.SetItemState(-1, 0, LVIS_SELECTED);
    dlg.m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3, 4}));
}

TEST(Marking, PageKeysStepOverASeparatorToo)
{
    CDialogUnderTest dlg;
    auto files = [](const char* folder, int n)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i)
            paths.push_back(std::string("C:\\") + folder + "\\" + std::to_string(i));
        return paths;
    };
    // Where a page down from the top row lands, found on a list without separators; then a
    // separator is put there.
    dlg.AddGroup(files("a", 100));
    ClickRow(dlg.m_list, 0);
    PressKeys({VK_NEXT});
    const int nLanding = FocusedRow(dlg.m_list);
    ASSERT_GT(nLanding, 1);
    dlg.ClearResults();
    dlg.AddGroup(files("a", nLanding));
    dlg.AddGroup(files("b", 100));

    ClickRow(dlg.m_list, 0);
    PressKeys({VK_NEXT});
    EXPECT_EQ(FocusedRow(dlg.m_list), nLanding + 1);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{nLanding + 1}));
    PressKeys({VK_SHIFT, VK_PRIOR});
    EXPECT_LT(FocusedRow(dlg.m_list), nLanding);
    const std::vector<int> marked = dlg.SelectedRows();
    EXPECT_EQ(std::count(marked.begin(), marked.end(), nLanding), 0);
    EXPECT_EQ(std::count(marked.begin(), marked.end(), nLanding + 1), 1);
}

TEST(MarkingLongPaths, CyrillicCaseAndPathsLongerThan260CharactersMatch)
{
    CTempFolder temp;
    CDialogUnderTest dlg;
    const std::string deep = temp.Path() + std::string(300, 'x') + "\\Файл.txt";
    dlg.AddGroup({temp.Path() + "Музыка\\a", deep});
    dlg.SetControlText(IDC_FOLDER, temp.Path() + "МУЗЫКА");
    dlg.Click(IDC_MARK);
    dlg.SetControlText(IDC_FOLDER, temp.Path() + std::string(300, 'X') + "\\фА");
    dlg.Click(IDC_MARK);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1}));
}
