// Game strings: string-table lines, lookups with and without start-up, files read once and
// always closed, the full tables, placeholders, and damaged tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fixtureKez.h"
#include "fixtureMutations.h"
#include "fixtureTestFolder.h"
#include "fixtureZip.h"
#include "gameString.h"
#include "stdFile.h"

using fixtures::KezWriter;
using fixtures::WorkFolder;

namespace {

class GameString : public ::testing::Test {
protected:
    void SetUp() override
    {
        stdFile_Startup();
        fixtures::MakeFolders("Strings");
    }
    void TearDown() override
    {
        gameString_Shutdown();
        stdFile_Shutdown();
    }

    // After any number of loads all 32 handles can still be opened.
    static void ExpectNoHandleLeft()
    {
        fixtures::WriteText("probe.txt", "p");
        stdFileHandle handles[STDFILE_NUM_SLOTS];
        for (stdFileHandle& h : handles) {
            h = stdFile_OpenPath("probe.txt", "rb");
            EXPECT_NE(h, 0u);
        }
        for (stdFileHandle h : handles) stdFile_Close(h);
    }

    WorkFolder work{fixtures::TestFolderName()};
};

// The lines of every kind that a table holds; `defines` lists what they define.
KezWriter MixedTable()
{
    return KezWriter()
        .Comment("a comment")
        .Line("  Hello   World  wide  ")
        .Line("\tTabbed\tvalue\twith\ttabs")
        .Blank()
        .Line("   ")
        .Line("  // a comment after blanks")
        .Line("//also a comment")
        .Line("   # another")
        .Line("keyonly")
        .Line("keyblanks   ")
        .Line("/single slash is a key")
        .Line("UPPER Case Kept")
        .Line("ThisKeyIsMuchLongerThanThirtyOneCharacters cut key")
        .Line("dup first")
        .Line("dup second");
}

struct Expected {
    const char* key;
    const char* value;  // null: the line defined nothing, the lookup returns the key itself
};

const Expected kMixedDefines[] = {
    {"hello", "World  wide  "},
    {"HELLO", "World  wide  "},
    {"tabbed", "value\twith\ttabs"},
    {"/single", "slash is a key"},
    {"upper", "Case Kept"},
    {"thiskeyismuchlongerthanthirtyon", "cut key"},
    {"ThisKeyIsMuchLongerThanThirtyOneCharacters", "cut key"},
    {"dup", "second"},
    {"keyonly", nullptr},
    {"keyblanks", nullptr},
    {"#", nullptr},
    {"//", nullptr},
};
const int kMixedCount = 6;

void ExpectMixedDefines()
{
    for (const Expected& e : kMixedDefines) {
        SCOPED_TRACE(e.key);
        EXPECT_STREQ(gameString_Get(e.key), e.value ? e.value : e.key);
    }
}

}  // namespace

TEST_F(GameString, LinesOfEveryKindWithEachLineEnd)
{
    struct Variant {
        const char* name;
        KezWriter table;
    };
    Variant variants[] = {
        {"lf", MixedTable()},
        {"crlf", MixedTable().CrLf()},
        {"nofinal", MixedTable().NoFinalNewline()},
        {"crlfnofinal", MixedTable().CrLf().NoFinalNewline()},
    };
    for (Variant& v : variants) {
        SCOPED_TRACE(v.name);
        ASSERT_TRUE(v.table.Write(std::string("Strings\\") + v.name + ".kez"));
        EXPECT_EQ(gameString_LoadFile(v.name), 1);
        EXPECT_EQ(gameString_GetFileStrings(v.name), kMixedCount + 1);  // "dup" counts twice
        ExpectMixedDefines();
        gameString_Shutdown();
    }
    ExpectNoHandleLeft();
}

TEST_F(GameString, TablesInsidePackArchivesKeepNoCarriageReturn)
{
    // Pack entries are read as they are stored, without text-mode translation.
    ASSERT_TRUE(fixtures::ZipWriter()
                    .Add("Strings\\packed.kez", MixedTable().CrLf().Text())
                    .Write("strings.vop"));
    stdFile_Shutdown();
    stdFile_Startup();
    ASSERT_EQ(stdFile_GetArchiveCount(1), 1);
    EXPECT_EQ(gameString_LoadFile("packed"), 1);
    ExpectMixedDefines();
    ExpectNoHandleLeft();
}

TEST_F(GameString, LongLinesAreCutAndTheRestThrownAway)
{
    const std::string k1023 = std::string(1023 - 7, 'a');  // "exact " + value + LF = 1023
    const std::string k1500 = std::string(1500, 'b');
    const std::string k5000 = std::string(5000, 'c');
    const std::string longKey(200, 'K');
    ASSERT_TRUE(KezWriter()
                    .Define("exact", k1023)
                    .Line("after1 one")
                    .Define("long", k1500)
                    .Line("after2 two")
                    .Define("huge", k5000)
                    .Line("after3 three")
                    .Define(longKey, "long key")
                    .Define("last", k5000)
                    .NoFinalNewline()
                    .Write("Strings\\long.kez"));
    ASSERT_EQ(gameString_LoadFile("long"), 1);
    EXPECT_EQ(gameString_Get("exact"), k1023);
    EXPECT_EQ(gameString_Get("long"), k1500.substr(0, 1023 - 5));
    EXPECT_EQ(gameString_Get("huge"), k5000.substr(0, 1023 - 5));
    EXPECT_EQ(gameString_Get("last"), k5000.substr(0, 1023 - 5));
    EXPECT_STREQ(gameString_Get("after1"), "one");
    EXPECT_STREQ(gameString_Get("after2"), "two");
    EXPECT_STREQ(gameString_Get("after3"), "three");
    EXPECT_STREQ(gameString_Get(std::string(31, 'k').c_str()), "long key");
    EXPECT_EQ(gameString_GetFileStrings("long"), 8);
}

TEST_F(GameString, LaterFilesReplaceEarlierDefinitions)
{
    ASSERT_TRUE(KezWriter().Define("shared", "from system").Define("own", "system only")
                    .Write("Strings\\system.kez"));
    ASSERT_TRUE(KezWriter().Define("SHARED", "from game").Write("Strings\\game.kez"));
    ASSERT_TRUE(fixtures::MakeFolders("Misc"));
    ASSERT_TRUE(KezWriter().Define("effect", "boom").Write("Misc\\effects.kez"));
    ASSERT_EQ(gameString_Startup(), 1);
    EXPECT_EQ(gameString_IsStarted(), 1);
    EXPECT_STREQ(gameString_Get("shared"), "from game");
    EXPECT_STREQ(gameString_Get("own"), "system only");
    EXPECT_STREQ(gameString_Get("effect"), "boom");
    EXPECT_EQ(gameString_GetFileCount(), 3);  // "chronicles" is missing and leaves no record
    EXPECT_EQ(gameString_GetFileStrings("chronicles"), -1);
    EXPECT_EQ(gameString_GetCount(), 4);      // the replaced definition keeps its record
    ExpectNoHandleLeft();
}

TEST_F(GameString, LookupsWorkWithoutStartUp)
{
    ASSERT_EQ(gameString_IsStarted(), 0);
    const char* first = gameString_Get("Menu_Title");
    EXPECT_STREQ(first, "Menu_Title");
    EXPECT_EQ(gameString_Get("menu_title"), first);
    EXPECT_EQ(gameString_Get("MENU_TITLE"), first);
    EXPECT_STREQ(gameString_Get(""), " ");
    EXPECT_STREQ(gameString_Get(nullptr), " ");
    EXPECT_STREQ(gameString_Format("Menu_Title", "%N5"), "Menu_Title");
    ASSERT_TRUE(KezWriter().Define("hint", "A hint").Write("Strings\\hints.kez"));
    EXPECT_EQ(gameString_LoadFile("hints"), 1);
    EXPECT_STREQ(gameString_Get("hint"), "A hint");
    // A defined key cannot be added again; a self-registered one counts as defined.
    EXPECT_EQ(gameString_Add("hint", "other"), 0);
    EXPECT_EQ(gameString_Add("menu_title", "other"), 0);
    EXPECT_EQ(gameString_Add("fresh", "new"), 1);
    EXPECT_EQ(gameString_Add("", "empty key"), 0);
    EXPECT_STREQ(gameString_Get("fresh"), "new");
    EXPECT_EQ(gameString_GetCount(), 3);
    EXPECT_EQ(gameString_Shutdown(), 1);
    EXPECT_EQ(gameString_GetCount(), 0);
    EXPECT_STREQ(gameString_Get("hint"), "hint");  // usable again after shutdown
}

TEST_F(GameString, FilesAreReadOnceAndAlwaysClosed)
{
    ASSERT_TRUE(KezWriter().Comment("nothing here").Blank().Line("keyonly")
                    .Write("Strings\\empty.kez"));
    ASSERT_TRUE(KezWriter().Define("a", "1").Write("Strings\\one.kez"));
    EXPECT_EQ(gameString_LoadFile("empty"), 1);
    EXPECT_EQ(gameString_GetFileStrings("empty"), 0);
    EXPECT_EQ(gameString_LoadFile("one.kez"), 1);
    EXPECT_EQ(gameString_LoadFile("missing"), 0);
    EXPECT_EQ(gameString_LoadFile(""), 0);
    EXPECT_EQ(gameString_LoadFile(nullptr), 0);
    EXPECT_EQ(gameString_GetFileCount(), 2);
    // Loaded files are known by name, an empty one too, and are not read again.
    ASSERT_TRUE(KezWriter().Define("a", "changed").Write("Strings\\empty.kez"));
    EXPECT_EQ(gameString_LoadFile("EMPTY"), 1);
    EXPECT_STREQ(gameString_Get("a"), "1");
    EXPECT_EQ(gameString_GetFileCount(), 2);
    ExpectNoHandleLeft();
}

TEST_F(GameString, FullTablesRefuseMore)
{
    for (int i = 0; i < GAMESTRING_MAX_FILES; i++) {
        std::string name = "file" + std::to_string(i);
        ASSERT_TRUE(KezWriter().Define(name, "v").Write("Strings\\" + name + ".kez"));
        ASSERT_EQ(gameString_LoadFile(name.c_str()), 1) << name;
    }
    ASSERT_TRUE(KezWriter().Define("late", "v").Write("Strings\\late.kez"));
    EXPECT_EQ(gameString_LoadFile("late"), 0);
    EXPECT_EQ(gameString_GetFileStrings("late"), -1);
    EXPECT_STREQ(gameString_Get("late"), "late");
    EXPECT_EQ(gameString_LoadFile("file3"), 1);  // loaded before: still answered
    ExpectNoHandleLeft();

    while (gameString_GetCount() < GAMESTRING_MAX_RECORDS) {
        ASSERT_EQ(gameString_Add(("k" + std::to_string(gameString_GetCount())).c_str(), "v"), 1);
    }
    EXPECT_EQ(gameString_Add("one_more", "v"), 0);
    EXPECT_STREQ(gameString_Get("not_registered"), " ");
    EXPECT_STREQ(gameString_Format("not_registered", "%Ax"), " ");
    EXPECT_STREQ(gameString_Get("file0"), "v");
    EXPECT_EQ(gameString_GetCount(), GAMESTRING_MAX_RECORDS);
}

TEST_F(GameString, NamesAreNeverLengthenedPastTheirBuffer)
{
    // 123 characters and ".kez" fill the 128-byte name buffer exactly; 124 do not fit.
    const std::string fits = "Strings\\" + std::string(123 - 8, 'n');
    const std::string tooLong = "Strings\\" + std::string(124 - 8, 'm');
    ASSERT_TRUE(KezWriter().Define("fits", "yes").Write(fits + ".kez"));
    ASSERT_TRUE(KezWriter().Define("toolong", "yes").Write(tooLong.substr(0, 123) + ".kez"));
    EXPECT_EQ(gameString_LoadFile(fits.c_str()), 1);
    EXPECT_STREQ(gameString_Get("fits"), "yes");
    EXPECT_EQ(gameString_LoadFile(tooLong.c_str()), 0);
    EXPECT_EQ(gameString_LoadFile(std::string(4000, 'x').c_str()), 0);
    EXPECT_STREQ(gameString_Get("toolong"), "toolong");
}

TEST_F(GameString, FormatExpandsPlaceholders)
{
    ASSERT_EQ(gameString_Add("take", "Take %N of %a"), 1);
    ASSERT_EQ(gameString_Add("item_name", "the sword"), 1);
    ASSERT_EQ(gameString_Add("pct", "100%% sure %"), 1);
    ASSERT_EQ(gameString_Add("all", "%0%1%2%3%4%5%6%7%8%9%A%B%C%D%E%F%G"), 1);
    ASSERT_EQ(gameString_Add("long", std::string(1500, 'x').c_str()), 1);
    ASSERT_EQ(gameString_Add("tail", std::string(1000, 'y').append("%Z").c_str()), 1);
    std::string sixteen;
    for (char c : std::string("0123456789ABCDEF")) sixteen += std::string("%") + c + "<" + c + ">";
    struct Case {
        const char* key;
        std::string args;
        bool nullArgs;
        std::string expected;
    };
    const Case cases[] = {
        {"take", "%N5%aitem_name", false, "Take 5 of the sword"},
        {"take", "%N5%aundefined_item", false, "Take 5 of undefined_item"},
        {"take", "%n5%Aitem_name", false, "Take  of "},  // placeholders keep their case
        {"take", "", false, "Take  of "},
        {"take", "", true, "Take %N of %a"},
        {"take", "junk before %N7", false, "Take 7 of "},
        {"take", "%N1%N2", false, "Take 1 of "},  // the first entry of a character wins
        {"take", "%N%", false, "Take  of "},
        {"pct", "%%percent", false, "100percent sure "},
        {"pct", "", false, "100 sure "},
        {"all", sixteen, false, "<0><1><2><3><4><5><6><7><8><9><A><B><C><D><E><F>"},
        {"all", sixteen + "%Gsixteenth", false,
         "<0><1><2><3><4><5><6><7><8><9><A><B><C><D><E><F>"},  // a 17th argument is not kept
        {"take", "%N" + std::string(300, 'z'), false, "Take " + std::string(127, 'z') + " of "},
        {"long", "%Xx", false, std::string(1023, 'x')},
        {"tail", "%Z" + std::string(100, 'w'), false,
         std::string(1000, 'y') + std::string(23, 'w')},
        {"Unknown_Key %A", "%Avalue", false, "Unknown_Key value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " / " + c.args.substr(0, 40));
        const char* result = gameString_Format(c.key, c.nullArgs ? nullptr : c.args.c_str());
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result, c.expected);
    }
}

TEST_F(GameString, DamagedTablesLoadSafely)
{
    const std::string good = KezWriter()
                                 .Comment("table")
                                 .Define("alpha", "first text")
                                 .Line("  beta   second  text ")
                                 .Line("// skip")
                                 .Define("gamma", "third")
                                 .CrLf()
                                 .Text();
    int loads = 0;
    fixtures::ForEachMutation(good, [&](const std::string& bad) {
        ASSERT_TRUE(fixtures::WriteText("Strings\\bad.kez", bad));
        ASSERT_EQ(gameString_LoadFile("bad"), 1);
        ASSERT_GE(gameString_GetFileStrings("bad"), 0);
        ASSERT_LE(gameString_GetFileStrings("bad"), 4);  // a spoilt comment mark defines
        for (const char* key : {"alpha", "beta", "gamma"}) {
            ASSERT_LT(strlen(gameString_Get(key)), (size_t)GAMESTRING_LINE_SIZE);
        }
        gameString_Shutdown();
        loads++;
    });
    EXPECT_EQ(loads, (int)good.size() * 4);
    // Binary noise with NULs and no line feed at all.
    std::string noise;
    for (int i = 0; i < 5000; i++) noise += (char)((i * 73 + 11) % 256);
    ASSERT_TRUE(fixtures::WriteText("Strings\\noise.kez", noise));
    EXPECT_EQ(gameString_LoadFile("noise"), 1);
    ExpectNoHandleLeft();
}
