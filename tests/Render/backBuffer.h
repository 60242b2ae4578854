// Reading the real raster library's back buffer in the device tests of the front-end and the UI.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "renderMain.h"
#include "renderSettings.h"

namespace rendertest {

// Pixel x of a locked row as 0xRRGGBB. A windowed back buffer has the desktop's format: its
// pitch tells the pixel size.
inline uint32_t RowPixel(const uint8_t* row, int x, int pitch)
{
    if (pitch >= renderSettings_current.screenWidth * 4) return ((const uint32_t*)row)[x] & 0xFFFFFF;
    const uint16_t p = ((const uint16_t*)row)[x];
    return ((p >> 11) & 0x1F) * 255 / 31 << 16 | ((p >> 5) & 0x3F) * 255 / 63 << 8 |
           (p & 0x1F) * 255 / 31;
}

// The back buffer pixel as 0xRRGGBB, row 0 at the top of the screen.
inline uint32_t BackBufferPixel(int x, int y)
{
    int pitch = 0;
    const uint8_t* pixels = (const uint8_t*)renderMain_rasterLib.funcMain_LockBuffer(&pitch);
    if (!pixels) {
        ADD_FAILURE() << "the back buffer cannot be locked";
        return 0;
    }
    const uint32_t rgb = RowPixel(pixels + (size_t)y * pitch, x, pitch);
    EXPECT_EQ(renderMain_rasterLib.funcMain_UnlockBuffer(), 0) << "the scene begins again after the unlock";
    return rgb;
}

// The whole back buffer under one lock: screenWidth x screenHeight pixels as 0xRRGGBB, rows
// from the top of the screen; empty when it cannot be locked.
inline std::vector<uint32_t> BackBufferFrame()
{
    int pitch = 0;
    const uint8_t* pixels = (const uint8_t*)renderMain_rasterLib.funcMain_LockBuffer(&pitch);
    if (!pixels) {
        ADD_FAILURE() << "the back buffer cannot be locked";
        return {};
    }
    const int width = renderSettings_current.screenWidth, height = renderSettings_current.screenHeight;
    std::vector<uint32_t> frame((size_t)width * height);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++)
            frame[(size_t)y * width + x] = RowPixel(pixels + (size_t)y * pitch, x, pitch);
    }
    EXPECT_EQ(renderMain_rasterLib.funcMain_UnlockBuffer(), 0) << "the scene begins again after the unlock";
    return frame;
}

}  // namespace rendertest
