// store_bench: the checksum store's own costs at a million files: writing it first, looking every file
// up in it, and writing it anew, on the user's real store file (which it forgets before and after).
// Usage: store_bench [files = 1000000]; prints "name value" lines (seconds, bytes).
#include "framework/FileSystem.h"
#include "kit/Clock.h"
#include "search/StoreFile.h"
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const UINT nFiles = argc > 1 ? static_cast<UINT>(std::atoi(argv[1])) : 1000000;
    std::vector<SearchEntry> entries(nFiles);
    for (UINT i = 0; i < nFiles; ++i)
    {
        const ULONGLONG id = 1000003ull * i % 4000037ull + 1;  // ids out of the table's order
        entries[i].listed = ListedState{100 + i % 4000, 5000 + id, 9000 + id, id};
        entries[i].key = ContentKey{entries[i].listed.size, id * 31, static_cast<DWORD>(id), true};
    }
    const std::string store = ChecksumStorePath();
    DeletePath(store.c_str());
    const ULONGLONG volume = 0x5a000000;
    const auto all = [](UINT) { return true; };
    const auto none = [](UINT) { return false; };

    double start = NowSeconds();
    const std::vector<UINT> byId = checksum_store::KnowableById(entries);
    const double sorted = NowSeconds() - start;
    start = NowSeconds();
    SaveStore(volume, entries, byId, all, none, [] {});
    const double firstSave = NowSeconds() - start;
    UINT nFound = 0;
    start = NowSeconds();
    LookUpStore(
        volume, entries, byId, none, [&](UINT, const ContentKey&) { ++nFound; }, [] {});
    const double lookUp = NowSeconds() - start;
    start = NowSeconds();
    SaveStore(volume, entries, byId, none, none, [] {});
    const double renewal = NowSeconds() - start;
    CFile file;
    ULONGLONG nBytes = 0;
    if (file.OpenForReading(store.c_str()))
        file.GetLength(nBytes);
    file.Close();
    DeletePath(store.c_str());

    std::printf("store.files %u\nstore.bytes %llu\nstore.sort %.3f\nstore.first-save %.3f\nstore.look-up %.3f\n"
                "store.found %u\nstore.renewal %.3f\n",
                nFiles, nBytes, sorted, firstSave, lookUp, nFound, renewal);
    return nFound == nFiles ? 0 : 1;
}
