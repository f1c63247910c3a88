// The benchmark's tree generator and its stage stamps: what they claim must hold, or its numbers mislead.
#include "kit/StatusStages.h"
#include "bench/TreePlan.h"
#include "tests/DialogHarness.h"
#include <map>

namespace
{

struct ReadBackFile
{
    std::string name;
    std::string bytes;
};

void ReadTree(const std::string& folder, std::vector<ReadBackFile>& files)
{
    WIN32_FIND_DATAA entry;
    CAutoFind find(::FindFirstFileA((folder + "*").c_str(), &entry));
    if (!find.IsValid())
        return;
    do
    {
        const std::string name = entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (name != "." && name != "..")
                ReadTree(folder + name + "\\", files);
            continue;
        }
        ReadBackFile file = {name, std::string(entry.nFileSizeLow, '\0')};
        CAutoHandle handle(::CreateFileA((folder + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD got = 0;
        if (!file.bytes.empty())
            ::ReadFile(handle.Get(), &file.bytes[0], entry.nFileSizeLow, &got, nullptr);
        files.push_back(file);
    } while (::FindNextFileA(find.Get(), &entry));
}

// The audio of an MP3 file read straight from its ID3 headers, independently of the program's own parser.
std::string AudioOf(const std::string& bytes)
{
    size_t begin = 0, end = bytes.size();
    if (bytes.compare(0, 3, "ID3") == 0)
    {
        const auto b = [&](size_t i) { return static_cast<size_t>(static_cast<BYTE>(bytes[i])); };
        begin = 10 + (b(6) << 21 | b(7) << 14 | b(8) << 7 | b(9));
    }
    if (end >= 128 && bytes.compare(end - 128, 3, "TAG") == 0)
        end -= 128;
    return bytes.substr(begin, end - begin);
}

int GroupsByContent(const std::vector<ReadBackFile>& files, bool mp3Mode)
{
    std::map<std::string, int> counts;
    for (const ReadBackFile& file : files)
        if (!file.bytes.empty())
            ++counts[mp3Mode && bench::HasMp3Name(file.name) ? "A" + AudioOf(file.bytes) : "C" + file.bytes];
    int groups = 0;
    for (const auto& entry : counts)
        groups += entry.second >= 2;
    return groups;
}

}  // namespace

TEST(BenchTree, SameSeedPlansTheSameTreeAndAnotherSeedDoesNot)
{
    const bench::TreePlan a = bench::CTreePlanner(3000, 7).Make();
    const bench::TreePlan b = bench::CTreePlanner(3000, 7).Make();
    const bench::TreePlan c = bench::CTreePlanner(3000, 8).Make();
    ASSERT_EQ(3000u, a.files.size());
    ASSERT_EQ(a.files.size(), b.files.size());
    for (size_t i = 0; i < a.files.size(); ++i)
    {
        EXPECT_EQ(a.files[i].name, b.files[i].name);
        EXPECT_EQ(a.files[i].Size(), b.files[i].Size());
        EXPECT_EQ(a.files[i].bodySeed, b.files[i].bodySeed);
    }
    EXPECT_NE(a.TotalBytes(), c.TotalBytes());
}

// The benchmark checks the search's group counts against these expectations, so they are checked against bytes.
TEST(BenchTree, WrittenTreeHoldsExactlyTheExpectedDuplicateGroupsWithAndWithoutMp3Handling)
{
    const bench::TreePlan plan = bench::CTreePlanner(2000, 3).Make();
    int taggedVariants = 0;
    for (const bench::PlannedFile& file : plan.files)
        taggedVariants += file.tagPayload != 0 && file.origin == &file - &plan.files[0];
    ASSERT_GE(taggedVariants, 2) << "the seed must give MP3 files that differ only in their tags";

    CTempFolder folder;
    ASSERT_EQ(0, bench::WriteTree(folder.Path(), plan));
    std::vector<ReadBackFile> files;
    ReadTree(folder.Path(), files);

    ASSERT_EQ(plan.files.size(), files.size());
    ULONGLONG bytes = 0;
    for (const ReadBackFile& file : files)
        bytes += file.bytes.size();
    EXPECT_EQ(plan.TotalBytes(), bytes);
    EXPECT_EQ(bench::ExpectedGroups(plan, false), GroupsByContent(files, false));
    EXPECT_EQ(bench::ExpectedGroups(plan, true), GroupsByContent(files, true));
    EXPECT_NE(bench::ExpectedGroups(plan, false), bench::ExpectedGroups(plan, true));
}

TEST(BenchStages, StatusTextsNameTheirStageAndTheWalkIsToldFromTheChecksums)
{
    using stages::SearchStage;
    EXPECT_EQ(SearchStage::Walk, stages::ClassifyStatus("Просмотр: C:\\Фото\\"));
    EXPECT_EQ(SearchStage::Checksum, stages::ClassifyStatus("Просмотр 3/10: C:\\Фото\\a.jpg"));
    EXPECT_EQ(SearchStage::Mp3, stages::ClassifyStatus("MP3: 1/2: C:\\a.mp3"));
    EXPECT_EQ(SearchStage::Sort, stages::ClassifyStatus("Сортировка..."));
    EXPECT_EQ(SearchStage::Found, stages::ClassifyStatus("Найдено 0 дубликатов"));
    EXPECT_EQ(SearchStage::None, stages::ClassifyStatus(""));
    EXPECT_EQ(SearchStage::Other, stages::ClassifyStatus("Удаляю: C:\\a"));
}

TEST(BenchStages, RecorderStampsEachStageOnceAsTheStatusFieldShowsIt)
{
    CDialogUnderTest dlg;
    std::vector<stages::StageMark> marks;
    {
        stages::CStageRecorder recorder(dlg.m_status.m_hWnd, &marks);
        for (const char* text : {"Просмотр: C:\\a\\", "Просмотр: C:\\b\\", "", "Просмотр 1/2: C:\\a\\x",
                                 "Просмотр 2/2: C:\\b\\x", "Найдено 1 дубликатов"})
            dlg.m_status.SetWindowText(text);
    }
    dlg.m_status.SetWindowText("Просмотр: C:\\c\\");

    ASSERT_EQ(3u, marks.size());
    EXPECT_EQ(stages::SearchStage::Walk, marks[0].stage);
    EXPECT_EQ(stages::SearchStage::Checksum, marks[1].stage);
    EXPECT_EQ(stages::SearchStage::Found, marks[2].stage);
    EXPECT_LE(marks[0].time, marks[2].time);
}
