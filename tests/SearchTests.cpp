// The duplicate search driven through the main window over real folders and files.
#include "framework/ScopedWin.h"
#include "results/ItemKey.h"
#include "tests/DialogHarness.h"
#include <functional>

namespace
{
// The groups of the last search, each path relative to the searched folder.
std::vector<std::vector<std::string>> Groups(const CDialogUnderTest& dlg, const CTempFolder& root)
{
    std::vector<std::vector<std::string>> groups;
    for (int g = 0; g < dlg.m_groups.GroupCount(); ++g)
    {
        groups.emplace_back();
        const CStringArray& paths = dlg.m_groups.GroupPaths(g);
        for (INT_PTR f = 0; f < paths.GetSize(); ++f)
            groups.back().push_back(std::string(paths[f]).substr(root.Path().size()));
    }
    return groups;
}

using Names = std::vector<std::vector<std::string>>;

// The rows of the results list as "group/file" or "-" for a separator.
std::vector<std::string> Rows(const CDialogUnderTest& dlg)
{
    std::vector<std::string> rows;
    for (LPARAM key : dlg.RowKeys())
    {
        rows.push_back(
            IsSeparatorKey(key) ? "-" : std::to_string(ItemKeyGroup(key)) + "/" + std::to_string(ItemKeyFile(key)));
    }
    return rows;
}
}  // namespace

TEST(FolderWalk, ListsDepthFirstWithSubfolderFilesWhereTheirEntryStood)
{
    CTempFolder root;
    root.Write("a.txt", "a");
    root.Write("sub\\b.txt", "bb");
    root.Write("sub\\deeper\\c.txt", "");
    root.Write("z.txt", "zzz");
    // Only "." and ".." are skipped; Wine strips trailing dots from every path, so "..." cannot be made.
    root.Write("..a\\d.txt", "dddd");

    CDialogUnderTest dlg;
    std::vector<SearchEntry> files;
    EXPECT_EQ(Outcome::kCompleted, dlg.Walk(root.Path(), files));

    const std::vector<std::string> expected = {"..a\\d.txt", "a.txt", "sub\\b.txt", "sub\\deeper\\c.txt", "z.txt"};
    const std::vector<ULONGLONG> sizes = {4, 1, 2, 0, 3};
    ASSERT_EQ(expected.size(), files.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(root.Path() + expected[i], std::string(files[i].path));
        EXPECT_EQ(sizes[i], files[i].listed.size);
    }
}

TEST(FolderWalk, KeepsTheFullSizeOfFilesOver4GiB)
{
    CTempFolder root;
    ASSERT_EQ((1ll << 32) + 10, FileSize(root.WriteSparse("big.bin", (1ll << 32) + 10)));
    CDialogUnderTest dlg;
    std::vector<SearchEntry> files;
    EXPECT_EQ(Outcome::kCompleted, dlg.Walk(root.Path(), files));
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ((1ull << 32) + 10, files[0].listed.size);
}

TEST(FolderWalk, MissingFolderGivesNothing)
{
    CTempFolder root;
    CDialogUnderTest dlg;
    std::vector<SearchEntry> files;
    EXPECT_EQ(Outcome::kFailed, dlg.Walk(root.Path() + "missing\\", files)) << "a folder that does not list fails";
    EXPECT_TRUE(files.empty());
}

TEST(Search, AQuotedPathIsSearchedAndARootThatCannotBeListedIsReported)
{
    CTempFolder root;
    const std::string file = root.Write("a\\same", "same");
    root.Write("b\\same", "same");
    CDialogUnderTest dlg;
    CMessageBoxRecorder boxes;
    dlg.Search("\"" + root.Path() + "\"");
    EXPECT_EQ(CString("Найдено 1 дубликатов"), dlg.ControlText(IDC_STATUS));
    for (const std::string& path : {root.Path() + "missing", file})
    {
        dlg.Search(path);
        ASSERT_FALSE(boxes.boxes.empty());
        EXPECT_EQ("Невозможно открыть папку:\n" + path + "\\", boxes.boxes.back().text);
        EXPECT_EQ("Ошибка при поиске", boxes.boxes.back().caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.boxes.back().style);
        EXPECT_EQ(CString(""), dlg.ControlText(IDC_STATUS));
        EXPECT_EQ(0, dlg.m_list.GetItemCount());
        EXPECT_EQ(CString("Поиск"), dlg.ControlText(IDC_SEARCH));
    }
    EXPECT_EQ(2u, boxes.boxes.size());
}

TEST(FolderWalk, LinksToFoldersAreNotFollowedAndTwoPathsToOneFileAreNoGroup)
{
    CTempFolder root;
    root.Write("a\\song.bin", "same content");
    ASSERT_TRUE(
        ::CreateSymbolicLinkA((root.Path() + "a\\loop").c_str(), root.Path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(::CreateHardLinkA((root.Path() + "b.bin").c_str(), (root.Path() + "a\\song.bin").c_str(), nullptr));

    CDialogUnderTest dlg;
    std::vector<SearchEntry> files;
    EXPECT_EQ(Outcome::kCompleted, dlg.Walk(root.Path(), files));
    EXPECT_EQ(2u, files.size());

    dlg.Search(root.Path());
    EXPECT_TRUE(Groups(dlg, root).empty());
    EXPECT_EQ(CString("Найдено 0 дубликатов"), dlg.ControlText(IDC_STATUS));

    // Links that the file system does not report as links: no folder is entered twice, so two links to
    // the folder above make no endless walk.
    const std::string links[] = {root.Path() + "a\\up", root.Path() + "a\\again"};
    const bool bMade = MakeUnixLink(links[0], "..") && MakeUnixLink(links[1], "..");
    if (bMade)
    {
        root.Write("c\\copy.bin", "same content");
        dlg.Search(root.Path());
        EXPECT_EQ((Names{{"a\\song.bin", "c\\copy.bin"}}), Groups(dlg, root));
    }
    for (const std::string& link : links)
        RemoveUnixLink(link);
    if (!bMade)
        GTEST_SKIP() << "no Unix links here";
}

TEST(Search, GroupsEqualContentInFoundOrderAndNothingElse)
{
    CTempFolder root;
    root.Write("a.txt", "same");
    root.Write("b\\b.txt", "same");
    root.Write("c.txt", "same");
    root.Write("d.txt", "diff");  // equal size, other content
    root.Write("e1.txt", "");     // empty
    root.Write("e2.txt", "");
    root.Write("n1.bin", std::string(1, '\0'));  // only zero bytes: equal content all the same
    root.Write("n2.bin", std::string(1, '\0'));
    root.Write("z1.bin", std::string(50, '\0'));
    root.Write("z2.bin", std::string(50, '\0'));
    root.Write("p1.txt", "pair one");
    root.Write("p2.txt", "pair two");
    root.Write("p3.txt", "pair one");
    root.Write("p4.txt", "pair two");
    // Equal CRC, other length: leading zero bytes leave the running value unchanged.
    root.Write("lead1.bin", "zeros");
    root.Write("lead2.bin", std::string(3, '\0') + "zeros");
    root.Write("lead3.bin", "zeros!");

    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    EXPECT_EQ((Names{{"n1.bin", "n2.bin"},
                     {"a.txt", "b\\b.txt", "c.txt"},
                     {"p1.txt", "p3.txt"},
                     {"p2.txt", "p4.txt"},
                     {"z1.bin", "z2.bin"}}),
              Groups(dlg, root));
    EXPECT_EQ((std::vector<std::string>{"0/0", "0/1", "-", "1/0", "1/1", "1/2", "-", "2/0", "2/1", "-", "3/0", "3/1",
                                        "-", "4/0", "4/1"}),
              Rows(dlg));
    EXPECT_EQ(CString("Найдено 5 дубликатов"), dlg.ControlText(IDC_STATUS));
    EXPECT_EQ(CString(""), dlg.ControlText(IDC_FOLDER));
    EXPECT_EQ(nullptr, dlg.m_pSearch);
    EXPECT_EQ(CString("Поиск"), dlg.ControlText(IDC_SEARCH));
}

TEST(Search, SortsGroupsAsTheExchangeSortDoesBySizeOfTheFirstFile)
{
    CTempFolder root;
    // Found as A(5), C(3), B(5): shown as C, A, B.
    const std::pair<std::string, std::string> pairs[] = {
        {"a", "AAAAA"}, {"c", "CCC"}, {"d", "BBBBB"}, {"e", std::string(2000, 'x')}, {"f", std::string(100, 'y')}};
    for (const auto& pair : pairs)
    {
        root.Write(pair.first + "1", pair.second);
        root.Write(pair.first + "2", pair.second);
    }
    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    EXPECT_EQ((Names{{"c1", "c2"}, {"a1", "a2"}, {"d1", "d2"}, {"f1", "f2"}, {"e1", "e2"}}), Groups(dlg, root));
}

TEST(Search, AnUnreadableCopyIsNotReported)
{
    CTempFolder root;
    root.Write("a.txt", "content");
    const std::string locked = root.Write("b.txt", "content");
    CAutoHandle hold(HoldOpen(locked));
    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    EXPECT_TRUE(Groups(dlg, root).empty());
}

TEST(Search, Mp3ModeComparesAudioOnlyForNamesEndingInMp3)
{
    CTempFolder root;
    const std::string audio = "audio bytes of a song";
    const std::string head = std::string("ID3\x03\x00\x00\x00\x00\x00\x02", 10) + "hh";
    const std::string tail = "TAG" + std::string(125, 't');
    root.Write("one.mp3", head + audio + tail);
    root.Write("SONG.MP3", audio + "TAG" + std::string(125, 'u'));
    root.Write("xmp3", std::string("ID3\x03\x00\x00\x00\x00\x00\x01", 10) + "h" + audio);
    root.Write("aplain.bin", audio);
    root.Write("song.mp3.bak", head + audio + tail);
    root.Write("copy.mp3.bak", head + audio + tail);

    CDialogUnderTest dlg;
    dlg.Search(root.Path(), TRUE);
    // Sorted by the full size of the first file: 21 bytes before 161.
    EXPECT_EQ((Names{{"aplain.bin", "one.mp3", "SONG.MP3", "xmp3"}, {"copy.mp3.bak", "song.mp3.bak"}}),
              Groups(dlg, root));

    dlg.Search(root.Path(), FALSE);
    EXPECT_EQ((Names{{"copy.mp3.bak", "one.mp3", "song.mp3.bak"}}), Groups(dlg, root));
}

TEST(Search, EmptyPathClearsAndStaysIdle)
{
    CTempFolder root;
    root.Write("a", "same");
    root.Write("b", "same");
    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    ASSERT_EQ(2, dlg.m_list.GetItemCount());
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_FOLDER, "D:\\target\\");
    dlg.Search("");
    EXPECT_EQ(0, dlg.m_list.GetItemCount());
    EXPECT_EQ(0, dlg.m_groups.GroupCount());
    EXPECT_EQ(CString(""), dlg.ControlText(IDC_STATUS));
    EXPECT_EQ(CString(""), dlg.ControlText(IDC_FOLDER));
    EXPECT_FALSE(dlg.m_bBusy);

    ::SetDlgItemTextA(dlg.m_hWnd, IDC_FOLDER, "D:\\target\\");
    dlg.Search(root.Path());
    EXPECT_EQ(CString(""), dlg.ControlText(IDC_FOLDER));
}

namespace
{
// Sees every status text a search shows and acts once when one begins with the trigger.
class CStatusWatch
{
public:
    CStatusWatch(CDialogUnderTest& dlg, std::string trigger, std::function<void()> action)
        : m_trigger(std::move(trigger)), m_action(std::move(action)),
          m_watch(
              [this, hStatus = ::GetDlgItem(dlg.m_hWnd, IDC_STATUS)](const CWPSTRUCT& msg)
              {
                  if (msg.message == WM_SETTEXT && msg.hwnd == hStatus)
                      Seen(reinterpret_cast<LPCSTR>(msg.lParam));
              })
    {
        dlg.RefreshOnEveryStep();
    }
    std::vector<std::string> m_texts;

private:
    void Seen(const std::string& text)
    {
        m_texts.push_back(text);
        if (!m_fired && text.compare(0, m_trigger.size(), m_trigger) == 0)
        {
            m_fired = true;
            m_action();
        }
    }

    std::string m_trigger;
    std::function<void()> m_action;
    bool m_fired = false;
    CSentMessageWatch m_watch;  // last: it calls Seen as soon as it exists
};

void WriteDuplicates(const CTempFolder& root)
{
    root.Write("a.mp3", "one");
    root.Write("sub\\b.mp3", "one");
    root.Write("c.txt", "two");
    root.Write("d.txt", "two");
    root.Write("e.txt", "three");
}

void ExpectStoppedAndIdle(CDialogUnderTest& dlg)
{
    EXPECT_EQ(CString("Прервано пользователем"), dlg.ControlText(IDC_STATUS));
    EXPECT_EQ(0, dlg.m_list.GetItemCount());
    EXPECT_EQ(0, dlg.m_groups.GroupCount());
    ExpectIdle(dlg);
}
}  // namespace

TEST(SearchControl, StopDuringEveryStageLeavesNothing)
{
    CTempFolder root;
    WriteDuplicates(root);
    const struct
    {
        const char* trigger;
        const char* folderText;  // the file being handled when the click arrived
    } stages[] = {{"Просмотр: ", ""},       {"MP3: 2/", "c.txt"},      {"Оценка 3/", "d.txt"},
                  {"Просмотр 2/", "c.txt"}, {"Сравнение 1/", "a.mp3"}, {"Составление", ""}};
    for (const auto& stage : stages)
    {
        CDialogUnderTest dlg;
        CStatusWatch watch(dlg, stage.trigger, [&] { PostClick(dlg, IDC_SEARCH); });
        dlg.Search(root.Path(), TRUE);
        SCOPED_TRACE(stage.trigger);
        ExpectStoppedAndIdle(dlg);
        const std::string folder = stage.folderText[0] ? root.Path() + stage.folderText : "";
        EXPECT_EQ(CString(folder.c_str()), dlg.ControlText(IDC_FOLDER));
    }
}

TEST(SearchControl, ClicksAfterTheStopRequestStartNothing)
{
    CTempFolder root;
    WriteDuplicates(root);
    CDialogUnderTest dlg;
    CStatusWatch watch(dlg, "Просмотр 1/",
                       [&]
                       {
                           PostClick(dlg, IDC_SEARCH);
                           PostClick(dlg, IDC_SEARCH);
                           PostClick(dlg, IDCANCEL);
                       });
    dlg.Search(root.Path());
    ExpectStoppedAndIdle(dlg);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_EQ(1, std::count(watch.m_texts.begin(), watch.m_texts.end(),
                            std::string("Просмотр 1/4: ") + root.Path() + "a.mp3"));
}

TEST(SearchControl, PauseThenContinueSkipsAndRepeatsNothing)
{
    CTempFolder root;
    WriteDuplicates(root);
    CDialogUnderTest dlg;
    CPauseAnswerer answerer(dlg);
    bool bBusyLookWhilePaused = false;
    CStatusWatch watch(dlg, "Просмотр 2/",
                       [&]
                       {
                           dlg.HandlePauseClick();
                           bBusyLookWhilePaused =
                               dlg.ControlText(IDC_DELETE) == "Продолжить" &&
                               !::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDCANCEL)) &&
                               !::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_BROWSE)) &&
                               ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_FOLDER)) &&
                               (::GetWindowLongA(::GetDlgItem(dlg.m_hWnd, IDC_FOLDER), GWL_STYLE) & ES_READONLY);
                       });
    dlg.Search(root.Path());
    EXPECT_TRUE(bBusyLookWhilePaused);
    EXPECT_EQ(1, answerer.Answered());
    EXPECT_EQ(CString("Найдено 2 дубликатов"), dlg.ControlText(IDC_STATUS));
    const std::string checksumStage = "Просмотр ";
    std::vector<std::string> checksummed;
    for (const std::string& text : watch.m_texts)
        if (text.rfind(checksumStage, 0) == 0)
            checksummed.push_back(text.substr(0, checksumStage.size() + 3));
    EXPECT_EQ((std::vector<std::string>{"Просмотр 1/4", "Просмотр 2/4", "Просмотр 3/4", "Просмотр 4/4"}), checksummed);
}

TEST(SearchControl, PauseThenStopEndsTheSearch)
{
    CTempFolder root;
    WriteDuplicates(root);
    CDialogUnderTest dlg;
    CStatusWatch watch(dlg, "Сравнение 1/",
                       [&]
                       {
                           dlg.HandlePauseClick();
                           PostClick(dlg, IDC_SEARCH);
                       });
    dlg.Search(root.Path());
    ExpectStoppedAndIdle(dlg);
}

TEST(SearchControl, CheckStopWhileIdleStops)
{
    CDialogUnderTest dlg;
    EXPECT_EQ(Outcome::kStopped, dlg.CheckStop());
    EXPECT_EQ(CString("Прервано пользователем"), dlg.ControlText(IDC_STATUS));
}

TEST(SearchProgress, ALongFileIsNamedWhileItIsReadAndAStopThereEndsTheSearch)
{
    for (const bool bStop : {false, true})
    {
        // Files are read a few ahead of the one named, so the long file must outlast the window's
        // answer to a click by far; the one to be stopped would take the rest of the test run to read.
        const CLongFileTree tree(bStop ? 1ll << 34 : 1ll << 30);
        CDialogUnderTest dlg;
        const bool bSeen = SearchWatchingTheLongFile(dlg, tree, bStop);
        SCOPED_TRACE(bStop ? "stopped" : "to the end");
        EXPECT_TRUE(bSeen);
        EXPECT_EQ(CString(bStop ? "Прервано пользователем" : "Найдено 1 дубликатов"), dlg.ControlText(IDC_STATUS));
        if (bStop)
        {
            EXPECT_EQ(CString(tree.Long().c_str()), dlg.ControlText(IDC_FOLDER));
        }
    }
}

TEST(SearchProgress, TheLowerFieldIsEmptiedAndRepaintedWhenSortingStarts)
{
    CTempFolder root;
    root.Write("a1", "same");
    root.Write("a2", "same");
    CDialogUnderTest dlg;
    std::string folderWhenSorting = "not seen";
    BOOL bFolderUnpainted = TRUE;
    CSentMessageWatch watch(
        [&, hStatus = ::GetDlgItem(dlg.m_hWnd, IDC_STATUS)](const CWPSTRUCT& msg)
        {
            if (msg.message == WM_SETTEXT && msg.hwnd == hStatus &&
                std::string(reinterpret_cast<LPCSTR>(msg.lParam)) == "Сортировка...")
            {
                folderWhenSorting = dlg.ControlText(IDC_FOLDER);
                bFolderUnpainted = ::GetUpdateRect(::GetDlgItem(dlg.m_hWnd, IDC_FOLDER), nullptr, FALSE);
            }
        });
    dlg.Search(root.Path());
    EXPECT_EQ("", folderWhenSorting);
    EXPECT_FALSE(bFolderUnpainted);
}

// Files changed while the search runs, after their contents were read, are no copies of anything:
// they are not listed, and a file changed after the search is neither deleted nor moved.
TEST(Search, FilesChangedSinceTheyWereListedAreNeitherListedNorActedOn)
{
    CTempFolder root;
    const std::string contents(64 * 1024, 'c');
    for (const char* name : {"overwritten", "setback", "cut", "deleted", "grown", "kept"})
    {
        root.Write(std::string(name) + "1.bin", contents + name);
        root.Write(std::string(name) + "2.bin", contents + name);
    }
    CDialogUnderTest dlg;
    dlg.RefreshOnEveryStep();
    BOOL bChanged = FALSE;
    CSentMessageWatch watch(
        [&](const CWPSTRUCT& msg)
        {
            if (bChanged || msg.message != WM_SETTEXT || msg.hwnd != dlg.m_status.m_hWnd ||
                std::string(reinterpret_cast<LPCSTR>(msg.lParam)).rfind("Сравнение", 0) != 0)
                return;
            bChanged = TRUE;
            OverwriteAt(root.Path() + "overwritten1.bin", "XXXX", 4096);  // the same size, other contents
            OverwriteKeepingTime(root.Path() + "setback2.bin", "XXXX");
            SetFileSize(root.Path() + "cut2.bin", 1000);
            ::DeleteFileA((root.Path() + "deleted1.bin").c_str());
            SetFileSize(root.Path() + "grown1.bin", 100000);
        });
    dlg.Search(root.Path());
    ASSERT_TRUE(bChanged);
    EXPECT_EQ((Names{{"kept1.bin", "kept2.bin"}}), Groups(dlg, root));

    CMessageBoxRecorder boxes;
    OverwriteAt(root.Path() + "kept1.bin", "YYYY", 100);
    dlg.SelectRows({0});
    dlg.Click(IDC_DELETE);
    dlg.SetControlText(IDC_FOLDER, root.Path() + "out");
    dlg.Click(IDC_MOVE);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Невозможно удалить файл:\n" + root.Path() + "kept1.bin");
    EXPECT_EQ(boxes.boxes[1].text, "Невозможно переместить файл:\n" + root.Path() + "out\\kept1.bin");
    EXPECT_TRUE(FileExists(root.Path() + "kept1.bin"));
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int>{0}));
}

// The plain Windows path rules read aux.* and com1.* as devices, whose read never returns: the search
// reads them as the files they are. Links to devices and pipes list as empty and are never opened,
// not even for their MP3 tags (a pipe would not even open until something writes to it).
TEST(Search, NamesOfDevicesAreReadAsTheFilesTheyAreAndLinksToDevicesAreNotRead)
{
    CTempFolder root;
    for (const char* name : {"a.txt", "aux.h", "b.txt", "com1.txt"})
        root.Write(name, "same");
    const std::string pipe = root.Path() + "pipe.mp3";
    const std::string links[] = {root.Path() + "zero.mp3", root.Path() + "zero.bin", root.Path() + "random.bin"};
    const bool bMade = MakeUnixLink(links[0], "/dev/zero") && MakeUnixLink(links[1], "/dev/zero") &&
                       MakeUnixLink(links[2], "/dev/urandom") && MakeUnixPipe(pipe);
    CDialogUnderTest dlg;
    dlg.Search(root.Path(), TRUE);
    EXPECT_EQ((Names{{"a.txt", "aux.h", "b.txt", "com1.txt"}}), Groups(dlg, root));
    for (const std::string& link : links)
        RemoveUnixLink(link);
    RemoveUnixLink(pipe);
    if (!bMade)
        GTEST_SKIP() << "no Unix links here";
}
