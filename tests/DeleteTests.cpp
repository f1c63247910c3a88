// Deleting marked files: which rows go, failures, and the long-operation controls during a deletion.
#include "tests/DialogHarness.h"

namespace
{
// Three groups of 2, 3 and 2 files: rows 0-1, separator 2, rows 3-5, separator 6, rows 7-8.
class DeleteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int sizes[] = {2, 3, 2};
        for (int g = 0; g < 3; ++g)
        {
            std::vector<std::string> group;
            for (int f = 0; f < sizes[g]; ++f)
                group.push_back(temp.Write("g" + std::to_string(g) + "\\f" + std::to_string(f), "x"));
            paths.push_back(group);
            dlg.AddGroup(group);
        }
        dlg.m_strRoot = temp.Path().c_str();
    }
    std::vector<LPARAM> KeysWithout(std::vector<int> removedRows)
    {
        std::vector<LPARAM> keys = allKeys;
        for (auto it = removedRows.rbegin(); it != removedRows.rend(); ++it)
            keys.erase(keys.begin() + *it);
        return keys;
    }
    void DeleteRows(const std::vector<int>& rows)
    {
        dlg.SelectRows(rows);
        dlg.Click(IDC_DELETE);
    }

    CTempFolder temp;
    CDialogUnderTest dlg;
    CMessageBoxRecorder boxes;
    std::vector<std::vector<std::string>> paths;
    const std::vector<LPARAM> allKeys = {MakeItemKey(0, 0), MakeItemKey(0, 1), kSeparatorKey,
                                         MakeItemKey(1, 0), MakeItemKey(1, 1), MakeItemKey(1, 2),
                                         kSeparatorKey,     MakeItemKey(2, 0), MakeItemKey(2, 1)};
};
}  // namespace

TEST_F(DeleteTest, WholeFirstGroupTakesTheSeparatorBelow)
{
    DeleteRows({0, 1});
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({0, 1, 2}));
    EXPECT_FALSE(FileExists(paths[0][0]));
    EXPECT_FALSE(FileExists(paths[0][1]));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DeleteTest, WholeMiddleGroupLeavesOneSeparator)
{
    DeleteRows({3, 4, 5});
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({3, 4, 5, 6}));
}

TEST_F(DeleteTest, WholeLastGroupTakesTheSeparatorAbove)
{
    DeleteRows({7, 8});
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({6, 7, 8}));
}

// A file that keeps a copy in the list leaves its block as it was; a copy left alone is no duplicate any
// more and leaves the list with its separator, though it stays on disk.
TEST_F(DeleteTest, SingleRowsKeepTheirBlocksSeparatorsAndALoneCopyLeavesTheList)
{
    DeleteRows({1, 4});
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({0, 1, 2, 4}));
    EXPECT_TRUE(FileExists(paths[0][0]));
    EXPECT_FALSE(FileExists(paths[0][1]));
    EXPECT_FALSE(FileExists(paths[1][1]));
    EXPECT_TRUE(boxes.questions.empty()) << "every group keeps a copy";
}

TEST_F(DeleteTest, EverythingLeavesAnEmptyList)
{
    DeleteRows({0, 1, 3, 4, 5, 7, 8});
    EXPECT_TRUE(dlg.RowKeys().empty());
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), CString(("Удаляю: " + paths[2][1]).c_str()));
    EXPECT_EQ(dlg.m_progress.SendMessage(PBM_GETPOS), 7);
}

TEST_F(DeleteTest, FailureIsReportedAndStaysMarkedForARetry)
{
    // Held open by another program that lets nobody delete it; closing it changes nothing of the file.
    CAutoHandle held(HoldOpen(paths[1][1], FILE_SHARE_READ));
    int nPosAtBox = -1;
    boxes.onBox = [&] { nPosAtBox = static_cast<int>(dlg.m_progress.SendMessage(PBM_GETPOS)); };
    DeleteRows({3, 4});

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Невозможно удалить файл:\n" + paths[1][1]);
    EXPECT_EQ(boxes.boxes[0].caption, "Ошибка при удалении");
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(nPosAtBox, 1) << "the bar steps for a failed file once its box has been closed";
    EXPECT_EQ(dlg.m_progress.SendMessage(PBM_GETRANGE, FALSE), 2);
    EXPECT_EQ(dlg.m_progress.SendMessage(PBM_GETPOS), 2);
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({3}));
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{3}));

    held.Close();
    dlg.SelectRows({0});  // only the failure and this new mark are acted on
    dlg.Click(IDC_DELETE);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_FALSE(FileExists(paths[1][1]));
    EXPECT_TRUE(FileExists(paths[0][1]));
    EXPECT_TRUE(FileExists(paths[1][2]));
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(DeleteTest, AClickThatTakesTheMarksOffBeforeTheFirstFileLeavesTheStatusAsItWas)
{
    dlg.SetControlText(IDC_STATUS, "Найдено 3 дубликатов");
    dlg.SelectRows({0, 1});
    RECT separator;
    dlg.m_list.GetItemRect(2, &separator, LVIR_LABEL);
    QueueClick(dlg.m_btnDelete.m_hWnd, Middle(dlg.m_btnDelete.m_hWnd));
    ClickAt(dlg.m_list.m_hWnd, {separator.left + 5, (separator.top + separator.bottom) / 2});
    EXPECT_TRUE(FileExists(paths[0][0]));
    EXPECT_TRUE(dlg.SelectedRows().empty());
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), CString("Найдено 3 дубликатов"));
    ExpectIdle(dlg);
}

TEST_F(DeleteTest, NothingMarkedChangesNothing)
{
    dlg.SetControlText(IDC_STATUS, "before");
    dlg.Click(IDC_DELETE);
    EXPECT_EQ(dlg.RowKeys(), allKeys);
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), "before");
    EXPECT_EQ(dlg.ControlText(IDC_DELETE), "Удалить");
}

TEST_F(DeleteTest, StopTakesEffectBeforeTheNextFile)
{
    ::SetFileAttributesA(paths[1][1].c_str(), FILE_ATTRIBUTE_READONLY);
    // What the Stop role of "Поиск" does, while the second file's box is open.
    boxes.onBox = [&] { dlg.m_bBusy = FALSE; };
    DeleteRows({0, 4, 5});
    ::SetFileAttributesA(paths[1][1].c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(FileExists(paths[0][0]));
    EXPECT_TRUE(FileExists(paths[1][1]));
    EXPECT_TRUE(FileExists(paths[1][2]));
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), "Прервано пользователем");
    EXPECT_EQ(dlg.ControlText(IDC_SEARCH), "Поиск");
    EXPECT_EQ(dlg.ControlText(IDC_DELETE), "Удалить");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{1, 2}));
}

TEST_F(DeleteTest, PauseThenContinueHandlesEachFileOnce)
{
    ::SetFileAttributesA(paths[0][1].c_str(), FILE_ATTRIBUTE_READONLY);
    CPauseAnswerer answerer(dlg);
    boxes.onBox = [&] { PostClick(dlg, IDC_DELETE); };
    DeleteRows({0, 1, 3, 4, 5});
    ::SetFileAttributesA(paths[0][1].c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(answerer.Answered(), 1);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(FileExists(paths[0][1]));
    for (const std::string& path : paths[1])
        EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(dlg.ControlText(IDC_DELETE), "Удалить");
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({0, 1, 2, 3, 4, 5, 6})) << "the copy that failed is left alone";
}

TEST_F(DeleteTest, RowUnmarkedDuringTheOperationIsSpared)
{
    // Runs inside the first stop check, after the loop has picked row 0 and before it acts on it.
    static LVITEMA s_unmark;
    s_unmark = {};
    s_unmark.stateMask = LVIS_SELECTED;
    ::PostMessageA(dlg.m_list.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&s_unmark));
    DeleteRows({0, 1});

    EXPECT_TRUE(FileExists(paths[0][0]));
    EXPECT_FALSE(FileExists(paths[0][1]));
    EXPECT_EQ(dlg.RowKeys(), KeysWithout({0, 1, 2}));
}
