// Bitmaps: TGA loading and conversion, the named cache, damaged images, solid and duplicated
// bitmaps and rectangle copies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "fixtures/fixtureMutations.h"
#include "fixtureZip.h"
#include "stdBitmap.h"
#include "stdFile.h"

using fixtures::Bytes;
using fixtures::TgaImage;
using fixtures::WorkFolder;

namespace {

uint32_t Gradient(int x, int y)
{
    return 0x80000000u | (uint32_t)(x * 40) << 16 | (uint32_t)(y * 50) << 8 | (uint32_t)(x + y);
}

uint32_t Fixed(int, int)
{
    return 0x40C8641Eu;  // alpha 0x40, red 200, green 100, blue 30
}

uint16_t Pixel16(const Bitmap* b, int x, int y)
{
    const uint8_t* p = b->pixels + ((size_t)y * b->width + x) * 2;
    return (uint16_t)(p[0] | p[1] << 8);
}

uint32_t Pixel32(const Bitmap* b, int x, int y)
{
    uint32_t v;
    memcpy(&v, b->pixels + ((size_t)y * b->width + x) * 4, 4);
    return v;
}

class StdBitmap : public ::testing::Test {
protected:
    void SetUp() override
    {
        stdFile_Startup();
        ASSERT_NE(stdBitmap_Startup(), nullptr);
    }
    void TearDown() override
    {
        stdBitmap_Shutdown();
        stdFile_Shutdown();
    }

    // After any number of failed loads all 32 handles can still be opened.
    static void ExpectNoHandleLeft()
    {
        fixtures::WriteText("probe.txt", "p");
        stdFileHandle handles[32];
        for (stdFileHandle& h : handles) {
            h = stdFile_OpenPath("probe.txt", "rb");
            EXPECT_NE(h, 0u);
        }
        for (stdFileHandle h : handles) stdFile_Close(h);
    }

    WorkFolder work{fixtures::TestFolderName()};
};

}  // namespace

TEST_F(StdBitmap, BothRowOrdersGiveBottomUpMemory)
{
    ASSERT_TRUE(fixtures::WriteTga("bottom.tga", fixtures::MakeTga(5, 3, 32, false, Gradient)));
    ASSERT_TRUE(fixtures::WriteTga("top.tga", fixtures::MakeTga(5, 3, 32, true, Gradient)));
    Bitmap* bottom = stdBitmap_Load("bottom.tga", BITMAP_FORMAT_8888, 4);
    Bitmap* top = stdBitmap_Load("top.tga", BITMAP_FORMAT_8888, 4);
    ASSERT_NE(bottom, nullptr);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(bottom->width, 5);
    EXPECT_EQ(bottom->height, 3);
    EXPECT_EQ(bottom->pixels, (uint8_t*)bottom + BITMAP_HEADER_SIZE);
    EXPECT_EQ(memcmp(bottom->pixels, top->pixels, 5 * 3 * 4), 0);
    // Memory row 0 is the image's bottom row (y = 2 counted from the top).
    EXPECT_EQ(Pixel32(bottom, 1, 0), Gradient(1, 2));
    EXPECT_EQ(Pixel32(bottom, 4, 2), Gradient(4, 0));
    stdBitmap_Release(bottom);
    stdBitmap_Release(top);
}

TEST_F(StdBitmap, ConversionsFrom24And32Bits)
{
    ASSERT_TRUE(fixtures::WriteTga("p24.tga", fixtures::MakeTga(1, 1, 24, false, Fixed)));
    ASSERT_TRUE(fixtures::WriteTga("p32.tga", fixtures::MakeTga(1, 1, 32, false, Fixed)));
    struct Case {
        const char* file;
        uint32_t format;
        uint32_t expected;
    } cases[] = {
        {"p24.tga", 0, (200u >> 3) << 11 | (100u >> 2) << 5 | 30u >> 3},
        {"p24.tga", 1, 0xF000u | (200u >> 4) << 8 | (100u >> 4) << 4 | 30u >> 4},
        {"p24.tga", 2, 0x8000u | (200u >> 3) << 10 | (100u >> 3) << 5 | 30u >> 3},
        {"p24.tga", 5, 0xFFC8641Eu},
        {"p24.tga", 6, 0xFFC8641Eu},
        {"p32.tga", 0, (200u >> 3) << 11 | (100u >> 2) << 5 | 30u >> 3},
        {"p32.tga", 1, 0x4000u | (200u >> 4) << 8 | (100u >> 4) << 4 | 30u >> 4},
        {"p32.tga", 2, (200u >> 3) << 10 | (100u >> 3) << 5 | 30u >> 3},  // alpha below 128
        {"p32.tga", 5, 0x40C8641Eu},
        {"p32.tga", 6, 0xFFC8641Eu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " format " + std::to_string(c.format));
        stdBitmap_Shutdown();  // a cached name would keep its first format
        stdBitmap_Startup();
        Bitmap* b = stdBitmap_Load(c.file, c.format, 4);
        ASSERT_NE(b, nullptr);
        uint32_t value = bitmapFormat_BytesPerPixel(c.format) == 4 ? Pixel32(b, 0, 0) : Pixel16(b, 0, 0);
        EXPECT_EQ(value, c.expected);
        stdBitmap_Release(b);
    }
    EXPECT_EQ(stdBitmap_Load("p24.tga", 3, 4), nullptr);  // no 8-bit converter
    EXPECT_EQ(stdBitmap_Load("p24.tga", 9, 4), nullptr);
}

TEST_F(StdBitmap, TheCacheCountsReferences)
{
    ASSERT_TRUE(fixtures::WriteTga("c.tga", fixtures::MakeTga(2, 2, 24, false, Gradient)));
    int live = stdBitmap_GetLiveCount();
    Bitmap* a = stdBitmap_Load("c.tga", 0, 4);
    Bitmap* b = stdBitmap_Load("C.TGA", 5, 4);  // same name, other format: the cached one
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->refCount, 2);
    EXPECT_EQ(a->format, 0u);
    EXPECT_EQ(stdBitmap_Find(nullptr), nullptr);  // no name is no source
    EXPECT_EQ(stdBitmap_Find("c.tga"), a);
    EXPECT_EQ(stdBitmap_GetLiveCount(), live + 1);
    EXPECT_EQ(stdBitmap_Release(a), 1);
    EXPECT_EQ(stdBitmap_Find("c.tga"), a);
    EXPECT_EQ(stdBitmap_Release(b), 0);
    EXPECT_EQ(stdBitmap_Find("c.tga"), nullptr);
    EXPECT_EQ(stdBitmap_GetLiveCount(), live);
}

TEST_F(StdBitmap, AFullReferenceCountRefusesOneMoreLoad)
{
    ASSERT_TRUE(fixtures::WriteTga("held.tga", fixtures::MakeTga(1, 1, 32, false, Fixed)));
    Bitmap* b = stdBitmap_Load("held.tga", 5, 4);
    ASSERT_NE(b, nullptr);
    for (int i = 1; i < 0xFFFF; i++) ASSERT_EQ(stdBitmap_Load("held.tga", 5, 4), b) << i;
    EXPECT_EQ(b->refCount, 0xFFFF);
    EXPECT_EQ(stdBitmap_Load("held.tga", 5, 4), nullptr);
    EXPECT_EQ(b->refCount, 0xFFFF);
    EXPECT_EQ(stdBitmap_Release(b), 0xFFFE);
    EXPECT_EQ(stdBitmap_Find("held.tga"), b);
    while (stdBitmap_Release(b) > 0) {
    }
    EXPECT_EQ(stdBitmap_Find("held.tga"), nullptr);
}

TEST_F(StdBitmap, LongNamesAreCachedUnderTheirCutName)
{
    std::string name = std::string(40, 'l') + ".tga";
    ASSERT_TRUE(fixtures::WriteTga(name, fixtures::MakeTga(1, 1, 24, false, Fixed)));
    Bitmap* a = stdBitmap_Load(name.c_str(), 0, 4);
    Bitmap* b = stdBitmap_Load(name.c_str(), 0, 4);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::string(a->name), std::string(31, 'l'));
    stdBitmap_Release(a);
    stdBitmap_Release(b);
    EXPECT_EQ(stdBitmap_Find(name.c_str()), nullptr);
}

TEST_F(StdBitmap, LoadsFromTheUiFoldersAndArchives)
{
    fixtures::MakeFolders("Ui\\Icons");
    ASSERT_TRUE(fixtures::WriteTga("Ui\\Icons\\icon.tga", fixtures::MakeTga(2, 1, 32, false, Gradient)));
    fixtures::ZipWriter zip;
    zip.Add("Ui/packed.tga", fixtures::TgaBytes(fixtures::MakeTga(3, 2, 24, true, Gradient)));
    ASSERT_TRUE(zip.Write("ui.vop"));
    stdFile_Shutdown();
    stdFile_Startup();
    Bitmap* icon = stdBitmap_Load("icon.tga", 5, 4);
    Bitmap* packed = stdBitmap_Load("packed.tga", 5, 4);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(Pixel32(packed, 2, 0), 0xFF000000u | (Gradient(2, 1) & 0xFFFFFF));
    EXPECT_EQ(stdBitmap_Load("icon.tga", 5, 0)->refCount, 2);  // cached: no folder needed
    stdBitmap_Release(icon);
    stdBitmap_Release(icon);
    stdBitmap_Release(packed);
}

TEST_F(StdBitmap, TheIdFieldIsSkipped)
{
    TgaImage image = fixtures::MakeTga(2, 1, 24, false, Gradient);
    image.id = "made by a test";
    ASSERT_TRUE(fixtures::WriteTga("id.tga", image));
    Bitmap* b = stdBitmap_Load("id.tga", 5, 4);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Pixel32(b, 1, 0), 0xFF000000u | (Gradient(1, 0) & 0xFFFFFF));
    stdBitmap_Release(b);
}

// A colour map in front of true-colour pixels is no part of the image: reading it as pixels
// would shift every row.
TEST_F(StdBitmap, AColourMapBeforeThePixelsIsSkipped)
{
    TgaImage image = fixtures::MakeTga(2, 1, 24, false, Gradient);
    image.id = "id";
    Bytes bytes = fixtures::TgaBytes(image);
    bytes[1] = 1;                // colour-map type
    bytes[5] = 2, bytes[6] = 0;  // two entries
    bytes[7] = 24;               // of three bytes each
    const Bytes map = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    bytes.insert(bytes.begin() + 18 + 2, map.begin(), map.end());
    ASSERT_TRUE(fixtures::WriteBytes("mapped.tga", bytes));
    Bitmap* b = stdBitmap_Load("mapped.tga", 5, 4);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Pixel32(b, 0, 0), 0xFF000000u | (Gradient(0, 0) & 0xFFFFFF));
    EXPECT_EQ(Pixel32(b, 1, 0), 0xFF000000u | (Gradient(1, 0) & 0xFFFFFF));
    stdBitmap_Release(b);
}

TEST_F(StdBitmap, DamagedImagesFailCleanly)
{
    TgaImage good = fixtures::MakeTga(4, 4, 32, false, Gradient);
    Bytes bytes = fixtures::TgaBytes(good);
    TgaImage rle = good;
    rle.imageType = 10;
    TgaImage depth16 = good;
    depth16.depth = 16;
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"huge.tga", fixtures::TgaWithClaimedSize(good, 65535, 65535)},
        {"wide.tga", fixtures::TgaWithClaimedSize(good, 65535, 16385)},
        {"taller.tga", fixtures::TgaWithClaimedSize(good, 4, 5)},
        {"cutpixels.tga", fixtures::Truncated(bytes, bytes.size() - 1)},
        {"cutheader.tga", fixtures::Truncated(bytes, 10)},
        {"empty.tga", Bytes()},
        {"rle.tga", fixtures::TgaBytes(rle)},
        {"depth16.tga", fixtures::TgaBytes(depth16)},
    };
    int live = stdBitmap_GetLiveCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(fixtures::WriteBytes(c.name, c.bytes));
        EXPECT_EQ(stdBitmap_Load(c.name, 5, 4), nullptr);
        EXPECT_EQ(stdBitmap_Find(c.name), nullptr);
    }
    EXPECT_EQ(stdBitmap_Load("missing.tga", 5, 4), nullptr);
    EXPECT_EQ(stdBitmap_GetLiveCount(), live);
    ExpectNoHandleLeft();
}

TEST_F(StdBitmap, PixelBytesRefusesSizesThatDoNotFit)
{
    EXPECT_EQ(stdBitmap_PixelBytes(640, 480, 5), 640u * 480 * 4);
    EXPECT_EQ(stdBitmap_PixelBytes(65535, 65535, 5), 0u);
    EXPECT_EQ(stdBitmap_PixelBytes(65535, 32769, 0), 0u);
    EXPECT_EQ(stdBitmap_PixelBytes(3, 3, 3), 9u);
    EXPECT_EQ(stdBitmap_PixelBytes(3, 3, 77), 18u);
}

TEST_F(StdBitmap, PartialAlpha)
{
    ASSERT_TRUE(fixtures::WriteTga("half.tga", fixtures::MakeTga(2, 2, 32, false, Gradient)));
    ASSERT_TRUE(fixtures::WriteTga("solid.tga", fixtures::MakeTga(2, 2, 32, false,
                                                                  [](int, int) { return 0xFF102030u; })));
    ASSERT_TRUE(fixtures::WriteTga("rgb.tga", fixtures::MakeTga(2, 2, 24, false, Gradient)));
    for (auto [name, expected] : {std::pair{"half.tga", 8}, {"solid.tga", 0}, {"rgb.tga", 0}}) {
        stdFileHandle h = stdFile_OpenPath(name, "rb");
        EXPECT_EQ(stdBitmap_HasPartialAlpha(h), expected) << name;
        stdFile_Close(h);
    }
}

TEST_F(StdBitmap, SolidBitmapsPackTheirColour)
{
    struct Case {
        uint32_t format;
        uint32_t expected;
    } cases[] = {
        {0, (200u & 0xF8) << 8 | (100u & 0xFC) << 3 | 30u >> 3},
        {1, (0x40u & 0xF0) << 8 | (200u & 0xF0) << 4 | (100u & 0xF0) | 30u >> 4},
        {2, (200u & 0xF8) << 7 | (100u & 0xF8) << 2 | 30u >> 3},
        {5, 0x40C8641Eu},
        {6, 0xFFC8641Eu},
    };
    int live = stdBitmap_GetLiveCount();
    for (const Case& c : cases) {
        Bitmap* b = stdBitmap_CreateSolid(3, 3, 200, 100, 30, 0x40, c.format);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->headerFlags & BITMAP_STANDALONE, BITMAP_STANDALONE);
        EXPECT_EQ(b->name[0], 0);
        for (int i = 0; i < 9; i++) {
            uint32_t value = bitmapFormat_BytesPerPixel(c.format) == 4 ? Pixel32(b, i % 3, i / 3)
                                                                       : Pixel16(b, i % 3, i / 3);
            EXPECT_EQ(value, c.expected) << "format " << c.format << " pixel " << i;
        }
        b->refCount = 5;
        EXPECT_EQ(stdBitmap_Release(b), 0);  // standalone: freed whatever its count
    }
    EXPECT_EQ(stdBitmap_GetLiveCount(), live);
    EXPECT_EQ(stdBitmap_CreateSolid(-1, 3, 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(stdBitmap_CreateSolid(2, 2, 0, 0, 0, 0, 12), nullptr);
}

TEST_F(StdBitmap, DuplicateCopiesIntoItsOwnBlock)
{
    ASSERT_TRUE(fixtures::WriteTga("d.tga", fixtures::MakeTga(3, 2, 32, false, Gradient)));
    Bitmap* original = stdBitmap_Load("d.tga", 5, 4);
    Bitmap* copy = stdBitmap_Duplicate(original);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->pixels, (uint8_t*)copy + BITMAP_HEADER_SIZE);
    EXPECT_EQ(memcmp(copy->pixels, original->pixels, 3 * 2 * 4), 0);
    EXPECT_EQ(copy->refCount, 1);
    EXPECT_TRUE(copy->headerFlags & BITMAP_STANDALONE);
    EXPECT_STREQ(copy->name, "d.tga");
    EXPECT_EQ(stdBitmap_Release(copy), 0);
    EXPECT_EQ(stdBitmap_Find("d.tga"), original);  // the cached original stays
    stdBitmap_Release(original);
}

TEST_F(StdBitmap, CopiesClipToBothBitmaps)
{
    Bitmap* dest = stdBitmap_CreateSolid(4, 4, 0, 0, 0, 0, 5);
    Bitmap* source = stdBitmap_CreateSolid(3, 3, 255, 255, 255, 255, 5);
    // Negative destination origin: only the visible part lands at (0, 0).
    stdBitmap_Blit32(dest, -2, -2, 3, 3, source, 0, 0);
    int copied = 0;
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) copied += Pixel32(dest, x, y) == 0xFFFFFFFFu;
    EXPECT_EQ(copied, 1);
    EXPECT_EQ(Pixel32(dest, 0, 0), 0xFFFFFFFFu);

    // Beyond either bitmap: nothing.
    stdBitmap_Blit32(dest, 4, 0, 3, 3, source, 0, 0);
    stdBitmap_Blit32(dest, 1, 1, 3, 3, source, 3, 0);
    // A negative source origin moves the destination rather than reading outside.
    stdBitmap_Blit32(dest, 2, 2, 5, 5, source, -1, -1);
    copied = 0;
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) copied += Pixel32(dest, x, y) == 0xFFFFFFFFu;
    EXPECT_EQ(copied, 2);
    EXPECT_EQ(Pixel32(dest, 3, 3), 0xFFFFFFFFu);

    // Pixel sizes must match the copy.
    Bitmap* small = stdBitmap_CreateSolid(4, 4, 255, 0, 0, 255, 2);
    stdBitmap_Blit16(dest, 0, 0, 4, 4, small, 0, 0);
    EXPECT_EQ(Pixel32(dest, 1, 1), 0u);
    stdBitmap_Release(small);
    stdBitmap_Release(dest);
    stdBitmap_Release(source);
}

TEST_F(StdBitmap, KeyedCopiesSkipTransparentPixels)
{
    Bitmap* dest16 = stdBitmap_CreateSolid(2, 1, 0, 0, 255, 255, 2);
    Bitmap* src16 = stdBitmap_CreateSolid(2, 1, 255, 0, 0, 255, 2);
    uint16_t clear = 0x7C00;  // red without the alpha bit
    memcpy(src16->pixels + 2, &clear, 2);
    uint16_t before = Pixel16(dest16, 1, 0);
    stdBitmap_BlitClipped16(dest16, 0, 0, 2, 1, src16, 0, 0);
    EXPECT_EQ(Pixel16(dest16, 0, 0), Pixel16(src16, 0, 0));
    EXPECT_EQ(Pixel16(dest16, 1, 0), before);

    Bitmap* dest32 = stdBitmap_CreateSolid(2, 1, 1, 2, 3, 255, 5);
    Bitmap* src32 = stdBitmap_CreateSolid(2, 1, 9, 9, 9, 0, 5);
    uint32_t opaque = 0x01090909u;
    memcpy(src32->pixels, &opaque, 4);
    stdBitmap_BlitClipped(dest32, 0, 0, 2, 1, src32, 0, 0);
    EXPECT_EQ(Pixel32(dest32, 0, 0), opaque);
    EXPECT_EQ(Pixel32(dest32, 1, 0), 0xFF010203u);
    for (Bitmap* b : {dest16, src16, dest32, src32}) stdBitmap_Release(b);
}

// Every truncation of a small image, and each of its bytes set to 0x00, 0xFF and 0x7F, loaded
// from a plain file and from a pack entry: a load either fails cleanly or gives a bitmap whose
// pixels the file really held; nothing stays alive and no handle is left open.
TEST_F(StdBitmap, DamagedImagesLoadWithinTheirBytes)
{
    TgaImage image = fixtures::MakeTga(3, 2, 32, true, Gradient);
    image.id = "ab";
    const Bytes good = fixtures::TgaBytes(image);
    const int live = stdBitmap_GetLiveCount();
    int loaded = 0;
    auto load = [&](const Bytes& bytes) {
        ASSERT_TRUE(fixtures::WriteBytes("m.tga", bytes));
        fixtures::ZipWriter zip;
        zip.Add("p.tga", bytes);
        ASSERT_TRUE(zip.Write("m.vop"));
        stdFile_SetBase(1, ".", 1);
        for (const char* name : {"m.tga", "p.tga"}) {
            for (uint32_t format : {0u, 5u}) {
                Bitmap* b = stdBitmap_Load(name, format, 4);
                if (b) {
                    loaded++;
                    uint64_t source = (uint64_t)b->width * b->height * (bytes[16] == 24 ? 3 : 4);
                    EXPECT_LE(TGA_HEADER_SIZE + bytes[0] + source, bytes.size());
                    EXPECT_EQ(stdBitmap_Release(b), 0);
                }
            }
            stdFileHandle h = stdFile_Open(name, "rb", 4);
            ASSERT_NE(h, 0u);
            int alpha = stdBitmap_HasPartialAlpha(h);
            EXPECT_TRUE(alpha == 0 || alpha == 8);
            stdFile_Close(h);
        }
        EXPECT_EQ(stdBitmap_GetLiveCount(), live);
    };
    load(good);
    ASSERT_EQ(loaded, 4);  // both places, both formats
    fixtures::ForEachMutation(good, load);
    ExpectNoHandleLeft();
}
