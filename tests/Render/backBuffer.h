// Reading the real raster library's back buffer in the device tests of the front-end and the UI.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "renderMain.h"
#include "renderSettings.h"

namespace rendertest {

// The back buffer pixel as 0xRRGGBB, row 0 at the top of the screen.
inline uint32_t BackBufferPixel(int x, int y)
{
    int pitch = 0;
    const uint8_t* pixels = (const uint8_t*)g_rasterLib.funcMain_LockBuffer(&pitch);
    if (!pixels) {
        ADD_FAILURE() << "the back buffer cannot be locked";
        return 0;
    }
    const uint8_t* row = pixels + (size_t)y * pitch;
    uint32_t rgb;
    // A windowed back buffer has the desktop's format: its pitch tells the pixel size.
    if (pitch >= g_renderSettings.screenWidth * 4) {
        rgb = ((const uint32_t*)row)[x] & 0xFFFFFF;
    } else {
        const uint16_t p = ((const uint16_t*)row)[x];
        rgb = ((p >> 11) & 0x1F) * 255 / 31 << 16 | ((p >> 5) & 0x3F) * 255 / 63 << 8 |
              (p & 0x1F) * 255 / 31;
    }
    EXPECT_EQ(g_rasterLib.funcMain_UnlockBuffer(), 0) << "the scene begins again after the unlock";
    return rgb;
}

}  // namespace rendertest
