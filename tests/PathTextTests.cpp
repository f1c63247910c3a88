// Typed paths made into paths: trimming, quotes, and "." and ".." resolved without the file system.
#include "framework/PathText.h"
#include <gtest/gtest.h>

TEST(PathText, OnlyFullPathsAreNormalisedAndDotsNeverClimbAboveTheRoot)
{
    EXPECT_EQ(CleanTypedPath("  \" D:\\t \"  "), "D:\\t");
    EXPECT_EQ(CleanTypedPath("\"C:\\a"), "\"C:\\a");

    const std::pair<const char*, const char*> normal[] = {
        {"D:\\t", "D:\\t"},
        {"d:/a/./b//c/", "d:\\a\\b\\c"},
        {"D:\\a\\..\\b", "D:\\b"},
        {"D:\\..\\..\\x", "D:\\x"},
        {"D:\\", "D:\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"\\\\server\\share\\a\\..\\..\\b", "\\\\server\\share\\b"},
    };
    for (const auto& [path, expected] : normal)
    {
        std::string result;
        EXPECT_TRUE(NormaliseAbsolutePath(path, result)) << path;
        EXPECT_EQ(result, expected) << path;
    }
    for (const char* relative :
         {"backup", "D:backup", "\\leading", "\\\\server", "\\\\server\\\\x", "\\\\?\\C:\\a", "\\\\.\\C:", ""})
    {
        std::string result = "unchanged";
        EXPECT_FALSE(NormaliseAbsolutePath(relative, result)) << relative;
        EXPECT_EQ(result, "unchanged");
    }
}
