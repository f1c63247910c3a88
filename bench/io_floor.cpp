// io_floor: the platform's floor for one search of a tree, timed once: its listing, then the reading
// of every file whose size another file shares, in walk order. Usage: io_floor <tree folder>;
// prints "name value" lines (seconds, counts, bytes).
#include "bench/IoFloor.h"
#include "kit/Clock.h"
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: io_floor <tree folder>\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '\\')
        root += '\\';

    const double start = NowSeconds();
    std::vector<bench::FoundFile> files;
    bench::ListTree(root, files);
    const double walk = NowSeconds() - start;

    std::vector<ULONGLONG> sizes;
    sizes.reserve(files.size());
    for (const bench::FoundFile& file : files)
        sizes.push_back(file.size);
    const std::vector<size_t> sameSize = bench::SharedKeys(sizes);
    std::unique_ptr<BYTE[]> buffer(new BYTE[bench::kReadBufferSize]);
    const double readStart = NowSeconds();
    const ULONGLONG bytes = bench::ReadFiles(files, sameSize, buffer.get());
    const double read = NowSeconds() - readStart;

    std::printf("floor.walk %.3f\nfloor.read %.3f\nfloor.total %.3f\nfloor.files %u\nfloor.read-files %u\n"
                "floor.read-bytes %llu\n",
                walk, read, walk + read, static_cast<unsigned>(files.size()), static_cast<unsigned>(sameSize.size()),
                bytes);
    return 0;
}
