// Checks of MP3 tag arithmetic on byte arrays and of checksumming real files in a temporary folder.
#include "framework/ScopedWin.h"
#include "search/ContentHasher.h"
#include "search/FileChecksum.h"
#include "search/Mp3Tags.h"
#include "tests/TestBytes.h"
#include "kit/TestFiles.h"
#include <gtest/gtest.h>
#include <string>

namespace
{

// A start tag with its version, flags and size bytes as given, followed by `body` bytes.
Bytes StartTag(const char* marker, BYTE s0, BYTE s1, BYTE s2, BYTE s3, size_t body)
{
    const BYTE header[] = {3, 0, 0, s0, s1, s2, s3};
    return FromText(marker) + Bytes(header, header + sizeof(header)) + Bytes(body, 0xAA);
}

Bytes EndTag(const char* marker, BYTE fill)
{
    return FromText(marker) + Bytes(kId3v1TagSize - kTagMarkerSize, fill);
}

Mp3AudioSpan Locate(const Bytes& file)
{
    const BYTE* tailTag = file.size() >= kId3v1TagSize ? &file[file.size() - kId3v1TagSize] : NULL;
    return LocateMp3Audio(file.size(), file.data(), tailTag);
}

FileChecksum ChecksumOf(const Bytes& bytes)
{
    CContentHasher hasher;
    hasher.Update(bytes.data(), bytes.size());
    const FileChecksum checksum = {hasher.Crc(), hasher.Fingerprint(), 0, true};
    return checksum;
}

const FileChecksum kNone = {0, 0, 0, false};

// The whole file checksummed as listed by the walk, with the size it has now.
FileChecksum WholeFile(CFileDigester& digester, const std::string& path)
{
    return digester.WholeFile(path.c_str(), static_cast<ULONGLONG>(FileSize(path)));
}

}  // namespace

TEST(Mp3Tags, SpanBetweenTagsAndWhenTheyDoNotFit)
{
    const Bytes audio(500, 0x55);
    const struct
    {
        const char* what;
        Bytes file;
        ULONGLONG offset, length;
    } cases[] = {
        {"no tags", audio, 0, 500},
        {"size 00 00 07 76 is 1024 bytes", StartTag("ID3", 0, 0, 7, 0x76, 1014) + audio + EndTag("TAG", 1), 1024, 500},
        {"size bytes are not masked", StartTag("ID3", 0, 0, 0, 0xFF, 255) + audio, 265, 500},
        {"lower-case markers are no tags", StartTag("id3", 0, 0, 0, 0, 0) + audio + EndTag("tag", 1), 0, 638},
        {"ID4 is no tag", StartTag("ID4", 0, 0, 0, 0, 0) + audio, 0, 510},
        {"end tag only", audio + EndTag("TAG", 1), 0, 500},
        {"TAG in a file shorter than 128 bytes", FromText("TAG") + Bytes(97, 1), 0, 100},
        {"TAG not exactly 128 bytes from the end", EndTag("TAG", 1) + Bytes(1, 0), 0, 129},
        {"nothing but an end tag", EndTag("TAG", 1), 0, 0},
        {"start tag longer than the file", StartTag("ID3", 0, 0, 7, 0x76, 100), 0, 0},
        {"tags overlap", StartTag("ID3", 0, 0, 0, 120, 100) + EndTag("TAG", 1), 0, 0},
        {"file ends inside the header", FromText("ID3") + Bytes(6, 0), 0, 0},
        {"file is just the marker", FromText("ID3"), 0, 0},
        {"shorter than a marker", FromText("ID"), 0, 2},
    };
    for (const auto& c : cases)
    {
        const Mp3AudioSpan span = Locate(c.file);
        EXPECT_EQ(c.offset, span.offset) << c.what;
        EXPECT_EQ(c.length, span.length) << c.what;
    }

    // The first size byte's top bit alone makes a 256 MiB tag; only the file length is needed to check it.
    const Bytes bigHeader = StartTag("ID3", 0x80, 0, 0, 0, 0);
    const Mp3AudioSpan big = LocateMp3Audio(0x1000000Aull + 20, bigHeader.data(), NULL);
    EXPECT_EQ(0x1000000Aull, big.offset);
    EXPECT_EQ(20u, big.length);
}

TEST(FileDigester, WholeFilesAndFilesThatCannotBeRead)
{
    CTempFolder folder;
    CFileDigester digester;
    const Bytes abc = FromText("abc");
    EXPECT_EQ(ChecksumOf(abc), WholeFile(digester, folder.Write("abc.txt", abc).c_str()));
    EXPECT_EQ(0xCA6598D0u, WholeFile(digester, (folder.Path() + "abc.txt").c_str()).crc);
    EXPECT_EQ(3u, WholeFile(digester, (folder.Path() + "abc.txt")).fileSize);
    // Grown or shrunk since it was listed.
    EXPECT_EQ(kNone, digester.WholeFile((folder.Path() + "abc.txt").c_str(), 2));
    EXPECT_EQ(kNone, digester.WholeFile((folder.Path() + "abc.txt").c_str(), 4));

    // Several buffer loads with an odd remainder, under a Cyrillic name.
    const Bytes large = RandomBytes(3 * 1024 * 1024 + 77, 8);
    EXPECT_EQ(ChecksumOf(large), WholeFile(digester, folder.Write("большой файл.bin", large).c_str()));

    // Content of zero bytes only checksums to 0, which is a checksum like any other.
    EXPECT_EQ(ChecksumOf(Bytes()), WholeFile(digester, folder.Write("empty", Bytes()).c_str()));
    EXPECT_EQ(ChecksumOf(Bytes(100000, 0)), WholeFile(digester, folder.Write("zeros", Bytes(100000, 0)).c_str()));
    EXPECT_EQ(kNone, WholeFile(digester, (folder.Path() + "missing").c_str()));
    EXPECT_EQ(kNone, WholeFile(digester, folder.Path().c_str()));

    // Another program holding the file without sharing it.
    const std::string held = folder.Write("held", large);
    {
        CAutoHandle holder(HoldOpen(held));
        ASSERT_TRUE(holder.IsValid());
        EXPECT_EQ(kNone, WholeFile(digester, held.c_str()));
        EXPECT_EQ(0u, CFileDigester::Mp3AudioLength(held.c_str()));
    }
    // Under Wine a Linux sysfs file claims 4096 bytes but holds a few: a read that comes up short.
    const char* const shortRead = "Z:\\sys\\devices\\system\\cpu\\online";
    if (::GetFileAttributesA(shortRead) != INVALID_FILE_ATTRIBUTES)
    {
        EXPECT_EQ(kNone, WholeFile(digester, shortRead));
        EXPECT_EQ(kNone, digester.Mp3Audio(shortRead));
    }
    EXPECT_EQ(ChecksumOf(large), WholeFile(digester, held.c_str()));
}

TEST(FileDigester, Mp3AudioIgnoresTags)
{
    CTempFolder folder;
    CFileDigester digester;
    const Bytes audio = RandomBytes(700000, 9);

    const std::string first =
        folder.Write("first.mp3", StartTag("ID3", 0, 0, 7, 0x76, 1014) + audio + EndTag("TAG", 'a'));
    const std::string second =
        folder.Write("second.mp3", StartTag("ID3", 0, 0, 0, 30, 30) + audio + EndTag("TAG", 'b'));
    EXPECT_EQ(audio.size(), CFileDigester::Mp3AudioLength(first.c_str()));
    EXPECT_EQ(audio.size(), CFileDigester::Mp3AudioLength(second.c_str()));
    EXPECT_EQ(ChecksumOf(audio), digester.Mp3Audio(first.c_str()));
    EXPECT_EQ(ChecksumOf(audio), digester.Mp3Audio(second.c_str()));
    EXPECT_FALSE(WholeFile(digester, first.c_str()) == WholeFile(digester, second.c_str()));

    // The end tag of a file past 4 GiB is found at its 64-bit offset, reading only a few bytes.
    const ULONGLONG kBeyond32Bits = 0x100000005ull;
    const std::string huge = folder.Write("huge.mp3", EndTag("TAG", 1), kBeyond32Bits);
    EXPECT_EQ(kBeyond32Bits, CFileDigester::Mp3AudioLength(huge.c_str()));

    const std::string untagged = folder.Write("untagged.mp3", audio);
    EXPECT_EQ(WholeFile(digester, untagged.c_str()), digester.Mp3Audio(untagged.c_str()));

    for (const std::string& bad :
         {folder.Write("overlong.mp3", StartTag("ID3", 0, 0, 7, 0x76, 100)),
          folder.Write("header.mp3", FromText("ID3") + Bytes(4, 0)), folder.Path() + "missing.mp3"})
    {
        EXPECT_EQ(0u, CFileDigester::Mp3AudioLength(bad.c_str())) << bad;
        EXPECT_EQ(kNone, digester.Mp3Audio(bad.c_str())) << bad;
    }
}
