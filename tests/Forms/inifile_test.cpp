#include "IniFile.h"
#include <gtest/gtest.h>
#include <cstdio>

namespace {
void WriteFile(const char* name, const std::string& content)
{
    FILE* f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}
}  // namespace

TEST(TIniFile, SectionsAndLinesInFileOrder)
{
    WriteFile("order.ini", "; comment\r\n[Header]\r\nVersion=1\r\n[20]\r\nNAME = door \r\n\r\nCAT=10\r\n"
                           "[3]\r\nDESC=x=y\r\nloose line\r\n");
    TIniFile ini("order.ini");
    EXPECT_TRUE(ini.Exists());
    TStringList sections;
    ini.ReadSections(sections);
    ASSERT_EQ(sections.Count(), 3);
    EXPECT_EQ(sections.Strings(0), "Header");
    EXPECT_EQ(sections.Strings(1), "20");
    EXPECT_EQ(sections.Strings(2), "3");
    TStringList lines;
    ini.ReadSectionValues("20", lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Strings(0), "NAME=door");
    EXPECT_EQ(lines.Strings(1), "CAT=10");
    ini.ReadSectionValues("3", lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Strings(1), "loose line");
}

TEST(TIniFile, ReadStringIgnoresCaseAndGivesDefault)
{
    WriteFile("read.ini", "[Tag]\nName=door\nDESC=x=y\n[tag2]\n");
    TIniFile ini("read.ini");
    EXPECT_EQ(ini.ReadString("TAG", "name", "?"), "door");
    EXPECT_EQ(ini.ReadString("Tag", "desc", "?"), "x=y");
    EXPECT_EQ(ini.ReadString("Tag", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("nosuch", "Name", ""), "");
    EXPECT_TRUE(ini.SectionExists("TAG2"));
}

TEST(TIniFile, MissingFileHasNoSections)
{
    TIniFile ini("does-not-exist.ini");
    EXPECT_FALSE(ini.Exists());
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.Count(), 0);
    EXPECT_EQ(ini.ReadString("a", "b", "c"), "c");
}

TEST(TIniFile, ByteOrderMarkIsSkipped)
{
    WriteFile("bom.ini", "\xEF\xBB\xBF[Header]\r\nVersion=2\r\n");
    TIniFile ini("bom.ini");
    EXPECT_EQ(ini.ReadString("Header", "Version", ""), "2");
}
