// The shipped Velmora.exe, started as its own process and driven only through window messages.
#include "res/resource.h"
#include "kit/RemoteVelmora.h"
#include "kit/TestFiles.h"
#include <gtest/gtest.h>
#include <string>

namespace
{
std::string ProgramPath()
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + "Velmora.exe";
}

std::string Mp3(const std::string& audio, const std::string& title)
{
    std::string leading("ID3\x03\x00\x00\x00\x00\x00\x0A", 10);
    leading += std::string(10, 'T');
    std::string trailing = "TAG" + title;
    trailing.resize(128, ' ');
    return leading + audio + trailing;
}

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The program and the test write and delete files: keep relative paths away from the checkout.
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        ::SetCurrentDirectoryA(temp);
        ASSERT_TRUE(m_app.Start(ProgramPath())) << "the main window did not appear";
    }
    void TearDown() override
    {
        if (!m_app.WaitForExit(0))
        {
            m_app.Click(IDCANCEL);
            if (!m_app.WaitForExit(10000))
                m_app.Kill();
        }
    }
    void Search(const std::string& folder, BOOL mp3)
    {
        m_app.SetText(IDC_PATH, folder);
        m_app.SetCheck(IDC_MP3, mp3);
        // A status left by an earlier search must not pass for this one's before its click is handled.
        m_app.SetText(IDC_STATUS, "");
        m_app.Click(IDC_SEARCH);
        ASSERT_TRUE(m_app.WaitForStatus("Найдено")) << m_app.Text(IDC_STATUS);
        ASSERT_TRUE(m_app.WaitForIdle());
    }

    CRemoteVelmora m_app;
    CTempFolder m_tree;
};
}  // namespace

TEST_F(EndToEnd, SearchFindsCopiesAndMp3ModeAddsRecordingsThatDifferInTags)
{
    const std::string a = m_tree.Write("docs\\report.txt", "quarterly numbers");
    const std::string b = m_tree.Write("backup\\report copy.txt", "quarterly numbers");
    m_tree.Write("Музыка\\песня.mp3", Mp3(std::string(3000, 'a'), "first"));
    m_tree.Write("old\\song.MP3", Mp3(std::string(3000, 'a'), "second title"));
    m_tree.Write("unique.txt", "nothing like it");

    Search(m_tree.Path(), FALSE);
    EXPECT_EQ("Найдено 1 дубликатов", m_app.Text(IDC_STATUS));
    ASSERT_EQ(2, m_app.RowCount());
    EXPECT_EQ(b, m_app.CellText(0, 0)) << "files of a group stand in folder-walk order";
    EXPECT_EQ(a, m_app.CellText(1, 0));
    EXPECT_EQ("17 байт", m_app.CellText(0, 1));

    Search(m_tree.Path(), TRUE);
    EXPECT_EQ("Найдено 2 дубликатов", m_app.Text(IDC_STATUS));
    ASSERT_EQ(5, m_app.RowCount());
    EXPECT_EQ("--------", m_app.CellText(2, 0));
    EXPECT_EQ(m_tree.Path() + "old\\song.MP3", m_app.CellText(3, 0));
    EXPECT_EQ(m_tree.Path() + "Музыка\\песня.mp3", m_app.CellText(4, 0));
}

TEST_F(EndToEnd, CopyMarkedFilesThenDeleteTheCopiedSources)
{
    const std::string keep = m_tree.Write("keep\\photo.jpg", "pixels");
    const std::string extra = m_tree.Write("extra\\sub\\photo.jpg", "pixels");
    CTempFolder copies;
    const std::string& target = copies.Path();
    Search(m_tree.Path(), FALSE);
    ASSERT_EQ(2, m_app.RowCount());

    m_app.SetText(IDC_FOLDER, m_tree.Path() + "extra");
    m_app.Press(IDC_MARK);
    EXPECT_EQ(1, m_app.SelectedCount());

    m_app.SetText(IDC_FOLDER, target);
    m_app.Click(IDC_COPY);
    ASSERT_TRUE(m_app.WaitForStatus("Копирую: "));
    ASSERT_TRUE(m_app.WaitForIdle());
    EXPECT_TRUE(FileExists(target + "extra\\sub\\photo.jpg"));
    EXPECT_EQ(1, m_app.SelectedCount()) << "copied rows stay marked";

    m_app.Click(IDC_DELETE);
    ASSERT_TRUE(m_app.WaitForStatus("Удаляю: "));
    ASSERT_TRUE(m_app.WaitForIdle());
    EXPECT_FALSE(FileExists(extra));
    EXPECT_TRUE(FileExists(keep));
    EXPECT_TRUE(FileExists(target + "extra\\sub\\photo.jpg"));
    EXPECT_EQ(0, m_app.RowCount()) << "the file kept has no copy left in the list";
}

TEST_F(EndToEnd, MoveIntoANestedNewFolder)
{
    m_tree.Write("a\\one.bin", "same bytes");
    const std::string moving = m_tree.Write("b\\c\\two.bin", "same bytes");
    Search(m_tree.Path(), FALSE);
    ASSERT_EQ(2, m_app.RowCount());

    m_app.SetText(IDC_FOLDER, m_tree.Path() + "b\\");
    m_app.Press(IDC_MARK);
    ASSERT_EQ(1, m_app.SelectedCount());
    const std::string target = m_tree.Path() + "moved\\deep\\er";
    m_app.SetText(IDC_FOLDER, target);
    m_app.Click(IDC_MOVE);
    ASSERT_TRUE(m_app.WaitForStatus("Перемещаю: "));
    ASSERT_TRUE(m_app.WaitForIdle());
    EXPECT_FALSE(FileExists(moving));
    EXPECT_TRUE(FileExists(target + "\\b\\c\\two.bin"));
    EXPECT_EQ(1, m_app.RowCount());
}

// Names in any script and a path far past 260 characters, typed, shown and deleted from outside.
TEST_F(EndToEnd, NamesInAnyScriptAndLongPathsAreShownMarkedAndDeleted)
{
    const std::string cjk = m_tree.Write("日本語\\テスト.txt", "same");
    const std::string deep = m_tree.Write(std::string(150, 'd') + "\\" + std::string(150, 'e') + "\\Zoë😀.txt", "same");
    Search(m_tree.Path(), FALSE);
    ASSERT_EQ(2, m_app.RowCount());
    EXPECT_EQ(deep, m_app.CellText(0, 0));
    EXPECT_EQ(cjk, m_app.CellText(1, 0));

    m_app.SetText(IDC_FOLDER, m_tree.Path() + std::string(150, 'D') + "\\" + std::string(150, 'E') + "\\ZOË");
    m_app.Press(IDC_MARK);
    ASSERT_EQ(1, m_app.SelectedCount());
    m_app.Click(IDC_DELETE);
    ASSERT_TRUE(m_app.WaitForStatus("Удаляю: "));
    ASSERT_TRUE(m_app.WaitForIdle());
    EXPECT_FALSE(FileExists(deep));
    EXPECT_TRUE(FileExists(cjk));
}

// A pause clicked right behind "Поиск" is handled at the search's first stop check, so the search
// is certainly still running when the test looks at it, however fast the machine.
TEST_F(EndToEnd, StopInTheMiddleOfASearchLeavesNoResults)
{
    m_tree.Write("a.dat", "same");
    m_tree.Write("b.dat", "same");
    m_app.SetText(IDC_PATH, m_tree.Path());
    m_app.Click(IDC_SEARCH);
    m_app.Click(IDC_DELETE);
    ASSERT_TRUE(m_app.WaitForText(IDC_DELETE, "Продолжить"));
    EXPECT_FALSE(m_app.IsEnabled(IDCANCEL));
    m_app.Click(IDC_SEARCH);
    ASSERT_TRUE(m_app.WaitForStatus("Прервано пользователем"));
    ASSERT_TRUE(m_app.WaitForIdle());
    EXPECT_EQ(0, m_app.RowCount());
    EXPECT_EQ("Удалить", m_app.Text(IDC_DELETE));
}

TEST_F(EndToEnd, PauseHoldsASearchAndContinueFinishesIt)
{
    for (int i = 0; i < 6; ++i)
        m_tree.Write("p\\f" + std::to_string(i) + ".dat", i % 2 ? "odd contents" : "even contents");
    m_app.SetText(IDC_PATH, m_tree.Path());
    m_app.Click(IDC_SEARCH);
    m_app.Click(IDC_DELETE);
    ASSERT_TRUE(m_app.WaitForText(IDC_DELETE, "Продолжить"));
    EXPECT_EQ("Стоп", m_app.Text(IDC_SEARCH));
    EXPECT_EQ(0, m_app.RowCount()) << "a paused search has listed nothing yet";
    m_app.Click(IDC_DELETE);
    ASSERT_TRUE(m_app.WaitForStatus("Найдено"));
    EXPECT_EQ("Найдено 2 дубликатов", m_app.Text(IDC_STATUS));
    EXPECT_EQ(7, m_app.RowCount());
}

TEST_F(EndToEnd, ExitEndsTheProgram)
{
    m_app.Click(IDCANCEL);
    EXPECT_TRUE(m_app.WaitForExit());
}
