// Textures on the real device: every pixel format uploaded with its mip levels, read back level
// by level and compared with a box filter computed here from the format's channel masks.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "fixtureAllocations.h"
#include "rasterTestWindow.h"
#include "rlDevice.h"
#include "rlMain.h"
#include "rlTexture.h"

namespace {

struct FormatCase {
    uint32_t format;
    int bytes;
    std::vector<uint32_t> masks;   // channels; for 1555 the alpha bit is listed last
    bool oneBitAlpha;
};

const FormatCase formatCases[] = {
    {BITMAP_FORMAT_565, 2, {0xF800, 0x07E0, 0x001F}, false},
    {BITMAP_FORMAT_4444, 2, {0xF000, 0x0F00, 0x00F0, 0x000F}, false},
    {BITMAP_FORMAT_1555, 2, {0x7C00, 0x03E0, 0x001F, 0x8000}, true},
    {BITMAP_FORMAT_8A, 1, {0xFF}, false},
    {BITMAP_FORMAT_8888, 4, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, false},
    {BITMAP_FORMAT_X888, 4, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, false},
};

uint32_t readPixel(const uint8_t* p, int bytes)
{
    uint32_t value = 0;
    memcpy(&value, p, bytes);
    return value;
}

// The expected next level: per channel mask, the mean of four rounded half up.
std::vector<uint8_t> halve(const FormatCase& c, const std::vector<uint8_t>& image, int width, int height)
{
    std::vector<uint8_t> out(size_t(width / 2) * (height / 2) * c.bytes);
    for (int y = 0; y < height / 2; y++)
        for (int x = 0; x < width / 2; x++) {
            uint32_t in[4];
            for (int i = 0; i < 4; i++)
                in[i] = readPixel(&image[((2 * y + i / 2) * width + 2 * x + i % 2) * c.bytes], c.bytes);
            uint32_t value = 0;
            for (size_t m = 0; m < c.masks.size(); m++) {
                const uint32_t mask = c.masks[m];
                if (c.oneBitAlpha && m + 1 == c.masks.size()) {
                    value |= in[0] & in[1] & in[2] & in[3] & mask;
                    continue;
                }
                const int shift = __builtin_ctz(mask);
                uint64_t sum = 2;
                for (uint32_t v : in) sum += (v & mask) >> shift;
                value |= uint32_t(sum / 4) << shift;
            }
            memcpy(&out[(size_t(y) * (width / 2) + x) * c.bytes], &value, c.bytes);
        }
    return out;
}

class RealTextures : public ::testing::Test {
protected:
    void SetUp() override
    {
        rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(true);
        ASSERT_EQ(rlMain_Open(&settings), 1);
    }
    void TearDown() override { rlMain_Close(); }

    // A bitmap of noise-like pixels that every channel of every format sees change.
    Bitmap makeBitmap(uint32_t format, int width, int height, std::vector<uint8_t>& pixels)
    {
        const int bytes = bitmapFormat_BytesPerPixel(format);
        pixels.resize(size_t(width) * height * bytes);
        uint32_t seed = 12345 + format;
        for (uint8_t& b : pixels) {
            seed = seed * 1103515245 + 12345;
            b = uint8_t(seed >> 16);
        }
        Bitmap bitmap = {};
        bitmap.format = format;
        bitmap.width = uint16_t(width);
        bitmap.height = uint16_t(height);
        bitmap.pixels = pixels.data();
        bitmap.levels[0] = pixels.data();
        return bitmap;
    }

    // Compares every level of the copy's surface with the bitmap and its halvings.
    void expectLevels(const FormatCase& c, uint32_t handle, int copy, std::vector<uint8_t> image,
                      int width, int height, int expectedLevels)
    {
        TextureHandle* record = rlTexture_Get(handle);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->numMips, expectedLevels);
        IDirectDrawSurface7* level = record->surfaces[copy];
        ASSERT_NE(level, nullptr);
        level->AddRef();
        for (int mip = 0; mip < expectedLevels; mip++) {
            SCOPED_TRACE(testing::Message() << "level " << mip);
            DDSURFACEDESC2 desc = {};
            desc.dwSize = sizeof(desc);
            ASSERT_EQ(level->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
            EXPECT_EQ(int(desc.dwWidth), width);
            EXPECT_EQ(int(desc.dwHeight), height);
            int mismatches = 0;
            for (int y = 0; y < height; y++)
                if (memcmp(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                           &image[size_t(y) * width * c.bytes], size_t(width) * c.bytes) != 0)
                    mismatches++;
            level->Unlock(nullptr);
            EXPECT_EQ(mismatches, 0) << "rows differ";
            if (mip + 1 == expectedLevels) break;
            image = halve(c, image, width, height);
            width /= 2;
            height /= 2;
            DDSCAPS2 caps = {};
            caps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
            IDirectDrawSurface7* next = nullptr;
            ASSERT_EQ(level->GetAttachedSurface(&caps, &next), DD_OK);
            level->Release();
            level = next;
        }
        level->Release();
    }

    RasterTestWindow window;
    renderSettings settings;
};

} // namespace

TEST_F(RealTextures, EveryFormatUploadsWithItsMipLevels)
{
    for (const FormatCase& c : formatCases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format);
        std::vector<uint8_t> pixels;
        Bitmap bitmap = makeBitmap(c.format, 64, 16, pixels);
        ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmap), 1);
        ASSERT_NE(bitmap.rasterHandle, 0u);
        ASSERT_EQ(rlTexture_CacheHandle(bitmap.rasterHandle, 0), 1);
        expectLevels(c, bitmap.rasterHandle, 0, pixels, 64, 16, 5);
        rlTexture_UncacheMipMap(&bitmap);
        EXPECT_EQ(bitmap.rasterHandle, 0u);
    }
}

TEST_F(RealTextures, FormatsWithoutASurfaceFormatAreRefused)
{
    for (uint32_t format : {uint32_t(BITMAP_FORMAT_8B), 7u, 100u}) {
        std::vector<uint8_t> pixels;
        Bitmap bitmap = makeBitmap(format, 16, 16, pixels);
        ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmap), 1);
        EXPECT_EQ(rlTexture_CacheHandle(bitmap.rasterHandle, 0), 0);
        EXPECT_EQ(rlTexture_SetStage(bitmap.rasterHandle, 0), 0);
        rlTexture_UncacheMipMap(&bitmap);
    }
}

TEST_F(RealTextures, BindingUploadsOnceAndCountsTheFrame)
{
    std::vector<uint8_t> pixels;
    Bitmap bitmap = makeBitmap(BITMAP_FORMAT_565, 32, 32, pixels);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmap), 1);
    const uint32_t handle = bitmap.rasterHandle;
    const uint32_t bytes = (32 * 32 + 16 * 16 + 8 * 8 + 4 * 4 + 2 * 2 + 1) * 2;
    EXPECT_EQ(rlTexture_Get(handle)->byteSize, bytes);
    RasterStats stats = {};
    rlMain_GetStats(&stats, 1);

    ASSERT_EQ(rlTexture_SetStage(handle, 0), 1);
    EXPECT_EQ(rlTexture_StageHandle(0), handle);
    EXPECT_TRUE(rlTexture_Get(handle)->flags & TEXTURE_UPLOADED);
    ASSERT_EQ(rlTexture_SetStage(handle, 0), 1);
    rlMain_GetStats(&stats, 0);
    EXPECT_EQ(stats.uploadBytes[0], bytes);
    EXPECT_EQ(stats.textureBytes[0], bytes);
    EXPECT_EQ(stats.frameBindBytes[0], bytes);

    // With one copy, stage 1 shares copy 0: no second upload, counted once in the frame.
    ASSERT_EQ(rlTexture_NumCopies(), 1);
    ASSERT_EQ(rlTexture_SetStage(handle, 1), 1);
    rlMain_GetStats(&stats, 0);
    EXPECT_EQ(stats.uploadBytes[0], bytes);
    EXPECT_EQ(stats.uploadBytes[1], 0u);
    EXPECT_EQ(stats.frameBindBytes[1], 0u);

    // A new frame counts the first binding again.
    rlMain_Swap(0);
    ASSERT_EQ(rlTexture_SetStage(0, 0), 1);
    EXPECT_EQ(rlTexture_StageHandle(0), 0u);
    ASSERT_EQ(rlTexture_SetStage(handle, 0), 1);
    rlMain_GetStats(&stats, 0);
    EXPECT_EQ(stats.frameBindBytes[0], 2 * bytes);

    // Drawing with the texture bound keeps the device working.
    EXPECT_EQ(rlMain_Clear(0xFF000000, 0), 1);
    EXPECT_EQ(rlMain_Swap(0), 3u);

    // Releasing unbinds it from every stage.
    rlTexture_UncacheMipMap(&bitmap);
    EXPECT_EQ(rlTexture_StageHandle(0), 0u);
    EXPECT_EQ(rlTexture_StageHandle(1), 0u);
}

TEST_F(RealTextures, RecacheUploadsChangedPixelsAndTextureBufferTakes565)
{
    std::vector<uint8_t> pixels;
    Bitmap bitmap = makeBitmap(BITMAP_FORMAT_565, 16, 16, pixels);
    bitmap.textureFlags = BITMAP_TEX_SINGLE_LEVEL;
    ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmap), 1);
    ASSERT_EQ(rlMain_SetTextureBuffer(&bitmap), 1);
    std::fill(pixels.begin(), pixels.end(), 0x5A);
    ASSERT_EQ(rlTexture_RecacheHandle(bitmap.rasterHandle), 1);
    expectLevels(formatCases[0], bitmap.rasterHandle, 0, pixels, 16, 16, 1);
}

TEST_F(RealTextures, LevelsAreMadeInTheFixedScratchBufferOrNotAtAll)
{
    // The work space holds one reduced level of 1 MB: textures up to that first reduction get
    // every level, larger ones a single level; none of them allocates while uploading.
    ASSERT_TRUE(fixtures::AllocationsCounted());
    settings.maxMips = 16;
    const FormatCase& argb = formatCases[4];
    const FormatCase& rgb565 = formatCases[0];
    const int widest = int(std::min<DWORD>(rlDevice_state.deviceCaps.dwMaxTextureWidth, 16384));
    const struct {
        const FormatCase& c;
        int width, height, levels;
    } sizes[] = {
        {argb, 1024, 1024, 11},    // first reduction exactly 1 MB
        {rgb565, 2048, 1024, 11},  // the same bytes at 16 bits
        {argb, widest, 4, 3},
        {argb, 2048, 2048, 1},     // 4 MB
        {rgb565, 2048, 2048, 1},   // 2 MB
    };
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height << " format " << size.c.format);
        std::vector<uint8_t> pixels;
        Bitmap bitmap = makeBitmap(size.c.format, size.width, size.height, pixels);
        ASSERT_EQ(rlTexture_PreCacheMipMap(&bitmap), 1);
        int cached, allocations;
        {
            fixtures::AllocationWatch watch;
            cached = rlTexture_CacheHandle(bitmap.rasterHandle, 0);
            allocations = (int)watch.Requests();
        }
        ASSERT_EQ(cached, 1);
        EXPECT_EQ(allocations, 0);
        expectLevels(size.c, bitmap.rasterHandle, 0, pixels, size.width, size.height, size.levels);
        rlTexture_UncacheMipMap(&bitmap);
    }
}
