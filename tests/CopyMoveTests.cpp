// Copying and moving marked files below a target folder, and the folders made on the way.
#include "tests/DialogHarness.h"
#include "framework/FileSystem.h"
#include "ops/Folders.h"
#include "ops/SafeReplace.h"

namespace
{
std::string CurrentFolder()
{
    char folder[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    return std::string(folder) + "\\";
}

// Search root "root\": group 0 = a\x.txt, b\c\x.txt; group 1 = y1.txt, d\y2.txt, e\y3.txt; group 2 = z1, z2.
class CopyMoveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = temp.MakeFolder("root") + "\\";
        dlg.m_strRoot = root.c_str();
        g0 = {temp.Write("root\\a\\x.txt", "x0"), temp.Write("root\\b\\c\\x.txt", "x1")};
        g1 = {temp.Write("root\\y1.txt", "y1"), temp.Write("root\\d\\y2.txt", "y2"),
              temp.Write("root\\e\\y3.txt", "y3")};
        g2 = {temp.Write("root\\z1", "z1"), temp.Write("root\\z2", "z2")};
        dlg.AddGroup(g0);
        dlg.AddGroup(g1);
        dlg.AddGroup(g2);
    }
    void Run(int nButton, const std::string& target, const std::vector<int>& rows)
    {
        dlg.SelectRows(rows);
        dlg.SetControlText(IDC_FOLDER, target);
        dlg.Click(nButton);
    }

    CTempFolder temp;
    CDialogUnderTest dlg;
    CMessageBoxRecorder boxes;
    std::string root;
    std::vector<std::string> g0, g1, g2;
};
}  // namespace

TEST_F(CopyMoveTest, CopyKeepsRelativeFoldersWithOrWithoutFinalBackslash)
{
    Run(IDC_COPY, temp.Path() + "out", {0, 1});
    Run(IDC_COPY, temp.Path() + "out2\\", {});
    EXPECT_EQ(ReadWholeFile(temp.Path() + "out\\a\\x.txt"), "x0");
    EXPECT_EQ(ReadWholeFile(temp.Path() + "out\\b\\c\\x.txt"), "x1");
    EXPECT_EQ(ReadWholeFile(temp.Path() + "out2\\a\\x.txt"), "x0");
    EXPECT_EQ(ReadWholeFile(temp.Path() + "out2\\b\\c\\x.txt"), "x1");
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), CString(("Копирую: " + temp.Path() + "out2\\b\\c\\x.txt").c_str()));
    EXPECT_EQ(dlg.ControlText(IDC_FOLDER), CString((temp.Path() + "out2\\").c_str()));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CopyMoveTest, CopyOverwritesAndAFollowingDeleteRemovesExactlyTheSources)
{
    temp.Write("out\\y1.txt", "old");
    Run(IDC_COPY, temp.Path() + "out", {3, 5});
    EXPECT_EQ(ReadWholeFile(temp.Path() + "out\\y1.txt"), "y1");
    EXPECT_EQ(ReadWholeFile(temp.Path() + "out\\e\\y3.txt"), "y3");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{3, 5}));

    dlg.Click(IDC_DELETE);
    EXPECT_FALSE(FileExists(g1[0]));
    EXPECT_TRUE(FileExists(g1[1]));
    EXPECT_FALSE(FileExists(g1[2]));
    EXPECT_TRUE(FileExists(temp.Path() + "out\\y1.txt"));
}

TEST_F(CopyMoveTest, MoveReplacesTargetsAndRemovesAWholeMiddleGroup)
{
    temp.Write("deep\\er\\y1.txt", "old");
    Run(IDC_MOVE, temp.Path() + "deep\\er", {3, 4, 5});
    EXPECT_EQ(ReadWholeFile(temp.Path() + "deep\\er\\y1.txt"), "y1");
    EXPECT_EQ(ReadWholeFile(temp.Path() + "deep\\er\\d\\y2.txt"), "y2");
    EXPECT_EQ(ReadWholeFile(temp.Path() + "deep\\er\\e\\y3.txt"), "y3");
    for (const std::string& path : g1)
        EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(dlg.RowKeys(), (std::vector<LPARAM>{MakeItemKey(0, 0), MakeItemKey(0, 1), kSeparatorKey,
                                                  MakeItemKey(2, 0), MakeItemKey(2, 1)}));
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), CString(("Перемещаю: " + temp.Path() + "deep\\er\\e\\y3.txt").c_str()));
}

TEST_F(CopyMoveTest, AfterACopyOrMoveTheKeyboardGoesOnFromTheButtonPressed)
{
    dlg.SelectRows({0});
    dlg.SetControlText(IDC_FOLDER, temp.Path() + "out");
    ClickButton(dlg.m_btnCopy.m_hWnd);
    ASSERT_TRUE(FileExists(temp.Path() + "out\\a\\x.txt"));
    EXPECT_EQ(::GetFocus(), dlg.m_btnCopy.m_hWnd);
    PressKeys({VK_TAB});
    EXPECT_EQ(::GetFocus(), dlg.m_btnMove.m_hWnd);
    PressKeys({VK_SPACE});
    EXPECT_FALSE(FileExists(g0[0])) << "Space on the focused button moves the marked file";
    EXPECT_EQ(::GetFocus(), dlg.m_btnMove.m_hWnd);
}

TEST_F(CopyMoveTest, NestedTargetIsCreatedEvenWithNothingMarked)
{
    Run(IDC_MOVE, temp.Path() + "n1\\n2\\n3", {});
    EXPECT_NE(::GetFileAttributesA((temp.Path() + "n1\\n2\\n3").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(dlg.RowKeys().size(), 9u);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CopyMoveTest, TargetThatCannotBeMadeIsReportedBeforeAnyFile)
{
    Run(IDC_COPY, "\\\\no-such-server\\share", {0});
    Run(IDC_MOVE, "\\leading", {0});
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Невозможно создать папку:\n\\\\no-such-server\\share\\");
    EXPECT_EQ(boxes.boxes[0].caption, "Ошибка при копировании");
    EXPECT_EQ(boxes.boxes[1].text, "Невозможно создать папку:\n\\leading\\");
    EXPECT_EQ(boxes.boxes[1].caption, "Ошибка при перемещении");
    EXPECT_EQ(boxes.boxes[1].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(FileExists(g0[0]));
}

TEST_F(CopyMoveTest, TheTypedTargetIsCleanedResolvedAndNeverRelative)
{
    Run(IDC_COPY, CurrentFolder().substr(0, 2), {});  // a drive alone: nothing marked, and no box
    Run(IDC_MOVE, " " + temp.Path() + "a\\..\\b/./c ", {7});
    EXPECT_EQ(ReadWholeFile(temp.Path() + "b\\c\\z1"), "z1");
    EXPECT_FALSE(FileExists(temp.Path() + "a"));
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), CString(("Перемещаю: " + temp.Path() + "b\\c\\z1").c_str()));
    Run(IDC_COPY, "  \"" + temp.Path() + "spaced\"  ", {0});
    EXPECT_EQ(ReadWholeFile(temp.Path() + "spaced\\a\\x.txt"), "x0");

    // A relative folder would be made wherever the program runs: it is refused before anything is made.
    Run(IDC_MOVE, "backup", {});
    Run(IDC_COPY, "D:backup", {});
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Невозможно создать папку:\nbackup\\");
    EXPECT_EQ(boxes.boxes[1].text, "Невозможно создать папку:\nD:backup\\");
    EXPECT_FALSE(FileExists(CurrentFolder() + "backup"));
    EXPECT_TRUE(FileExists(g0[0]));
    // Full paths written otherwise: a device prefix comes off, and a drive alone is its root.
    Run(IDC_COPY, "\\\\.\\" + temp.Path() + "com10\\auxiliary", {0});
    EXPECT_EQ(ReadWholeFile(temp.Path() + "com10\\auxiliary\\a\\x.txt"), "x0");
    EXPECT_EQ(FullPath(CurrentFolder().substr(0, 2)), CurrentFolder().substr(0, 3)) << "as \"Путь:\" reads it";
}

TEST_F(CopyMoveTest, TargetThatIsTheSourceItselfLeavesEveryFileIntact)
{
    const std::string sameRootOtherCase = temp.Path() + "ROOT\\..\\root";
    Run(IDC_COPY, root, {0, 1});
    Run(IDC_MOVE, sameRootOtherCase, {});
    ASSERT_EQ(boxes.boxes.size(), 4u);
    EXPECT_EQ(boxes.boxes[0].text, "Невозможно скопировать файл:\n" + g0[0]);
    EXPECT_EQ(boxes.boxes[0].caption, "Ошибка при копировании");
    EXPECT_EQ(boxes.boxes[2].text, "Невозможно переместить файл:\n" + root + "a\\x.txt") << "the folder as resolved";
    EXPECT_EQ(boxes.boxes[2].caption, "Ошибка при перемещении");
    EXPECT_EQ(ReadWholeFile(g0[0]), "x0");
    EXPECT_EQ(ReadWholeFile(g0[1]), "x1");
    EXPECT_EQ(dlg.RowKeys().size(), 9u);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1}));
}

TEST(MakeFolders, MakesFoldersOfAnyDepthBelowAnExistingRootAndNoRelativeOnes)
{
    CTempFolder temp;
    const std::string deep = temp.Path() + std::string(200, 'a') + "\\" + std::string(200, 'b') + "\\c.";
    EXPECT_TRUE(MakeFolders((deep + "\\file.txt").c_str(), FALSE));
    EXPECT_TRUE(FileExists(deep));
    EXPECT_FALSE(FileExists(deep + "\\file.txt"));
    EXPECT_TRUE(MakeFolders((temp.Path() + "x\\y\\").c_str(), TRUE));
    EXPECT_TRUE(FileExists(temp.Path() + "x\\y"));
    EXPECT_FALSE(MakeFolders("relative\\sub\\", TRUE));
    EXPECT_FALSE(MakeFolders("\\\\no-such-server\\share\\sub", TRUE));
}

namespace
{
int CountFilesIn(const std::string& folder)
{
    int nFiles = 0;
    WIN32_FIND_DATAA entry;
    CAutoFind find(::FindFirstFileA((folder + "\\*").c_str(), &entry));
    for (BOOL bMore = find.IsValid(); bMore; bMore = ::FindNextFileA(find.Get(), &entry))
        nFiles += entry.cFileName[0] != '.';
    return nFiles;
}
}  // namespace

// No other program could open or delete such folders, and a file would fail each marked file on its own;
// a path too long fails below the folders made at its top.
TEST_F(CopyMoveTest, RefusedTargetsGiveOneBoxAndLeaveNoFolderBehind)
{
    temp.Write("file.txt", "f");
    std::string tooLong(33000, 'd');
    for (size_t i = 200; i < tooLong.size(); i += 200)
        tooLong[i] = '\\';
    const std::string targets[] = {"trail.",   "a \\b",           "aux\\x",   "NUL.txt\\y", "s\\Com3",
                                   "con .txt", "file.txt\\below", "file.txt", tooLong};
    for (const std::string& target : targets)
        Run(IDC_MOVE, temp.Path() + target, {0, 1, 3});
    EXPECT_EQ(boxes.boxes.size(), std::size(targets)) << "one box each, however many files are marked";
    EXPECT_EQ(CountFilesIn(temp.Path()), 2) << "only the searched folder and the file";
}

// A real box, closed with Enter, moves the focus as it does for a user.
TEST(AfterAFailureBox, TheFocusIsBackOnTheButtonPressedAsWithout)
{
    CTempFolder temp;
    CDialogUnderTest dlg;
    dlg.m_strRoot = temp.Path().c_str();
    const std::string file = temp.Write("x.txt", "x");
    dlg.AddGroup({file, temp.Write("y.txt", "x")});
    dlg.SetControlText(IDC_FOLDER, temp.Path());  // the file itself: copying or moving it fails
    CAutoHandle holder(HoldOpen(file, FILE_SHARE_READ));
    ::SetTimer(dlg.m_hWnd, 1, 20,
               [](HWND hWnd, UINT, UINT_PTR, DWORD)
               { ::GetWindow(::GetActiveWindow(), GW_OWNER) == hWnd ? PressKeys({VK_RETURN}) : void(); });
    for (CWnd* pButton : {&dlg.m_btnCopy, &dlg.m_btnMove, &dlg.m_btnDelete})
    {
        dlg.SelectRows({0});
        ClickButton(pButton->m_hWnd);
        EXPECT_EQ(::GetFocus(), pButton->m_hWnd);
    }
    EXPECT_TRUE(FileExists(file)) << "each button's file failed";
}

TEST(CopyIntoTheSearchedFolder, NeverReplacesAListedFileButReplacesOnceItsRowHasGone)
{
    CTempFolder temp;
    CDialogUnderTest dlg;
    CMessageBoxRecorder boxes;
    const std::string ax = temp.Write("t\\x.txt", "AAAA"), ay = temp.Write("t\\y.txt", "AAAA");
    const std::string bx = temp.Write("t\\s\\x.txt", "BBBBBB"), by = temp.Write("t\\s\\y.txt", "BBBBBB");
    dlg.Search(temp.Path() + "t");
    ASSERT_EQ(dlg.RowKeys().size(), 5u);
    dlg.SelectRows({0, 1});  // the smaller group comes first: t\x.txt and t\y.txt
    dlg.SetControlText(IDC_FOLDER, temp.Path() + "t\\s");
    dlg.Click(IDC_COPY);
    dlg.Click(IDC_MOVE);
    ASSERT_EQ(boxes.boxes.size(), 4u);
    for (size_t i = 0; i < boxes.boxes.size(); ++i)
        EXPECT_EQ(boxes.boxes[i].caption, i < 2 ? "Ошибка при копировании" : "Ошибка при перемещении");
    for (const std::string& path : {bx, by, ax, ay})
        EXPECT_EQ(ReadWholeFile(path), path == ax || path == ay ? "AAAA" : "BBBBBB");
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0, 1}));

    // Deleted through the list, the files of s\ are listed no more: whatever stands there later is replaced.
    dlg.m_list.SetItemState(-1, 0, LVIS_SELECTED);
    dlg.SelectRows({3, 4});
    dlg.Click(IDC_DELETE);
    temp.Write("t\\s\\x.txt", "new");
    temp.Write("t\\s\\y.txt", "new");
    dlg.SelectRows({0, 1});
    dlg.Click(IDC_COPY);
    EXPECT_EQ(ReadWholeFile(bx), "AAAA");
    EXPECT_EQ(ReadWholeFile(by), "AAAA");
    EXPECT_EQ(boxes.boxes.size(), 4u);
}

TEST(CopyOfALongFile, IsNamedWhileItRunsAndAFailureLeavesTheOldTargetAsItWas)
{
    CTempFolder temp;
    CDialogUnderTest dlg;
    CMessageBoxRecorder boxes;
    dlg.m_strRoot = (temp.MakeFolder("root") + "\\").c_str();
    const std::string big = temp.WriteSparse("root\\big.bin", 1LL << 30);  // long to copy, nothing to write
    dlg.AddGroup({temp.Write("root\\small.txt", "s"), big});
    const std::string out = temp.MakeFolder("out");
    const std::string bigTarget = temp.Write("out\\big.bin", "old contents");
    BOOL bShrunk = FALSE;
    // A third file beside the two targets is the copy in the making: the status names the big file
    // while it is copied, and the source shrinks under the copy as a failing disk would cut it short.
    CSentMessageWatch watch(
        [&](const CWPSTRUCT& msg)
        {
            if (msg.message == WM_SETTEXT && msg.hwnd == dlg.m_status.m_hWnd && !bShrunk &&
                "Копирую: " + bigTarget == reinterpret_cast<LPCSTR>(msg.lParam) && CountFilesIn(out) == 3)
            {
                SetFileSize(big, 1 << 20);
                bShrunk = TRUE;
            }
        });
    dlg.SelectRows({0, 1});
    dlg.SetControlText(IDC_FOLDER, out);
    dlg.Click(IDC_COPY);
    EXPECT_TRUE(bShrunk);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Невозможно скопировать файл:\n" + bigTarget);
    EXPECT_EQ(ReadWholeFile(bigTarget), "old contents");
    EXPECT_EQ(CountFilesIn(out), 2);
}

TEST(MoveToAnotherVolume, ASourceThatCannotBeDeletedLeavesSourceAndTargetAsTheyWere)
{
    // Under Wine the Linux shared-memory folder is another file system than the temporary folder.
    const std::string otherVolume = "Z:\\dev\\shm\\";
    if (::GetFileAttributesA(otherVolume.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no second volume";
    CTempFolder temp;
    CTempFolder out(otherVolume);
    CDialogUnderTest dlg;
    CMessageBoxRecorder boxes;
    dlg.m_strRoot = (temp.MakeFolder("root") + "\\").c_str();
    const std::string readOnly = temp.Write("root\\ro.txt", "new 1");
    const std::string held = temp.Write("root\\held.txt", "new 2");
    const std::string movable = temp.Write("root\\free.txt", "new 3");
    dlg.AddGroup({readOnly, held, movable});
    out.Write("ro.txt", "old 1");
    out.Write("held.txt", "old 2");
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    // Another program reads the file and lets nobody delete it meanwhile.
    CAutoHandle holder(HoldOpen(held, FILE_SHARE_READ));
    ASSERT_TRUE(holder.IsValid());

    dlg.SelectRows({0, 1, 2});
    dlg.SetControlText(IDC_FOLDER, out.Path());
    dlg.Click(IDC_MOVE);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Невозможно переместить файл:\n" + out.Path() + "ro.txt");
    EXPECT_EQ(boxes.boxes[1].text, "Невозможно переместить файл:\n" + out.Path() + "held.txt");
    EXPECT_EQ(ReadWholeFile(out.Path() + "ro.txt"), "old 1");
    EXPECT_EQ(ReadWholeFile(out.Path() + "held.txt"), "old 2");
    EXPECT_EQ(ReadWholeFile(readOnly), "new 1");
    EXPECT_EQ(ReadWholeFile(held), "new 2");
    EXPECT_EQ(ReadWholeFile(out.Path() + "free.txt"), "new 3");
    EXPECT_FALSE(FileExists(movable));
    EXPECT_EQ(CountFilesIn(out.Path()), 3) << "no temporary file is left";
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(IsSameFileOf, AFileIndexOfZeroIsUnknownAndLeavesItToThePaths)
{
    const auto oneVolume = [] { return TRUE; };
    EXPECT_FALSE(IsSameFileOf(0, 0, "C:\\a\\x.txt", "C:\\a\\y.txt", oneVolume));
    EXPECT_TRUE(IsSameFileOf(0, 0, "C:\\a\\x.txt", "c:\\A\\b\\..\\X.TXT", oneVolume));
    EXPECT_FALSE(IsSameFileOf(9, 9, "C:\\a\\x.txt", "C:\\a\\x.txt", [] { return FALSE; }));
}

// Every failure keeps which step it was, though the user sees the command's one text.
TEST(SafeReplace, AFailureSaysWhichStepFailed)
{
    CTempFolder temp;
    const std::string source = temp.Write("a.txt", "a");
    const ListedState listed = {1, 0, 0, 0};
    CKnownFiles written;
    EXPECT_EQ(FileFailure::kSource,
              CopyReplacing((temp.Path() + "missing").c_str(), (temp.Path() + "b").c_str(), {}, written));
    EXPECT_EQ(FileFailure::kTemporaryFile,
              CopyReplacing(source.c_str(), (temp.Path() + "no\\\\b").c_str(), {}, written));
    temp.MakeFolder("folder");
    EXPECT_EQ(FileFailure::kRename, CopyReplacing(source.c_str(), (temp.Path() + "folder").c_str(), {}, written));
    EXPECT_EQ(FileFailure::kNotListed, MoveReplacing(source.c_str(), (temp.Path() + "c").c_str(), listed, {}, written));
    EXPECT_EQ(FileFailure::kNone, CopyReplacing(source.c_str(), (temp.Path() + "d").c_str(), {}, written));
    EXPECT_EQ(ReadWholeFile(temp.Path() + "d"), "a");
}

// Pairs as Linux folders and shares hold them, into folders that ignore case: the first (smaller) arrives.
TEST(CaseCollision, ACopyOrMoveNeverReplacesAFileItWroteAndTheRefusedSourcesStayMarked)
{
    CTempFolder temp;
    CDialogUnderTest dlg;
    CMessageBoxRecorder boxes;
    const std::string s = temp.MakeFolder("t\\s");
    const std::string folders = "mkdir Dir dir && printf CCCC >Dir/x.txt && printf DDDDD >dir/x.txt";
    if (!RunUnixShellIn(s, folders + " && printf AA >Foo.txt && printf BBB >f && mv f foo.txt", s + "\\foo.txt"))
        GTEST_SKIP() << "no Unix side to make names that differ only in case";
    for (const char* contents : {"AA", "BBB", "CCCC", "DDDDD"})
        temp.Write(std::string("t\\c\\") + contents, contents);
    dlg.Search(temp.Path() + "t");
    dlg.SetControlText(IDC_FOLDER, s + "\\");
    dlg.Click(IDC_MARK);
    for (const int nButton : {IDC_COPY, IDC_MOVE})
    {
        const std::string out = temp.Path() + (nButton == IDC_COPY ? "copied" : "moved");
        const std::string text = std::string("Невозможно ") + (nButton == IDC_COPY ? "скопировать" : "переместить");
        dlg.SetControlText(IDC_FOLDER, out);
        dlg.Click(nButton);
        ASSERT_EQ(boxes.boxes.size(), 2u);
        EXPECT_EQ(boxes.boxes[0].text, text + " файл:\n" + out + "\\s\\foo.txt");
        EXPECT_EQ(boxes.boxes[1].text, text + " файл:\n" + out + "\\s\\dir\\x.txt");
        EXPECT_EQ(ReadWholeFile(out + "\\s\\Foo.txt") + ReadWholeFile(out + "\\s\\Dir\\x.txt"), "AACCCC");
        boxes.boxes.clear();
    }
    EXPECT_EQ(ReadWholeFile(s + "\\foo.txt") + ReadWholeFile(s + "\\dir\\x.txt"), "BBBDDDDD");
    EXPECT_EQ(dlg.SelectedRows().size(), 2u) << "the refused rows stay marked";
}
