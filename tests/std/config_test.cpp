// The settings file: typed values in palvera.ini of the folder current at the first section.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "fixtureProfile.h"
#include "fixtures/fixtureMutations.h"
#include "stdConfig.h"

namespace {

class StdConfig : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(stdConfig_GetPath()); }
    void TearDown() override { DeleteFileA(stdConfig_GetPath()); }
    stdConfig_Section section{"tests"};
};

}  // namespace

TEST_F(StdConfig, ThePathIsPalveraIniInTheStartingFolder)
{
    char folder[MAX_PATH];
    GetCurrentDirectoryA(sizeof folder, folder);
    EXPECT_EQ(std::string(stdConfig_GetPath()), std::string(folder) + "\\palvera.ini");
    SetCurrentDirectoryA("..");
    stdConfig_Section later("later");
    EXPECT_EQ(std::string(stdConfig_GetPath()), std::string(folder) + "\\palvera.ini");
    SetCurrentDirectoryA(folder);
}

TEST_F(StdConfig, SectionNamesAreCutTo31Characters)
{
    stdConfig_Section named(std::string(40, 's').c_str());
    EXPECT_EQ(std::string(named.name), std::string(31, 's'));
    stdConfig_SetSection(&named, "other");
    EXPECT_STREQ(named.name, "other");
    stdConfig_Section unnamed;
    EXPECT_STREQ(unnamed.name, "");
}

TEST_F(StdConfig, MissingFileAndKeysGiveTheDefaults)
{
    EXPECT_EQ(stdConfig_ReadInt(&section, "count", 17), 17);
    EXPECT_EQ(stdConfig_ReadBool(&section, "flag", 1), 1);
    EXPECT_EQ(stdConfig_ReadFloat(&section, "scale", 2.5f), 2.5f);
    char text[16];
    stdConfig_ReadString(&section, "name", text, sizeof text, "fallback");
    EXPECT_STREQ(text, "fallback");
}

TEST_F(StdConfig, IntegersAndStringsRoundTrip)
{
    EXPECT_NE(stdConfig_WriteInt(&section, "negative", -42), 0);
    EXPECT_NE(stdConfig_WriteInt(&section, "big", 2000000000), 0);
    EXPECT_NE(stdConfig_WriteString(&section, "driver", "blitvane.dll"), 0);
    EXPECT_EQ(stdConfig_ReadInt(&section, "negative", 0), -42);
    EXPECT_EQ(stdConfig_ReadInt(&section, "big", 0), 2000000000);
    char text[32];
    stdConfig_ReadString(&section, "driver", text, sizeof text, "");
    EXPECT_STREQ(text, "blitvane.dll");
    char small[5];
    memset(small, 'x', sizeof small);
    stdConfig_ReadString(&section, "driver", small, sizeof small, "");
    EXPECT_STREQ(small, "blit");
    stdConfig_Section other("other");
    EXPECT_EQ(stdConfig_ReadInt(&other, "negative", 5), 5);
}

TEST_F(StdConfig, BooleansTreatAStoredZeroAsMissing)
{
    stdConfig_WriteBool(&section, "zero", 0);
    stdConfig_WriteBool(&section, "one", 123);
    stdConfig_WriteInt(&section, "seven", 7);
    EXPECT_EQ(stdConfig_ReadBool(&section, "zero", 1), 1);
    EXPECT_EQ(stdConfig_ReadBool(&section, "zero", 0), 0);
    EXPECT_EQ(stdConfig_ReadBool(&section, "missing", 1), 1);
    EXPECT_EQ(stdConfig_ReadBool(&section, "seven", 1), 1);
    EXPECT_EQ(stdConfig_ReadBool(&section, "seven", 0), 1);
    EXPECT_EQ(stdConfig_ReadInt(&section, "one", 0), 1);
}

TEST_F(StdConfig, FloatsAreStoredAsProfileStructures)
{
    const float value = 0.15f;
    EXPECT_NE(stdConfig_WriteFloat(&section, "detail", value), 0);
    float back = stdConfig_ReadFloat(&section, "detail", -1.0f);
    EXPECT_EQ(memcmp(&back, &value, 4), 0);

    char raw[64];
    GetPrivateProfileStringA("tests", "detail", "", raw, sizeof raw, stdConfig_GetPath());
    EXPECT_EQ(std::string(raw), fixtures::ProfileFloat(value));

    stdConfig_WriteInt(&section, "decimal", 3);
    EXPECT_EQ(stdConfig_ReadFloat(&section, "decimal", 9.0f), 9.0f);
}

TEST_F(StdConfig, DamagedFloatsGiveTheDefault)
{
    float one = 1.0f;
    std::string good = fixtures::ProfileFloat(one);
    std::string badSum = good.substr(0, 8) + (good.substr(8) == "00" ? "01" : "00");
    double eight = 1.0;
    fixtures::WriteProfile(stdConfig_GetPath(),
                           {{"tests",
                             {{"good", good},
                              {"badsum", badSum},
                              {"eightbytes", fixtures::ProfileStruct(&eight, 8)},
                              {"short", good.substr(0, 6)},
                              {"garbage", "zz!!"}}}});
    EXPECT_EQ(stdConfig_ReadFloat(&section, "good", 5.0f), 1.0f);
    for (const char* damaged : {"badsum", "eightbytes", "short", "garbage"})
        EXPECT_EQ(stdConfig_ReadFloat(&section, damaged, 5.0f), 5.0f) << damaged;
}

TEST_F(StdConfig, TextThatIsNoNumberGivesTheDefault)
{
    fixtures::WriteProfile(stdConfig_GetPath(), {{"tests", {{"word", "many"}, {"lead", "12abc"}}}}, false);
    EXPECT_EQ(stdConfig_ReadInt(&section, "word", 8), 8);
    EXPECT_EQ(stdConfig_ReadInt(&section, "lead", 8), 12);
}

// Every truncation of a small settings file, and each of its bytes set to 0x00, 0xFF and 0x7F:
// a float reads back as written or as the default (its checksum catches any one changed byte),
// and strings always end inside the buffer.
TEST_F(StdConfig, MutatedFilesReadAsWrittenOrAsTheDefault)
{
    const float value = 0.15f;
    const std::string good = "[tests]\r\nf=" + fixtures::ProfileFloat(value) + "\r\ns=abcdef\r\n";
    auto read = [&](const std::string& text) {
        ASSERT_TRUE(fixtures::WriteText(stdConfig_GetPath(), text));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, stdConfig_GetPath());  // no cached copy
        float back = stdConfig_ReadFloat(&section, "f", -7.0f);
        EXPECT_TRUE(memcmp(&back, &value, 4) == 0 || back == -7.0f) << back;
        char out[4];
        memset(out, 'x', sizeof out);
        stdConfig_ReadString(&section, "s", out, sizeof out, "d");
        EXPECT_LT(strnlen(out, sizeof out), sizeof out);
        stdConfig_ReadInt(&section, "f", 0);
    };
    read(good);
    EXPECT_EQ(stdConfig_ReadFloat(&section, "f", -7.0f), value);
    fixtures::ForEachMutation(good, read);
}
