// Directory searches and file and folder operations.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "stdFile.h"

using fixtures::WorkFolder;

namespace {

std::set<std::string> Names(const char* folder, int mode, const char* extension)
{
    std::set<std::string> names;
    stdFileSearch* search = stdFile_FindOpen(folder, mode, extension);
    stdFileMatch match;
    while (stdFile_FindNext(search, &match)) names.insert(match.name);
    stdFile_FindClose(search);
    return names;
}

}  // namespace

TEST(StdFileSearch, PatternsFollowTheMode)
{
    stdFileSearch* s = stdFile_FindOpen("Data", 3, "vop");
    EXPECT_STREQ(stdFile_FindPattern(s), "Data\\*.vop");
    stdFile_FindClose(s);
    s = stdFile_FindOpen("Data", 3, "*.vop");
    EXPECT_STREQ(stdFile_FindPattern(s), "Data\\*.vop");
    stdFile_FindClose(s);
    s = stdFile_FindOpen("", 1, nullptr);
    EXPECT_STREQ(stdFile_FindPattern(s), ".\\*.*");
    stdFile_FindClose(s);
    s = stdFile_FindOpen("Data", 7, nullptr);
    EXPECT_STREQ(stdFile_FindPattern(s), "Data");
    stdFile_FindClose(s);
    stdFile_FindClose(nullptr);
    EXPECT_EQ(stdFile_FindOpen(std::string(300, 'd').c_str(), 0, nullptr), nullptr);
}

TEST(StdFileSearch, ModesPickFilesDirectoriesOrExtensions)
{
    WorkFolder work(fixtures::TestFolderName());
    fixtures::MakeFolders("only\\sub1");
    fixtures::MakeFolders("only\\sub2");
    EXPECT_TRUE(Names("only", 1, nullptr).empty());
    EXPECT_EQ(Names("only", 2, nullptr), (std::set<std::string>{".", "..", "sub1", "sub2"}));

    fixtures::MakeFolders("mixed\\dir");
    fixtures::WriteText("mixed\\a.vop", "x");
    fixtures::WriteText("mixed\\b.VOP", "x");
    fixtures::WriteText("mixed\\c.txt", "x");
    EXPECT_EQ(Names("mixed", 1, nullptr), (std::set<std::string>{"a.vop", "b.VOP", "c.txt"}));
    EXPECT_EQ(Names("mixed", 3, "vop"), (std::set<std::string>{"a.vop", "b.VOP"}));
    EXPECT_EQ(stdFile_CountMatches("mixed", 0, nullptr), 6);

    stdFileMatch match;
    EXPECT_EQ(stdFile_FindFirstMatch("mixed", 3, "txt", &match), 1);
    EXPECT_STREQ(match.name, "c.txt");
    EXPECT_EQ(match.isDirectory, 0u);
    EXPECT_EQ(stdFile_FindFirstMatch("mixed", 3, "none", &match), 0);
    EXPECT_EQ(stdFile_FindNext(nullptr, &match), 0);
}

TEST(StdFileSearch, ResetStartsAgainFromTheFirstEntry)
{
    WorkFolder work(fixtures::TestFolderName());
    fixtures::WriteText("one.txt", "1");
    fixtures::WriteText("two.txt", "2");
    stdFileSearch* s = stdFile_FindOpen(".", 3, "txt");
    stdFileMatch match;
    int first = 0;
    while (stdFile_FindNext(s, &match)) first++;
    EXPECT_EQ(stdFile_FindNext(s, &match), 0);
    stdFile_FindReset(s);
    int second = 0;
    while (stdFile_FindNext(s, &match)) second++;
    stdFile_FindClose(s);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 2);
}

TEST(StdFileOps, ExistsOpenCreateRemoveDelete)
{
    WorkFolder work(fixtures::TestFolderName());
    fixtures::WriteText("file.bin", "data");
    EXPECT_EQ(stdFile_PathExists("file.bin"), 1);
    EXPECT_EQ(stdFile_PathExists("*.bin"), 1);
    EXPECT_EQ(stdFile_PathExists("missing.bin"), 0);
    EXPECT_EQ(stdFile_CanOpen("file.bin"), 1);
    EXPECT_EQ(stdFile_CanOpen("missing.bin"), 0);
    EXPECT_NE(stdFile_CreateDir("newdir"), 0);
    EXPECT_EQ(stdFile_PathExists("newdir"), 1);
    EXPECT_NE(stdFile_RemoveDir("newdir"), 0);
    EXPECT_NE(stdFile_Delete("file.bin"), 0);
    EXPECT_EQ(stdFile_PathExists("file.bin"), 0);
    EXPECT_EQ(stdFile_Delete("file.bin"), 0);
}

TEST(StdFileOps, DeleteTreeRemovesNestedFolders)
{
    WorkFolder work(fixtures::TestFolderName());
    fixtures::MakeFolders("tree\\a\\b");
    fixtures::WriteText("tree\\top.txt", "t");
    fixtures::WriteText("tree\\a\\mid.txt", "m");
    fixtures::WriteText("tree\\a\\b\\deep.txt", "d");
    EXPECT_EQ(stdFile_DeleteTree("tree"), 1);
    EXPECT_FALSE(fixtures::FileExists("tree"));
    EXPECT_EQ(stdFile_DeleteTree("tree"), 0);
}

TEST(StdFileOps, DeleteTreeStopsAtAReadOnlyFolder)
{
    WorkFolder work(fixtures::TestFolderName());
    fixtures::MakeFolders("tree\\locked");
    fixtures::WriteText("tree\\locked\\inside.txt", "i");
    ASSERT_TRUE(SetFileAttributesA("tree\\locked", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    if (GetFileAttributesA("tree\\locked") == FILE_ATTRIBUTE_DIRECTORY)
        GTEST_SKIP() << "this file system keeps no read-only flag on folders";
    EXPECT_EQ(stdFile_DeleteTree("tree"), 0);
    EXPECT_TRUE(fixtures::FileExists("tree\\locked\\inside.txt"));
    EXPECT_TRUE(fixtures::FileExists("tree"));
    SetFileAttributesA("tree\\locked", FILE_ATTRIBUTE_DIRECTORY);
}

TEST(StdFileOps, FindInPathTriesEachFolderInOrder)
{
    WorkFolder work(fixtures::TestFolderName());
    fixtures::MakeFolders("first");
    fixtures::MakeFolders("second\\");
    fixtures::WriteText("second\\tool.ini", "x");
    char result[64] = "";
    EXPECT_EQ(stdFile_FindInPath(result, sizeof result, "tool.ini", " ;first; ;second\\;third"), 1);
    EXPECT_STREQ(result, "second\\tool.ini");
    EXPECT_EQ(stdFile_FindInPath(result, sizeof result, "absent.ini", "first;second"), 0);
    char small[6];
    EXPECT_EQ(stdFile_FindInPath(small, sizeof small, "tool.ini", "second"), 1);
    EXPECT_STREQ(small, "secon");
}
