// The benchmark tree: a seeded plan of folders and files, the bytes of each planned file, and its writing.
#pragma once
#include "framework/ScopedWin.h"
#include <windows.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench
{

// splitmix64: a bijection of its state per step, so streams from distinct seeds differ in their first word.
inline ULONGLONG Mix64(ULONGLONG z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

class CSplitMix
{
public:
    explicit CSplitMix(ULONGLONG seed) : m_state(seed) {}
    ULONGLONG Next()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        return Mix64(m_state);
    }
    // Uniform in [0, bound).
    ULONGLONG Below(ULONGLONG bound) { return Next() % bound; }
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    bool Chance(double p) { return Unit() < p; }
    // A count that is not a multiple of 8 drops the rest of its last word, so only a stream's final piece
    // may have one: then the bytes do not depend on how the stream is cut into pieces.
    void Fill(BYTE* out, size_t count)
    {
        size_t i = 0;
        for (; i + 8 <= count; i += 8)
        {
            const ULONGLONG word = Next();
            std::memcpy(out + i, &word, 8);
        }
        if (i < count)
        {
            const ULONGLONG word = Next();
            std::memcpy(out + i, &word, count - i);
        }
    }

private:
    ULONGLONG m_state;
};

const ULONGLONG kKiB = 1024;
const ULONGLONG kMiB = 1024 * kKiB;
const DWORD kId3v2Header = 10;
const DWORD kId3v1Size = 128;

struct PlannedFolder
{
    int parent;        // -1 for a folder directly below the root
    std::string path;  // relative to the root, ending in a backslash
};

struct PlannedFile
{
    int folder;
    std::string name;
    // Bytes: ID3v2 tag (tagPayload > 0), body from bodySeed, ID3v1 tag (mp3 only).
    ULONGLONG bodySize;
    ULONGLONG bodySeed;
    DWORD tagPayload;  // ID3v2 bytes after its header; 0: no tags at all
    ULONGLONG tagSeed;
    int origin;  // index of the file whose bytes this one copies; itself for an original

    ULONGLONG Size() const { return bodySize + (tagPayload ? kId3v2Header + tagPayload + kId3v1Size : 0); }
};

struct TreePlan
{
    std::vector<PlannedFolder> folders;
    std::vector<PlannedFile> files;

    ULONGLONG TotalBytes() const
    {
        ULONGLONG total = 0;
        for (const PlannedFile& file : files)
            total += file.Size();
        return total;
    }
};

inline bool HasMp3Name(const std::string& name)
{
    return name.size() >= 3 && lstrcmpiA(name.c_str() + name.size() - 3, "mp3") == 0;
}

// Duplicate groups a correct search must report: keys shared by two or more non-empty files.
// With MP3 handling a file named *mp3 is keyed by its audio body alone; bodies of distinct seeds never match.
inline int ExpectedGroups(const TreePlan& plan, bool mp3Mode)
{
    std::map<std::pair<int, ULONGLONG>, int> counts;
    for (const PlannedFile& file : plan.files)
    {
        if (file.Size() == 0)
            continue;
        const bool byAudio = mp3Mode && file.tagPayload && HasMp3Name(file.name);
        ++counts[byAudio ? std::make_pair(1, file.bodySeed) : std::make_pair(0, static_cast<ULONGLONG>(file.origin))];
    }
    int groups = 0;
    for (const auto& entry : counts)
        groups += entry.second >= 2;
    return groups;
}

class CTreePlanner
{
public:
    CTreePlanner(unsigned fileCount, ULONGLONG seed) : m_fileCount(fileCount), m_seed(seed), m_random(Mix64(seed)) {}

    TreePlan Make()
    {
        PlanFolders();
        const unsigned copies = m_fileCount * 15 / 100;
        while (m_plan.files.size() < m_fileCount - copies)
        {
            if (m_random.Chance(kMp3Share))
                AddMp3Family(m_fileCount - copies - static_cast<unsigned>(m_plan.files.size()));
            else
                AddOriginal();
        }
        const size_t originals = m_plan.files.size();
        while (m_plan.files.size() < m_fileCount)
            AddCopy(originals);
        return m_plan;
    }

private:
    static constexpr double kMp3Share = 0.0012;  // chance per pick to start an MP3 family of 1 to 4 files
    static constexpr double kEmptyShare = 0.005;
    static constexpr double kCommonSizeShare = 0.12;
    static constexpr double kLargeShare = 0.0005;

    void PlanFolders()
    {
        static const char* const kTop[] = {"Музыка",  "Фото",  "Документы", "Загрузки",
                                           "Проекты", "Архив", "Видео",     "Рабочий стол"};
        static const char* const kSub[] = {"Альбом %d", "Отпуск_%d", "backup-%d", "Папка %d",
                                           "Разное %d", "Old_%d",    "Сканы %d",  "src%d"};
        for (const char* top : kTop)
            m_plan.folders.push_back({-1, std::string(top) + "\\"});
        const size_t folderCount = std::max<size_t>(m_fileCount / 40, std::size(kTop));
        const int kMaxDepth = 5;
        while (m_plan.folders.size() < folderCount)
        {
            const int parent = static_cast<int>(m_random.Below(m_plan.folders.size()));
            if (Depth(parent) >= kMaxDepth)
                continue;
            char name[64];
            // The folder's own index keeps sibling names apart, also for a case-blind file system.
            std::snprintf(name, sizeof name, kSub[m_random.Below(std::size(kSub))],
                          static_cast<int>(m_plan.folders.size()));
            m_plan.folders.push_back({parent, m_plan.folders[parent].path + name + "\\"});
        }
        for (size_t i = 0; i < m_plan.folders.size(); ++i)
            if (m_plan.folders[i].path.compare(0, std::strlen(kTop[0]), kTop[0]) == 0)
                m_musicFolders.push_back(static_cast<int>(i));
    }

    int Depth(int folder) const
    {
        int depth = 1;
        for (int parent = m_plan.folders[folder].parent; parent >= 0; parent = m_plan.folders[parent].parent)
            ++depth;
        return depth;
    }

    ULONGLONG OrdinarySize()
    {
        static const ULONGLONG kCommon[] = {512, 1024, 2048, 4096, 8192, 16384, 32768, 65536, 131072};
        if (m_random.Chance(kEmptyShare))
            return 0;
        if (m_random.Chance(kLargeShare))
        {
            // A quarter of the large files share one of two sizes, so large contents get compared too.
            if (m_random.Chance(0.25))
                return m_random.Chance(0.5) ? 4 * kMiB : 8 * kMiB;
            return 2 * kMiB + m_random.Below(10 * kMiB);
        }
        if (m_random.Chance(kCommonSizeShare))
            return kCommon[m_random.Below(std::size(kCommon))];
        // Log-uniform from 16 bytes to 112 KiB: most files small, sizes below a few KiB often shared.
        const double low = std::log(16.0), high = std::log(112.0 * kKiB);
        return static_cast<ULONGLONG>(std::exp(low + (high - low) * m_random.Unit()));
    }

    ULONGLONG NewSeed() { return Mix64(m_seed ^ Mix64(++m_seedCounter)); }

    std::string NameFor(ULONGLONG size)
    {
        static const char* const kSmall[] = {"документ %d.txt", "readme_%d.txt", "заметка_%d.md", "config%d.ini",
                                             "отчёт %d.csv"};
        static const char* const kMiddle[] = {"фото_%06d.jpg", "IMG_%06d.JPG", "скан %d.png", "договор_%d.pdf",
                                              "презентация %d.pptx"};
        static const char* const kLarge[] = {"видео_%d.mp4", "архив %d.zip", "образ_%d.iso", "Backup %d.7z"};
        const int index = static_cast<int>(m_plan.files.size());
        const char* format = size < 4 * kKiB   ? kSmall[m_random.Below(std::size(kSmall))]
                             : size < 2 * kMiB ? kMiddle[m_random.Below(std::size(kMiddle))]
                                               : kLarge[m_random.Below(std::size(kLarge))];
        char name[64];
        std::snprintf(name, sizeof name, format, index);
        return name;
    }

    void AddOriginal()
    {
        PlannedFile file = {};
        file.folder = static_cast<int>(m_random.Below(m_plan.folders.size()));
        file.bodySize = OrdinarySize();
        file.bodySeed = NewSeed();
        file.name = NameFor(file.bodySize);
        file.origin = static_cast<int>(m_plan.files.size());
        m_plan.files.push_back(file);
    }

    // One recording in up to four files whose tags differ; tag sizes come from a short list, so several
    // variants have equal total sizes and must be told apart by their contents.
    void AddMp3Family(unsigned room)
    {
        static const DWORD kTagPayloads[] = {1014, 2038, 4086};
        static const char* const kNames[] = {"Песня %d.mp3", "track%05d.mp3", "Запись_%d.MP3", "mix %d.mp3"};
        const double low = std::log(256.0 * kKiB), high = std::log(3.0 * kMiB);
        const ULONGLONG audioSize = static_cast<ULONGLONG>(std::exp(low + (high - low) * m_random.Unit()));
        const ULONGLONG audioSeed = NewSeed();
        const unsigned variants = std::min<unsigned>(room, 1 + static_cast<unsigned>(m_random.Below(4)));
        for (unsigned v = 0; v < variants; ++v)
        {
            PlannedFile file = {};
            file.folder = m_musicFolders[m_random.Below(m_musicFolders.size())];
            file.bodySize = audioSize;
            file.bodySeed = audioSeed;
            file.tagPayload = kTagPayloads[m_random.Below(std::size(kTagPayloads))];
            file.tagSeed = NewSeed();
            file.origin = static_cast<int>(m_plan.files.size());
            char name[64];
            std::snprintf(name, sizeof name, kNames[m_random.Below(std::size(kNames))], file.origin);
            file.name = name;
            m_plan.files.push_back(file);
        }
    }

    // An exact copy of an earlier non-empty original, under its name, in a folder that holds no other copy of it.
    void AddCopy(size_t originals)
    {
        int origin;
        do
            origin = static_cast<int>(m_random.Below(originals));
        while (m_plan.files[origin].Size() == 0);
        PlannedFile file = m_plan.files[origin];
        std::vector<int>& used = m_copyFolders[origin];
        if (used.empty())
            used.push_back(file.folder);
        do
            file.folder = static_cast<int>(m_random.Below(m_plan.folders.size()));
        while (std::find(used.begin(), used.end(), file.folder) != used.end());
        used.push_back(file.folder);
        m_plan.files.push_back(file);
    }

    unsigned m_fileCount;
    ULONGLONG m_seed;
    ULONGLONG m_seedCounter = 0;
    CSplitMix m_random;
    TreePlan m_plan;
    std::vector<int> m_musicFolders;
    std::map<int, std::vector<int>> m_copyFolders;
};

// Produces a planned file's bytes front to back, a buffer at a time.
class CFileBytes
{
public:
    explicit CFileBytes(const PlannedFile& file) : m_file(file), m_body(file.bodySeed), m_tags(file.tagSeed) {}

    // Fills up to capacity bytes (capacity a multiple of 8 and at least 4 KiB); returns the count, 0 at the end.
    size_t Next(BYTE* buffer, size_t capacity)
    {
        size_t used = 0;
        if (m_file.tagPayload && !m_headDone)
        {
            used = WriteId3v2(buffer);
            m_headDone = true;
        }
        const ULONGLONG bodyLeft = m_file.bodySize - m_bodyDone;
        if (bodyLeft > 0)
        {
            ULONGLONG take = std::min<ULONGLONG>(bodyLeft, capacity - used);
            if (take < bodyLeft)
                take &= ~7ULL;  // the body stream stays word-aligned until its last piece
            m_body.Fill(buffer + used, static_cast<size_t>(take));
            m_bodyDone += take;
            used += static_cast<size_t>(take);
        }
        if (m_file.tagPayload && m_bodyDone == m_file.bodySize && !m_tailDone && capacity - used >= kId3v1Size)
        {
            WriteId3v1(buffer + used);
            used += kId3v1Size;
            m_tailDone = true;
        }
        return used;
    }

private:
    size_t WriteId3v2(BYTE* out)
    {
        const DWORD size = m_file.tagPayload;
        const BYTE header[kId3v2Header] = {'I',
                                           'D',
                                           '3',
                                           3,
                                           0,
                                           0,
                                           static_cast<BYTE>(size >> 21 & 0x7F),
                                           static_cast<BYTE>(size >> 14 & 0x7F),
                                           static_cast<BYTE>(size >> 7 & 0x7F),
                                           static_cast<BYTE>(size & 0x7F)};
        std::memcpy(out, header, kId3v2Header);
        m_tags.Fill(out + kId3v2Header, size);
        return kId3v2Header + size;
    }

    void WriteId3v1(BYTE* out)
    {
        std::memcpy(out, "TAG", 3);
        m_tags.Fill(out + 3, kId3v1Size - 3);
    }

    const PlannedFile& m_file;
    CSplitMix m_body;
    CSplitMix m_tags;
    ULONGLONG m_bodyDone = 0;
    bool m_headDone = false;
    bool m_tailDone = false;
};

const size_t kWriteBufferSize = 1 << 20;

inline bool WriteFileBytes(const std::string& path, const PlannedFile& file, BYTE* buffer)
{
    CAutoHandle handle(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL));
    if (!handle.IsValid())
        return false;
    CFileBytes bytes(file);
    for (size_t count; (count = bytes.Next(buffer, kWriteBufferSize)) != 0;)
    {
        DWORD written = 0;
        if (!::WriteFile(handle.Get(), buffer, static_cast<DWORD>(count), &written, NULL) || written != count)
            return false;
    }
    return true;
}

// Returns the number of folders and files that could not be written.
// Folders come parents first, so each one's parent already exists when it is made.
inline int WriteTree(std::string root, const TreePlan& plan)
{
    if (root.back() != '\\')
        root += '\\';
    ::CreateDirectoryA(root.c_str(), NULL);
    int failures = 0;
    for (const PlannedFolder& folder : plan.folders)
        if (!::CreateDirectoryA((root + folder.path).c_str(), NULL) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            ++failures;
    std::unique_ptr<BYTE[]> buffer(new BYTE[kWriteBufferSize]);
    for (size_t i = 0; i < plan.files.size(); ++i)
    {
        const PlannedFile& file = plan.files[i];
        if (!WriteFileBytes(root + plan.folders[file.folder].path + file.name, file, buffer.get()))
            ++failures;
        if ((i + 1) % 10000 == 0)
            std::fprintf(stderr, "%u files written\n", static_cast<unsigned>(i + 1));
    }
    return failures;
}

}  // namespace bench
