// make_tree: writes the seeded benchmark tree and prints what a search of it must find.
// Usage: make_tree <target folder> [file count = 100000] [seed = 1] [--plan-only]
#include "bench/TreePlan.h"
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: make_tree <target folder> [file count] [seed] [--plan-only]\n");
        return 2;
    }
    const unsigned fileCount = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], NULL, 10)) : 100000;
    const ULONGLONG seed = argc > 3 ? std::strtoull(argv[3], NULL, 10) : 1;
    const bool planOnly = argc > 4 && std::strcmp(argv[4], "--plan-only") == 0;

    const bench::TreePlan plan = bench::CTreePlanner(fileCount, seed).Make();
    std::map<ULONGLONG, int> sizeCounts;
    for (const bench::PlannedFile& file : plan.files)
        ++sizeCounts[file.Size()];
    unsigned candidates = 0;
    ULONGLONG candidateBytes = 0;
    for (const bench::PlannedFile& file : plan.files)
        if (file.Size() != 0 && sizeCounts[file.Size()] >= 2)
        {
            ++candidates;
            candidateBytes += file.Size();
        }
    std::printf("files %u\nfolders %u\nbytes %llu\n", static_cast<unsigned>(plan.files.size()),
                static_cast<unsigned>(plan.folders.size()), plan.TotalBytes());
    std::printf("same-size-files %u\nsame-size-bytes %llu\n", candidates, candidateBytes);
    std::printf("groups-mp3-off %d\ngroups-mp3-on %d\n", bench::ExpectedGroups(plan, false),
                bench::ExpectedGroups(plan, true));
    std::fflush(stdout);
    if (planOnly)
        return 0;
    const int failures = bench::WriteTree(argv[1], plan);
    if (failures)
        std::fprintf(stderr, "%d files or folders could not be written\n", failures);
    return failures ? 1 : 0;
}
