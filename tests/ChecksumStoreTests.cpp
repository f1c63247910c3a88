// The keys remembered across searches: their file's format, and a second search from the user's side.
#include "framework/FileSystem.h"
#include "search/ChecksumStore.h"
#include "tests/DialogHarness.h"
#include <cstring>

namespace
{
// A file read by a search, with its key.
SearchEntry Read(ULONGLONG fileId, ULONGLONG size, DWORD crc)
{
    return SearchEntry{CString(), ListedState{size, 1000 + fileId, 2000 + fileId, fileId},
                       ContentKey{size, crc * 7ull, crc, true}};
}

std::vector<BYTE> Saved(CChecksumStore& store, const std::vector<SearchEntry>& entries, std::vector<UINT> read,
                        bool bAudio = false)
{
    std::vector<BYTE> bytes;
    EXPECT_TRUE(store.Save(
        entries, read, [&](UINT) { return bAudio; },
        [&](void* pData, size_t nBytes)
        {
            bytes.insert(bytes.end(), static_cast<BYTE*>(pData), static_cast<BYTE*>(pData) + nBytes);
            return TRUE;
        }));
    return bytes;
}

BOOL Load(CChecksumStore& store, const std::vector<BYTE>& bytes)
{
    size_t nAt = 0;
    return store.Load(
        [&](void* pData, size_t nBytes)
        {
            if (bytes.size() - nAt < nBytes)
                return FALSE;
            std::memcpy(pData, bytes.data() + nAt, nBytes);
            nAt += nBytes;
            return TRUE;
        });
}

// The store of this user, forgotten before a test and after it.
class CStoreFile
{
public:
    CStoreFile() : m_path(ProgramDataFolder() + "\\checksums.dat") { Forget(); }
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
    CChecksumStore first(77);
    const std::vector<BYTE> bytes = Saved(first, entries, {0, 1, 2});
    EXPECT_EQ(sizeof(StoredFile) * 3 + 64, bytes.size()) << "48 bytes a file, and the headers";

    CChecksumStore again(77);
    ASSERT_TRUE(Load(again, bytes));
    ContentKey key = {};
    ASSERT_TRUE(again.FindWholeFile(entries[1].listed, key));
    EXPECT_EQ(22u, key.crc);
    EXPECT_EQ(154u, key.fingerprint);
    EXPECT_EQ(200u, key.length);
    for (ULONGLONG ListedState::*field : {&ListedState::size, &ListedState::writeTime, &ListedState::changeTime})
    {
        ListedState changed = entries[0].listed;
        ++(changed.*field);
        EXPECT_FALSE(again.FindWholeFile(changed, key));
    }
    EXPECT_FALSE(again.FindAudio(entries[0].listed, key)) << "no audio was read";
    CChecksumStore otherVolume(78);
    ASSERT_TRUE(Load(otherVolume, bytes));
    EXPECT_FALSE(otherVolume.FindWholeFile(entries[0].listed, key));

    // The audio of file 5 read by a search in MP3 mode keeps the whole file's key beside it; files unseen
    // for more searches than the store keeps them go.
    SearchEntry audio = entries[0];
    audio.key = ContentKey{60, 4, 44, true};
    std::vector<BYTE> renewed = Saved(again, {audio}, {0}, true);
    for (int nSearch = 0; nSearch < CChecksumStore::kMaxAge; ++nSearch)
    {
        CChecksumStore later(77);
        ASSERT_TRUE(Load(later, renewed));
        EXPECT_TRUE(later.FindAudio(entries[0].listed, key));
        EXPECT_EQ(60u, key.length);
        EXPECT_TRUE(later.FindWholeFile(entries[0].listed, key));
        renewed = Saved(later, {}, {});
    }
    CChecksumStore last(77);
    ASSERT_TRUE(Load(last, renewed));
    EXPECT_TRUE(last.FindWholeFile(entries[0].listed, key));
    EXPECT_TRUE(last.FindWholeFile(entries[1].listed, key)) << "unseen for as many searches as are kept";
    EXPECT_FALSE(last.FindWholeFile(entries[2].listed, key)) << "unseen for one more";
}

TEST(ChecksumStore, ACutDamagedOrForeignStoreIsIgnored)
{
    CChecksumStore store(77);
    const std::vector<BYTE> bytes = Saved(store, {Read(5, 100, 11)}, {0});
    std::vector<BYTE> cut(bytes.begin(), bytes.end() - 1);
    std::vector<BYTE> damaged = bytes;
    damaged[40] ^= 1;
    std::vector<BYTE> foreign = bytes;
    foreign[8] = 2;  // the format's version
    for (const std::vector<BYTE>* pBytes : {&cut, &damaged, &foreign})
    {
        CChecksumStore loaded(77);
        ContentKey key;
        EXPECT_FALSE(Load(loaded, *pBytes));
        EXPECT_FALSE(loaded.FindWholeFile(Read(5, 100, 11).listed, key));
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

    CAutoHandle held(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
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
