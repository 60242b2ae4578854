// Pack archives: indexing of the local headers, damaged archives, and reading entries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "fixtureTestFolder.h"
#include "fixtureZip.h"
#include "fixtures/fixtureMutations.h"
#include "stdVop.h"

using fixtures::Bytes;
using fixtures::WorkFolder;
using fixtures::ZipEntry;
using fixtures::ZipWriter;

namespace {

ZipEntry Entry(const std::string& name, const std::string& text)
{
    ZipEntry e;
    e.name = name;
    e.data.assign(text.begin(), text.end());
    return e;
}

std::string ReadAll(stdVopStream* s)
{
    std::string out;
    char buffer[7];
    uint32_t n;
    while ((n = stdVop_Read(buffer, 1, sizeof buffer, s)) > 0) out.append(buffer, n);
    return out;
}

std::string ReadEntry(stdVop* vop, const char* name)
{
    stdVopStream* s = stdVop_OpenFile(vop, name);
    if (!s) return "<missing>";
    std::string text = ReadAll(s);
    stdVop_CloseFile(s);
    return text;
}

class StdVop : public ::testing::Test {
protected:
    // Writes the archive into the work folder and opens it.
    static stdVop* Pack(const ZipWriter& zip, uint32_t streams)
    {
        return zip.Write("test.vop") ? stdVop_Open("test.vop", streams) : nullptr;
    }

    WorkFolder work{fixtures::TestFolderName()};
};

}  // namespace

TEST_F(StdVop, StoredEntriesAreFoundInAnyCase)
{
    ZipWriter zip;
    zip.Add("3D/Models/Hero.qev", "model bytes").Add("ui/Cursor.TGA", "cursor");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(vop->numEntries, 2u);
    EXPECT_STREQ(vop->pEntries[0].name, "3d\\models\\hero.qev");
    EXPECT_EQ(ReadEntry(vop, "3D\\MODELS\\hero.QEV"), "model bytes");
    EXPECT_EQ(ReadEntry(vop, "UI\\cursor.tga"), "cursor");
    EXPECT_EQ(ReadEntry(vop, "ui/cursor.tga"), "<missing>");  // callers use backslashes
    EXPECT_EQ(stdVop_Close(vop), 1);
}

TEST_F(StdVop, MissingEmptyAndForeignFiles)
{
    EXPECT_EQ(stdVop_Open("absent.vop", 4), nullptr);
    fixtures::WriteText("empty.vop", "");
    fixtures::WriteText("text.vop", "this is not an archive at all, just text");
    stdVop* empty = stdVop_Open("empty.vop", 4);
    stdVop* text = stdVop_Open("text.vop", 4);
    ASSERT_NE(empty, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(empty->numEntries, 0u);
    EXPECT_EQ(text->numEntries, 0u);
    EXPECT_EQ(stdVop_OpenFile(text, "this"), nullptr);
    stdVop_Close(empty);
    stdVop_Close(text);
}

TEST_F(StdVop, LongNamesAreSkippedAndTheWalkGoesOn)
{
    ZipWriter zip;
    zip.Add("before.txt", "B").Add(std::string(300, 'n'), "long").Add(std::string(128, 'm'), "x")
        .Add(std::string(127, 'k'), "fits").Add("after.txt", "A");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(vop->numEntries, 3u);
    EXPECT_EQ(ReadEntry(vop, "before.txt"), "B");
    EXPECT_EQ(ReadEntry(vop, std::string(127, 'k').c_str()), "fits");
    EXPECT_EQ(ReadEntry(vop, "after.txt"), "A");
    EXPECT_EQ(ReadEntry(vop, std::string(300, 'n').c_str()), "<missing>");
    EXPECT_EQ(ReadEntry(vop, std::string(128, 'm').c_str()), "<missing>");
    stdVop_Close(vop);
}

TEST_F(StdVop, DeflatedEntriesAreSkippedByTheirStoredSize)
{
    ZipEntry deflated = Entry("packed.txt", std::string(500, 'z'));
    deflated.deflate = true;
    ZipWriter zip;
    zip.Add("one.txt", "1").Add(deflated).Add("two.txt", "2");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(vop->numEntries, 2u);
    EXPECT_EQ(ReadEntry(vop, "packed.txt"), "<missing>");
    EXPECT_EQ(ReadEntry(vop, "two.txt"), "2");
    stdVop_Close(vop);
}

TEST_F(StdVop, StoredEntriesWithDisagreeingSizesAreNotIndexed)
{
    ZipEntry odd = Entry("odd.bin", "0123456789");
    odd.claimedUncompressed = 4;
    ZipEntry described = Entry("later.bin", "abc");
    described.flags = 0x8;  // sizes in a data descriptor
    ZipWriter zip;
    zip.Add(odd).Add(described).Add("last.txt", "L");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(ReadEntry(vop, "odd.bin"), "<missing>");
    EXPECT_EQ(ReadEntry(vop, "later.bin"), "<missing>");
    EXPECT_EQ(ReadEntry(vop, "last.txt"), "L");
    stdVop_Close(vop);
}

TEST_F(StdVop, SizesPastTheEndEndTheWalk)
{
    ZipEntry huge = Entry("huge.bin", "tiny");
    huge.claimedCompressed = 0x7FFFFFF0;
    huge.claimedUncompressed = 0x7FFFFFF0;
    ZipWriter zip;
    zip.Add("first.txt", "first").Add(huge).Add("unreached.txt", "u");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(vop->numEntries, 1u);
    EXPECT_EQ(ReadEntry(vop, "first.txt"), "first");
    EXPECT_EQ(ReadEntry(vop, "huge.bin"), "<missing>");
    stdVop_Close(vop);
}

TEST_F(StdVop, TruncatedArchivesKeepTheEntriesBeforeTheCut)
{
    ZipWriter zip;
    zip.Add("a.txt", "alpha").Add("b.txt", "beta");
    Bytes bytes = zip.Build();
    size_t secondHeader = 30 + 5 + 5;
    for (size_t cut : {secondHeader + 10, secondHeader + 30 + 2, secondHeader + 30 + 5 + 2}) {
        ASSERT_TRUE(fixtures::WriteBytes("cut.vop", fixtures::Bytes(bytes.begin(), bytes.begin() + (long)cut)));
        stdVop* vop = stdVop_Open("cut.vop", 4);
        ASSERT_NE(vop, nullptr);
        EXPECT_EQ(vop->numEntries, 1u) << cut;
        EXPECT_EQ(ReadEntry(vop, "a.txt"), "alpha");
        EXPECT_EQ(ReadEntry(vop, "b.txt"), "<missing>");
        stdVop_Close(vop);
    }
    ASSERT_TRUE(fixtures::WriteBytes("cut.vop", fixtures::Bytes(bytes.begin(), bytes.begin() + 20)));
    stdVop* vop = stdVop_Open("cut.vop", 4);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(vop->numEntries, 0u);
    stdVop_Close(vop);
}

TEST_F(StdVop, OneByteEntryAndTheLastByteAreReadable)
{
    ZipWriter zip;
    zip.Add("one.bin", "Q").Add("ten.bin", "0123456789");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    stdVopStream* s = stdVop_OpenFile(vop, "one.bin");
    ASSERT_NE(s, nullptr);
    char c = 0;
    EXPECT_EQ(stdVop_Eof(s), 0);
    EXPECT_EQ(stdVop_Read(&c, 1, 1, s), 1u);
    EXPECT_EQ(c, 'Q');
    EXPECT_EQ(stdVop_Read(&c, 1, 1, s), 0u);
    EXPECT_NE(stdVop_Eof(s), 0);
    stdVop_CloseFile(s);

    s = stdVop_OpenFile(vop, "ten.bin");
    EXPECT_EQ(stdVop_Seek(s, 9, 0), 1);
    EXPECT_EQ(stdVop_Eof(s), 0);
    EXPECT_EQ(stdVop_Read(&c, 1, 1, s), 1u);
    EXPECT_EQ(c, '9');
    EXPECT_EQ(stdVop_Tell(s), 10u);
    char four[4];
    EXPECT_EQ(stdVop_Seek(s, -3, 2), 1);
    EXPECT_EQ(stdVop_Read(four, 2, 2, s), 1u);  // only one whole element is left
    EXPECT_EQ(std::string(four, 2), "78");
    EXPECT_NE(stdVop_Eof(s), 0);
    stdVop_CloseFile(s);
    stdVop_Close(vop);
}

TEST_F(StdVop, CrlfLinesComeBackWithTheirBytes)
{
    ZipWriter zip;
    zip.Add("text.txt", "first line\r\nsecond\r\n\r\nlast");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    stdVopStream* s = stdVop_OpenFile(vop, "text.txt");
    ASSERT_NE(s, nullptr);
    char line[64];
    ASSERT_NE(stdVop_Gets(line, sizeof line, s), nullptr);
    EXPECT_STREQ(line, "first line\r\n");
    EXPECT_EQ(stdVop_Tell(s), 12u);
    ASSERT_NE(stdVop_Gets(line, sizeof line, s), nullptr);
    EXPECT_STREQ(line, "second\r\n");
    ASSERT_NE(stdVop_Gets(line, sizeof line, s), nullptr);
    EXPECT_STREQ(line, "\r\n");
    EXPECT_EQ(stdVop_Eof(s), 0);
    ASSERT_NE(stdVop_Gets(line, sizeof line, s), nullptr);
    EXPECT_STREQ(line, "last");
    EXPECT_NE(stdVop_Eof(s), 0);
    EXPECT_EQ(stdVop_Gets(line, sizeof line, s), nullptr);

    stdVop_Seek(s, 0, 0);
    EXPECT_EQ(stdVop_Eof(s), 0);
    char small[5];
    ASSERT_NE(stdVop_Gets(small, sizeof small, s), nullptr);
    EXPECT_STREQ(small, "firs");
    EXPECT_EQ(stdVop_Tell(s), 4u);
    stdVop_CloseFile(s);
    stdVop_Close(vop);
}

TEST_F(StdVop, LinesStopAtTheEntryEnd)
{
    ZipWriter zip;
    zip.Add("a.txt", "no newline here").Add("b.txt", "NEXT ENTRY\n");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    stdVopStream* s = stdVop_OpenFile(vop, "a.txt");
    char line[64];
    ASSERT_NE(stdVop_Gets(line, sizeof line, s), nullptr);
    EXPECT_STREQ(line, "no newline here");
    EXPECT_EQ(stdVop_Gets(line, sizeof line, s), nullptr);
    stdVop_CloseFile(s);
    stdVop_Close(vop);
}

TEST_F(StdVop, WideLines)
{
    const char16_t text[] = u"ab\ncd";
    ZipEntry e;
    e.name = "wide.txt";
    e.data.assign((const uint8_t*)text, (const uint8_t*)text + 10);
    ZipWriter zip;
    zip.Add(e);
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    stdVopStream* s = stdVop_OpenFile(vop, "wide.txt");
    uint16_t line[8];
    ASSERT_NE(stdVop_GetsWide(line, 8, s), nullptr);
    EXPECT_EQ(line[0], 'a');
    EXPECT_EQ(line[2], '\n');
    EXPECT_EQ(line[3], 0);
    EXPECT_EQ(stdVop_Tell(s), 6u);
    ASSERT_NE(stdVop_GetsWide(line, 8, s), nullptr);
    EXPECT_EQ(line[0], 'c');
    EXPECT_EQ(line[2], 0);
    EXPECT_EQ(stdVop_GetsWide(line, 8, s), nullptr);
    EXPECT_NE(stdVop_Eof(s), 0);
    stdVop_CloseFile(s);
    stdVop_Close(vop);
}

TEST_F(StdVop, TwoStreamsReadAlternately)
{
    ZipWriter zip;
    zip.Add("x.txt", "AAAAAAAAAA").Add("y.txt", "BBBBBBBBBB");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    stdVopStream* x = stdVop_OpenFile(vop, "x.txt");
    stdVopStream* y = stdVop_OpenFile(vop, "y.txt");
    std::string readX, readY;
    char c;
    for (int i = 0; i < 10; i++) {
        ASSERT_EQ(stdVop_Read(&c, 1, 1, x), 1u);
        readX += c;
        ASSERT_EQ(stdVop_Read(&c, 1, 1, y), 1u);
        readY += c;
    }
    EXPECT_EQ(readX, "AAAAAAAAAA");
    EXPECT_EQ(readY, "BBBBBBBBBB");
    stdVop_CloseFile(x);
    stdVop_CloseFile(y);
    stdVop_Close(vop);
}

TEST_F(StdVop, SeekOrigins)
{
    ZipWriter zip;
    zip.Add("s.txt", "0123456789");
    stdVop* vop = Pack(zip, 4);
    ASSERT_NE(vop, nullptr);
    stdVopStream* s = stdVop_OpenFile(vop, "s.txt");
    char c;
    EXPECT_EQ(stdVop_Seek(s, 4, 0), 1);
    EXPECT_EQ(stdVop_Seek(s, 2, 1), 1);
    stdVop_Read(&c, 1, 1, s);
    EXPECT_EQ(c, '6');
    EXPECT_EQ(stdVop_Seek(s, -10, 2), 1);
    stdVop_Read(&c, 1, 1, s);
    EXPECT_EQ(c, '0');
    EXPECT_EQ(stdVop_Seek(s, 3, 7), 0);
    EXPECT_EQ(stdVop_Tell(s), 1u);
    EXPECT_EQ(stdVop_Seek(s, -5, 1), 0);  // before the start
    EXPECT_EQ(stdVop_Tell(s), 1u);
    EXPECT_EQ(stdVop_Seek(s, 0, 2), 1);
    EXPECT_NE(stdVop_Eof(s), 0);
    EXPECT_EQ(stdVop_Read(&c, 1, 1, s), 0u);
    // Rewinding leaves the end, as the standard seek does: the flag tells what a read would do.
    EXPECT_EQ(stdVop_Seek(s, 0, 0), 1);
    EXPECT_EQ(stdVop_Eof(s), 0);
    EXPECT_EQ(stdVop_Read(&c, 1, 1, s), 1u);
    EXPECT_EQ(c, '0');
    stdVop_CloseFile(s);
    stdVop_Close(vop);
}

TEST_F(StdVop, StreamsRunOutAndCloseWaitsForThem)
{
    ZipWriter zip;
    zip.Add("f.txt", "content");
    stdVop* vop = Pack(zip, 2);
    ASSERT_NE(vop, nullptr);
    stdVopStream* a = stdVop_OpenFile(vop, "f.txt");
    stdVopStream* b = stdVop_OpenFile(vop, "f.txt");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(stdVop_OpenFile(vop, "f.txt"), nullptr);
    stdVop_CloseFile(b);

    EXPECT_EQ(stdVop_Close(vop), 0);  // a still reads from it
    EXPECT_EQ(stdVop_OpenFile(vop, "f.txt"), nullptr);
    EXPECT_EQ(ReadAll(a), "content");
    stdVop_CloseFile(a);  // the archive goes with its last stream
}

TEST_F(StdVop, AtMost20000EntriesAreIndexed)
{
    ZipWriter zip;
    for (int i = 0; i <= 20000; i++) zip.Add("e" + std::to_string(i), "v");
    stdVop* vop = Pack(zip, 1);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(vop->numEntries, 20000u);
    EXPECT_EQ(ReadEntry(vop, "e19999"), "v");
    EXPECT_EQ(ReadEntry(vop, "e20000"), "<missing>");
    stdVop_Close(vop);
}

TEST_F(StdVop, DuplicateNamesKeepTheFirstEntry)
{
    ZipWriter zip;
    zip.Add("dup.txt", "first").Add("DUP.TXT", "second");
    stdVop* vop = Pack(zip, 1);
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(ReadEntry(vop, "dup.txt"), "first");
    stdVop_Close(vop);
}

// Every truncation of a small archive, and each of its bytes set to 0x00, 0xFF and 0x7F: the archive opens, every indexed entry lies inside the file, and reading,
// line reading and seeking stay within the entry.
TEST_F(StdVop, DamagedArchivesStayWithinTheirBytes)
{
    ZipWriter zip;
    zip.Add("a.txt", "alpha").Add("d/b.txt", "beta\nline");
    const Bytes good = zip.Build();
    auto openAndRead = [](const Bytes& bytes) {
        ASSERT_TRUE(fixtures::WriteBytes("m.vop", bytes));
        stdVop* vop = stdVop_Open("m.vop", 2);
        ASSERT_NE(vop, nullptr);
        ASSERT_LE(vop->numEntries, 2u);
        for (uint32_t i = 0; i < vop->numEntries; i++) {
            const stdVopEntry& e = vop->pEntries[i];
            ASSERT_LT(strnlen(e.name, sizeof e.name), sizeof e.name);
            ASSERT_LE((uint64_t)e.offset + e.size, bytes.size());
            stdVopStream* s = stdVop_OpenFile(vop, e.name);
            if (!s) continue;  // a duplicate name keeps the first entry
            EXPECT_EQ(ReadAll(s).size(), s->pEntry->size);
            EXPECT_TRUE(stdVop_Eof(s));
            ASSERT_EQ(stdVop_Seek(s, 0, 0), 1);
            char line[4];
            uint32_t lines = 0;
            while (stdVop_Gets(line, sizeof line, s)) ASSERT_LE(++lines, s->pEntry->size);
            EXPECT_EQ(stdVop_Tell(s), s->pEntry->size);
            stdVop_CloseFile(s);
        }
        stdVop_Close(vop);
    };
    openAndRead(good);
    fixtures::ForEachMutation(good, openAndRead);
}

// The headers are read in blocks: a header or a name that runs across the end of a block is
// read whole, and an archive cut inside such a header keeps the entries before it.
TEST_F(StdVop, HeadersAcrossReadBlocks)
{
    const std::string name = "across\\block.txt";  // 16 bytes
    const uint32_t header = 30;
    const uint32_t block = STDVOP_READ_BLOCK;
    // How far before the block's end the second header starts: inside the header, inside the
    // name, at the name's last byte, just after it, and at the end itself.
    for (uint32_t before : {1u, 4u, 29u, 30u, 31u, header + 8, header + 15, header + 16, header + 17, 0u}) {
        SCOPED_TRACE(before);
        const uint32_t second = block - before;
        const uint32_t padName = 7;  // "pad.bin"
        ZipWriter zip;
        zip.Add("pad.bin", Bytes(second - header - padName, 'p')).Add(name, "straddling").Add("after.txt", "A");
        const Bytes bytes = zip.Build();
        ASSERT_TRUE(fixtures::WriteBytes("b.vop", bytes));
        stdVop* vop = stdVop_Open("b.vop", 2);
        ASSERT_NE(vop, nullptr);
        ASSERT_EQ(vop->numEntries, 3u);
        EXPECT_EQ(vop->pEntries[1].offset, second + header + name.size());
        EXPECT_EQ(ReadEntry(vop, name.c_str()), "straddling");
        EXPECT_EQ(ReadEntry(vop, "after.txt"), "A");
        stdVop_Close(vop);

        // Cut inside the second header or its name: the walk ends before it.
        for (uint32_t cut : {second + 10, second + header + 3}) {
            ASSERT_TRUE(fixtures::WriteBytes("b.vop", Bytes(bytes.begin(), bytes.begin() + cut)));
            vop = stdVop_Open("b.vop", 2);
            ASSERT_NE(vop, nullptr);
            EXPECT_EQ(vop->numEntries, 1u) << cut;
            EXPECT_EQ(ReadEntry(vop, name.c_str()), "<missing>");
            stdVop_Close(vop);
        }
    }
}

// Entries of every size, small ones between large ones that are skipped over by more than a
// block: each is indexed and reads back whole.
TEST_F(StdVop, EntriesOfMixedSizesAreAllIndexed)
{
    const uint32_t sizes[] = {0, 1, 3 * STDVOP_READ_BLOCK, 5, 4000, 4096, 70, STDVOP_READ_BLOCK + 1, 0, 33,
                              2 * STDVOP_READ_BLOCK - 50, 9000, 1, 12};
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i < sizeof sizes / sizeof sizes[0]; i++) {
        std::string data(sizes[i], 0);
        for (uint32_t k = 0; k < sizes[i]; k++) data[k] = (char)(i * 31 + k);
        entries.emplace_back("e" + std::to_string(i) + ".bin", data);
    }
    // Many small ones after the last large one run past a short read.
    for (int i = 0; i < 300; i++)
        entries.emplace_back("small" + std::to_string(i), std::string((size_t)(i % 17), (char)('a' + i % 26)));
    ZipWriter zip;
    for (const auto& e : entries) zip.Add(e.first, e.second);
    stdVop* vop = Pack(zip, 1);
    ASSERT_NE(vop, nullptr);
    ASSERT_EQ(vop->numEntries, entries.size());
    for (uint32_t i = 0; i < vop->numEntries; i++) {
        ASSERT_STREQ(vop->pEntries[i].name, entries[i].first.c_str());
        EXPECT_TRUE(ReadEntry(vop, entries[i].first.c_str()) == entries[i].second) << entries[i].first;
    }
    stdVop_Close(vop);
}
