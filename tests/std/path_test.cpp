// Path operations: base names, extensions (with buffer sizes), stripping and joining.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "stdPath.h"

TEST(StdPath, BaseNameAndExtension)
{
    const char* path = "3D\\Models\\hero.qev";
    EXPECT_STREQ(stdPath_BaseName(path), "hero.qev");
    EXPECT_STREQ(stdPath_BaseName("hero.qev"), "hero.qev");
    EXPECT_STREQ(stdPath_GetExtension(path), "qev");
    EXPECT_EQ(stdPath_GetExtension("Ui.v2\\cursor"), nullptr);
    EXPECT_STREQ(stdPath_GetExtension("a\\b.tar.gz"), "gz");
    EXPECT_STREQ(stdPath_GetExtension("a/b.c\\d.e"), "e");  // a slash is no separator
}

TEST(StdPath, SetExtensionAppendsOnlyWithoutADot)
{
    char name[32] = "3D\\Models\\hero";
    EXPECT_EQ(stdPath_SetExtension(name, sizeof name, "QEV"), 1);
    EXPECT_STREQ(name, "3D\\Models\\hero.QEV");
    EXPECT_EQ(stdPath_SetExtension(name, sizeof name, "QEV"), 0);
    EXPECT_STREQ(name, "3D\\Models\\hero.QEV");

    char dotted[32] = "Ui.old\\cursor";
    EXPECT_EQ(stdPath_SetExtension(dotted, sizeof dotted, "TGA"), 1);
    EXPECT_STREQ(dotted, "Ui.old\\cursor.TGA");
}

TEST(StdPath, SetExtensionRefusesWhenTheBufferIsFull)
{
    char name[9] = "abcdefgh";  // filled to the brim
    EXPECT_EQ(stdPath_SetExtension(name, sizeof name, "QEV"), 0);
    EXPECT_STREQ(name, "abcdefgh");
    char exact[10] = "abcd";
    EXPECT_EQ(stdPath_SetExtension(exact, 9, "QEV"), 1);  // "abcd.QEV" and its end: 9
    EXPECT_STREQ(exact, "abcd.QEV");
    char tight[10] = "abcde";
    EXPECT_EQ(stdPath_SetExtension(tight, 9, "QEV"), 0);
    EXPECT_STREQ(tight, "abcde");
}

TEST(StdPath, DefaultExtensionReplacesOrAdds)
{
    char name[32] = "Materials\\stone.tga";
    EXPECT_EQ(stdPath_DefaultExtension(name, sizeof name, "DAZ"), 1);
    EXPECT_STREQ(name, "Materials\\stone.DAZ");
    char bare[32] = "Materials.x\\stone";
    EXPECT_EQ(stdPath_DefaultExtension(bare, sizeof bare, "DAZ"), 1);
    EXPECT_STREQ(bare, "Materials.x\\stone.DAZ");
    char small[10] = "stone.t";
    EXPECT_EQ(stdPath_DefaultExtension(small, sizeof small, "DAZ"), 1);
    EXPECT_STREQ(small, "stone.DAZ");
    char full[10] = "stones";
    EXPECT_EQ(stdPath_DefaultExtension(full, sizeof full, "DAZ"), 0);
    EXPECT_STREQ(full, "stones");
}

TEST(StdPath, FindAndClearExtension)
{
    char font[32] = "defaultFont15.yub";
    char* ext = stdPath_FindExtension(font);
    ASSERT_NE(ext, nullptr);
    EXPECT_STREQ(ext, "yub");
    EXPECT_STREQ(font, "defaultFont15");
    EXPECT_EQ(stdPath_FindExtension(font), nullptr);
    EXPECT_STREQ(font, "defaultFont15");

    char name[32] = "a.b\\tex.tga";
    char* empty = stdPath_ClearExtension(name);
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    EXPECT_STREQ(name, "a.b\\tex.");
    char none[] = "a.b\\tex";
    EXPECT_EQ(stdPath_ClearExtension(none), nullptr);
}

TEST(StdPath, StripToName)
{
    char path[32] = "C:\\Games\\hero.qev";
    EXPECT_EQ(stdPath_StripToName(path), 5);
    EXPECT_STREQ(path, "hero");
    char plain[32] = "name";
    EXPECT_EQ(stdPath_StripToName(plain), 5);
    EXPECT_STREQ(plain, "name");
}

TEST(StdPath, CopyBaseNameAndDirectory)
{
    char out[6];
    EXPECT_STREQ(stdPath_CopyBaseName(out, sizeof out, "a\\b\\longname.tga"), "longn");
    char dir[32];
    char* cut = stdPath_CopyDirectory(dir, sizeof dir, "a\\b\\c.tga");
    ASSERT_NE(cut, nullptr);
    EXPECT_STREQ(dir, "a\\b");
    EXPECT_EQ(cut, dir + 3);
    EXPECT_EQ(stdPath_CopyDirectory(dir, sizeof dir, "c.tga"), nullptr);
    EXPECT_STREQ(dir, "c.tga");
}

TEST(StdPath, JoinPutsOneBackslashBetween)
{
    char out[260];
    EXPECT_STREQ(stdPath_Join(out, sizeof out, "C:\\Game", "palvera.ini"), "C:\\Game\\palvera.ini");
    EXPECT_STREQ(stdPath_Join(out, sizeof out, "C:\\Game\\", "palvera.ini"), "C:\\Game\\palvera.ini");
    EXPECT_STREQ(stdPath_Join(out, sizeof out, "", "palvera.ini"), "palvera.ini");
    EXPECT_STREQ(stdPath_Join3(out, sizeof out, "a", "b", "c.txt"), "a\\b\\c.txt");

    std::string folder(259, 'f');  // fills size - 1
    stdPath_Join(out, sizeof out, folder.c_str(), "palvera.ini");
    EXPECT_EQ(std::string(out), folder);

    char small[8];
    EXPECT_STREQ(stdPath_Join(small, sizeof small, "abc", "defgh"), "abc\\def");
}
