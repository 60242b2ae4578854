// The render front-end on the real raster library: blitvane.dll bound by the name in the
// render settings, a windowed device on the virtual display, clears read back through the
// back-buffer lock, presents, and textures from TGA files uploaded with their mip levels.
// KORBALT_SHOT_HOLD keeps the first cleared frame on the screen, for a screenshot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Render/backBuffer.h"
#include "Render/frontEndDeviceTest.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "render.h"
#include "renderBitmap.h"
#include "renderMain.h"
#include "renderSettings.h"
#include "stdFile.h"

using fixtures::WorkFolder;

namespace {

// Away from the middle of the display, where the raster library's own tests read the screen.
class RealRaster : public rendertest::FrontEndDeviceTest {
protected:
    RealRaster() : FrontEndDeviceTest(620, 500) {}
    void SetUp() override
    {
        // The render settings name the library before anyone writes a name into them.
        ASSERT_STREQ(renderSettings_current.driver, "blitvane.dll");
        FrontEndDeviceTest::SetUp();
    }

    static uint32_t BackBufferPixel(int x, int y) { return rendertest::BackBufferPixel(x, y); }
};

bool CloseTo(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 8) return false;
    }
    return true;
}

uint32_t Pattern(int x, int y)
{
    return 0x80000000u | (uint32_t)(x * 3 & 0xFF) << 16 | (uint32_t)(y * 5 & 0xFF) << 8 | 0x40;
}

// Bytes of a texture's levels: the top level and its halvings, at most maxMips of them.
uint32_t MipBytes(const Bitmap* b, uint32_t maxMips)
{
    uint32_t bytes = 0, levels = (b->textureFlags & BITMAP_TEX_SINGLE_LEVEL) ? 1 : maxMips;
    for (uint32_t w = b->width, h = b->height, i = 0; w && h && i < levels; w /= 2, h /= 2, i++)
        bytes += w * h * bitmapFormat_BytesPerPixel(b->format);
    return bytes;
}

}  // namespace

TEST_F(RealRaster, OpensAWindowedDeviceThatClearsAndPresents)
{
    EXPECT_TRUE(renderMain_IsBound());
    EXPECT_EQ(renderMain_rasterLib.version, 14u);
    EXPECT_NE(GetModuleHandleA("blitvane.dll"), nullptr);
    ASSERT_NE(renderMain_GetRasterInfo(), nullptr);
    EXPECT_GE(renderMain_GetRasterInfo()->numDevices, 1);
    EXPECT_EQ(renderSettings_current.screenWidth, 640);
    EXPECT_EQ(renderSettings_current.screenHeight, 480);

    ASSERT_EQ(renderMain_rasterLib.funcMain_Clear(0xFF3366CC, 0), 1);
    EXPECT_PRED2(CloseTo, BackBufferPixel(320, 240), 0x3366CCu);
    ASSERT_EQ(renderMain_rasterLib.funcMain_Clear(0xFF00FF00, 1), 1);   // keeps the target
    EXPECT_PRED2(CloseTo, BackBufferPixel(10, 470), 0x3366CCu);

    EXPECT_EQ(renderMain_EndFrame(0), 1);
    EXPECT_EQ(renderMain_GetFrameStamp(), 2u);
    HoldForScreenshot([] { renderMain_rasterLib.funcMain_Clear(0xFF3366CC, 0); });
    const uint32_t stamp = renderMain_GetFrameStamp();
    ASSERT_EQ(renderMain_rasterLib.funcMain_Clear(0xFF000000, 0), 1);
    EXPECT_EQ(renderMain_EndFrame(0), 1);
    EXPECT_EQ(renderMain_GetFrameStamp(), stamp + 1);
    EXPECT_PRED2(CloseTo, BackBufferPixel(320, 240), 0x000000u);
}

TEST_F(RealRaster, ShutsDownAndStartsAgain)
{
    ASSERT_EQ(renderMain_Shutdown(), 1);
    EXPECT_EQ(renderMain_bStartup, 0u);
    ASSERT_EQ(renderMain_Startup(), 1);
    ASSERT_EQ(renderMain_rasterLib.funcMain_Clear(0xFFCC3300, 0), 1);
    EXPECT_PRED2(CloseTo, BackBufferPixel(100, 100), 0xCC3300u);
    EXPECT_EQ(renderMain_EndFrame(0), 1);
}

TEST_F(RealRaster, UploadsTexturesFromTgaFilesWithTheirMipLevels)
{
    struct Case {
        const char* name;
        uint16_t width, height;
        uint8_t depth;
        uint8_t loadFlags;
        bool trueColour;
        uint32_t format;
        uint16_t storedWidth, storedHeight;
    };
    const Case cases[] = {
        {"wall.tga", 512, 128, 24, 0, false, BITMAP_FORMAT_565, 256, 64},
        {"glass.tga", 64, 64, 32, 0, false, BITMAP_FORMAT_1555, 64, 64},
        {"leaf.tga", 32, 16, 32, RENDERBITMAP_LOAD_FULL_ALPHA, false, BITMAP_FORMAT_4444, 32, 16},
        {"icon.tga", 40, 24, 32, RENDERBITMAP_LOAD_SINGLE_LEVEL, false, BITMAP_FORMAT_1555, 40, 24},
        {"sky.tga", 1024, 1024, 24, 0, true, BITMAP_FORMAT_X888, 256, 256},
        {"smoke.tga", 128, 128, 32, RENDERBITMAP_LOAD_FULL_ALPHA, true, BITMAP_FORMAT_8888, 128, 128},
    };
    const bool texture32 = (renderMain_GetRasterInfo()->capsFlags & RASTER_CAPS_TEXTURE32) != 0;
    int uploaded = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.trueColour && !texture32) continue;
        renderSettings_current.optionFlags = (renderSettings_current.optionFlags & ~RENDER_OPTION_TRUECOLOR) |
                                       (c.trueColour ? RENDER_OPTION_TRUECOLOR : 0u);
        ASSERT_TRUE(fixtures::WriteTga(c.name, fixtures::MakeTga(c.width, c.height, c.depth, false, Pattern)));
        RasterStats before = {};
        renderMain_rasterLib.funcMain_GetStats(&before, 0);

        Bitmap* b = renderBitmap_Load(c.name, c.loadFlags);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->format, c.format);
        EXPECT_EQ(b->width, c.storedWidth);
        EXPECT_EQ(b->height, c.storedHeight);
        ASSERT_NE(b->rasterHandle, 0u);
        EXPECT_EQ(renderMain_rasterLib.funcTexture_CacheHandle(b->rasterHandle, 0), 1);

        RasterStats after = {};
        renderMain_rasterLib.funcMain_GetStats(&after, 0);
        uint32_t bytes = MipBytes(b, renderSettings_current.maxMips);
        EXPECT_EQ(after.textureBytes[0] - before.textureBytes[0], bytes);
        EXPECT_EQ(after.uploadBytes[0] - before.uploadBytes[0], bytes);
        renderBitmap_Release(b);
        uploaded++;
    }
    EXPECT_GE(uploaded, 4);
    if (!texture32) GTEST_LOG_(INFO) << "no 32-bit texture format: true-colour uploads skipped";
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
    EXPECT_EQ(renderMain_EndFrame(0), 1);
}
