// io_floor: the platform's floor for one search of a tree, timed once: its listing, then the reading
// of every file whose size another file shares, in walk order, by one thread or by several that share
// one list. Usage: io_floor <tree folder> [threads = 1]; prints "name value" lines (seconds, counts,
// bytes), named floor.* for one thread and floor<N>.* for N threads.
#include "bench/IoFloor.h"
#include "kit/Clock.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <memory>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: io_floor <tree folder> [threads]\n");
        return 2;
    }
    const int nThreads = argc > 2 ? std::atoi(argv[2]) : 1;
    const std::string name = nThreads == 1 ? "floor" : "floor" + std::to_string(nThreads);
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
    const ULONGLONG bytes = nThreads == 1 ? bench::ReadFiles(files, sameSize, buffer.get())
                                          : bench::ReadFilesOnThreads(files, sameSize, nThreads);
    const double read = NowSeconds() - readStart;

    const char* const n = name.c_str();
    std::printf("%s.walk %.3f\n%s.read %.3f\n%s.total %.3f\n%s.files %u\n%s.read-files %u\n%s.read-bytes %llu\n", n,
                walk, n, read, n, walk + read, n, static_cast<unsigned>(files.size()), n,
                static_cast<unsigned>(sameSize.size()), n, bytes);
    return 0;
}
