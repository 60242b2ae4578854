// Bitmap fonts: loading and its checks, damaged fonts, glyph drawing through the colour ramps
// into 16- and 32-bit bitmaps, clipping at every edge, widths and the pen.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fixtureAllocations.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "fixtureYub.h"
#include "fixtureZip.h"
#include "stdFile.h"
#include "stdFont.h"

using fixtures::Bytes;
using fixtures::WorkFolder;
using fixtures::YubFont;

namespace {

const int kGuard = 64;
const uint8_t kGuardByte = 0xAB;

// A target bitmap whose pixels lie between two guard zones.
class Target {
public:
    Target(int width, int height, uint32_t format, uint32_t fill = 0x5A5A5A5A)
    {
        bytes_ = bitmapFormat_BytesPerPixel(format);
        block_.assign(kGuard * 2 + (size_t)width * height * bytes_, kGuardByte);
        memset(&bitmap_, 0, sizeof bitmap_);
        bitmap_.format = format;
        bitmap_.width = (uint16_t)width;
        bitmap_.height = (uint16_t)height;
        bitmap_.pixels = block_.data() + kGuard;
        for (int i = 0; i < width * height; i++) memcpy(bitmap_.pixels + i * bytes_, &fill, bytes_);
    }
    Bitmap* operator&() { return &bitmap_; }
    uint32_t At(int x, int y) const
    {
        uint32_t v = 0;
        memcpy(&v, bitmap_.pixels + ((size_t)y * bitmap_.width + x) * bytes_, bytes_);
        return v;
    }
    std::vector<uint32_t> Pixels() const
    {
        std::vector<uint32_t> all;
        for (int y = 0; y < bitmap_.height; y++)
            for (int x = 0; x < bitmap_.width; x++) all.push_back(At(x, y));
        return all;
    }
    bool GuardsIntact() const
    {
        for (int i = 0; i < kGuard; i++) {
            if (block_[i] != kGuardByte || block_[block_.size() - 1 - i] != kGuardByte) return false;
        }
        return true;
    }

private:
    std::vector<uint8_t> block_;
    Bitmap bitmap_;
    uint32_t bytes_;
};

uint32_t RampEntry(int bytes, int red, int green, int blue, int i)
{
    if (i == 0) return 0;
    uint32_t r = (uint32_t)(red * i) >> 8, g = (uint32_t)(green * i) >> 8, b = (uint32_t)(blue * i) >> 8;
    if (bytes == 2) return 0x8000u | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

// The pixels a text should give: every glyph pixel of non-zero coverage that lands on the
// target, later glyphs over earlier ones.
std::vector<uint32_t> Expected(const Target& before, const YubFont& font, int x, int y,
                               const std::string& text, int bytes, int red, int green, int blue,
                               int width, int height)
{
    std::vector<uint32_t> pixels = before.Pixels();
    long long pen = x;
    for (unsigned char code : text) {
        if (code == 255) continue;
        const fixtures::YubGlyph& g = font.glyphs[code];
        if (g.bitmapOffset < 0) continue;
        for (int r = 0; r < g.height; r++) {
            for (int c = 0; c < g.width; c++) {
                long long tx = pen + g.xOffset + c, ty = (long long)y + g.yOffset + r;
                uint8_t v = font.bitmap[(size_t)g.bitmapOffset + (size_t)r * font.pitch + c];
                if (v && tx >= 0 && tx < width && ty >= 0 && ty < height)
                    pixels[(size_t)(ty * width + tx)] = RampEntry(bytes, red, green, blue, v);
            }
        }
        pen += g.advance;
    }
    return pixels;
}

uint8_t Pattern(int code, int c, int r)
{
    // Varied coverage with holes: every fourth pixel stays empty.
    int v = (code * 7 + c * 31 + r * 57) % 256;
    return ((c + r) % 4 == 3) ? 0 : (uint8_t)(v ? v : 1);
}

uint8_t Full(int, int, int)
{
    return 255;
}

class StdFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        stdFile_Startup();
        fixtures::MakeFolders("Ui");
    }
    void TearDown() override
    {
        for (stdFont* f : loaded_) stdFont_Free(f);
        stdFile_Shutdown();
    }

    stdFont* Load(const YubFont& font, const std::string& name = "font")
    {
        EXPECT_TRUE(fixtures::WriteYub("Ui\\" + name + ".yub", font));
        stdFont* f = stdFont_Load(name.c_str());
        if (f) loaded_.push_back(f);
        return f;
    }
    void Free(stdFont* f)
    {
        std::erase(loaded_, f);
        stdFont_Free(f);
    }

    std::vector<stdFont*> loaded_;
    WorkFolder work{fixtures::TestFolderName()};
};

// Draws text in both target formats and compares every pixel with the expected ones.
void ExpectDrawn(const YubFont& yub, int width, int height, int x, int y, const std::string& text)
{
    for (uint32_t format : {BITMAP_FORMAT_1555, BITMAP_FORMAT_8888}) {
        SCOPED_TRACE(format);
        Target target(width, height, format);
        int bytes = (int)bitmapFormat_BytesPerPixel(format);
        std::vector<uint32_t> expected =
            Expected(target, yub, x, y, text, bytes, 200, 100, 50, width, height);
        if (bytes == 2) stdFont_Draw16(&target, x, y, text.c_str(), 0, 200, 100, 50);
        else stdFont_Draw32(&target, x, y, text.c_str(), 0, 200, 100, 50);
        EXPECT_EQ(target.Pixels(), expected);
        EXPECT_TRUE(target.GuardsIntact());
    }
}

}  // namespace

TEST_F(StdFont, LoadsTheRecordAndTheGlyphBitmap)
{
    YubFont yub = fixtures::MakeYub(3, 4, 5, {'A', 'B', 200}, Pattern, 15);
    yub.glyphs['B'].xOffset = -1;
    yub.glyphs['B'].yOffset = 2;
    stdFont* font = Load(yub);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(stdFont_GetLoadedCount(), 1);
    EXPECT_EQ(font->lineHeight, 15u);
    EXPECT_EQ(font->pitch, 3u);
    EXPECT_EQ(font->rows, 12u);
    EXPECT_STREQ(font->name, "font");
    EXPECT_EQ(font->glyphs['B'].xOffset, -1);
    EXPECT_EQ(font->glyphs['B'].yOffset, 2);
    EXPECT_EQ(font->glyphs[200].bitmapOffset, 24);
    EXPECT_EQ(font->glyphs['C'].bitmapOffset, STDFONT_NO_GLYPH);
    ASSERT_NE(font->pBitmap, nullptr);
    EXPECT_EQ(Bytes(font->pBitmap, font->pBitmap + 36), yub.bitmap);

    // Any extension is replaced by "yub"; missing files, empty and overlong names give null.
    stdFont* again = stdFont_Load("font.tga");
    ASSERT_NE(again, nullptr);
    loaded_.push_back(again);
    EXPECT_EQ(stdFont_GetLoadedCount(), 2);
    EXPECT_EQ(stdFont_Load("missing"), nullptr);
    EXPECT_EQ(stdFont_Load(""), nullptr);
    EXPECT_EQ(stdFont_Load(nullptr), nullptr);
    const std::string fits = "Ui\\" + std::string(123 - 3, 'f');  // + ".yub" = 127
    ASSERT_TRUE(fixtures::WriteYub(fits + ".yub", yub));
    stdFont* longName = stdFont_Load(fits.c_str());
    ASSERT_NE(longName, nullptr);
    loaded_.push_back(longName);
    EXPECT_EQ(strlen(longName->name), 31u);
    EXPECT_EQ(stdFont_Load((fits + "g").c_str()), nullptr);
    EXPECT_EQ(stdFont_Load(std::string(3000, 'f').c_str()), nullptr);
    Free(again);
    EXPECT_EQ(stdFont_GetLoadedCount(), 2);
}

TEST_F(StdFont, LoadsFromPackArchives)
{
    YubFont yub = fixtures::MakeYub(2, 2, 3, {'x'}, Full);
    ASSERT_TRUE(fixtures::ZipWriter().Add("Ui\\packed.yub", fixtures::YubBytes(yub)).Write("ui.vop"));
    stdFile_Shutdown();
    stdFile_Startup();
    stdFont* font = stdFont_Load("packed");
    ASSERT_NE(font, nullptr);
    loaded_.push_back(font);
    EXPECT_EQ(font->glyphs['x'].bitmapOffset, 0);
}

TEST_F(StdFont, DrawsCoverageThroughTheColourRamp)
{
    // Glyph rows run bottom-up: glyph row 0 lands on the pen's row, row 1 one row higher in
    // memory order.
    YubFont yub = fixtures::MakeYub(2, 2, 3, {'A'}, Full);
    yub.bitmap = {255, 128, 0, 1};
    ASSERT_NE(Load(yub), nullptr);
    stdFont_SetCurrent(loaded_[0]);
    Target t16(4, 3, BITMAP_FORMAT_1555, 0x1234);
    stdFont_Draw16(&t16, 1, 1, "A", 0, 255, 128, 0);
    EXPECT_EQ(t16.At(1, 1), 0xFDE0u);  // coverage 255: red 254, green 127
    EXPECT_EQ(t16.At(2, 1), 0xBD00u);  // coverage 128: red 127, green 64
    EXPECT_EQ(t16.At(1, 2), 0x1234u);  // coverage 0 leaves the pixel alone
    EXPECT_EQ(t16.At(2, 2), 0x8000u);  // coverage 1: the alpha bit alone
    EXPECT_EQ(t16.At(0, 1), 0x1234u);
    Target t32(4, 3, BITMAP_FORMAT_X888, 0x11223344);
    stdFont_Draw32(&t32, 1, 1, "A", 0, 255, 128, 0);
    EXPECT_EQ(t32.At(1, 1), 0xFFFE7F00u);
    EXPECT_EQ(t32.At(2, 1), 0xFF7F4000u);
    EXPECT_EQ(t32.At(1, 2), 0x11223344u);
    EXPECT_EQ(t32.At(2, 2), 0xFF000000u);
    EXPECT_TRUE(t16.GuardsIntact() && t32.GuardsIntact());
}

TEST_F(StdFont, ClipsAtEveryEdge)
{
    YubFont yub = fixtures::MakeYub(4, 3, 5, {'A', 'B', 'W', 150, 254}, Pattern);
    yub.glyphs['B'].xOffset = -2;
    yub.glyphs['B'].yOffset = -1;
    // A glyph wider than the target, for a start left of it and an end right of it at once.
    yub.glyphs['W'].width = 4;
    yub.glyphs['W'].xOffset = -3;
    ASSERT_NE(Load(yub), nullptr);
    stdFont_SetCurrent(loaded_[0]);
    const int w = 7, h = 5;
    struct Place {
        int x, y;
    };
    const Place places[] = {
        {1, 1},   {0, 0},    {3, 2},              // inside and touching the edges
        {-1, 1},  {-3, 1},   {-4, 1},  {-30, 1},  // left: partly, one column, wholly out
        {5, 1},   {6, 1},    {7, 1},   {40, 1},   // right
        {1, -1},  {1, -2},   {1, -3},  {1, -40},  // bottom rows (memory row 0)
        {1, 3},   {1, 4},    {1, 5},   {1, 40},   // top rows
        {-2, -2}, {-2, 4},   {6, -2},  {6, 4},    // corners
        {-2000000000, 0}, {2000000000, 2000000000}, {-2147483647, -2147483647},
    };
    const std::string texts[] = {"A", "AB", "BA", "W", "\x96\xfe", "ABWAB", std::string(40, 'A')};
    for (const std::string& text : texts) {
        for (const Place& p : places) {
            SCOPED_TRACE(text + " at " + std::to_string(p.x) + "," + std::to_string(p.y));
            ExpectDrawn(yub, w, h, p.x, p.y, text);
        }
    }
    // A glyph wider than the target, starting left of it and ending right of it.
    YubFont wide = fixtures::MakeYub(12, 2, 12, {'M'}, Pattern);
    Free(loaded_[0]);
    ASSERT_NE(Load(wide, "wide"), nullptr);
    stdFont_SetCurrent(loaded_[0]);
    for (int x = -14; x <= 8; x++) ExpectDrawn(wide, 7, 3, x, 0, "M");
}

TEST_F(StdFont, WidthsCountEveryCodeWhileThePenSkipsAbsentGlyphs)
{
    YubFont yub = fixtures::MakeYub(2, 1, 3, {'A', 128, 254}, Full);
    yub.glyphs[1].advance = 7;    // no glyph
    yub.glyphs[255].advance = 4;  // never drawn
    stdFont* font = Load(yub);
    ASSERT_NE(font, nullptr);
    struct Width {
        const char* text;
        int width;
    };
    const Width widths[] = {{"", 0}, {"A", 3}, {"AA", 6}, {"A\x01", 10}, {"\xff", 4},
                            {"A\x01\xff\x80\xfe", 20}};
    for (const Width& w : widths) EXPECT_EQ(stdFont_TextWidth(font, w.text), w.width) << w.text;
    EXPECT_EQ(stdFont_TextWidth(nullptr, "A"), 0);
    EXPECT_EQ(stdFont_TextWidth(font, nullptr), 0);
    EXPECT_EQ(stdFont_CharWidth(font, 'A'), 3);
    EXPECT_EQ(stdFont_CharWidth(font, 1), 7);
    EXPECT_EQ(stdFont_CharWidth(font, 0x1FF), 4);
    EXPECT_EQ(stdFont_CharWidth(nullptr, 'A'), 0);

    // Drawn: the absent glyph and code 255 do not move the pen; codes 128-254 are drawn.
    stdFont_SetCurrent(font);
    Target t(12, 1, BITMAP_FORMAT_565, 0);
    stdFont_Draw16(&t, 0, 0, "A\x01\xff\x80\xfe", 0, 255, 255, 255);
    const uint32_t on = 0xFFFF;  // white at full coverage, alpha bit set
    std::vector<uint32_t> expected = {on, on, 0, on, on, 0, on, on, 0, 0, 0, 0};
    EXPECT_EQ(t.Pixels(), expected);

    // Huge advances and offsets neither overflow nor reach outside the target.
    yub.glyphs['A'].advance = 2147483647;
    yub.glyphs['A'].xOffset = -2147483647;
    Free(font);
    font = Load(yub, "huge");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(stdFont_TextWidth(font, "AAAA"), 2147483647);
    stdFont_SetCurrent(font);
    ExpectDrawn(yub, 12, 1, 0, 0, "AAAA\x80\x80");
}

TEST_F(StdFont, RampsAreMadeOncePerColourAndFreedWithTheLastFont)
{
    YubFont yub = fixtures::MakeYub(2, 2, 3, {'A'}, Full);
    stdFont* one = Load(yub, "one");
    stdFont* two = Load(yub, "two");
    ASSERT_TRUE(one && two);
    stdFont_SetCurrent(one);
    Target t16(8, 4, BITMAP_FORMAT_1555);
    Target t32(8, 4, BITMAP_FORMAT_8888);
    EXPECT_EQ(stdFont_GetRampCount(), 0);
    for (int i = 0; i < 3; i++) stdFont_Draw16(&t16, 0, 0, "AA", 0, 10, 20, 30);
    EXPECT_EQ(stdFont_GetRampCount(), 1);
    stdFont_Draw16(&t16, 0, 0, "A", 0, 13, 23, 31);  // same top five bits: same ramp
    EXPECT_EQ(stdFont_GetRampCount(), 1);
    stdFont_Draw32(&t32, 0, 0, "A", 0, 10, 20, 30);  // a 32-bit ramp is its own
    stdFont_Draw32(&t32, 0, 0, "A", 0, 10, 20, 30);
    EXPECT_EQ(stdFont_GetRampCount(), 2);
    stdFont_Draw32(&t32, 0, 0, "A", 0, 10, 20, 31);
    stdFont_Draw16(&t16, 0, 0, "A", 0, 0x1FF, 20, 30);  // channels taken as 8 bits
    EXPECT_EQ(stdFont_GetRampCount(), 4);
    Free(one);
    EXPECT_EQ(stdFont_GetRampCount(), 4);
    Free(two);
    EXPECT_EQ(stdFont_GetRampCount(), 0);
    EXPECT_EQ(stdFont_GetLoadedCount(), 0);
    stdFont* three = Load(yub, "three");
    ASSERT_NE(three, nullptr);
    stdFont_SetCurrent(three);
    stdFont_Draw32(&t32, 0, 0, "A", 0, 10, 20, 30);
    EXPECT_EQ(stdFont_GetRampCount(), 1);
    EXPECT_TRUE(t16.GuardsIntact() && t32.GuardsIntact());
}

TEST_F(StdFont, NoCurrentFontOrAWrongTargetDrawsNothing)
{
    YubFont yub = fixtures::MakeYub(2, 2, 3, {'A'}, Full);
    stdFont* font = Load(yub);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(stdFont_SetCurrent(nullptr), nullptr);
    Target t16(4, 4, BITMAP_FORMAT_1555), t32(4, 4, BITMAP_FORMAT_8888), t8(4, 4, BITMAP_FORMAT_8A);
    const std::vector<uint32_t> clean16 = t16.Pixels(), clean32 = t32.Pixels(), clean8 = t8.Pixels();
    stdFont_Draw16(&t16, 0, 0, "AAA", 0, 255, 255, 255);
    stdFont_Draw32(&t32, 0, 0, "AAA", 0, 255, 255, 255);
    EXPECT_EQ(t16.Pixels(), clean16);
    EXPECT_EQ(t32.Pixels(), clean32);

    EXPECT_EQ(stdFont_SetCurrent(font), nullptr);
    stdFont_Draw32(&t16, 0, 0, "AAA", 0, 255, 255, 255);  // 4-byte drawing into a 2-byte target
    stdFont_Draw16(&t32, 0, 0, "AAA", 0, 255, 255, 255);
    stdFont_Draw16(&t8, 0, 0, "AAA", 0, 255, 255, 255);
    stdFont_Draw16(&t16, 0, 0, nullptr, 0, 255, 255, 255);
    stdFont_Draw16(nullptr, 0, 0, "A", 0, 255, 255, 255);
    EXPECT_EQ(t16.Pixels(), clean16);
    EXPECT_EQ(t32.Pixels(), clean32);
    EXPECT_EQ(t8.Pixels(), clean8);

    // Freeing the current font leaves no current font behind.
    EXPECT_EQ(stdFont_GetCurrent(), font);
    Free(font);
    EXPECT_EQ(stdFont_GetCurrent(), nullptr);
    stdFont_Draw16(&t16, 0, 0, "AAA", 0, 255, 255, 255);
    EXPECT_EQ(t16.Pixels(), clean16);
    EXPECT_TRUE(t16.GuardsIntact() && t32.GuardsIntact() && t8.GuardsIntact());
}

TEST_F(StdFont, DamagedFontsAreRefusedOrLoseTheirBadGlyphs)
{
    const YubFont good = fixtures::MakeYub(3, 2, 4, {'A', 'B', 'C', 'D'}, Pattern);
    const size_t bitmapBytes = good.bitmap.size();  // 24: four glyphs of 2 rows of 3
    struct Damage {
        const char* what;
        std::function<void(YubFont&)> apply;
        bool loads;
        int absent;  // code whose glyph must count as absent, or 0
    };
    const Damage damages[] = {
        {"sound", [](YubFont&) {}, true, 0},
        {"bitmap one byte short", [](YubFont& f) { f.bitmap.pop_back(); }, false, 0},
        {"no bitmap", [](YubFont& f) { f.bitmap.clear(); }, false, 0},
        {"rows claim more", [](YubFont& f) { f.rows++; }, false, 0},
        {"rows huge", [](YubFont& f) { f.rows = 0x7FFFFFFF; }, false, 0},
        {"rows times pitch wraps", [](YubFont& f) { f.rows = 0x10000; f.pitch = 0x10000; }, false, 0},
        {"offset negative", [](YubFont& f) { f.glyphs['A'].bitmapOffset = -2; }, true, 'A'},
        {"offset past the end", [](YubFont& f) { f.glyphs['A'].bitmapOffset = 25; }, true, 'A'},
        {"offset huge", [](YubFont& f) { f.glyphs['A'].bitmapOffset = 0x7FFFFFFF; }, true, 'A'},
        {"last row one byte out", [](YubFont& f) { f.glyphs['D'].bitmapOffset = 19; }, true, 'D'},
        {"last glyph exactly fits", [](YubFont& f) { f.glyphs['D'].bitmapOffset = 18; }, true, 0},
        {"width negative", [](YubFont& f) { f.glyphs['B'].width = -5; }, true, 'B'},
        {"width huge", [](YubFont& f) { f.glyphs['B'].width = 0x7FFFFFFF; }, true, 'B'},
        {"height negative", [](YubFont& f) { f.glyphs['B'].height = -1; }, true, 'B'},
        {"height too many rows", [](YubFont& f) { f.glyphs['C'].height = 5; }, true, 'C'},
        {"height huge", [](YubFont& f) { f.glyphs['C'].height = 0x40000000; }, true, 'C'},
        {"pitch smaller, rows fewer",
         [](YubFont& f) { f.pitch = 2; f.rows = 11; }, true, 'D'},
        {"every glyph absent but advancing",
         [](YubFont& f) { for (auto& g : f.glyphs) g.bitmapOffset = -1; }, true, 0},
        {"trailing bytes", [](YubFont& f) { f.bitmap.resize(f.bitmap.size() + 100, 7); }, true, 0},
    };
    const std::string all = [] {
        std::string s;
        for (int c = 1; c < 256; c++) s += (char)c;
        return s;
    }();
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        YubFont bad = good;
        d.apply(bad);
        stdFont* font = Load(bad, "bad");
        ASSERT_EQ(font != nullptr, d.loads);
        if (!font) continue;
        for (int code : {'A', 'B', 'C', 'D'}) {
            bool present = code != d.absent && bad.glyphs[code].bitmapOffset >= 0;
            EXPECT_EQ(font->glyphs[code].bitmapOffset != STDFONT_NO_GLYPH, present) << (char)code;
        }
        stdFont_SetCurrent(font);
        for (int y = -3; y <= 5; y += 2) {
            for (int x = -6; x <= 8; x += 2) {
                Target t16(6, 4, BITMAP_FORMAT_1555), t32(6, 4, BITMAP_FORMAT_8888);
                stdFont_Draw16(&t16, x, y, all.c_str(), 0, 255, 255, 255);
                stdFont_Draw32(&t32, x, y, all.c_str(), 0, 255, 255, 255);
                ASSERT_TRUE(t16.GuardsIntact() && t32.GuardsIntact()) << x << "," << y;
            }
        }
        Free(font);
    }
    // Cut short anywhere in the record or the bitmap: refused.
    const Bytes bytes = fixtures::YubBytes(good);
    ASSERT_EQ(bytes.size(), STDFONT_RECORD_SIZE + bitmapBytes);
    for (size_t length = 0; length < bytes.size(); length += (length < 6100 ? 97 : 1)) {
        ASSERT_TRUE(fixtures::WriteBytes("Ui\\cut.yub", Bytes(bytes.begin(), bytes.begin() + (long)length)));
        EXPECT_EQ(stdFont_Load("cut"), nullptr) << length;
    }
    EXPECT_EQ(stdFont_GetLoadedCount(), 0);
    // Every failed load closed its file.
    stdFileHandle handles[STDFILE_NUM_SLOTS];
    for (stdFileHandle& h : handles) {
        h = stdFile_OpenPath("Ui\\cut.yub", "rb");
        EXPECT_NE(h, 0u);
    }
    for (stdFileHandle h : handles) stdFile_Close(h);
}

TEST_F(StdFont, TheRecordsPointerFieldIsNeverFreedWhateverTheFileHoldsThere)
{
    // The file's pointer field names a live block of this test: no length of file, cut inside
    // the field, after it or whole, may free it or leave it in the font.
    ASSERT_TRUE(fixtures::AllocationsCounted());
    void* block = malloc(32);
    YubFont yub = fixtures::MakeYub(3, 2, 4, {'A', 'B'}, Pattern);
    yub.pointerField = (uint32_t)(uintptr_t)block;
    yub.countField = 7;
    const Bytes bytes = fixtures::YubBytes(yub);
    {
        fixtures::AllocationWatch watch;
        for (size_t length = offsetof(stdFont, pBitmap); length <= bytes.size(); length++) {
            ASSERT_TRUE(fixtures::WriteBytes("Ui\\cut.yub", fixtures::Truncated(bytes, length)));
            watch.Reset();
            stdFont* font = stdFont_Load("cut");
            if (font) {
                EXPECT_NE(font->pBitmap, block);
                EXPECT_EQ(font->refCount, 0u);
                stdFont_Free(font);
            }
            const bool freed = watch.Freed(block);
            const size_t live = watch.LiveBlocks();
            ASSERT_EQ(font != nullptr, length == bytes.size()) << length;
            ASSERT_FALSE(freed) << length;
            ASSERT_EQ(live, 0u) << length;
        }
    }
    free(block);
}

TEST_F(StdFont, NoGlyphBitmapIsAllocatedBeforeTheFileIsKnownToHoldIt)
{
    // A record claiming rows x pitch bytes that do not follow it is refused without a request
    // larger than the file.
    struct Claim {
        uint32_t rows, pitch;
    };
    for (const Claim c : {Claim{0x4000, 0x1000}, Claim{0x1000, 0x10000}, Claim{0xFFFFFFFF, 1},
                          Claim{1, 0xFFFFFFFF}, Claim{0x10000, 0x10000}, Claim{5, 3}}) {
        SCOPED_TRACE(testing::Message() << c.rows << " x " << c.pitch);
        YubFont yub = fixtures::MakeYub(3, 2, 4, {'A', 'B'}, Pattern);  // 12 bitmap bytes
        yub.rows = c.rows;
        yub.pitch = c.pitch;
        const size_t fileSize = fixtures::YubBytes(yub).size();
        ASSERT_TRUE(fixtures::WriteYub("Ui\\claims.yub", yub));
        fixtures::AllocationWatch watch;
        stdFont* font = stdFont_Load("claims");
        const size_t largest = watch.Largest(), live = watch.LiveBlocks();
        EXPECT_EQ(font, nullptr);
        EXPECT_LE(largest, fileSize);
        EXPECT_EQ(live, 0u);
    }
}

TEST_F(StdFont, SystemFontTextIsDrawnUpright)
{
    YubFont yub = fixtures::MakeYubFromSystemFont("Arial", 15);
    ASSERT_FALSE(yub.bitmap.empty());
    stdFont* font = Load(yub, "defaultFont15");
    ASSERT_NE(font, nullptr);
    stdFont_SetCurrent(font);
    EXPECT_GT(stdFont_TextWidth(font, "Hello"), stdFont_TextWidth(font, "Hell"));

    // A "T": its widest lit row is its bar, which must lie above its stem, that is at a higher
    // memory row of the bottom-up bitmap.
    Target t(20, 24, BITMAP_FORMAT_8888, 0);
    stdFont_Draw32(&t, 2, 2, "T", 0, 255, 255, 255);
    int lowest = -1, highest = -1, widestRow = -1, widest = 0;
    for (int y = 0; y < 24; y++) {
        int lit = 0;
        for (int x = 0; x < 20; x++) lit += (t.At(x, y) & 0xFF) > 0x80;
        if (!lit) continue;
        if (lowest < 0) lowest = y;
        highest = y;
        if (lit > widest) widest = lit, widestRow = y;
    }
    ASSERT_GE(lowest, 0);
    EXPECT_GT(highest - lowest, 5);
    EXPECT_GE(widestRow, highest - 1);

    // With KORBALT_SHOT_DIR set, a sample line is kept as an image to look at.
    if (const char* dir = getenv("KORBALT_SHOT_DIR")) {
        Target line(320, 40, BITMAP_FORMAT_8888, 0xFF202040);
        stdFont_Draw32(&line, 4, 22, "The quick brown fox jumps", 0, 255, 255, 255);
        stdFont_Draw32(&line, 4, 4, "over the lazy dog: 0123456789", 0, 255, 200, 0);
        fixtures::TgaImage image;
        image.width = 320;
        image.height = 40;
        image.depth = 32;
        const uint8_t* p = (&line)->pixels;
        image.pixels.assign(p, p + 320 * 40 * 4);
        EXPECT_TRUE(fixtures::WriteTga(std::string(dir) + "\\font_sample.tga", image));
    }
}
