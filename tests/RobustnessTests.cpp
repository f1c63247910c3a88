// Stops and pauses at random moments, files that change under the program, and names and paths
// that the single-byte interface cannot reach.
#include "results/ItemKey.h"
#include "tests/DialogHarness.h"
#include <random>
#include <thread>

namespace
{
const int kRuns = 100;

// What a user does at a random moment; a pause alone is answered with "Продолжить".
enum Click
{
    kStop,
    kPauseThenStop,
    kPause
};

void PostClicks(const CDialogUnderTest& dlg, Click click)
{
    if (click != kStop)
        PostClick(dlg, IDC_DELETE);
    if (click != kPause)
        PostClick(dlg, IDC_SEARCH);
}
}  // namespace

TEST(Robustness, AClickGivenDuringTheLastFileOfACopyKeepsItsBusyMeaning)
{
    CTempFolder root;
    const std::string first = root.Write("a\\first.bin", "");
    // Quick to make, and yet long enough to copy that the click comes while it is copied.
    const LONGLONG kLastSize = 128ll << 20;
    const std::string last = root.WriteSparse("b\\last.bin", kLastSize);
    CDialogUnderTest dlg;
    dlg.m_strRoot = root.Path().c_str();
    dlg.AddGroup({first, last});
    // Idle, "Пауза" is "Удалить" and "Стоп" is "Поиск"; the last case is "Пауза" released when idle.
    for (int nCase = 0; nCase < 3; ++nCase)
    {
        SCOPED_TRACE(nCase);
        const int nButton = nCase == 1 ? IDC_SEARCH : IDC_DELETE;
        const bool bReleasedWhenIdle = nCase == 2;
        CTempFolder target;
        dlg.SelectRows({0, 1});
        dlg.SetControlText(IDC_FOLDER, target.Path());
        const std::string lastCopy = target.Path() + "b\\last.bin";
        // The copy is written under a temporary name beside its target until it is complete.
        const std::string copying = target.Path() + "b\\*.tmp";
        const auto isCopying = [&]
        {
            WIN32_FIND_DATAA entry;
            CAutoFind find(::FindFirstFileA(copying.c_str(), &entry));
            return find.IsValid();
        };
        bool bClickedInsideLastFile = false;
        std::thread user(
            [&]
            {
                WaitUntil(isCopying, 20000);
                PostMouse(dlg, nButton, WM_LBUTTONDOWN);
                if (!bReleasedWhenIdle)
                    PostMouse(dlg, nButton, WM_LBUTTONUP);
                bClickedInsideLastFile = isCopying();
            });
        dlg.Click(IDC_COPY);
        user.join();
        PumpMessages();
        if (bReleasedWhenIdle)
            PostMouse(dlg, nButton, WM_LBUTTONUP);
        PumpMessages();

        ASSERT_TRUE(bClickedInsideLastFile);
        EXPECT_TRUE(FileExists(first) && FileExists(last));
        EXPECT_EQ(kLastSize, FileSize(lastCopy));
        EXPECT_EQ((std::vector<int>{0, 1}), dlg.SelectedRows());
        EXPECT_EQ(CString(target.Path().c_str()), dlg.ControlText(IDC_FOLDER));
        ExpectIdle(dlg);
    }
}

TEST(Robustness, SearchPausedWhileFillingTheListShowsTheRowsSoFar)
{
    CTempFolder root;
    for (const char* name : {"a1", "a2", "b1", "b2"})
        root.Write(name, name[0] == 'a' ? "aa" : "bbb");
    CDialogUnderTest dlg;
    dlg.RefreshOnEveryStep();
    int nGroupsListed = 0;
    int nDrawnWhilePaused = 0;
    CPauseAnswerer answerer(dlg);
    CSentMessageWatch watch(
        [&](const CWPSTRUCT& msg)
        {
            if (msg.message == LVM_SETITEMCOUNT && ++nGroupsListed == 1)
                PostClick(dlg, IDC_DELETE);
            nDrawnWhilePaused += msg.message == WM_DRAWITEM && dlg.m_bPaused;
        });
    dlg.Search(root.Path());
    EXPECT_EQ(CString("Найдено 2 дубликатов"), dlg.ControlText(IDC_STATUS));
    EXPECT_GT(nDrawnWhilePaused, 0);
}

TEST(Robustness, SearchStoppedOrPausedAtRandomMomentsEndsCleanOrComplete)
{
    CTempFolder root;
    for (int i = 0; i < 20; ++i)
        root.Write("d" + std::to_string(i % 7) + "\\f" + std::to_string(i) + ".txt",
                   "content " + std::to_string(i % 5));
    CDialogUnderTest dlg;
    dlg.RefreshOnEveryStep();
    const auto expectComplete = [&]
    {
        EXPECT_EQ(CString("Найдено 5 дубликатов"), dlg.ControlText(IDC_STATUS));
        EXPECT_EQ(5, dlg.m_groups.GroupCount());
        EXPECT_EQ(24, dlg.m_list.GetItemCount());
    };
    // The steps of a whole search are the status texts it shows; each run acts at one of them.
    int nSteps = 0;
    {
        CSentMessageWatch count([&](const CWPSTRUCT& msg)
                                { nSteps += msg.message == WM_SETTEXT && msg.hwnd == dlg.m_status.m_hWnd; });
        dlg.Search(root.Path());
        expectComplete();
    }
    CPauseAnswerer answerer(dlg);
    std::mt19937 random(7);
    int nStopClicks = 0;
    int nStopped = 0;
    for (int run = 0; run < kRuns; ++run)
    {
        SCOPED_TRACE(run);
        const int nStep = 1 + static_cast<int>(random() % nSteps);
        const Click click = static_cast<Click>(random() % 3);
        nStopClicks += click != kPause;
        int nSeen = 0;
        CSentMessageWatch watch(
            [&](const CWPSTRUCT& msg)
            {
                if (msg.message == WM_SETTEXT && msg.hwnd == dlg.m_status.m_hWnd && ++nSeen == nStep)
                    PostClicks(dlg, click);
            });
        dlg.Search(root.Path());
        PumpMessages();
        ExpectIdle(dlg);
        if (dlg.ControlText(IDC_STATUS) == CString("Прервано пользователем"))
        {
            EXPECT_NE(kPause, click);
            ++nStopped;
            EXPECT_EQ(0, dlg.m_groups.GroupCount());
            EXPECT_EQ(0, dlg.m_list.GetItemCount());
        }
        else
            expectComplete();
    }
    EXPECT_GT(nStopped, nStopClicks * 9 / 10) << "stops fall inside the search";
    EXPECT_GT(answerer.Answered(), kRuns / 10);
}

TEST(Robustness, DeleteStoppedOrPausedAtRandomMomentsHandlesEachFileOnce)
{
    std::mt19937 random(11);
    CDialogUnderTest dlg;
    CPauseAnswerer answerer(dlg);
    for (int run = 0; run < kRuns; ++run)
    {
        SCOPED_TRACE(run);
        CTempFolder root;
        dlg.ClearResults();
        const int kGroups = 4;
        std::vector<std::string> paths;
        for (int g = 0; g < kGroups; ++g)
        {
            const std::string a = root.Write("a\\" + std::to_string(g), std::to_string(g));
            const std::string b = root.Write("b\\" + std::to_string(g), std::to_string(g));
            dlg.AddGroup({a, b});
            paths.push_back(a);
            paths.push_back(b);
        }
        dlg.m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        const int nFiles = static_cast<int>(paths.size());
        // 0: no click at all; otherwise the click comes after that many files.
        const int nStopAfter = static_cast<int>(random() % nFiles);
        const Click click = static_cast<Click>(random() % 3);
        int nDeleted = 0;
        // Each row taken out is one file deleted; the click is handled before the next file.
        CSentMessageWatch watch(
            [&](const CWPSTRUCT& msg)
            {
                if (msg.message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(msg.lParam)->code != LVN_DELETEITEM)
                    return;
                const LPARAM key = dlg.m_list.GetRowKey(reinterpret_cast<const NMLISTVIEW*>(msg.lParam)->iItem);
                if (!IsSeparatorKey(key) && ++nDeleted == nStopAfter)
                    PostClicks(dlg, click);
            });
        CMessageBoxRecorder boxes;
        dlg.Click(IDC_DELETE);
        PumpMessages();

        ExpectIdle(dlg);
        EXPECT_TRUE(boxes.boxes.empty()) << "no file was deleted twice";
        int nGone = 0;
        for (const std::string& path : paths)
            nGone += FileExists(path) ? 0 : 1;
        const int nExpected = nStopAfter == 0 || click == kPause ? nFiles : nStopAfter;
        EXPECT_EQ(nExpected, nGone);
        EXPECT_EQ(static_cast<UINT>(nFiles - nGone), dlg.m_list.GetSelectedCount()) << "the rest stays marked";
        EXPECT_EQ(kGroups, dlg.m_groups.GroupCount());
    }
    EXPECT_GT(answerer.Answered(), kRuns / 10);
}

TEST(Robustness, FilesThatVanishOrAreLockedAfterTheSearchAreReportedAndNothingElseIsTouched)
{
    CTempFolder root;
    CTempFolder target;
    CDialogUnderTest dlg;
    const std::string vanished = root.Write("a\\gone.txt", "x");
    const std::string locked = root.Write("a\\locked.txt", "y");
    const std::string fine = root.Write("a\\fine.txt", "z");
    dlg.m_strRoot = root.Path().c_str();
    dlg.AddGroup({vanished, root.Write("b\\gone.txt", "x")});
    dlg.AddGroup({locked, root.Write("b\\locked.txt", "y")});
    dlg.AddGroup({fine, root.Write("b\\fine.txt", "z")});
    ::DeleteFileA(vanished.c_str());
    CAutoHandle hold(HoldOpen(locked));
    ASSERT_TRUE(hold.IsValid());

    for (int button : {IDC_COPY, IDC_MOVE, IDC_DELETE})
    {
        SCOPED_TRACE(button);
        dlg.m_list.SetItemState(-1, 0, LVIS_SELECTED);
        dlg.SelectRows({0, 3});
        if (button != IDC_DELETE)
            dlg.SelectRows({6});
        dlg.SetControlText(IDC_FOLDER, target.Path());
        CMessageBoxRecorder boxes;
        dlg.Click(button);
        ASSERT_EQ(2u, boxes.boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.boxes[0].style);
        EXPECT_NE(std::string::npos, boxes.boxes[0].text.find("gone.txt"));
        EXPECT_NE(std::string::npos, boxes.boxes[1].text.find("locked.txt"));
        EXPECT_TRUE(FileExists(locked));
        EXPECT_FALSE(FileExists(target.Path() + "a\\gone.txt"));
        EXPECT_EQ("y", ReadWholeFile(root.Path() + "b\\locked.txt"));
    }
    EXPECT_FALSE(FileExists(fine)) << "the one good file was copied, then moved";
    EXPECT_EQ("z", ReadWholeFile(target.Path() + "a\\fine.txt"));
}
