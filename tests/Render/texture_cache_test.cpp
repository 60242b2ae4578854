// The texture cache on TGA files written by the test: formats, size reduction with the box
// filter, sharing by name and reference count, deferred reads, blank textures and refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakeRaster.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "renderBitmap.h"
#include "renderMain.h"
#include "renderSettings.h"
#include "stdFile.h"

using fakes::FakeRaster;
using fixtures::WorkFolder;

namespace {

const int kPreCache = FAKE_RASTER_SLOT(funcTexture_PreCacheMipMap);
const int kUncache = FAKE_RASTER_SLOT(funcTexture_UncacheMipMap);
const int kShutdown = FAKE_RASTER_SLOT(funcMain_Shutdown);

class TextureCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = renderSettings_current;
        stdFile_Startup();
        ASSERT_TRUE(raster.Bind());
        ASSERT_EQ(renderBitmap_Startup(), 1);
    }
    void TearDown() override
    {
        renderBitmap_Shutdown();
        stdFile_Shutdown();
        renderSettings_current = saved_;
    }

    WorkFolder work{fixtures::TestFolderName()};
    FakeRaster raster;

private:
    renderSettings saved_;
};

uint32_t Grey(int x, int y) { return 0xFF000000u | (uint32_t)((x * 7 + y * 13) & 0xFF) * 0x010101u; }

bool Write(const std::string& path, uint16_t width, uint16_t height, uint8_t depth,
           fixtures::PixelFunc pixel = Grey)
{
    return fixtures::WriteTga(path, fixtures::MakeTga(width, height, depth, false, pixel));
}

uint32_t Pixel16(const Bitmap* b, int x, int yFromTop)
{
    const uint8_t* p = b->pixels + ((size_t)(b->height - 1 - yFromTop) * b->width + x) * 2;
    return (uint32_t)(p[0] | p[1] << 8);
}

uint32_t Pixel32(const Bitmap* b, int x, int yFromTop)
{
    uint32_t v;
    memcpy(&v, b->pixels + ((size_t)(b->height - 1 - yFromTop) * b->width + x) * 4, 4);
    return v;
}

// Four colours whose means per channel and format are worked out by hand below.
uint32_t Quad(int x, int y)
{
    static const uint32_t colours[2][2] = {{0xFF102030, 0x80405060}, {0x00708090, 0xFFA0B0C0}};
    return colours[y][x];
}

// 8 x 8 blocks of one colour each, so that three halvings give each block's colour exactly.
uint32_t Blocks(int x, int y)
{
    uint32_t bx = (uint32_t)x / 8, by = (uint32_t)y / 8;
    return 0xFF000000u | (bx * 5 % 256) << 16 | (by * 3 % 256) << 8 | ((bx + by) % 256);
}

uint32_t To565(uint32_t argb)
{
    return ((argb >> 16 & 0xFF) >> 3) << 11 | ((argb >> 8 & 0xFF) >> 2) << 5 | (argb & 0xFF) >> 3;
}

}  // namespace

TEST_F(TextureCache, ReducesToTheSizeLimits)
{
    struct Case {
        uint16_t width, height;
        uint32_t maxMipSize, skipMips;
        uint16_t expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {512, 128, 256, 0, 256, 64},   {256, 256, 256, 0, 256, 256}, {64, 64, 256, 1, 32, 32},
        {1, 64, 256, 1, 1, 64},        {64, 1, 32, 0, 64, 1},        {300, 40, 32, 0, 18, 2},
        {128, 128, 32, 3, 16, 16},     {4, 4, 256, 3, 1, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " max " << c.maxMipSize
                                        << " skip " << c.skipMips);
        renderSettings_current.maxMipSize = c.maxMipSize;
        renderSettings_current.skipMips = c.skipMips;
        std::string name = "t" + std::to_string(n++) + ".tga";
        ASSERT_TRUE(Write(name, c.width, c.height, 24));
        Bitmap* b = renderBitmap_Load(name.c_str(), 0);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->width, c.expectedWidth);
        EXPECT_EQ(b->height, c.expectedHeight);
        EXPECT_EQ(b->byteSize, 84u + c.expectedWidth * c.expectedHeight * 2u);
        EXPECT_EQ(b->levels[0], b->pixels);
        EXPECT_EQ(b->levelCount, 0);
        renderBitmap_Release(b);
    }
}

TEST_F(TextureCache, SingleLevelTexturesKeepTheirSize)
{
    renderSettings_current.skipMips = 2;
    ASSERT_TRUE(Write("ui.tga", 512, 16, 32));
    Bitmap* b = renderBitmap_Load("ui.tga", RENDERBITMAP_LOAD_SINGLE_LEVEL);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->width, 512);
    EXPECT_EQ(b->height, 16);
    EXPECT_EQ(b->textureFlags, (uint32_t)(BITMAP_TEX_LOADED | BITMAP_TEX_ONEBIT_ALPHA | BITMAP_TEX_SINGLE_LEVEL));
    renderBitmap_Release(b);
}

TEST_F(TextureCache, BoxFilterRoundsEachChannelOfEveryFormat)
{
    renderSettings_current.skipMips = 1;
    struct Case {
        uint8_t depth;
        uint8_t loadFlags;
        uint32_t optionFlags;
        uint32_t format;
        uint32_t expected;
    };
    // Inputs (A R G B): FF 10 20 30, 80 40 50 60, 00 70 80 90, FF A0 B0 C0.
    const Case cases[] = {
        {24, 0, 0, BITMAP_FORMAT_565, 11u << 11 | 26u << 5 | 15u},
        {24, 0, RENDER_OPTION_TRUECOLOR, BITMAP_FORMAT_X888, 0xFF586878},
        {32, RENDERBITMAP_LOAD_FULL_ALPHA, 0, BITMAP_FORMAT_4444, 0xA678},
        {32, 0, 0, BITMAP_FORMAT_1555, 11u << 10 | 13u << 5 | 15u},   // not all four have alpha
        {32, 0, RENDER_OPTION_TRUECOLOR, BITMAP_FORMAT_8888, 0xA0586878},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        renderSettings_current.optionFlags = c.optionFlags;
        std::string name = "quad" + std::to_string(n++) + ".tga";
        ASSERT_TRUE(Write(name, 2, 2, c.depth, Quad));
        Bitmap* b = renderBitmap_Load(name.c_str(), c.loadFlags);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->format, c.format);
        ASSERT_EQ(b->width, 1);
        ASSERT_EQ(b->height, 1);
        uint32_t got = bitmapFormat_BytesPerPixel(c.format) == 4 ? Pixel32(b, 0, 0) : Pixel16(b, 0, 0);
        EXPECT_EQ(got, c.expected);
        renderBitmap_Release(b);
    }
    // The one-bit alpha survives when all four pixels have it.
    renderSettings_current.optionFlags = 0;
    ASSERT_TRUE(Write("opaque.tga", 2, 2, 32, [](int, int) { return 0xFF808080u; }));
    Bitmap* b = renderBitmap_Load("opaque.tga", 0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Pixel16(b, 0, 0), 0x8000u | 16u << 10 | 16u << 5 | 16u);
    renderBitmap_Release(b);
}

TEST_F(TextureCache, OddLastColumnAndRowAreDropped)
{
    renderSettings_current.skipMips = 1;
    renderSettings_current.optionFlags = RENDER_OPTION_TRUECOLOR;
    // Column 4 and the top image row (the last row in memory) are red, the rest blue.
    ASSERT_TRUE(Write("odd.tga", 5, 3, 24, [](int x, int y) {
        return x == 4 || y == 0 ? 0xFFFF0000u : 0xFF0000FFu;
    }));
    Bitmap* b = renderBitmap_Load("odd.tga", 0);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->width, 2);
    ASSERT_EQ(b->height, 1);
    EXPECT_EQ(Pixel32(b, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel32(b, 1, 0), 0xFF0000FFu);
    renderBitmap_Release(b);
}

TEST_F(TextureCache, LargeTexturesReduceWholeAtTheDefaults)
{
    struct Case {
        uint8_t depth;
        uint32_t optionFlags;
    };
    for (const Case& c : {Case{24, 0}, Case{32, RENDER_OPTION_TRUECOLOR}}) {
        SCOPED_TRACE(c.depth);
        renderSettings_current.optionFlags = c.optionFlags;
        ASSERT_EQ(renderSettings_current.maxMipSize, 256u);
        ASSERT_EQ(renderSettings_current.skipMips, 0u);
        ASSERT_TRUE(Write("big.tga", 2048, 2048, c.depth, Blocks));
        Bitmap* b = renderBitmap_Load("big.tga", 0);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(b->width, 256);
        ASSERT_EQ(b->height, 256);
        int wrong = 0;
        for (int y = 0; y < 256; y++) {
            for (int x = 0; x < 256; x++) {
                uint32_t colour = Blocks(x * 8, y * 8);
                uint32_t got = c.depth == 24 ? Pixel16(b, x, y) : Pixel32(b, x, y);
                wrong += got != (c.depth == 24 ? To565(colour) : colour);
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(renderBitmap_GetStats()->bytesInUse, 84u + 256u * 256u * (c.depth == 24 ? 2u : 4u));
        renderBitmap_Release(b);
        EXPECT_EQ(renderBitmap_GetStats()->bytesInUse, 0u);
    }
}

TEST_F(TextureCache, FormatAndFlagsFollowLoadFlagsAndSettings)
{
    struct Case {
        uint8_t depth;
        uint8_t loadFlags;
        uint32_t optionFlags;
        uint32_t format;
        uint32_t textureFlags;
    };
    const uint32_t L = BITMAP_TEX_LOADED, A1 = BITMAP_TEX_ONEBIT_ALPHA, TC = BITMAP_TEX_TRUECOLOR,
                   S = BITMAP_TEX_SINGLE_LEVEL;
    const Case cases[] = {
        {24, 0, 0, BITMAP_FORMAT_565, L | A1},
        {24, RENDERBITMAP_LOAD_FULL_ALPHA, 0, BITMAP_FORMAT_565, L},
        {24, 0, RENDER_OPTION_TRUECOLOR, BITMAP_FORMAT_X888, L | A1 | TC},
        {32, 0, 0, BITMAP_FORMAT_1555, L | A1},
        {32, RENDERBITMAP_LOAD_FULL_ALPHA, 0, BITMAP_FORMAT_4444, L},
        {32, RENDERBITMAP_LOAD_FULL_ALPHA, RENDER_OPTION_TRUECOLOR, BITMAP_FORMAT_8888, L | TC},
        {32, RENDERBITMAP_LOAD_SINGLE_LEVEL, RENDER_OPTION_TRUECOLOR, BITMAP_FORMAT_8888, L | A1 | TC | S},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        renderSettings_current.optionFlags = c.optionFlags;
        std::string name = "f" + std::to_string(n++) + ".tga";
        ASSERT_TRUE(Write(name, 8, 4, c.depth));
        Bitmap* b = renderBitmap_Load(name.c_str(), c.loadFlags);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->format, c.format);
        EXPECT_EQ(b->textureFlags, c.textureFlags);
        EXPECT_EQ(b->refCount, 1);
        EXPECT_EQ(b->headerFlags, 0u);
        renderBitmap_Release(b);
    }
}

TEST_F(TextureCache, OneTexturePerNameUntilTheLastRelease)
{
    ASSERT_TRUE(Write("stone.tga", 16, 16, 24));
    Bitmap* first = renderBitmap_Load("stone.tga", 0);
    ASSERT_NE(first, nullptr);
    Bitmap* second = renderBitmap_Load("STONE.TGA", 0);
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->refCount, 2);
    EXPECT_EQ(raster.Count(kPreCache), 1);
    EXPECT_EQ(raster.Last(kPreCache)->Arg<Bitmap*>(0), first);
    uint32_t handle = first->rasterHandle;
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 1u);

    renderBitmap_Release(first);
    EXPECT_EQ(first->rasterHandle, handle);
    EXPECT_EQ(raster.Count(kUncache), 0);
    renderBitmap_Release(second);
    EXPECT_EQ(raster.Count(kUncache), 1);
    EXPECT_EQ(raster.Last(kUncache)->Arg<Bitmap*>(0), first);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
    EXPECT_EQ(renderBitmap_GetStats()->bytesInUse, 0u);
    EXPECT_EQ(renderBitmap_GetStats()->peakBytes, 84u + 16 * 16 * 2);

    // Gone from the table: the next load reads the file again.
    Bitmap* again = renderBitmap_Load("stone.tga", 0);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->refCount, 1);
    EXPECT_EQ(raster.Count(kPreCache), 2);
    renderBitmap_Release(again);
}

TEST_F(TextureCache, DeferredTexturesAreReadOnFirstUse)
{
    Bitmap* b = renderBitmap_Load("later.tga", RENDERBITMAP_LOAD_DEFERRED);
    ASSERT_NE(b, nullptr);   // registered without a file
    EXPECT_EQ(b->pixels, nullptr);
    EXPECT_EQ(b->textureFlags & BITMAP_TEX_LOADED, 0u);
    EXPECT_EQ(raster.Count(kPreCache), 0);
    EXPECT_EQ(renderBitmap_Read(b), 0);   // still no file
    EXPECT_EQ(renderBitmap_Load("later.tga", 0), b);

    ASSERT_TRUE(Write("later.tga", 4, 4, 24));
    EXPECT_EQ(renderBitmap_Read(b), 1);
    EXPECT_NE(b->pixels, nullptr);
    EXPECT_EQ(raster.Count(kPreCache), 1);
    EXPECT_EQ(renderBitmap_Read(b), 1);   // already loaded: nothing more
    EXPECT_EQ(raster.Count(kPreCache), 1);
    renderBitmap_Release(b);
    renderBitmap_Release(b);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
}

TEST_F(TextureCache, NamesFindTheirFileAndKeyTheTable)
{
    ASSERT_TRUE(fixtures::MakeFolders("Materials\\General"));
    ASSERT_TRUE(Write("Materials\\General\\brick.tga", 4, 4, 24));
    Bitmap* brick = renderBitmap_Load("brick", 0);   // extension TGA given, material folder searched
    ASSERT_NE(brick, nullptr);
    EXPECT_STREQ(brick->name, "brick");
    EXPECT_EQ(renderBitmap_Load("Brick", 0), brick);

    // A name is kept to 31 characters, and the long name still finds its texture.
    std::string longName = std::string(40, 'w') + ".tga";
    std::string cut = longName.substr(0, 31);
    ASSERT_TRUE(Write(cut + ".TGA", 4, 4, 24));
    Bitmap* wall = renderBitmap_Load(longName.c_str(), 0);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(std::string(wall->name), cut);
    EXPECT_EQ(renderBitmap_Load(longName.c_str(), 0), wall);
    EXPECT_EQ(wall->refCount, 2);
}

TEST_F(TextureCache, DamagedImagesAreRefusedWithoutTrace)
{
    fixtures::TgaImage good = fixtures::MakeTga(8, 8, 32, false, Grey);
    fixtures::TgaImage rle = good;
    rle.imageType = 10;
    fixtures::TgaImage mapped = good;
    mapped.imageType = 1;
    fixtures::TgaImage depth16 = fixtures::MakeTga(8, 8, 32, false, Grey);
    depth16.depth = 16;
    fixtures::TgaImage empty = fixtures::MakeTga(0, 8, 32, false, Grey);
    struct Case {
        const char* name;
        fixtures::Bytes bytes;
    };
    const Case cases[] = {
        {"short.tga", fixtures::Truncated(fixtures::TgaBytes(good), 18 + 8 * 8 * 4 - 1)},
        {"header.tga", fixtures::Truncated(fixtures::TgaBytes(good), 10)},
        {"claims.tga", fixtures::TgaWithClaimedSize(good, 4000, 4000)},
        {"rle.tga", fixtures::TgaBytes(rle)},
        {"mapped.tga", fixtures::TgaBytes(mapped)},
        {"depth16.tga", fixtures::TgaBytes(depth16)},
        {"empty.tga", fixtures::TgaBytes(empty)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(fixtures::WriteBytes(c.name, c.bytes));
        EXPECT_EQ(renderBitmap_Load(c.name, 0), nullptr);
    }
    EXPECT_EQ(renderBitmap_Load("missing.tga", 0), nullptr);
    EXPECT_EQ(renderBitmap_Load("", 0), nullptr);
    EXPECT_EQ(renderBitmap_Load(nullptr, 0), nullptr);
    EXPECT_EQ(raster.Count(kPreCache), 0);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
    // A refused name is not kept: once the file is sound it loads.
    ASSERT_TRUE(fixtures::WriteTga("rle.tga", good));
    Bitmap* b = renderBitmap_Load("rle.tga", 0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->refCount, 1);
    renderBitmap_Release(b);
}

TEST_F(TextureCache, BlankTexturesAreHandedOverOnlyWhenCached)
{
    Bitmap* b = renderBitmap_CreateBlank(64, 16, BITMAP_FORMAT_8888);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->name[0], 0);
    EXPECT_EQ(b->textureFlags, (uint32_t)(BITMAP_TEX_LOADED | BITMAP_TEX_SINGLE_LEVEL));
    EXPECT_EQ(b->refCount, 1);
    EXPECT_EQ(b->levels[0], b->pixels);
    EXPECT_EQ(b->byteSize, 84u + 64 * 16 * 4);
    bool zero = true;
    for (int i = 0; i < 64 * 16 * 4; i++) zero = zero && b->pixels[i] == 0;
    EXPECT_TRUE(zero);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 1u);
    EXPECT_EQ(raster.Count(kPreCache), 0);
    EXPECT_EQ(renderBitmap_Cache(b), 1);
    EXPECT_EQ(raster.Count(kPreCache), 1);
    EXPECT_NE(b->rasterHandle, 0u);
    renderBitmap_Release(b);
    EXPECT_EQ(raster.Count(kUncache), 1);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);

    for (auto size : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-1, 4}, std::pair{70000, 1}})
        EXPECT_EQ(renderBitmap_CreateBlank(size.first, size.second, BITMAP_FORMAT_1555), nullptr);
}

TEST_F(TextureCache, BrokenPreconditionsReportAndChangeNothing)
{
    renderBitmap_Release(nullptr);                        // "this"
    EXPECT_EQ(raster.Count(kShutdown), 1);
    Bitmap stray;
    renderBitmap_Init(&stray);
    EXPECT_EQ(stray.refCount, 1);
    stray.refCount = 0;
    renderBitmap_Release(&stray);                         // "refCount > 0": no wrap, no free
    EXPECT_EQ(raster.Count(kShutdown), 2);
    EXPECT_EQ(stray.refCount, 0);

    EXPECT_EQ(renderBitmap_Startup(), 1);                 // "!bStartup"
    EXPECT_EQ(raster.Count(kShutdown), 3);
    EXPECT_EQ(renderBitmap_Shutdown(), 1);
    EXPECT_EQ(renderBitmap_Shutdown(), 0);                // "bStartup"
    EXPECT_EQ(raster.Count(kShutdown), 4);
    EXPECT_EQ(renderBitmap_Load("any.tga", 0), nullptr);  // not started
    EXPECT_EQ(renderBitmap_Startup(), 1);
}
