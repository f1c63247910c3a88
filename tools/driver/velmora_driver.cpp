// velmora_driver: drives a running Velmora from the command line, for demonstrations and screenshots.
//   velmora_driver search <folder> [mp3]  types the folder, presses "Поиск", waits for the result
//   velmora_driver start <folder>         the same, but returns as soon as the search runs
//   velmora_driver list <folder>          the same as search, the rows' paths alone (fast for a million rows)
//   velmora_driver stop                   presses "Стоп" and waits until the window is idle
//   velmora_driver mark <prefix>          types the prefix into the lower field, presses "Выделить"
//   velmora_driver copy <folder>          types the target folder, presses "Копировать в", waits
//   velmora_driver move <folder>          types the target folder, presses "Переместить в", waits
//   velmora_driver timed <folder>         searches and prints each stage's time, the peak memory and the
//                                         longest time the window left a message unanswered
//   velmora_driver scroll                 scrolls the results to the end and back, timing each
//   velmora_driver resize <width> <height> gives the window that outer size, as dragging its frame would
//   velmora_driver close                  presses "Выход"
#include "res/resource.h"
#include "kit/Clock.h"
#include "kit/RemoteVelmora.h"
#include "kit/StatusStages.h"
#include <commctrl.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace
{
const DWORD kSearchTimeoutMs = 600000;  // a search of a million files takes minutes

// The status line, then a line for each row: its path, and its size unless bPathsOnly.
int PrintResult(const CRemoteVelmora& app, BOOL bPathsOnly)
{
    std::printf("%s\n", app.Text(IDC_STATUS).c_str());
    const std::vector<std::string> paths = app.ColumnTexts(0);
    const std::vector<std::string> sizes = bPathsOnly ? std::vector<std::string>() : app.ColumnTexts(1);
    for (size_t row = 0; row < paths.size(); ++row)
    {
        if (bPathsOnly)
            std::printf("%s\n", paths[row].c_str());
        else
            std::printf("%s\t%s\n", paths[row].c_str(), row < sizes.size() ? sizes[row].c_str() : "");
    }
    return 0;
}

// Asks the window a harmless question every 100 ms from a thread of its own and keeps the longest
// wait for the answer: how long the window would look hung to the system and to the user.
class CSilenceWatch
{
public:
    explicit CSilenceWatch(HWND hWnd) : m_thread([this, hWnd] { Watch(hWnd); }) {}
    ~CSilenceWatch() { Stop(); }
    CSilenceWatch(const CSilenceWatch&) = delete;
    CSilenceWatch& operator=(const CSilenceWatch&) = delete;

    double Stop()
    {
        m_bDone = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_longest;
    }

private:
    void Watch(HWND hWnd)
    {
        while (!m_bDone)
        {
            const double asked = NowSeconds();
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
            const double waited = NowSeconds() - asked;
            if (waited > m_longest)
                m_longest = waited;
            ::Sleep(100);
        }
    }

    std::atomic<bool> m_bDone{false};
    double m_longest = 0;
    std::thread m_thread;
};

// The program's memory now; all zero when it cannot be asked.
PROCESS_MEMORY_COUNTERS MemoryOf(const CRemoteVelmora& app)
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (!app.ProcessHandle() || !::GetProcessMemoryInfo(app.ProcessHandle(), &memory, sizeof(memory)))
        memory = PROCESS_MEMORY_COUNTERS{};
    return memory;
}

// Times a search stage by stage from its status line, read every 50 ms: reading it more often
// would cost the window measurable time, since every read is a message it must answer.
int TimedSearch(CRemoteVelmora& app, const char* pszFolder)
{
    using stages::kStageTexts;
    const size_t nStages = sizeof(kStageTexts) / sizeof(kStageTexts[0]);
    std::vector<double> started(nStages, 0);
    std::vector<SIZE_T> largestMemory(nStages, 0);  // the working set seen at the polls of each stage
    const auto isFound = [&](size_t i) { return kStageTexts[i].stage == stages::SearchStage::Found; };
    const auto isStopped = [&](size_t i) { return kStageTexts[i].stage == stages::SearchStage::Stopped; };
    app.SetText(IDC_PATH, pszFolder);
    app.SetCheck(IDC_MP3, FALSE);
    CSilenceWatch silence(app.Window());
    const double start = NowSeconds();
    app.Click(IDC_SEARCH);
    for (BOOL bEnded = FALSE; !bEnded; ::Sleep(50))
    {
        const stages::SearchStage stage = stages::ClassifyStatus(app.Text(IDC_STATUS).c_str());
        const SIZE_T nWorkingSet = MemoryOf(app).WorkingSetSize;
        for (size_t i = 0; i < nStages; ++i)
        {
            if (kStageTexts[i].stage != stage)
                continue;
            if (started[i] == 0)
                started[i] = NowSeconds() - start;
            largestMemory[i] = std::max(largestMemory[i], nWorkingSet);
            bEnded = isFound(i) || isStopped(i);
        }
    }
    app.WaitForIdle();
    const double total = NowSeconds() - start;
    const double longestSilence = silence.Stop();
    // Each stage lasts until the next one seen begins.
    for (size_t i = 0; i < nStages; ++i)
    {
        if (started[i] == 0 || isFound(i) || isStopped(i))
            continue;
        double next = total;
        for (size_t j = i + 1; j < nStages; ++j)
        {
            if (started[j] != 0)
            {
                next = started[j];
                break;
            }
        }
        std::printf("stage %-12s %8.2f s %6.1f MB\n", kStageTexts[i].label, next - started[i],
                    static_cast<double>(largestMemory[i]) / 1e6);
    }
    std::printf("total %.2f s\nstatus %s\nrows %d\n", total, app.Text(IDC_STATUS).c_str(), app.RowCount());
    const PROCESS_MEMORY_COUNTERS memory = MemoryOf(app);
    if (memory.PeakWorkingSetSize != 0)
        std::printf("peak working set %llu bytes\n", static_cast<ULONGLONG>(memory.PeakWorkingSetSize));
    std::printf("longest silence %.2f s\n", longestSilence);
    return 0;
}

int Scroll(CRemoteVelmora& app)
{
    const HWND hList = app.Control(IDC_RESULTS);
    const int rows = app.RowCount();
    double start = NowSeconds();
    ::SendMessageA(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
    ::UpdateWindow(hList);
    std::printf("to the last of %d rows: %.3f s\n", rows, NowSeconds() - start);
    start = NowSeconds();
    for (int page = 0; page < 20; ++page)
    {
        ::SendMessageA(hList, WM_VSCROLL, SB_PAGEUP, 0);
        ::UpdateWindow(hList);
    }
    std::printf("20 pages up: %.3f s\n", NowSeconds() - start);
    start = NowSeconds();
    ::SendMessageA(hList, LVM_ENSUREVISIBLE, 0, FALSE);
    ::UpdateWindow(hList);
    std::printf("back to the first row: %.3f s\n", NowSeconds() - start);
    return 0;
}

int RunFileCommand(CRemoteVelmora& app, int buttonId, const char* pszFolder)
{
    app.SetText(IDC_FOLDER, pszFolder);
    app.Click(buttonId);
    return app.WaitForBusy(2000) && app.WaitForIdle(kSearchTimeoutMs) ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv)
{
    CRemoteVelmora app;
    if (argc < 2 || !app.Attach())
    {
        std::fprintf(stderr, "usage: velmora_driver search|start|stop|mark|copy|move|close [argument] "
                             "(with Velmora running)\n");
        return 2;
    }
    const char* command = argv[1];
    const char* argument = argc > 2 ? argv[2] : "";
    if (std::strcmp(command, "close") == 0)
    {
        app.Click(IDCANCEL);
        return 0;
    }
    if (std::strcmp(command, "stop") == 0)
    {
        app.Click(IDC_SEARCH);
        return app.WaitForIdle() ? 0 : 1;
    }
    if (std::strcmp(command, "mark") == 0)
    {
        app.SetText(IDC_FOLDER, argument);
        app.Press(IDC_MARK);
        return 0;
    }
    if (std::strcmp(command, "resize") == 0 && argc > 3)
    {
        ::SetWindowPos(app.Window(), nullptr, 0, 0, std::atoi(argv[2]), std::atoi(argv[3]), SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    }
    if (std::strcmp(command, "timed") == 0)
        return TimedSearch(app, argument);
    if (std::strcmp(command, "scroll") == 0)
        return Scroll(app);
    if (std::strcmp(command, "copy") == 0)
        return RunFileCommand(app, IDC_COPY, argument);
    if (std::strcmp(command, "move") == 0)
        return RunFileCommand(app, IDC_MOVE, argument);
    if (std::strcmp(command, "search") != 0 && std::strcmp(command, "start") != 0 && std::strcmp(command, "list") != 0)
        return 2;

    app.SetText(IDC_PATH, argument);
    app.SetCheck(IDC_MP3, argc > 3 && std::strcmp(argv[3], "mp3") == 0);
    app.Click(IDC_SEARCH);
    if (std::strcmp(command, "start") == 0)
        return app.WaitForBusy() ? 0 : 1;
    if (!app.WaitForStatus("Найдено", kSearchTimeoutMs) || !app.WaitForIdle())
        return 1;
    return PrintResult(app, std::strcmp(command, "list") == 0);
}
