// The last copy of a content: "Удалить" takes it only when the user says so in so many words, and the
// list shows no file as a duplicate once its copies are gone.
#include "tests/DialogHarness.h"

namespace
{
// The shown paths relative to the root, in row order; a separator is "-" and a marked row ends in " *".
std::vector<std::string> Rows(const CDialogUnderTest& dlg, const CTempFolder& root)
{
    std::vector<std::string> rows;
    for (int nRow = 0; nRow < dlg.m_list.GetItemCount(); ++nRow)
    {
        CString path;
        if (!dlg.m_list.ResolveRow(nRow, path))
        {
            rows.push_back("-");
            continue;
        }
        const BOOL bMarked = dlg.m_list.GetItemState(nRow, LVIS_SELECTED) != 0;
        rows.push_back(std::string(path).substr(root.Path().size()) + (bMarked ? " *" : ""));
    }
    return rows;
}

void MarkByPrefix(CDialogUnderTest& dlg, const std::string& prefix)
{
    dlg.SetControlText(IDC_FOLDER, prefix);
    ClickButton(dlg.m_btnMark.m_hWnd);
}

void ClickDelete(CDialogUnderTest& dlg)
{
    ClickButton(dlg.m_btnDelete.m_hWnd);
    PumpMessages();
}
}  // namespace

// A prefix for "the copies in the camera folder" takes in every copy of the pictures that were only
// ever there: the question comes first, "Нет" changes nothing, "Да" deletes them all.
TEST(LastCopy, DeletingEveryCopyOfAContentIsAskedFirstAndALoneCopyLeavesTheList)
{
    CTempFolder root;
    root.Write("cam\\IMG_1.jpg", "one");
    root.Write("cam\\IMG_1 (1).jpg", "one");
    root.Write("cam\\IMG_2.jpg", "two");
    root.Write("cam\\Копия\\IMG_2.jpg", "two");
    root.Write("cam\\IMG_3.jpg", "three");
    root.Write("other\\IMG_3.jpg", "three");
    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    MarkByPrefix(dlg, root.Path() + "cam\\IMG_");
    const std::vector<std::string> marked = {"cam\\IMG_1 (1).jpg *", "cam\\IMG_1.jpg *",      "-",
                                             "cam\\IMG_2.jpg *",     "cam\\Копия\\IMG_2.jpg", "-",
                                             "cam\\IMG_3.jpg *",     "other\\IMG_3.jpg"};
    ASSERT_EQ(Rows(dlg, root), marked);
    const CString status = dlg.ControlText(IDC_STATUS);

    CMessageBoxRecorder boxes;
    boxes.questionAnswer = IDNO;
    ClickDelete(dlg);
    ASSERT_EQ(boxes.questions.size(), 1u);
    EXPECT_EQ(boxes.questions[0].caption, "Удаление");
    EXPECT_EQ(boxes.questions[0].text, "Групп, в которых отмечены все файлы: 1.\nПосле удаления их содержимого не "
                                       "останется нигде. Удалить отмеченные файлы?");
    EXPECT_EQ(boxes.questions[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(Rows(dlg, root), marked);
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), status);
    EXPECT_EQ(::GetFocus(), dlg.m_btnDelete.m_hWnd);
    EXPECT_TRUE(FileExists(root.Path() + "cam\\IMG_1.jpg"));

    boxes.questionAnswer = IDYES;
    ClickDelete(dlg);
    EXPECT_EQ(boxes.questions.size(), 2u);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(FileExists(root.Path() + "cam\\IMG_1.jpg"));
    EXPECT_FALSE(FileExists(root.Path() + "cam\\IMG_1 (1).jpg"));
    EXPECT_TRUE(FileExists(root.Path() + "cam\\Копия\\IMG_2.jpg"));
    EXPECT_TRUE(FileExists(root.Path() + "other\\IMG_3.jpg"));
    EXPECT_TRUE(Rows(dlg, root).empty()) << "each copy left is alone, no duplicate";
}

// The copy that was to stay is gone, cut or rewritten behind its time by another program since the
// search; or the marked file itself was rewritten or replaced behind its size and time. Either way the
// file is not deleted (nor moved), and stays marked; the others go.
TEST(LastCopy, OnlyAFileAsListedWithAnotherCopyAsListedIsDeleted)
{
    CTempFolder root;
    for (int n = 1; n <= 6; ++n)
    {
        root.Write("p" + std::to_string(n) + "\\a.bin", std::string(100, 'a' + n));
        root.Write("q" + std::to_string(n) + "\\a.bin", std::string(100, 'a' + n));
    }
    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    ::DeleteFileA((root.Path() + "q2\\a.bin").c_str());
    SetFileSize(root.Path() + "q3\\a.bin", 50);
    OverwriteKeepingTime(root.Path() + "q4\\a.bin", "changed");
    OverwriteKeepingTime(root.Path() + "p5\\a.bin", "changed");
    const std::string other = root.Write("elsewhere.bin", std::string(100, 'z'));
    SetWriteTime(other, WriteTimeOf(root.Path() + "p6\\a.bin"));
    ::MoveFileExA(other.c_str(), (root.Path() + "p6\\a.bin").c_str(), MOVEFILE_REPLACE_EXISTING);

    MarkByPrefix(dlg, root.Path() + "p");
    CMessageBoxRecorder boxes;
    ClickDelete(dlg);
    EXPECT_TRUE(boxes.questions.empty());
    std::vector<std::string> refused;
    for (const RecordedBox& box : boxes.boxes)
        refused.push_back(box.text);
    const std::string text = "Невозможно удалить файл:\n" + root.Path();
    EXPECT_EQ(refused, (std::vector<std::string>{text + "p2\\a.bin", text + "p3\\a.bin", text + "p4\\a.bin",
                                                 text + "p5\\a.bin", text + "p6\\a.bin"}));
    EXPECT_FALSE(FileExists(root.Path() + "p1\\a.bin"));
    for (int n = 2; n <= 4; ++n)
        EXPECT_EQ(ReadWholeFile(root.Path() + "p" + std::to_string(n) + "\\a.bin"), std::string(100, 'a' + n));
    EXPECT_EQ(ReadWholeFile(root.Path() + "p6\\a.bin"), std::string(100, 'z'));
    EXPECT_EQ(dlg.SelectedRows().size(), 5u);

    dlg.SetControlText(IDC_FOLDER, root.Path() + "moved");
    ClickButton(dlg.m_btnMove.m_hWnd);
    EXPECT_TRUE(FileExists(root.Path() + "p5\\a.bin"));
    EXPECT_TRUE(FileExists(root.Path() + "p6\\a.bin"));
    EXPECT_FALSE(FileExists(root.Path() + "moved\\p5\\a.bin"));
    EXPECT_FALSE(FileExists(root.Path() + "moved\\p6\\a.bin"));
}
