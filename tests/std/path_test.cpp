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

namespace {

// One extension operation on a buffer: the text before, the buffer size handed over, and
// the result and text after.
struct ExtensionCase {
    const char* before;
    int size;
    const char* extension;
    int result;
    const char* after;
};

void RunExtensionCases(int (*operation)(char*, int, const char*), const ExtensionCase* cases,
                       size_t count)
{
    for (size_t i = 0; i < count; i++) {
        const ExtensionCase& c = cases[i];
        SCOPED_TRACE(c.before);
        char buffer[32] = {};
        strcpy(buffer, c.before);
        EXPECT_EQ(operation(buffer, c.size, c.extension), c.result);
        EXPECT_STREQ(buffer, c.after);
    }
}

}  // namespace

TEST(StdPath, SetExtensionAppendsOnlyWithoutADotAndWithRoom)
{
    const ExtensionCase cases[] = {
        {"3D\\Models\\hero", 32, "QEV", 1, "3D\\Models\\hero.QEV"},
        {"3D\\Models\\hero.QEV", 32, "QEV", 0, "3D\\Models\\hero.QEV"},
        {"Ui.old\\cursor", 32, "TGA", 1, "Ui.old\\cursor.TGA"},
        {"abcdefgh", 9, "QEV", 0, "abcdefgh"},   // filled to the brim
        {"abcd", 9, "QEV", 1, "abcd.QEV"},       // "abcd.QEV" and its end: 9
        {"abcde", 9, "QEV", 0, "abcde"},
    };
    RunExtensionCases(stdPath_SetExtension, cases, sizeof cases / sizeof cases[0]);
}

TEST(StdPath, DefaultExtensionReplacesOrAdds)
{
    const ExtensionCase cases[] = {
        {"Materials\\stone.tga", 32, "DAZ", 1, "Materials\\stone.DAZ"},
        {"Materials.x\\stone", 32, "DAZ", 1, "Materials.x\\stone.DAZ"},
        {"stone.t", 10, "DAZ", 1, "stone.DAZ"},
        {"stones", 10, "DAZ", 0, "stones"},
    };
    RunExtensionCases(stdPath_DefaultExtension, cases, sizeof cases / sizeof cases[0]);
}

TEST(StdPath, MakeFileNameCopiesAndKeepsOrReplacesTheExtension)
{
    struct {
        const char* name;
        int size;
        int how;
        int result;
        const char* path;
    } cases[] = {
        {"3D\\hero", 32, STDPATH_KEEP_EXTENSION, 1, "3D\\hero.qev"},
        {"3D\\hero.QEV", 32, STDPATH_KEEP_EXTENSION, 1, "3D\\hero.QEV"},
        {"Ui.old\\cursor", 32, STDPATH_KEEP_EXTENSION, 1, "Ui.old\\cursor.qev"},
        {"font15.yub", 32, STDPATH_REPLACE_EXTENSION, 1, "font15.qev"},
        {"font15", 32, STDPATH_REPLACE_EXTENSION, 1, "font15.qev"},
        {"abcd", 9, STDPATH_KEEP_EXTENSION, 1, "abcd.qev"},       // and its end: 9
        {"abcde", 9, STDPATH_KEEP_EXTENSION, 0, "abcde"},         // no room for the extension
        {"abcdefgh", 9, STDPATH_REPLACE_EXTENSION, 0, "abcdefgh"},
        {"abcdefghi", 9, STDPATH_KEEP_EXTENSION, 0, ""},          // the name does not fit
        {"abcdefg.h", 9, STDPATH_KEEP_EXTENSION, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        char path[32] = "old";
        EXPECT_EQ(stdPath_MakeFileName(path, c.size, c.name, "qev", c.how), c.result);
        EXPECT_STREQ(path, c.path);
    }
    char path[8] = "old";
    EXPECT_EQ(stdPath_MakeFileName(path, sizeof path, nullptr, "qev", STDPATH_KEEP_EXTENSION), 0);
    EXPECT_STREQ(path, "");
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
