// CFile on real files in a temporary folder: reading, creating, handing the handle over, identity.
#include "framework/FileSystem.h"
#include "framework/ScopedWin.h"
#include "kit/TestFiles.h"
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace
{
// TRUE when another program could open the file for writing now.
bool IsWritableByOthers(const std::string& path)
{
    CAutoHandle other(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    return other.IsValid();
}
}  // namespace

TEST(CFile, ReadsWhatIsLeftAndExactSpansFromWhereItWasSought)
{
    CTempFolder temp;
    CFile file;
    ASSERT_TRUE(file.OpenForReading(temp.Write("ten.bin", "0123456789").c_str()));
    ULONGLONG nLength = 0;
    EXPECT_TRUE(file.GetLength(nLength));
    EXPECT_EQ(10u, nLength);
    char buffer[16] = {};
    DWORD nRead = 0;
    EXPECT_TRUE(file.Read(buffer, sizeof(buffer), nRead));
    EXPECT_EQ("0123456789", std::string(buffer, nRead));
    EXPECT_TRUE(file.Read(buffer, sizeof(buffer), nRead));
    EXPECT_EQ(0u, nRead) << "the end of the file reads as nothing, not as a failure";
    ASSERT_TRUE(file.Seek(7));
    EXPECT_TRUE(file.ReadExactly(buffer, 3));
    EXPECT_EQ("789", std::string(buffer, 3));
    ASSERT_TRUE(file.Seek(5));
    EXPECT_FALSE(file.ReadExactly(buffer, 6)) << "five bytes are left: a short read fails";
}

TEST(CFile, CreatesOnlyANewNameAndOpensOnlyAnExistingFile)
{
    CTempFolder temp;
    const std::string path = temp.Path() + "new.tmp";
    CFile file;
    EXPECT_FALSE(file.OpenForReading(path.c_str()));
    ASSERT_TRUE(file.CreateNew(path.c_str()));
    EXPECT_TRUE(file.Write("abc", 3));
    CFile again;
    EXPECT_FALSE(again.CreateNew(path.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_EXISTS), ::GetLastError()) << "a taken temporary name is tried again";
    file.Close();
    EXPECT_EQ("abc", ReadWholeFile(path));
}

TEST(CFile, AMovedFileHoldsItsHandleOnceAndLetsGoOfTheOneItHeldBefore)
{
    CTempFolder temp;
    const std::string first = temp.Write("first.txt", "1");
    const std::string second = temp.Write("second.txt", "2");
    CFile kept;
    ASSERT_TRUE(kept.OpenHeldForDeletion(second.c_str()));
    {
        CFile file;
        ASSERT_TRUE(file.OpenHeldForDeletion(first.c_str()));
        kept = std::move(file);
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_FALSE(IsWritableByOthers(first)) << "still held by the object it moved to";
    EXPECT_TRUE(IsWritableByOthers(second));
    CFile last(std::move(kept));
    last.Close();
    EXPECT_TRUE(IsWritableByOthers(first));
}

// Wine 8 makes no links (its CreateSymbolicLink does nothing): a folder stands in for a link itself.
TEST(CFile, IdentityTellsOneFileUnderTwoNamesAndAFolderOpensAsItself)
{
    CTempFolder temp;
    const std::string name = temp.Write("a.txt", "a");
    const std::string link = temp.Path() + "b.txt";
    ASSERT_TRUE(::CreateHardLinkA(link.c_str(), name.c_str(), nullptr));
    CFile file;
    CFile linked;
    CFile folder;
    ASSERT_TRUE(file.OpenForIdentity(name.c_str()));
    ASSERT_TRUE(linked.OpenForIdentity(link.c_str()));
    ASSERT_TRUE(folder.OpenForIdentity(temp.Path().c_str()));
    EXPECT_NE(0u, file.GetFileIndex());
    EXPECT_EQ(file.GetFileIndex(), linked.GetFileIndex());
    EXPECT_NE(file.GetFileIndex(), folder.GetFileIndex());
    EXPECT_TRUE(file.IsOnOneVolume(folder));

    ASSERT_TRUE(folder.OpenLink(temp.Path().c_str()));
    DWORD nTag = IO_REPARSE_TAG_SYMLINK;
    ASSERT_TRUE(folder.GetReparseTag(nTag));
    EXPECT_EQ(0u, nTag) << "no reparse point";
}
