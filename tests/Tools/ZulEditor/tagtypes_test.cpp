#include "IniFile.h"
#include "ZulBuilder.h"
#include "fixtureTestFolder.h"
#include "tagTypes.h"
#include <gtest/gtest.h>

using namespace zultest;

namespace {
TTagBytes Bytes32(const Tag& t)
{
    return t.value;
}

std::string Shown(const std::string& type, const Tag& t)
{
    return FormatTagValue(type, Bytes32(t));
}

TTagBytes Parsed(const std::string& type, const std::string& text)
{
    TTagBytes v{};
    v.fill(0xAA);
    EXPECT_TRUE(ParseTagValue(type, text, v));
    return v;
}
}  // namespace

TEST(TagTypes, NamesCompareWithLetterCase)
{
    EXPECT_EQ(DataTypeFromName("SINT"), dtSINT);
    EXPECT_EQ(DataTypeFromName("TEMPLATE"), dtTEMPLATE);
    EXPECT_EQ(DataTypeFromName("FILENAMENOEXT"), dtFILENAMENOEXT);
    EXPECT_EQ(DataTypeFromName("sint"), dtUnknown);
    EXPECT_EQ(DataTypeFromName("COLOUR"), dtUnknown);
}

TEST(TagTypes, LeadingIntegerWrapsIn32Bits)
{
    EXPECT_EQ(ReadLeadingInt("  42abc"), 42u);
    EXPECT_EQ(ReadLeadingInt("4294967295"), 4294967295u);
    EXPECT_EQ(ReadLeadingInt("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadLeadingInt("4294967296"), 0u);
    EXPECT_EQ(ReadLeadingInt("x12"), 0u);
    EXPECT_EQ(ReadLeadingInt("5  [0x5]"), 5u);
}

TEST(TagTypes, IntegerTypesShowAndReadBack)
{
    EXPECT_EQ(Shown("SINT", IntTag(1, static_cast<uint32_t>(-12))), "-12");
    EXPECT_EQ(Shown("UINT", IntTag(1, 4294967295u)), "4294967295");
    EXPECT_EQ(Shown("FLAGS", IntTag(1, 26)), "26  [0x1a]");
    EXPECT_EQ(Shown("ENUM", IntTag(1, 3)), "3");
    EXPECT_EQ(Parsed("SINT", "-12"), Bytes32(IntTag(1, static_cast<uint32_t>(-12))));
    EXPECT_EQ(Parsed("UINT", "4294967295"), Bytes32(IntTag(1, 4294967295u)));
    EXPECT_EQ(Parsed("FLAGS", "26  [0x1a]"), Bytes32(IntTag(1, 26)));
    EXPECT_EQ(Parsed("ENUM", "2  [red]"), Bytes32(IntTag(1, 2)));
}

TEST(TagTypes, EnumTakesItsNameFromTheDataFile)
{
    fixtures::WorkFolder work{fixtures::TestFolderName()};
    WriteText("enumdata.txt", "[COLOURS]\n0=red\n1=green\n2=blue\n3=cyan\n4=white\n");
    TIniFile data("enumdata.txt");
    EXPECT_EQ(FormatTagValue("ENUM", Bytes32(IntTag(1, 2)), &data, "COLOURS"), "2  [blue]");
    EXPECT_EQ(FormatTagValue("ENUM", Bytes32(IntTag(1, 7)), &data, "COLOURS"), "7");
    EXPECT_EQ(FormatTagValue("ENUM", Bytes32(IntTag(1, 2)), &data, "NOSUCH"), "2");
}

TEST(TagTypes, FloatTypesShowSixDecimals)
{
    EXPECT_EQ(Shown("FLOAT", FloatTag(1, 1.5f)), "1.500000");
    EXPECT_EQ(Shown("UFLOAT", FloatTag(1, 0.25f)), "0.250000");
    EXPECT_EQ(Shown("VECTOR", FloatTag(1, 1, -2, 3.5f)), "1.000000 -2.000000 3.500000");
    EXPECT_EQ(Shown("RGB", FloatTag(1, 12.9f, 0, 255)), "12 0 255");
    EXPECT_EQ(Parsed("FLOAT", "1.5"), Bytes32(FloatTag(1, 1.5f)));
    EXPECT_EQ(Parsed("VECTOR", "1.000000 -2.000000 3.500000"), Bytes32(FloatTag(1, 1, -2, 3.5f)));
    EXPECT_EQ(Parsed("RGB", "12 0 255"), Bytes32(FloatTag(1, 12, 0, 255)));
    EXPECT_EQ(Parsed("VECTOR", "7"), Bytes32(FloatTag(1, 7, 0, 0)));  // missing parts read 0
}

TEST(TagTypes, TextTypesKeep31CharactersAndZeroFill)
{
    for (const char* type : {"STRING", "FILENAME", "FILENAMENOEXT", "STRINGLIST", "TEMPLATE"}) {
        EXPECT_EQ(Shown(type, TextTag(1, "door.qev")), "door.qev");
        EXPECT_EQ(Parsed(type, "door.qev"), Bytes32(TextTag(1, "door.qev")));
    }
    const TTagBytes longText = Parsed("STRING", std::string(40, 'x'));
    EXPECT_EQ(TagBytesText(longText), std::string(31, 'x'));
    EXPECT_EQ(longText[31], 0);
    // A hostile value without NUL is read within its 32 bytes.
    TTagBytes full;
    full.fill('y');
    EXPECT_EQ(FormatTagValue("STRING", full), std::string(32, 'y'));
}

TEST(TagTypes, UnknownTypeShowsNothingAndKeepsItsBytes)
{
    const TTagBytes raw = Bytes32(IntTag(1, 0x12345678));
    EXPECT_EQ(FormatTagValue("COLOUR", raw), "");
    TTagBytes v = raw;
    EXPECT_FALSE(ParseTagValue("COLOUR", "99", v));
    EXPECT_EQ(v, raw);
    EXPECT_EQ(TagValueForSave("COLOUR", "", raw, true), raw);
}

TEST(TagTypes, UneditedValuesKeepTheirExactBytes)
{
    const TTagBytes third = Bytes32(FloatTag(1, 1.0f / 3.0f));
    const std::string shown = FormatTagValue("FLOAT", third);
    // Reading the shown text back would lose bits; an unedited value keeps them.
    TTagBytes reread{};
    ParseTagValue("FLOAT", shown, reread);
    EXPECT_NE(reread, third);
    EXPECT_EQ(TagValueForSave("FLOAT", shown, third, false), third);
    const TTagBytes colour = Bytes32(FloatTag(1, 12.9f, 0.5f, 255));
    EXPECT_EQ(TagValueForSave("RGB", FormatTagValue("RGB", colour), colour, false), colour);
    EXPECT_EQ(TagValueForSave("SINT", "5", colour, true), Bytes32(IntTag(1, 5)));
}
