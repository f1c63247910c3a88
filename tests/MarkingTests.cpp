// Marking rows by prefix, and separator rows that no gesture can select.
#include "tests/DialogHarness.h"

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

void ClickRow(CListCtrl& list, int nRow, WPARAM keys)
{
    const POINT pt = RowPoint(list, nRow);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(pt.x, pt.y));
    PumpMessages();
}

void PressKey(CListCtrl& list, UINT vk)
{
    list.SendMessage(WM_KEYDOWN, vk, 1);
    list.SendMessage(WM_KEYUP, vk, 0xC0000001);
    PumpMessages();
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

TEST_F(MarkingTest, NoClickOrKeyLeavesASeparatorSelected)
{
    ClickRow(dlg.m_list, 2, 0);
    EXPECT_TRUE(dlg.SelectedRows().empty());

    ClickRow(dlg.m_list, 1, 0);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{1}));
    PressKey(dlg.m_list, VK_DOWN);
    for (int row : dlg.SelectedRows())
        EXPECT_NE(row, 2);
    PressKey(dlg.m_list, VK_DOWN);
    for (int row : dlg.SelectedRows())
        EXPECT_NE(row, 2);

    ClickRow(dlg.m_list, 0, 0);
    ClickRow(dlg.m_list, 4, MK_SHIFT);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3, 4}));

    dlg.m_list.SetItemState(-1, 0, LVIS_SELECTED);
    dlg.m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1, 3, 4}));
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
