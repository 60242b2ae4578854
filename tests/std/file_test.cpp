// The file layer: the resource-type folders, the base folders and their pack archives, and
// handles over plain files and pack entries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fixtureTestFolder.h"
#include "fixtureZip.h"
#include "stdFile.h"

using fixtures::WorkFolder;
using fixtures::ZipWriter;

namespace {

class StdFile : public ::testing::Test {
protected:
    void SetUp() override { stdFile_Startup(); }
    void TearDown() override { stdFile_Shutdown(); }

    // Starts the layer again so that it scans the current folder's archives.
    static void Restart()
    {
        stdFile_Shutdown();
        stdFile_Startup();
    }

    static std::string ReadAll(stdFileHandle h)
    {
        std::string text;
        char buffer[5];
        uint32_t n;
        while ((n = stdFile_Read(buffer, 1, sizeof buffer, h)) > 0) text.append(buffer, n);
        return text;
    }

    WorkFolder work{fixtures::TestFolderName()};
};

}  // namespace

TEST_F(StdFile, StartupBuildsTheFolderTable)
{
    EXPECT_EQ(stdFile_GetFolderCount(0), 1);
    EXPECT_STREQ(stdFile_GetFolder(0, 0), "3D\\Anims");
    EXPECT_EQ(stdFile_GetFolderCount(1), 9);
    EXPECT_STREQ(stdFile_GetFolder(1, 0), "Ui\\Materials");
    EXPECT_STREQ(stdFile_GetFolder(1, 8), "3D\\Materials");
    EXPECT_EQ(stdFile_GetFolderCount(2), 1);
    EXPECT_EQ(stdFile_GetFolderCount(4), 3);
    EXPECT_EQ(stdFile_GetFolderCount(5), 0);
    EXPECT_EQ(stdFile_GetFolderCount(11), 7);
    EXPECT_STREQ(stdFile_GetFolder(11, 6), "Misc\\Foley");
    EXPECT_EQ(stdFile_GetFolderCount(13), 2);
    EXPECT_EQ(stdFile_GetFolderCount(24), 3);
    EXPECT_STREQ(stdFile_GetFolder(24, 2), "Sounds\\Music");
    EXPECT_EQ(stdFile_GetFolderCount(25), 0);
    EXPECT_EQ(stdFile_GetFolder(2, 1), nullptr);
}

TEST_F(StdFile, AFolderListHoldsAtMost16Names)
{
    for (int i = 0; i < 16; i++) EXPECT_EQ(stdFile_AddFolder(("F" + std::to_string(i)).c_str(), 5), 1);
    EXPECT_EQ(stdFile_AddFolder("F16", 5), 0);
    EXPECT_EQ(stdFile_GetFolderCount(5), 16);
    EXPECT_EQ(stdFile_AddFolder("X", 25), 0);
    EXPECT_EQ(stdFile_AddFolder("X", -1), 0);
}

TEST_F(StdFile, TypeFoldersAreSearchedAfterTheNameAsGiven)
{
    fixtures::MakeFolders("3D\\Models");
    fixtures::WriteText("3D\\Models\\hero.qev", "in folder");
    stdFileHandle h = stdFile_Open("hero.qev", "rb", 2);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(ReadAll(h), "in folder");
    char path[128];
    EXPECT_STREQ(stdFile_GetPath(h, path), "3D\\Models\\hero.qev");
    stdFile_Close(h);

    fixtures::WriteText("hero.qev", "in current folder");
    h = stdFile_Open("hero.qev", "rb", 2);
    EXPECT_EQ(ReadAll(h), "in current folder");
    stdFile_Close(h);

    EXPECT_EQ(stdFile_Open("hero.qev", "rb", 0), stdFileHandle(1));  // as given, any type
    stdFile_Close(1);
    EXPECT_EQ(stdFile_Open("nothing.qev", "rb", 2), 0u);
    EXPECT_EQ(stdFile_Open("", "rb", 2), 0u);
    EXPECT_EQ(stdFile_Open(nullptr, "rb", 2), 0u);
}

TEST_F(StdFile, PlainFilesWinOverArchiveEntries)
{
    ZipWriter zip;
    zip.Add("3D/Models/hero.qev", "packed hero").Add("3D/Models/villain.qev", "packed villain");
    ASSERT_TRUE(zip.Write("data.vop"));
    fixtures::MakeFolders("3D\\Models");
    fixtures::WriteText("3D\\Models\\hero.qev", "loose hero");
    Restart();
    EXPECT_EQ(stdFile_GetArchiveCount(1), 1);

    stdFileHandle hero = stdFile_Open("hero.qev", "rb", 2);
    stdFileHandle villain = stdFile_Open("VILLAIN.QEV", "rb", 2);
    ASSERT_NE(hero, 0u);
    ASSERT_NE(villain, 0u);
    EXPECT_EQ(stdFile_IsPackEntry(hero), 0);
    EXPECT_EQ(stdFile_IsPackEntry(villain), 1);
    EXPECT_EQ(ReadAll(hero), "loose hero");
    EXPECT_EQ(ReadAll(villain), "packed villain");
    EXPECT_NE(stdFile_Eof(villain), 0);
    EXPECT_EQ(stdFile_Write("x", 1, 1, villain), 0u);
    stdFile_Close(hero);
    stdFile_Close(villain);

    EXPECT_EQ(stdFile_Exists("villain.qev", 2), 1);
    char resolved[128];
    EXPECT_EQ(stdFile_Resolve("villain.qev", 2, resolved), 1);
    EXPECT_STREQ(resolved, "3D\\Models\\villain.qev");
    EXPECT_EQ(stdFile_OpenStream("villain.qev", "rb", 2), nullptr);  // disk only
    FILE* loose = stdFile_OpenStream("hero.qev", "rb", 2);
    EXPECT_NE(loose, nullptr);
    if (loose) fclose(loose);
}

TEST_F(StdFile, TheThirtyThirdOpenFails)
{
    fixtures::WriteText("f.txt", "x");
    stdFileHandle handles[32];
    for (int i = 0; i < 32; i++) {
        handles[i] = stdFile_OpenPath("f.txt", "rb");
        EXPECT_EQ(handles[i], stdFileHandle(i + 1));
    }
    EXPECT_EQ(stdFile_OpenPath("f.txt", "rb"), 0u);
    stdFile_Close(handles[7]);
    EXPECT_EQ(stdFile_OpenPath("f.txt", "rb"), 8u);
    for (stdFileHandle h : handles) stdFile_Close(h);
}

TEST_F(StdFile, HandlesBehaveAlikeForFilesAndEntries)
{
    const char* text = "line one\nline two\nend";
    ZipWriter zip;
    zip.Add("packed.txt", text);
    ASSERT_TRUE(zip.Write("lines.vop"));
    fixtures::WriteText("loose.txt", text);
    Restart();
    for (const char* name : {"loose.txt", "packed.txt"}) {
        SCOPED_TRACE(name);
        stdFileHandle h = stdFile_Open(name, "rb", 9);
        ASSERT_NE(h, 0u);
        char line[32];
        ASSERT_NE(stdFile_Gets(line, sizeof line, h), nullptr);
        EXPECT_STREQ(line, "line one\n");
        EXPECT_EQ(stdFile_Tell(h), 9);
        EXPECT_EQ(stdFile_Seek(h, -3, 2), 0);
        ASSERT_NE(stdFile_Gets(line, sizeof line, h), nullptr);
        EXPECT_STREQ(line, "end");
        EXPECT_EQ(stdFile_Gets(line, sizeof line, h), nullptr);
        EXPECT_NE(stdFile_Eof(h), 0);
        EXPECT_EQ(stdFile_Seek(h, 5, 0), 0);
        EXPECT_EQ(stdFile_Eof(h), 0);
        char word[3];
        EXPECT_EQ(stdFile_Read(word, 1, 3, h), 3u);
        EXPECT_EQ(std::string(word, 3), "one");
        EXPECT_EQ(stdFile_Read(word, 0, 3, h), 0u);
        EXPECT_EQ(stdFile_Read(word, 1, 0, h), 0u);
        stdFile_Close(h);
    }
}

TEST_F(StdFile, WideLinesFromPlainFiles)
{
    const char16_t text[] = u"one\ntwo";
    fixtures::WriteBytes("wide.txt", fixtures::Bytes((const uint8_t*)text, (const uint8_t*)text + 14));
    stdFileHandle h = stdFile_OpenPath("wide.txt", "rb");
    uint16_t line[8];
    ASSERT_NE(stdFile_GetsWide(line, 8, h), nullptr);
    EXPECT_EQ(line[2], 'e');
    EXPECT_EQ(line[3], '\n');
    EXPECT_EQ(line[4], 0);
    uint16_t small[3];
    ASSERT_NE(stdFile_GetsWide(small, 3, h), nullptr);
    EXPECT_EQ(small[0], 't');
    EXPECT_EQ(small[1], 'w');
    EXPECT_EQ(small[2], 0);
    ASSERT_NE(stdFile_GetsWide(line, 8, h), nullptr);
    EXPECT_EQ(line[0], 'o');
    EXPECT_EQ(stdFile_GetsWide(line, 8, h), nullptr);
    stdFile_Close(h);
}

TEST_F(StdFile, BadHandlesFailCleanly)
{
    char buffer[8];
    for (stdFileHandle h : {0u, 5u, 33u, 1000u}) {
        EXPECT_EQ(stdFile_Read(buffer, 1, 8, h), 0u);
        EXPECT_EQ(stdFile_Write(buffer, 1, 8, h), 0u);
        EXPECT_EQ(stdFile_Gets(buffer, 8, h), nullptr);
        EXPECT_NE(stdFile_Eof(h), 0);
        EXPECT_EQ(stdFile_Tell(h), -1);
        EXPECT_NE(stdFile_Seek(h, 0, 0), 0);
        stdFile_Close(h);
    }
}

TEST_F(StdFile, PrintfWritesItsTextUnchanged)
{
    stdFileHandle h = stdFile_OpenPath("out.txt", "wb");
    ASSERT_NE(h, 0u);
    EXPECT_EQ(stdFile_Printf(h, "%d%%-%s", 42, "100%s"), 0);
    EXPECT_EQ(stdFile_Write("!", 1, 1, h), 1u);
    stdFile_Close(h);
    fixtures::Bytes bytes = fixtures::ReadBytes("out.txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "42%-100%s!");
    EXPECT_EQ(stdFile_Size("out.txt"), 10u);
    EXPECT_EQ(stdFile_Size("absent.txt"), 0u);
}

TEST_F(StdFile, BaseFoldersAndTheirArchives)
{
    fixtures::MakeFolders("game\\Misc");
    fixtures::WriteText("game\\Misc\\loose.txt", "loose");
    ZipWriter zip;
    zip.Add("Misc/packed.txt", "packed");
    ASSERT_TRUE(zip.Write("game\\extra.vop"));
    EXPECT_EQ(stdFile_Open("loose.txt", "rb", 9), 0u);

    stdFile_SetPrimaryBase("game");
    EXPECT_EQ(stdFile_GetArchiveCount(0), 1);
    stdFileHandle loose = stdFile_Open("loose.txt", "rb", 9);
    stdFileHandle packed = stdFile_Open("packed.txt", "rb", 9);
    ASSERT_NE(loose, 0u);
    ASSERT_NE(packed, 0u);
    char path[128];
    EXPECT_STREQ(stdFile_GetPath(loose, path), "game\\Misc\\loose.txt");
    EXPECT_EQ(ReadAll(loose), "loose");
    stdFile_Close(loose);

    // The base goes away while a handle still reads from its archive: the handle keeps working.
    stdFile_SetPrimaryBase("");
    EXPECT_EQ(stdFile_GetArchiveCount(0), 0);
    EXPECT_EQ(stdFile_Open("packed.txt", "rb", 9), 0u);
    EXPECT_EQ(stdFile_Open("loose.txt", "rb", 9), 0u);  // the folder is no base any more
    EXPECT_EQ(ReadAll(packed), "packed");
    stdFile_Close(packed);

    stdFile_SetSecondaryBase("game", 0);
    EXPECT_EQ(stdFile_GetArchiveCount(2), 0);
    loose = stdFile_Open("loose.txt", "rb", 9);
    EXPECT_NE(loose, 0u);
    stdFile_Close(loose);
    EXPECT_EQ(stdFile_Open("packed.txt", "rb", 9), 0u);
}

TEST_F(StdFile, AtMost64ArchivesOfAFolderAreOpened)
{
    fixtures::MakeFolders("many");
    for (int i = 0; i < 66; i++) {
        ZipWriter zip;
        zip.Add("entry" + std::to_string(i) + ".txt", "x");
        ASSERT_TRUE(zip.Write("many\\p" + std::to_string(i) + ".vop"));
    }
    fixtures::WriteText("many\\.hidden.vop", "");
    EXPECT_EQ(stdFile_SetBase(0, "many", 1), 1);
    EXPECT_EQ(stdFile_GetArchiveCount(0), 64);
    EXPECT_EQ(stdFile_SetBase(3, "many", 1), 0);
}

TEST_F(StdFile, WritingNeverOpensAnArchiveEntry)
{
    ZipWriter zip;
    zip.Add("Misc/readonly.txt", "r");
    ASSERT_TRUE(zip.Write("ro.vop"));
    Restart();
    EXPECT_EQ(stdFile_OpenPath("Misc\\readonly.txt", "wb"), 0u);  // no folder Misc on disk
    fixtures::MakeFolders("base\\Misc");
    stdFile_SetPrimaryBase("base");
    EXPECT_EQ(stdFile_OpenPath("Misc\\new.txt", "wb"), 0u);  // nor in a base folder
    EXPECT_FALSE(fixtures::FileExists("base\\Misc\\new.txt"));
    stdFileHandle h = stdFile_OpenPath("Misc\\readonly.txt", "rb");
    EXPECT_NE(h, 0u);
    stdFile_Close(h);
}

TEST_F(StdFile, OverlongNamesAreNotFound)
{
    ZipWriter zip;
    zip.Add(std::string(127, 'a'), "fits");
    ASSERT_TRUE(zip.Write("long.vop"));
    Restart();
    stdFileHandle h = stdFile_Open(std::string(127, 'a').c_str(), "rb", 9);
    EXPECT_NE(h, 0u);
    stdFile_Close(h);
    EXPECT_EQ(stdFile_Open(std::string(400, 'a').c_str(), "rb", 9), 0u);
}
