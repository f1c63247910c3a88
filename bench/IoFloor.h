// The platform's floor for a search: the bare listing of a tree and the bare reading of the files a
// search must read (those whose size another file shares), in walk order, with CreateFileA and ReadFile.
#pragma once
#include "framework/ScopedWin.h"
#include <windows.h>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace bench
{

// The search reads through a buffer of this size too; the floor should not win by a different one.
const DWORD kReadBufferSize = 512 * 1024;

struct FoundFile
{
    std::string path;
    ULONGLONG size;
};

// Bare listing, the way any walk of the tree must list it.
inline void ListTree(const std::string& folder, std::vector<FoundFile>& files)
{
    WIN32_FIND_DATAA entry;
    CAutoFind find(::FindFirstFileA((folder + "*.*").c_str(), &entry));
    if (!find.IsValid())
        return;
    do
    {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0)
                ListTree(folder + entry.cFileName + "\\", files);
        }
        else
            files.push_back(
                {folder + entry.cFileName, static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow});
    } while (::FindNextFileA(find.Get(), &entry));
}

inline HANDLE OpenForReading(const std::string& path)
{
    return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
}

// Files whose comparison key (size, or audio length) is not 0 and is shared with another file.
inline std::vector<size_t> SharedKeys(const std::vector<ULONGLONG>& keys)
{
    std::map<ULONGLONG, int> counts;
    for (ULONGLONG key : keys)
        ++counts[key];
    std::vector<size_t> chosen;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] != 0 && counts[keys[i]] >= 2)
            chosen.push_back(i);
    return chosen;
}

inline ULONGLONG ReadOneFile(const FoundFile& found, BYTE* buffer)
{
    ULONGLONG total = 0;
    CAutoHandle file(OpenForReading(found.path));
    DWORD got = 0;
    while (file.IsValid() && ::ReadFile(file.Get(), buffer, kReadBufferSize, &got, NULL) && got > 0)
        total += got;
    return total;
}

inline ULONGLONG ReadFiles(const std::vector<FoundFile>& files, const std::vector<size_t>& chosen, BYTE* buffer)
{
    ULONGLONG total = 0;
    for (size_t i : chosen)
        total += ReadOneFile(files[i], buffer);
    return total;
}

// The same files read by several threads that take the next file of one shared list, in walk order,
// each through a buffer of its own: what two reading threads can reach with no window to serve.
inline ULONGLONG ReadFilesOnThreads(const std::vector<FoundFile>& files, const std::vector<size_t>& chosen,
                                    int nThreads)
{
    std::atomic<size_t> next{0};
    std::atomic<ULONGLONG> total{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < nThreads; ++t)
    {
        threads.emplace_back(
            [&]
            {
                std::unique_ptr<BYTE[]> buffer(new BYTE[kReadBufferSize]);
                for (size_t k; (k = next++) < chosen.size();)
                    total += ReadOneFile(files[chosen[k]], buffer.get());
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    return total;
}

}  // namespace bench
