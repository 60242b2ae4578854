#include "IniFile.h"
#include "fixtures/fixtureMutations.h"
#include <gtest/gtest.h>
#include <algorithm>
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

// Every truncation of a small file, and each of its bytes set to 0x00, 0xFF and 0x7F: the file
// reads as at most as many sections as it has brackets, every name is found again, and no name,
// line or value holds a line feed or is longer than the file.
TEST(TIniFile, MutatedFilesReadWithinBounds)
{
    const std::string good = "\xEF\xBB\xBF; c\r\n[A]\r\nk = v\r\nx\r\n[ b ]\r\nK=w=z\r\n[A]\r\nm=1\n";
    auto read = [](const std::string& text) {
        WriteFile("m.ini", text);
        TIniFile ini("m.ini");
        ASSERT_TRUE(ini.Exists());
        TStringList sections;
        ini.ReadSections(sections);
        ASSERT_LE(sections.Count(), (int)std::count(text.begin(), text.end(), '['));
        auto clean = [&text](const std::string& s) {
            return s.find('\n') == std::string::npos && s.size() <= text.size();
        };
        for (int i = 0; i < sections.Count(); ++i) {
            const std::string name = sections.Strings(i);
            EXPECT_TRUE(clean(name));
            EXPECT_TRUE(ini.SectionExists(name));
            TStringList lines;
            ini.ReadSectionValues(name, lines);
            for (int k = 0; k < lines.Count(); ++k)
                EXPECT_TRUE(clean(lines.Strings(k)));
            EXPECT_TRUE(clean(ini.ReadString(name, "k", "")));
        }
    };
    read(good);
    fixtures::ForEachMutation(good, read);
}
