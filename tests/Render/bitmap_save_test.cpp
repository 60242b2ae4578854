// Saving bitmaps as TGA files and the format-picking copy.
#include <gtest/gtest.h>

#include <cstring>

#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "renderBitmap.h"
#include "stdBitmap.h"
#include "stdFile.h"

using fixtures::WorkFolder;

namespace {

class RenderBitmap : public ::testing::Test {
protected:
    void SetUp() override
    {
        stdFile_Startup();
        stdBitmap_Startup();
    }
    void TearDown() override
    {
        stdBitmap_Shutdown();
        stdFile_Shutdown();
    }
    WorkFolder work{fixtures::TestFolderName()};
};

Bitmap* Pattern(uint32_t format)
{
    Bitmap* b = stdBitmap_CreateSolid(3, 2, 0, 0, 0, 0, format);
    for (int i = 0; i < 6; i++) {
        uint16_t v = (uint16_t)(0x1234 * (i + 1) + (i % 2 ? 0x8000 : 0));
        memcpy(b->pixels + i * 2, &v, 2);
    }
    return b;
}

// Whether the file loads back in the bitmap's format with its first 12 bytes of pixels.
::testing::AssertionResult LoadsBackTheSame(const char* file, const Bitmap* saved)
{
    Bitmap* back = stdBitmap_Load(file, saved->format, 0);
    if (!back) return ::testing::AssertionFailure() << file << " does not load";
    const bool same = memcmp(back->pixels, saved->pixels, 12) == 0;
    stdBitmap_Release(back);
    if (!same) return ::testing::AssertionFailure() << file << " loads other pixels";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(RenderBitmap, Format565IsSavedAt24BitsAndReadsBackTheSame)
{
    Bitmap* b = Pattern(BITMAP_FORMAT_565);
    ASSERT_EQ(renderBitmap_SaveTga(b, "shot"), 1);
    fixtures::Bytes bytes = fixtures::ReadBytes("shot.tga");
    ASSERT_EQ(bytes.size(), 18u + 6 * 3);
    EXPECT_EQ(bytes[2], 2);
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 3);
    EXPECT_EQ(bytes[14] | bytes[15] << 8, 2);
    EXPECT_EQ(bytes[16], 24);
    EXPECT_EQ(bytes[17], 0);
    uint16_t first = (uint16_t)(b->pixels[0] | b->pixels[1] << 8);
    EXPECT_EQ(bytes[18], (uint8_t)(((first & 0x1F) << 3) | ((first & 0x1F) >> 2)));
    EXPECT_FALSE(fixtures::FileExists("shot.tga.tmp"));

    EXPECT_TRUE(LoadsBackTheSame("shot.tga", b));
    stdBitmap_Release(b);
}

TEST_F(RenderBitmap, AlphaFormatsAreSavedAt32Bits)
{
    for (uint32_t format : {BITMAP_FORMAT_4444, BITMAP_FORMAT_1555}) {
        SCOPED_TRACE(format);
        Bitmap* b = Pattern(format);
        ASSERT_EQ(renderBitmap_SaveTga(b, "alpha"), 1);
        fixtures::Bytes bytes = fixtures::ReadBytes("alpha.tga");
        ASSERT_EQ(bytes.size(), 18u + 6 * 4);
        EXPECT_EQ(bytes[16], 32);
        if (format == BITMAP_FORMAT_1555) {
            EXPECT_EQ(bytes[18 + 3], 0);    // pixel 0: no alpha bit
            EXPECT_EQ(bytes[18 + 7], 255);  // pixel 1: alpha bit
        }
        stdBitmap_Shutdown();
        stdBitmap_Startup();
        EXPECT_TRUE(LoadsBackTheSame("alpha.tga", b));
        stdBitmap_Release(b);
    }
}

TEST_F(RenderBitmap, OtherFormatsAreRefusedWithoutAFile)
{
    Bitmap* b = stdBitmap_CreateSolid(2, 2, 1, 2, 3, 4, BITMAP_FORMAT_8888);
    EXPECT_EQ(renderBitmap_SaveTga(b, "refused"), 0);
    EXPECT_FALSE(fixtures::FileExists("refused.tga"));
    EXPECT_EQ(renderBitmap_SaveTga(nullptr, "refused"), 0);
    EXPECT_EQ(renderBitmap_SaveTga(b, nullptr), 0);
    stdBitmap_Release(b);

    Bitmap* ok = Pattern(BITMAP_FORMAT_565);
    EXPECT_EQ(renderBitmap_SaveTga(ok, std::string(254, 'n').c_str()), 0);
    stdBitmap_Release(ok);
}

TEST_F(RenderBitmap, AFailedSaveKeepsTheOldFile)
{
    fixtures::WriteText("keep.tga", "old contents");
    fixtures::MakeFolders("keep.tga.tmp");  // the temporary file cannot be made
    Bitmap* b = Pattern(BITMAP_FORMAT_565);
    EXPECT_EQ(renderBitmap_SaveTga(b, "keep"), 0);
    fixtures::Bytes bytes = fixtures::ReadBytes("keep.tga");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old contents");
    stdBitmap_Release(b);
}

TEST_F(RenderBitmap, BlitPicksTheCopyForTheDestination)
{
    Bitmap* dest32 = stdBitmap_CreateSolid(2, 2, 0, 0, 0, 0, BITMAP_FORMAT_X888);
    Bitmap* src32 = stdBitmap_CreateSolid(2, 2, 10, 20, 30, 255, BITMAP_FORMAT_8888);
    renderBitmap_Blit(dest32, 0, 0, 2, 2, src32, 0, 0);
    EXPECT_EQ(memcmp(dest32->pixels, src32->pixels, 16), 0);
    Bitmap* dest16 = stdBitmap_CreateSolid(2, 2, 0, 0, 0, 0, BITMAP_FORMAT_565);
    Bitmap* src16 = Pattern(BITMAP_FORMAT_1555);
    renderBitmap_Blit(dest16, 1, 0, 2, 2, src16, 0, 0);
    EXPECT_EQ(memcmp(dest16->pixels + 2, src16->pixels, 2), 0);
    for (Bitmap* b : {dest32, src32, dest16, src16}) stdBitmap_Release(b);
}
