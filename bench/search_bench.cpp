// search_bench: times the real search in the real main window, beside Wine's bare listing and reading floors.
// Usage: search_bench <tree folder> [groups file]; prints "name value" lines (seconds, counts, bytes) and
// writes the groups found without MP3 handling to the groups file, a path a line, a blank line after each group.
#include "bench/IoFloor.h"
#include "kit/DialogUnderTest.h"
#include "kit/StatusStages.h"
#include "framework/FileSystem.h"
#include "search/StoreFile.h"
#include "framework/ScopedWin.h"
#include "framework/WinApp.h"
#include "search/Mp3Tags.h"
#include <commctrl.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{

using bench::FoundFile;
using bench::ListTree;
using bench::OpenForReading;
using bench::ReadFiles;
using bench::SharedKeys;

SIZE_T PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

struct SearchRun
{
    double clearSeconds;  // emptying the previous results, which a search does first
    double seconds;
    std::vector<stages::StageMark> marks;
    double start;
    int groups;
    int groupedFiles;
    int rows;
    int shownCount;  // the number in "Найдено %d дубликатов", -1 when the status says something else
};

// A search as a user gives it: path typed, box checked, button clicked; each search first empties the
// previous results, and that is timed apart, as a first search has none. Each is a first search: the
// checksums an earlier one remembered are forgotten, as the tools it is compared with remember none.
SearchRun TimedSearch(CDialogUnderTest& dialog, const std::string& folder, BOOL bMp3, BOOL bStamped)
{
    DeletePath(ChecksumStorePath().c_str());
    dialog.SetControlText(IDC_PATH, folder);
    ::CheckDlgButton(dialog.m_hWnd, IDC_MP3, bMp3 ? BST_CHECKED : BST_UNCHECKED);
    SearchRun run = {};
    const double clearStart = NowSeconds();
    dialog.ClearResults();
    run.clearSeconds = NowSeconds() - clearStart;
    {
        std::unique_ptr<stages::CStageRecorder> recorder;
        if (bStamped)
            recorder.reset(new stages::CStageRecorder(::GetDlgItem(dialog.m_hWnd, IDC_STATUS), &run.marks));
        run.start = NowSeconds();
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEARCH, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, IDC_SEARCH)));
        run.seconds = NowSeconds() - run.start;
    }
    PumpMessages();
    const CResultsTable& results = dialog.Results();
    run.groups = results.GroupCount();
    for (int g = 0; g < results.GroupCount(); ++g)
        run.groupedFiles += static_cast<int>(results.GroupPaths(g).GetSize());
    run.rows = dialog.m_list.GetItemCount();
    if (std::sscanf(dialog.ControlText(IDC_STATUS), "Найдено %d", &run.shownCount) != 1)
        run.shownCount = -1;
    return run;
}

void WriteGroups(const CResultsTable& results, const char* pszPath)
{
    FILE* file = std::fopen(pszPath, "wb");
    if (!file)
        return;
    for (int g = 0; g < results.GroupCount(); ++g)
    {
        const CStringArray& paths = results.GroupPaths(g);
        for (INT_PTR f = 0; f < paths.GetSize(); ++f)
            std::fprintf(file, "%s\n", static_cast<LPCSTR>(paths[f]));
        std::fprintf(file, "\n");
    }
    std::fclose(file);
}

bool HasMp3Name(const std::string& path)
{
    return path.size() >= 3 && lstrcmpiA(path.c_str() + path.size() - 3, "mp3") == 0;
}

// What MP3 handling must at least do per MP3 file: open it, read its first 10 bytes and the 3 at its ID3v1 place.
ULONGLONG ProbeAudioLength(const FoundFile& file)
{
    CAutoHandle handle(OpenForReading(file.path));
    BYTE head[kId3v2HeaderSize] = {};
    BYTE tail[kTagMarkerSize] = {};
    DWORD got = 0;
    if (!handle.IsValid() || !::ReadFile(handle.Get(), head, sizeof head, &got, NULL))
        return 0;
    const bool hasTail = file.size >= kId3v1TagSize;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(file.size) - kId3v1TagSize;
    if (hasTail && (!::SetFilePointerEx(handle.Get(), to, NULL, FILE_BEGIN) ||
                    !::ReadFile(handle.Get(), tail, sizeof tail, &got, NULL)))
        return 0;
    return LocateMp3Audio(file.size, head, hasTail ? tail : NULL).length;
}

// Runs the work once to warm the caches, then takes the best of two timed runs: others share this machine.
template <class Work> double Timed(Work work)
{
    work();
    double best = 0;
    for (int run = 0; run < 2; ++run)
    {
        const double start = NowSeconds();
        work();
        const double seconds = NowSeconds() - start;
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

void PrintRun(const char* mode, const SearchRun& run, double unstampedSeconds)
{
    std::printf("%s.clear-previous %.3f\n%s.total %.3f\n%s.stamped-total %.3f\n", mode, run.clearSeconds, mode,
                unstampedSeconds, mode, run.seconds);
    double from = run.start;
    const char* label = "start";
    for (const stages::StageMark& mark : run.marks)
    {
        std::printf("%s.stage %s %.3f\n", mode, label, mark.time - from);
        from = mark.time;
        label = stages::StageLabel(mark.stage);
    }
    std::printf("%s.stage %s %.3f\n", mode, label, run.start + run.seconds - from);
    std::printf("%s.groups %d\n%s.grouped-files %d\n%s.rows %d\n%s.shown-count %d\n", mode, run.groups, mode,
                run.groupedFiles, mode, run.rows, mode, run.shownCount);
}

// Each search first empties the previous results; that is timed apart, as a first search has none.
void BenchSearch(CDialogUnderTest& dialog, const std::string& root, BOOL bMp3, const char* mode)
{
    TimedSearch(dialog, root, bMp3, FALSE);
    // Best of two: others share this machine, and one slow run says more about them than about the search.
    const double unstamped =
        std::min(TimedSearch(dialog, root, bMp3, FALSE).seconds, TimedSearch(dialog, root, bMp3, FALSE).seconds);
    const SearchRun stamped = TimedSearch(dialog, root, bMp3, TRUE);
    PrintRun(mode, stamped, unstamped);
    std::fflush(stdout);
}

void BenchFloors(const std::string& root)
{
    std::vector<FoundFile> files;
    const double walk = Timed(
        [&]
        {
            files.clear();
            ListTree(root, files);
        });
    ULONGLONG bytes = 0;
    std::vector<ULONGLONG> sizes;
    for (const FoundFile& file : files)
    {
        sizes.push_back(file.size);
        bytes += file.size;
    }
    std::printf("tree.files %u\ntree.bytes %llu\nfloor.walk %.3f\n", static_cast<unsigned>(files.size()), bytes, walk);

    std::unique_ptr<BYTE[]> buffer(new BYTE[bench::kReadBufferSize]);
    const std::vector<size_t> sameSize = SharedKeys(sizes);
    ULONGLONG readBytes = 0;
    const double read = Timed([&] { readBytes = ReadFiles(files, sameSize, buffer.get()); });
    std::printf("floor.read %.3f\nfloor.read-files %u\nfloor.read-bytes %llu\n", read,
                static_cast<unsigned>(sameSize.size()), readBytes);

    std::vector<ULONGLONG> keys = sizes;
    unsigned mp3Files = 0;
    const double probe = Timed(
        [&]
        {
            mp3Files = 0;
            for (size_t i = 0; i < files.size(); ++i)
                if (HasMp3Name(files[i].path))
                {
                    keys[i] = ProbeAudioLength(files[i]);
                    ++mp3Files;
                }
        });
    const std::vector<size_t> sameKey = SharedKeys(keys);
    const double mp3Read = Timed([&] { readBytes = ReadFiles(files, sameKey, buffer.get()); });
    std::printf("floor.mp3-probe %.3f\nfloor.mp3-files %u\nfloor.mp3-read %.3f\nfloor.mp3-read-files %u\n"
                "floor.mp3-read-bytes %llu\n",
                probe, mp3Files, mp3Read, static_cast<unsigned>(sameKey.size()), readBytes);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: search_bench <tree folder>\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '\\')
        root += '\\';
    ::InitCommonControls();
    CWinApp app;
    {
        CDialogUnderTest dialog;
        // The first search also warms the file cache; its growth of the peak is the search's own.
        const SIZE_T peakBefore = PeakWorkingSet();
        BenchSearch(dialog, root, FALSE, "off");
        if (argc > 2)
            WriteGroups(dialog.Results(), argv[2]);
        std::printf("memory.peak-before %llu\nmemory.peak-after %llu\n", static_cast<ULONGLONG>(peakBefore),
                    static_cast<ULONGLONG>(PeakWorkingSet()));
        BenchSearch(dialog, root, TRUE, "on");
    }
    BenchFloors(root);
    return 0;
}
