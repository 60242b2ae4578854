// The std library's loaders fed about 2,000 seeded mutants each (fixtureLoaderMutations.h):
// fonts, TGA images through the bitmap cache, game strings, and pack archives through the file
// layer. Each mutant must load within a heap bound derived from its size and leave nothing
// behind; the good file loads the same after a refused one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fixtureKez.h"
#include "fixtureLoaderMutations.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "fixtureYub.h"
#include "fixtureZip.h"
#include "gameString.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "stdFont.h"

using fixtures::Bytes;
using fixtures::LoaderUnderMutation;
using fixtures::MutationDigest;

namespace {

class StdMutations : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fixtures::MakeFolders("Ui"));
        ASSERT_TRUE(fixtures::MakeFolders("Strings"));
        ASSERT_TRUE(fixtures::MakeFolders("packs"));
        stdFile_Startup();
        ASSERT_NE(stdBitmap_Startup(), nullptr);
    }
    void TearDown() override
    {
        gameString_Shutdown();
        stdBitmap_Shutdown();
        stdFile_Shutdown();
    }

    fixtures::WorkFolder work{fixtures::TestFolderName()};
};

uint8_t Coverage(int code, int c, int r)
{
    return (uint8_t)(code * 13 + c * 31 + r * 7);
}

// Draws every code into both target formats; what lands on the targets goes into the digest.
void DrawAll(MutationDigest& digest)
{
    static char text[256];
    for (int i = 1; i < 256; i++) text[i - 1] = (char)i;
    static uint8_t pixels[24 * 12 * 4];
    for (uint32_t format : {BITMAP_FORMAT_1555, BITMAP_FORMAT_8888}) {
        Bitmap target = {};
        target.format = format;
        target.width = 24;
        target.height = 12;
        target.pixels = pixels;
        memset(pixels, 0, sizeof pixels);
        for (int y : {-9, 3, 11}) {
            for (int x : {-20, 0, 17}) {
                if (format == BITMAP_FORMAT_1555) stdFont_Draw16(&target, x, y, text, 0, 255, 128, 64);
                else stdFont_Draw32(&target, x, y, text, 0, 255, 128, 64);
            }
        }
        digest.Add(pixels, sizeof pixels);
    }
}

}  // namespace

TEST_F(StdMutations, Fonts)
{
    fixtures::YubFont yub = fixtures::MakeYub(5, 6, 6, {'A', 'B', 'g', 200}, Coverage, 9);
    yub.glyphs['B'].xOffset = -2;
    yub.glyphs['g'].yOffset = -3;
    // Fields the loader owns: whatever the file holds there is never freed or followed.
    yub.pointerField = 0xDEADBEEF;
    yub.countField = 3;
    LoaderUnderMutation loader = fixtures::YubUnderMutation("yub", yub, "Ui\\f.yub", {'A', 'B', 'g', 200, ' '});
    // The record, and the glyph bitmap the file holds.
    loader.bound = [](size_t bytes) { return STDFONT_RECORD_SIZE + bytes; };
    loader.load = [] {
        stdFont* font = stdFont_Load("f");
        if (!font) return std::string();
        MutationDigest digest;
        digest.Add(font->lineHeight).Add(font->pitch).Add(font->rows).Add(font->glyphs);
        stdFont_SetCurrent(font);
        DrawAll(digest);
        stdFont_Free(font);
        return digest.Text();
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.leftBehind = [] {
        if (stdFont_GetLoadedCount() || stdFont_GetRampCount()) return std::string("a font or ramp");
        return std::string();
    };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(StdMutations, TgaThroughTheBitmapCache)
{
    fixtures::TgaImage image = fixtures::MakeTga(7, 5, 32, false, [](int x, int y) {
        return (uint32_t)(0x80000000u | x * 0x102030u | y * 0x050607u);
    });
    image.id = "id";
    LoaderUnderMutation loader =
        fixtures::TgaUnderMutation("tga (bitmap cache)", image, "Ui\\img.tga", BITMAP_HEADER_SIZE);
    loader.load = [] {
        Bitmap* bitmap = stdBitmap_Load("img.tga", BITMAP_FORMAT_8888, STDFILE_TYPE_UI);
        if (!bitmap) return std::string();
        MutationDigest digest;
        digest.Add(bitmap->width).Add(bitmap->height).Add(bitmap->format).Add(bitmap->refCount);
        digest.Add(bitmap->pixels, (size_t)bitmap->width * bitmap->height * 4);
        stdBitmap_Release(bitmap);
        return digest.Text();
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.leftBehind = [] {
        if (stdBitmap_GetLiveCount() || stdBitmap_Find("img.tga")) return std::string("a bitmap");
        return std::string();
    };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(StdMutations, GameStrings)
{
    const std::vector<std::pair<std::string, std::string>> strings = {
        {"menu_title", "Main menu"}, {"width", "640 wide"},  {"count", "12 of 48"},
        {"Greeting", "Hello  world "}, {"menu_title", "Replaced 2"}, {"last", "9"}};
    fixtures::KezWriter writer;
    writer.Comment("strings 1").Blank().Line("  // 2 comments");
    for (const auto& [key, value] : strings) writer.Define(key, value);
    writer.Line("keyonly").CrLf().NoFinalNewline();
    const std::string text = writer.Text();
    LoaderUnderMutation loader;
    loader.format = "kez";
    loader.good.assign(text.begin(), text.end());
    loader.fields = fixtures::MutationNumbersOf(text);
    // A value is at most the file.
    loader.bound = [](size_t bytes) { return bytes + 64; };
    loader.write = [](const Bytes& b) { return fixtures::WriteBytes("Strings\\s.kez", b); };
    loader.prepare = [] { gameString_Startup(); };
    loader.load = [&strings] {
        const int loaded = gameString_LoadFile("s");
        MutationDigest digest;
        for (const auto& s : strings) digest.AddText(gameString_Get(s.first.c_str()));
        digest.AddText(gameString_Format("count", "%N5"));
        gameString_Shutdown();
        return loaded ? digest.Text() : std::string();
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.freesOnlyItsOwn = false;  // the shutdown frees the indexes the start-up made
    fixtures::RunLoaderMutations(loader);
}

TEST_F(StdMutations, PackArchivesThroughTheFileLayer)
{
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"Strings\\a.kez", "one 1\ntwo 2\n"}, {"3D/Anims/b.jup", std::string(40, '\x03')},
        {"Ui\\c.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x20\0\1\2\3\4", 22)}};
    fixtures::ZipWriter zip;
    for (const auto& [name, data] : entries) zip.Add(name, data);
    LoaderUnderMutation loader;
    loader.format = "vop";
    loader.good = zip.Build();
    // Every local header's sizes and lengths, every central record's, and the end record's.
    for (size_t at = 0; at + 4 <= loader.good.size(); at++) {
        const uint32_t signature = (uint32_t)(loader.good[at] | loader.good[at + 1] << 8 |
                                              loader.good[at + 2] << 16 | (uint32_t)loader.good[at + 3] << 24);
        if (signature == 0x04034B50) {
            for (size_t f : {6u, 8u, 26u, 28u}) fixtures::AddField(loader.fields, at + f, 2);
            for (size_t f : {18u, 22u}) fixtures::AddField(loader.fields, at + f, 4);
        } else if (signature == 0x02014B50) {
            for (size_t f : {28u, 30u, 32u}) fixtures::AddField(loader.fields, at + f, 2);
            for (size_t f : {20u, 24u, 42u}) fixtures::AddField(loader.fields, at + f, 4);
        } else if (signature == 0x06054B50) {
            for (size_t f : {8u, 10u}) fixtures::AddField(loader.fields, at + f, 2);
            for (size_t f : {12u, 16u}) fixtures::AddField(loader.fields, at + f, 4);
        }
    }
    // The archive's entry table (doubling from 64 entries of 136 bytes, each entry at least 30
    // bytes of the file) and its name table of 1024 buckets.
    loader.bound = [](size_t bytes) { return 10 * bytes + 16384; };
    loader.write = [](const Bytes& b) { return fixtures::WriteBytes("packs\\pack.vop", b); };
    loader.load = [&entries] {
        stdFile_SetSecondaryBase("packs", 1);
        const int archives = stdFile_GetArchiveCount(2);
        MutationDigest digest;
        digest.Add(archives);
        for (const auto& e : entries) {
            std::string name = e.first;
            for (char& c : name) c = c == '/' ? '\\' : c;
            const stdFileHandle h = stdFile_Open(name.c_str(), "rb", STDFILE_TYPE_UI);
            static char buffer[64];
            uint32_t got = h ? stdFile_Read(buffer, 1, sizeof buffer, h) : 0;
            digest.Add(h != 0).Add(got).Add(buffer, got).Add(stdFile_Eof(h));
            if (h && stdFile_Seek(h, 0, 0) == 0 && stdFile_Gets(buffer, sizeof buffer, h))
                digest.AddText(buffer);
            if (h) stdFile_Close(h);
        }
        stdFile_SetSecondaryBase("", 0);
        return archives ? digest.Text() : std::string();
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.leftBehind = [] {
        if (stdFile_GetArchiveCount(2)) return std::string("an archive");
        return std::string();
    };
    fixtures::RunLoaderMutations(loader);
}
