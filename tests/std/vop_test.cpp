// Pack archives: indexing of the local headers, damaged archives, and reading entries.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
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

// What ReadEntry gives for a name the archive does not find.
const char kMissing[] = "<missing>";

std::string ReadEntry(stdVop* vop, const char* name)
{
    stdVopStream* s = stdVop_OpenFile(vop, name);
    if (!s) return kMissing;
    std::string text = ReadAll(s);
    stdVop_CloseFile(s);
    return text;
}

// An open archive and a stream of it, each closed when the case leaves it: a case opens its
// streams after their archive, so they close first.
struct ArchiveCloser {
    void operator()(stdVop* vop) const { stdVop_Close(vop); }
};
struct StreamCloser {
    void operator()(stdVopStream* stream) const { stdVop_CloseFile(stream); }
};
using Archive = std::unique_ptr<stdVop, ArchiveCloser>;
using Stream = std::unique_ptr<stdVopStream, StreamCloser>;

// An entry's name and what reading it gives: its text, or kMissing.
struct Read {
    std::string name;
    std::string text;
};

class StdVop : public ::testing::Test {
protected:
    // Writes the archive into the work folder and opens it.
    static stdVop* Pack(const ZipWriter& zip, uint32_t streams)
    {
        return zip.Write("test.vop") ? stdVop_Open("test.vop", streams) : nullptr;
    }
    static Archive PackOwned(const ZipWriter& zip, uint32_t streams = 4) { return Archive(Pack(zip, streams)); }

    // Packs the archive, then checks how many entries it indexed (unless kAnyCount) and what
    // each name reads.
    static constexpr int kAnyCount = -1;
    static void ExpectEntries(const ZipWriter& zip, uint32_t streams, int numEntries,
                              const std::vector<Read>& reads)
    {
        Archive vop = PackOwned(zip, streams);
        ASSERT_NE(vop, nullptr);
        if (numEntries != kAnyCount) {
            EXPECT_EQ(vop->numEntries, (uint32_t)numEntries);
        }
        for (const Read& r : reads)
            EXPECT_EQ(ReadEntry(vop.get(), r.name.c_str()), r.text) << r.name.substr(0, 40);
    }

    // Packs the archive and opens a stream of the named entry; both close when the case ends.
    stdVopStream* OpenEntry(const ZipWriter& zip, const char* name)
    {
        archive = PackOwned(zip);
        stream.reset(archive ? stdVop_OpenFile(archive.get(), name) : nullptr);
        return stream.get();
    }

    WorkFolder work{fixtures::TestFolderName()};
    Archive archive;
    Stream stream;
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
    EXPECT_EQ(ReadEntry(vop, "ui/cursor.tga"), kMissing);  // callers use backslashes
    EXPECT_EQ(stdVop_Close(vop), 1);
}

TEST_F(StdVop, MissingEmptyAndForeignFiles)
{
    EXPECT_EQ(stdVop_Open("absent.vop", 4), nullptr);
    fixtures::WriteText("empty.vop", "");
    fixtures::WriteText("text.vop", "this is not an archive at all, just text");
    Archive empty(stdVop_Open("empty.vop", 4));
    Archive text(stdVop_Open("text.vop", 4));
    ASSERT_NE(empty, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(empty->numEntries, 0u);
    EXPECT_EQ(text->numEntries, 0u);
    EXPECT_EQ(stdVop_OpenFile(text.get(), "this"), nullptr);
}

TEST_F(StdVop, LongNamesAreSkippedAndTheWalkGoesOn)
{
    ExpectEntries(ZipWriter()
                      .Add("before.txt", "B")
                      .Add(std::string(300, 'n'), "long")
                      .Add(std::string(128, 'm'), "x")
                      .Add(std::string(127, 'k'), "fits")
                      .Add("after.txt", "A"),
                  4, 3,
                  {{"before.txt", "B"},
                   {std::string(127, 'k'), "fits"},
                   {"after.txt", "A"},
                   {std::string(300, 'n'), kMissing},
                   {std::string(128, 'm'), kMissing}});
}

TEST_F(StdVop, DeflatedEntriesAreSkippedByTheirStoredSize)
{
    ZipEntry deflated = Entry("packed.txt", std::string(500, 'z'));
    deflated.deflate = true;
    ExpectEntries(ZipWriter().Add("one.txt", "1").Add(deflated).Add("two.txt", "2"), 4, 2,
                  {{"packed.txt", kMissing}, {"two.txt", "2"}});
}

TEST_F(StdVop, StoredEntriesWithDisagreeingSizesAreNotIndexed)
{
    ZipEntry odd = Entry("odd.bin", "0123456789");
    odd.claimedUncompressed = 4;
    ZipEntry described = Entry("later.bin", "abc");
    described.flags = 0x8;  // sizes in a data descriptor
    ExpectEntries(ZipWriter().Add(odd).Add(described).Add("last.txt", "L"), 4, kAnyCount,
                  {{"odd.bin", kMissing}, {"later.bin", kMissing}, {"last.txt", "L"}});
}

TEST_F(StdVop, SizesPastTheEndEndTheWalk)
{
    ZipEntry huge = Entry("huge.bin", "tiny");
    huge.claimedCompressed = 0x7FFFFFF0;
    huge.claimedUncompressed = 0x7FFFFFF0;
    ExpectEntries(ZipWriter().Add("first.txt", "first").Add(huge).Add("unreached.txt", "u"), 4, 1,
                  {{"first.txt", "first"}, {"huge.bin", kMissing}});
}

TEST_F(StdVop, TruncatedArchivesKeepTheEntriesBeforeTheCut)
{
    ZipWriter zip;
    zip.Add("a.txt", "alpha").Add("b.txt", "beta");
    Bytes bytes = zip.Build();
    size_t secondHeader = 30 + 5 + 5;
    for (size_t cut : {secondHeader + 10, secondHeader + 30 + 2, secondHeader + 30 + 5 + 2}) {
        SCOPED_TRACE(cut);
        ASSERT_TRUE(fixtures::WriteBytes("cut.vop", fixtures::Bytes(bytes.begin(), bytes.begin() + (long)cut)));
        Archive vop(stdVop_Open("cut.vop", 4));
        ASSERT_NE(vop, nullptr);
        EXPECT_EQ(vop->numEntries, 1u);
        EXPECT_EQ(ReadEntry(vop.get(), "a.txt"), "alpha");
        EXPECT_EQ(ReadEntry(vop.get(), "b.txt"), kMissing);
    }
    ASSERT_TRUE(fixtures::WriteBytes("cut.vop", fixtures::Bytes(bytes.begin(), bytes.begin() + 20)));
    Archive vop(stdVop_Open("cut.vop", 4));
    ASSERT_NE(vop, nullptr);
    EXPECT_EQ(vop->numEntries, 0u);
}

TEST_F(StdVop, OneByteEntryAndTheLastByteAreReadable)
{
    Archive vop = PackOwned(ZipWriter().Add("one.bin", "Q").Add("ten.bin", "0123456789"));
    ASSERT_NE(vop, nullptr);
    char c = 0;
    {
        Stream s(stdVop_OpenFile(vop.get(), "one.bin"));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(stdVop_Eof(s.get()), 0);
        EXPECT_EQ(stdVop_Read(&c, 1, 1, s.get()), 1u);
        EXPECT_EQ(c, 'Q');
        EXPECT_EQ(stdVop_Read(&c, 1, 1, s.get()), 0u);
        EXPECT_NE(stdVop_Eof(s.get()), 0);
    }
    Stream s(stdVop_OpenFile(vop.get(), "ten.bin"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(stdVop_Seek(s.get(), 9, 0), 1);
    EXPECT_EQ(stdVop_Eof(s.get()), 0);
    EXPECT_EQ(stdVop_Read(&c, 1, 1, s.get()), 1u);
    EXPECT_EQ(c, '9');
    EXPECT_EQ(stdVop_Tell(s.get()), 10u);
    char four[4];
    EXPECT_EQ(stdVop_Seek(s.get(), -3, 2), 1);
    EXPECT_EQ(stdVop_Read(four, 2, 2, s.get()), 1u);  // only one whole element is left
    EXPECT_EQ(std::string(four, 2), "78");
    EXPECT_NE(stdVop_Eof(s.get()), 0);
}

TEST_F(StdVop, CrlfLinesComeBackWithTheirBytes)
{
    stdVopStream* s = OpenEntry(ZipWriter().Add("text.txt", "first line\r\nsecond\r\n\r\nlast"), "text.txt");
    ASSERT_NE(s, nullptr);
    // Each line read with the position after it, and whether the entry's end is reached.
    const struct {
        const char* line;
        uint32_t tell;
        bool eof;
    } lines[] = {{"first line\r\n", 12, false}, {"second\r\n", 20, false}, {"\r\n", 22, false}, {"last", 26, true}};
    char line[64];
    for (const auto& l : lines) {
        ASSERT_NE(stdVop_Gets(line, sizeof line, s), nullptr);
        EXPECT_STREQ(line, l.line);
        EXPECT_EQ(stdVop_Tell(s), l.tell);
        EXPECT_EQ(stdVop_Eof(s) != 0, l.eof) << l.line;
    }
    EXPECT_EQ(stdVop_Gets(line, sizeof line, s), nullptr);

    stdVop_Seek(s, 0, 0);
    EXPECT_EQ(stdVop_Eof(s), 0);
    char small[5];
    ASSERT_NE(stdVop_Gets(small, sizeof small, s), nullptr);
    EXPECT_STREQ(small, "firs");
    EXPECT_EQ(stdVop_Tell(s), 4u);
}

TEST_F(StdVop, LinesStopAtTheEntryEnd)
{
    stdVopStream* s = OpenEntry(ZipWriter().Add("a.txt", "no newline here").Add("b.txt", "NEXT ENTRY\n"), "a.txt");
    ASSERT_NE(s, nullptr);
    char line[64];
    ASSERT_NE(stdVop_Gets(line, sizeof line, s), nullptr);
    EXPECT_STREQ(line, "no newline here");
    EXPECT_EQ(stdVop_Gets(line, sizeof line, s), nullptr);
}

TEST_F(StdVop, WideLines)
{
    const char16_t text[] = u"ab\ncd";
    ZipEntry e;
    e.name = "wide.txt";
    e.data.assign((const uint8_t*)text, (const uint8_t*)text + 10);
    stdVopStream* s = OpenEntry(ZipWriter().Add(e), "wide.txt");
    ASSERT_NE(s, nullptr);
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
}

TEST_F(StdVop, TwoStreamsReadAlternately)
{
    Archive vop = PackOwned(ZipWriter().Add("x.txt", "AAAAAAAAAA").Add("y.txt", "BBBBBBBBBB"));
    ASSERT_NE(vop, nullptr);
    Stream x(stdVop_OpenFile(vop.get(), "x.txt"));
    Stream y(stdVop_OpenFile(vop.get(), "y.txt"));
    ASSERT_NE(x, nullptr);
    ASSERT_NE(y, nullptr);
    std::string readX, readY;
    char c;
    for (int i = 0; i < 10; i++) {
        ASSERT_EQ(stdVop_Read(&c, 1, 1, x.get()), 1u);
        readX += c;
        ASSERT_EQ(stdVop_Read(&c, 1, 1, y.get()), 1u);
        readY += c;
    }
    EXPECT_EQ(readX, "AAAAAAAAAA");
    EXPECT_EQ(readY, "BBBBBBBBBB");
}

TEST_F(StdVop, SeekOrigins)
{
    stdVopStream* s = OpenEntry(ZipWriter().Add("s.txt", "0123456789"), "s.txt");
    ASSERT_NE(s, nullptr);
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
    ExpectEntries(zip, 1, 20000, {{"e19999", "v"}, {"e20000", kMissing}});
}

TEST_F(StdVop, DuplicateNamesKeepTheFirstEntry)
{
    ExpectEntries(ZipWriter().Add("dup.txt", "first").Add("DUP.TXT", "second"), 1, kAnyCount,
                  {{"dup.txt", "first"}});
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
            EXPECT_EQ(ReadEntry(vop, name.c_str()), kMissing);
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
