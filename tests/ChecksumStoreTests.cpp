// The keys remembered across searches: their file's format, and a second search from the user's side.
#include "framework/FileSystem.h"
#include "search/StoreFile.h"
#include "tests/DialogHarness.h"
#include <cstring>
#include <map>

namespace
{
// A file read by a search, with its key.
SearchEntry Read(ULONGLONG fileId, ULONGLONG size, DWORD crc)
{
    return SearchEntry{CString(), ListedState{size, 1000 + fileId, 2000 + fileId, fileId},
                       ContentKey{size, crc * 7ull, crc, true}};
}

checksum_store::Read ReadOf(const std::vector<BYTE>& bytes)
{
    return [&bytes, nAt = size_t(0)](void* pData, size_t nBytes) mutable
    {
        if (bytes.size() - nAt < nBytes)
            return FALSE;
        std::memcpy(pData, bytes.data() + nAt, nBytes);
        nAt += nBytes;
        return TRUE;
    };
}

// The store written anew from old (none when empty) with these entries, every one of them read now.
std::vector<BYTE> Renewed(const std::vector<BYTE>& old, ULONGLONG volume, const std::vector<SearchEntry>& entries,
                          bool bReadNow = true, bool bAudio = false)
{
    checksum_store::Source source;
    if (!old.empty())
        source = [&] { return ReadOf(old); };
    std::vector<BYTE> bytes;
    EXPECT_TRUE(checksum_store::Renew(
        source, volume, entries, checksum_store::KnowableById(entries), [&](UINT) { return bReadNow; },
        [&](UINT) { return bAudio; },
        [&](const void* pData, size_t nBytes)
        {
            bytes.insert(bytes.end(), static_cast<const BYTE*>(pData), static_cast<const BYTE*>(pData) + nBytes);
            return TRUE;
        }));
    return bytes;
}

// The keys a whole store gives these entries, by entry.
std::map<UINT, ContentKey> Found(const std::vector<BYTE>& bytes, ULONGLONG volume,
                                 const std::vector<SearchEntry>& entries, bool bAudio = false)
{
    std::map<UINT, ContentKey> found;
    if (checksum_store::IsWhole(ReadOf(bytes)))
        checksum_store::LookUp(
            ReadOf(bytes), volume, entries, checksum_store::KnowableById(entries), [&](UINT) { return bAudio; },
            [&](UINT i, const ContentKey& key) { found[i] = key; });
    return found;
}

// The store of this user, forgotten before a test and after it.
class CStoreFile
{
public:
    CStoreFile() : m_path(ChecksumStorePath()) { Forget(); }
    ~CStoreFile() { Forget(); }
    const std::string& Path() const { return m_path; }
    void Forget() const
    {
        ::RemoveDirectoryA(m_path.c_str());
        ::DeleteFileA(m_path.c_str());
    }

private:
    std::string m_path;
};
}  // namespace

// Kept as read, found only while the file is exactly as it was read; the audio beside the whole file.
TEST(ChecksumStore, KeepsWhatWasReadAndFindsItOnlyForTheSameFileInTheSameState)
{
    const std::vector<SearchEntry> entries = {Read(5, 100, 11), Read(3, 200, 22), Read(9, 100, 33)};
    const std::vector<BYTE> bytes = Renewed({}, 77, entries);
    EXPECT_EQ(sizeof(StoredFile) * 3 + 64, bytes.size()) << "48 bytes a file, and the headers";
    const std::map<UINT, ContentKey> found = Found(bytes, 77, entries);
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(22u, found.at(1).crc);
    EXPECT_EQ(154u, found.at(1).fingerprint);
    EXPECT_EQ(200u, found.at(1).length);
    for (ULONGLONG ListedState::*field : {&ListedState::size, &ListedState::writeTime, &ListedState::changeTime})
    {
        std::vector<SearchEntry> changed = {entries[0]};
        ++(changed[0].listed.*field);
        EXPECT_TRUE(Found(bytes, 77, changed).empty());
    }
    EXPECT_TRUE(Found(bytes, 77, entries, true).empty()) << "no audio was read";
    EXPECT_TRUE(Found(bytes, 78, entries).empty()) << "another volume";

    // The audio of file 5 read by a search in MP3 mode that also met file 3 as it was: the whole file's
    // key stays beside the audio's, and files unseen for more searches than the store keeps them go.
    SearchEntry audio = entries[0];
    audio.key = ContentKey{60, 4, 44, true};
    std::vector<BYTE> renewed = Renewed(Renewed(bytes, 77, {entries[1]}, false), 77, {audio}, true, true);
    for (int nSearch = 0; nSearch < checksum_store::kMaxAge - 1; ++nSearch)
    {
        EXPECT_EQ(60u, Found(renewed, 77, {entries[0]}, true).at(0).length);
        EXPECT_EQ(1u, Found(renewed, 77, {entries[0]}).size());
        renewed = Renewed(renewed, 77, {entries[0]}, false);
    }
    EXPECT_EQ(1u, Found(renewed, 77, {entries[1]}).size()) << "unseen for as many searches as are kept";
    EXPECT_TRUE(Found(renewed, 77, {entries[2]}).empty()) << "unseen for one more";
}

TEST(ChecksumStore, ACutDamagedOrForeignStoreIsIgnoredAndWrittenAnew)
{
    const std::vector<BYTE> bytes = Renewed({}, 77, {Read(5, 100, 11)});
    std::vector<BYTE> cut(bytes.begin(), bytes.end() - 1);
    std::vector<BYTE> damaged = bytes;
    damaged[60] ^= 1;
    std::vector<BYTE> foreign = bytes;
    foreign[8] = 2;  // the format's version
    for (const std::vector<BYTE>* pBytes : {&cut, &damaged, &foreign})
    {
        EXPECT_FALSE(checksum_store::IsWhole(ReadOf(*pBytes)));
        const std::vector<BYTE> anew = Renewed(*pBytes, 77, {Read(9, 100, 33)});
        EXPECT_TRUE(Found(anew, 77, {Read(5, 100, 11)}).empty());
        EXPECT_EQ(1u, Found(anew, 77, {Read(9, 100, 33)}).size());
    }
}

// The second search takes the key of an unchanged file from the store, so a file that cannot be opened
// any more is still found; a file rewritten with its size and write time as before is read again.
TEST(ChecksumStore, ASecondSearchReadsOnlyWhatChangedAndAStoreThatCannotBeWrittenChangesNothing)
{
    const CStoreFile store;
    CTempFolder root;
    const std::string locked = root.Write("a\\photo.jpg", "photo");
    root.Write("b\\photo.jpg", "photo");
    const std::string rewritten = root.Write("a\\text.txt", "text");
    root.Write("b\\text.txt", "text");
    CDialogUnderTest dlg;
    dlg.Search(root.Path());
    ASSERT_EQ(2, dlg.m_groups.GroupCount());
    EXPECT_TRUE(FileExists(store.Path()));

    CAutoHandle held(HoldOpen(locked));
    ASSERT_TRUE(held.IsValid());
    OverwriteKeepingTime(rewritten, "TEXT");
    dlg.Search(root.Path());
    ASSERT_EQ(1, dlg.m_groups.GroupCount());
    EXPECT_EQ(CString(locked.c_str()), dlg.m_groups.GroupPaths(0)[0]) << "found, not read";

    // A folder where the store should be: it can be neither read nor written, and the search runs as
    // with no store at all.
    held.Close();
    store.Forget();
    ASSERT_TRUE(::CreateDirectoryA(store.Path().c_str(), nullptr));
    dlg.Search(root.Path());
    EXPECT_EQ(CString("Найдено 1 дубликатов"), dlg.ControlText(IDC_STATUS));
    EXPECT_EQ(1, dlg.m_groups.GroupCount());
}

// A search stopped while it reads keeps the keys of what it had read, so the next one carries on from
// there: the first two files are found again although one of them can no longer be opened.
TEST(ChecksumStore, AStoppedSearchKeepsWhatItHadRead)
{
    const CStoreFile store;
    const CLongFileTree tree(1ll << 34);
    CDialogUnderTest dlg;
    ASSERT_TRUE(SearchWatchingTheLongFile(dlg, tree, true));
    ASSERT_EQ(CString("Прервано пользователем"), dlg.ControlText(IDC_STATUS));

    // The long file gone and the first small one held: the small pair can only come from the store.
    ASSERT_TRUE(::DeleteFileA(tree.Long().c_str()));
    CAutoHandle holdFirst(HoldOpen(tree.FirstSmall()));
    ASSERT_TRUE(holdFirst.IsValid());
    dlg.Search(tree.Path());
    EXPECT_EQ(CString("Найдено 1 дубликатов"), dlg.ControlText(IDC_STATUS));
    ASSERT_EQ(1, dlg.m_groups.GroupCount());
    EXPECT_EQ(CString(tree.FirstSmall().c_str()), dlg.m_groups.GroupPaths(0)[0]) << "found, not read";
}
