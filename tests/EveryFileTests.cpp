// Every file a user has: names in any script, paths of any length, and names that the plain Windows
// path rules rewrite, found, shown, marked by prefix and deleted, copied and moved.
#include "framework/FileSystem.h"
#include "framework/Utf8.h"
#include "tests/DialogHarness.h"
#include <map>

namespace
{
// The same path with every letter in the other case where it has one.
std::string OtherCase(const std::string& path)
{
    std::wstring wide = WideFromUtf8(path.c_str());
    for (wchar_t& ch : wide)
    {
        const wchar_t upper =
            static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(ch))));
        ch = upper != ch
                 ? upper
                 : static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(::CharLowerW(reinterpret_cast<LPWSTR>(ch))));
    }
    return Utf8FromWide(wide.c_str());
}

std::string Deep(size_t nLength)
{
    std::string path;
    while (path.size() + 100 < nLength)
        path += std::string(90, 'd') + "\\";
    return path + std::string(nLength - path.size(), 'f');
}
}  // namespace

TEST(EveryFile, NamesInAnyScriptLongPathsAndNamesWindowsRewritesAreFoundMarkedAndActedOn)
{
    CTempFolder root;
    // name of the pair: its first file, its copy. Each pair has contents of its own.
    const std::map<std::string, std::pair<std::string, std::string>> pairs = {
        {"accents", {"Motörhead\\Beyoncé.mp3", "Копия\\Beyoncé.mp3"}},
        {"cjk", {"日本語\\テスト.txt", "Копия\\日本語.txt"}},
        {"emoji", {"😀 фото\\снимок.jpg", "Копия\\😀.jpg"}},
        {"mixed", {"Ёж\\日本\\Zoë😀.txt", "Копия\\mixed.txt"}},
        {"300", {Deep(300 - root.Path().size()), "Копия\\300"}},
        {"1000", {Deep(1000 - root.Path().size()), "Копия\\1000"}},
        {"dot", {"m.\\x.txt", "Копия\\dot.txt"}},
        {"plain", {"m\\x.txt", "Копия\\plain.txt"}},
        {"space", {"имя с пробелом \\y.txt", "Копия\\space.txt"}},
        {"aux", {"dev\\aux.h", "dev\\con.txt"}},
    };
    for (const auto& [name, files] : pairs)
    {
        root.Write(files.first, "contents of " + name);
        root.Write(files.second, "contents of " + name);
    }
    ASSERT_EQ(root.Path().size() + Deep(1000 - root.Path().size()).size(), 1000u);

    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    EXPECT_EQ(dlg.ControlText(IDC_STATUS), CString("Найдено 10 дубликатов"));
    std::map<std::string, std::string> shown;  // the list's text of every row
    for (int row = 0; row < dlg.m_list.GetItemCount(); ++row)
        shown[std::string(dlg.m_list.GetCellText(row, 0))] = std::string(dlg.m_list.GetCellText(row, 1));
    for (const auto& [name, files] : pairs)
    {
        const std::string size = std::to_string(12 + name.size()) + " байт";
        EXPECT_EQ(shown[root.Path() + files.first], size) << name;
        EXPECT_EQ(shown[root.Path() + files.second], size) << name;
    }

    // Each first file marked by its path typed in the other letter case.
    for (const auto& [name, files] : pairs)
    {
        dlg.SetControlText(IDC_FOLDER, OtherCase(root.Path() + files.first));
        dlg.Click(IDC_MARK);
    }
    EXPECT_EQ(dlg.SelectedRows().size(), pairs.size());

    CMessageBoxRecorder boxes;
    dlg.m_list.SetItemState(-1, 0, LVIS_SELECTED);
    for (const char* name : {"accents", "cjk", "300"})
    {
        dlg.SetControlText(IDC_FOLDER, root.Path() + pairs.at(name).first);
        dlg.Click(IDC_MARK);
    }
    dlg.SetControlText(IDC_FOLDER, root.Path() + "Скопировано");
    dlg.Click(IDC_COPY);
    for (const char* name : {"accents", "cjk", "300"})
        EXPECT_EQ(ReadWholeFile(root.Path() + "Скопировано\\" + pairs.at(name).first),
                  "contents of " + std::string(name));

    dlg.m_list.SetItemState(-1, 0, LVIS_SELECTED);
    for (const char* name : {"emoji", "1000", "dot", "space"})
    {
        dlg.SetControlText(IDC_FOLDER, root.Path() + pairs.at(name).first);
        dlg.Click(IDC_MARK);
    }
    dlg.SetControlText(IDC_FOLDER, root.Path() + "Перемещено");
    dlg.Click(IDC_MOVE);
    for (const char* name : {"emoji", "1000", "dot", "space"})
    {
        EXPECT_FALSE(FileExists(root.Path() + pairs.at(name).first)) << name;
        EXPECT_EQ(ReadWholeFile(root.Path() + "Перемещено\\" + pairs.at(name).first),
                  "contents of " + std::string(name));
    }

    dlg.SetControlText(IDC_FOLDER, root.Path() + "dev\\");
    dlg.Click(IDC_MARK);
    dlg.Click(IDC_DELETE);
    EXPECT_FALSE(FileExists(root.Path() + "dev\\aux.h"));
    EXPECT_FALSE(FileExists(root.Path() + "dev\\con.txt"));
    EXPECT_EQ(ReadWholeFile(root.Path() + "m\\x.txt"), "contents of plain") << "m. and m are two folders";
    EXPECT_TRUE(boxes.boxes.empty());
}
