// The texture handle pool, level counts, the box filter and the binding cache, through the
// DirectDraw seam: exhaustion, stale and repeated releases, two texture copies and refusals.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "fakeDirectDraw.h"
#include "rasterTestWindow.h"
#include "rlDevice.h"
#include "rlMain.h"
#include "rlTexture.h"

namespace {

class TexturePool : public ::testing::Test {
protected:
    void open(FakeConfig config = {})
    {
        fake_Install(config);
        rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(true);
        ASSERT_EQ(rlMain_Open(&settings), 1);
    }
    void TearDown() override
    {
        rlMain_Close();
        EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
        fake_Uninstall();
    }

    Bitmap bitmap(uint32_t format, int width, int height, uint32_t textureFlags = 0)
    {
        buffers.push_back(std::vector<uint8_t>(size_t(width) * height * bitmapFormat_BytesPerPixel(format), 0x33));
        Bitmap b = {};
        b.format = format;
        b.width = uint16_t(width);
        b.height = uint16_t(height);
        b.pixels = b.levels[0] = buffers.back().data();
        b.textureFlags = textureFlags;
        return b;
    }

    RasterTestWindow window;
    renderSettings settings;
    std::vector<std::vector<uint8_t>> buffers;
};

} // namespace

TEST_F(TexturePool, HandlesRunFromOneAndTheLastOfThe2048IsNeverGiven)
{
    open();
    std::vector<Bitmap> bitmaps(2048, bitmap(BITMAP_FORMAT_565, 8, 8));
    ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmaps[0]), 1);
    EXPECT_EQ(bitmaps[0].rasterHandle, 1u);
    rlTexture_UncacheMipMap(&bitmaps[0]);
    EXPECT_EQ(bitmaps[0].rasterHandle, 0u);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmaps[0]), 1);
    EXPECT_EQ(bitmaps[0].rasterHandle, 1u);
    for (int i = 1; i < 2047; i++) {
        ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmaps[i]), 1) << i;
        ASSERT_EQ(bitmaps[i].rasterHandle, uint32_t(i + 1));
    }
    EXPECT_EQ(rlTexture_PreCacheMipMap(&bitmaps[2047]), 0);
    EXPECT_EQ(bitmaps[2047].rasterHandle, 0u);

    // A released handle is the next one given.
    rlTexture_UncacheMipMap(&bitmaps[700]);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmaps[2047]), 1);
    EXPECT_EQ(bitmaps[2047].rasterHandle, 701u);
}

TEST_F(TexturePool, RepeatedAndStaleReleasesPushNothing)
{
    open();
    Bitmap first = bitmap(BITMAP_FORMAT_565, 8, 8);
    Bitmap second = bitmap(BITMAP_FORMAT_565, 8, 8);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&first), 1);
    Bitmap staleCopy = first;   // a copy of the record that still names the handle
    rlTexture_UncacheMipMap(&first);
    rlTexture_UncacheMipMap(&first);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&second), 1);
    EXPECT_EQ(second.rasterHandle, 1u);
    // The stale copy names handle 1, now owned by the second bitmap: nothing happens to it.
    rlTexture_UncacheMipMap(&staleCopy);
    EXPECT_EQ(staleCopy.rasterHandle, 0u);
    ASSERT_NE(rlTexture_Get(1), nullptr);
    EXPECT_EQ(rlTexture_Get(1)->owner, &second);
    // Handles out of range name no record.
    Bitmap wild = bitmap(BITMAP_FORMAT_565, 8, 8);
    for (uint32_t handle : {5u, 2048u, 0xFFFFFFFFu}) {
        wild.rasterHandle = handle;
        rlTexture_UncacheMipMap(&wild);
    }
    // Exactly 2046 more can be taken: the stack holds each free handle once.
    std::vector<Bitmap> rest(2047, bitmap(BITMAP_FORMAT_565, 8, 8));
    int taken = 0;
    for (Bitmap& b : rest) taken += rlTexture_PreCacheMipMap(&b);
    EXPECT_EQ(taken, 2046);
}

TEST_F(TexturePool, TakingAgainGivesTheOldHandleBack)
{
    open();
    Bitmap b = bitmap(BITMAP_FORMAT_565, 8, 8);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&b), 1);
    ASSERT_EQ(rlTexture_SetStage(b.rasterHandle, 0), 1);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&b), 1);
    EXPECT_EQ(b.rasterHandle, 1u);
    EXPECT_EQ(rlTexture_StageHandle(0), 0u);
    EXPECT_FALSE(rlTexture_Get(1)->flags & TEXTURE_UPLOADED);
    Bitmap other = bitmap(BITMAP_FORMAT_565, 8, 8);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&other), 1);
    EXPECT_EQ(other.rasterHandle, 2u);
}

TEST_F(TexturePool, InvalidHandlesAreRefused)
{
    open();
    Bitmap b = bitmap(BITMAP_FORMAT_565, 8, 8);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&b), 1);
    for (uint32_t handle : {0u, 2u, 2047u, 2048u, 70000u}) {
        SCOPED_TRACE(handle);
        EXPECT_EQ(rlTexture_CacheHandle(handle, 0), 0);
        EXPECT_EQ(rlTexture_RecacheHandle(handle), 0);
        EXPECT_EQ(rlTexture_Get(handle), nullptr);
        rlTexture_FlushHandle(handle);
        if (handle) {
            EXPECT_EQ(rlTexture_SetStage(handle, 0), 0);
        }
    }
    EXPECT_EQ(rlTexture_CacheHandle(1, -1), 0);
    EXPECT_EQ(rlTexture_CacheHandle(1, 2), 0);
    EXPECT_EQ(rlTexture_SetStage(1, 4), 0);
    EXPECT_EQ(rlTexture_SetStage(1, -1), 0);
    EXPECT_EQ(rlTexture_PreCacheMipMap(nullptr), 0);
}

TEST_F(TexturePool, LevelCountsFollowSizeFlagsAndTheMipLimit)
{
    open();
    const struct { int width, height; uint32_t flags, maxMips; int levels; } cases[] = {
        {256, 256, 0, 16, 9}, {256, 64, 0, 8, 7}, {256, 64, 0, 4, 4}, {256, 64, BITMAP_TEX_SINGLE_LEVEL, 8, 1},
        {1, 64, 0, 8, 1}, {512, 128, 0, 8, 8}, {5, 3, 0, 8, 2}, {16, 16, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " max " << c.maxMips);
        settings.maxMips = c.maxMips;
        Bitmap b = bitmap(BITMAP_FORMAT_565, c.width, c.height, c.flags);
        ASSERT_EQ(rlTexture_PreCacheMipMap(&b), 1);
        EXPECT_EQ(rlTexture_Get(b.rasterHandle)->numMips, c.levels);
        EXPECT_EQ(rlTexture_Get(b.rasterHandle)->numMipsRequested, c.levels);
        ASSERT_EQ(rlTexture_CacheHandle(b.rasterHandle, 0), 1);
        rlTexture_UncacheMipMap(&b);
    }
}

TEST_F(TexturePool, BoxFilterRoundsEachChannel)
{
    const struct { uint32_t format; uint32_t in[4]; uint32_t out; } cases[] = {
        {BITMAP_FORMAT_565, {0xF800, 0x0000, 0x0000, 0x0800}, 0x4000},           // red (31+1+2)/4 = 8
        {BITMAP_FORMAT_565, {0x07E0, 0x07E0, 0x0000, 0x0020}, 0x0400},           // green (63+63+1+2)/4 = 32
        {BITMAP_FORMAT_565, {0x0001, 0x0001, 0x0000, 0x0000}, 0x0001},           // (1+1+2)/4 = 1
        {BITMAP_FORMAT_565, {0x0001, 0x0000, 0x0000, 0x0000}, 0x0000},           // (1+2)/4 = 0
        {BITMAP_FORMAT_4444, {0xF000, 0xF000, 0xF00F, 0x000F}, 0xB008},
        {BITMAP_FORMAT_1555, {0x8000, 0x8000, 0x8000, 0x0000}, 0x0000},          // three opaque: transparent
        {BITMAP_FORMAT_1555, {0xFC00, 0x8000, 0x8000, 0x8000}, 0xA000},          // all opaque; red 31/4 rounds to 8
        {BITMAP_FORMAT_8A, {10, 11, 12, 13}, 12},
        {BITMAP_FORMAT_8888, {0xFF000001, 0x00000001, 0x00FF0000, 0x80000000}, 0x60400001},
        {BITMAP_FORMAT_X888, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " expects " << std::hex << c.out);
        const int bytes = bitmapFormat_BytesPerPixel(c.format);
        uint8_t image[16] = {};
        // A 2 x 2 image: row 0 holds in[0], in[1]; row 1 holds in[2], in[3].
        for (int i = 0; i < 4; i++) memcpy(image + i * bytes, &c.in[i], bytes);
        uint8_t out[4] = {};
        ASSERT_EQ(rlTexture_Reduce(c.format, image, 2, 2, out), 1);
        uint32_t value = 0;
        memcpy(&value, out, bytes);
        EXPECT_EQ(value, c.out);
    }
    uint8_t image[8] = {};
    EXPECT_EQ(rlTexture_Reduce(BITMAP_FORMAT_8B, image, 2, 2, image), 0);
}

TEST_F(TexturePool, OddSizesDropTheLastColumnAndRowInPlace)
{
    // 3 x 3 luminance, reduced in place to 1 x 1 from the top-left block only.
    uint8_t image[9] = {4, 8, 200, 12, 16, 200, 200, 200, 200};
    ASSERT_EQ(rlTexture_Reduce(BITMAP_FORMAT_8A, image, 3, 3, image), 1);
    EXPECT_EQ(image[0], 10);
}

TEST_F(TexturePool, TwoCopiesServeTheirStagesAndTheLastServesTheRest)
{
    FakeConfig config;
    config.bSeparateTextureMemories = true;
    open(config);
    ASSERT_EQ(rlTexture_NumCopies(), 2);
    Bitmap b = bitmap(BITMAP_FORMAT_8888, 16, 16);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&b), 1);
    TextureHandle* record = rlTexture_Get(b.rasterHandle);
    ASSERT_EQ(rlTexture_SetStage(b.rasterHandle, 1), 1);
    EXPECT_EQ(record->surfaces[0], nullptr);
    ASSERT_NE(record->surfaces[1], nullptr);
    DDSURFACEDESC2 desc = {};
    record->surfaces[1]->GetSurfaceDesc(&desc);
    EXPECT_EQ(desc.dwTextureStage, 1u);
    EXPECT_EQ(desc.dwMipMapCount, 5u);
    EXPECT_EQ(desc.ddsCaps.dwCaps2, 0x90u);
    EXPECT_EQ(record->flags, TEXTURE_IN_USE | TEXTURE_UPLOADED | (TEXTURE_COPY0_UPLOADED << 1));
    const int creations = fake_Calls("CreateSurface");
    ASSERT_EQ(rlTexture_SetStage(b.rasterHandle, 3), 1);
    EXPECT_EQ(fake_Calls("CreateSurface"), creations);
    ASSERT_EQ(rlTexture_SetStage(b.rasterHandle, 0), 1);
    EXPECT_NE(record->surfaces[0], nullptr);
    RasterStats stats = {};
    rlMain_GetStats(&stats, 0);
    EXPECT_EQ(stats.uploadBytes[0], record->byteSize);
    EXPECT_EQ(stats.uploadBytes[1], record->byteSize);
    // Recache uploads into both copies; a forced upload adds again.
    ASSERT_EQ(rlTexture_RecacheHandle(b.rasterHandle), 1);
    ASSERT_EQ(rlTexture_CacheHandle(b.rasterHandle, 1), 1);
    rlMain_GetStats(&stats, 0);
    EXPECT_EQ(stats.uploadBytes[1], 3 * record->byteSize);
    EXPECT_EQ(stats.textureBytes[1], record->byteSize);
}

TEST_F(TexturePool, RefusedSurfaceLockOrBindingFailsTheOperation)
{
    open();
    Bitmap b = bitmap(BITMAP_FORMAT_565, 16, 16);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&b), 1);
    fake_Config().failAtStep = fake_Steps() + 1;   // the surface creation
    EXPECT_EQ(rlTexture_SetStage(b.rasterHandle, 0), 0);
    EXPECT_EQ(rlTexture_Get(b.rasterHandle)->surfaces[0], nullptr);
    fake_Config().failAtStep = fake_Steps() + 2;   // the lock of the top level
    EXPECT_EQ(rlTexture_CacheHandle(b.rasterHandle, 0), 0);
    EXPECT_FALSE(rlTexture_Get(b.rasterHandle)->flags & TEXTURE_COPY0_UPLOADED);
    fake_Config().failAtStep = fake_Steps() + 3;   // lock, get level 1, lock it: fails
    EXPECT_EQ(rlTexture_CacheHandle(b.rasterHandle, 0), 1);   // a lower level is skipped
    const int steps = fake_Steps();
    fake_Config().failAtStep = steps + 1;   // SetTexture
    EXPECT_EQ(rlTexture_SetStage(b.rasterHandle, 0), 0);
    EXPECT_EQ(rlTexture_StageHandle(0), 0u);
    EXPECT_EQ(rlTexture_SetStage(b.rasterHandle, 0), 1);
    // Close releases the bound texture and every surface (checked when the case ends).
}
