// Reading the real raster library's back buffer in the UI's device tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "renderMain.h"

namespace uitest {

// The back buffer pixel as 0xRRGGBB, row 0 at the top of the screen.
inline uint32_t BackBufferPixel(int x, int y)
{
    int pitch = 0;
    const uint8_t* pixels = (const uint8_t*)g_rasterLib.funcMain_LockBuffer(&pitch);
    if (!pixels) {
        ADD_FAILURE() << "the back buffer cannot be locked";
        return 0;
    }
    const uint8_t* row = pixels + y * pitch;
    uint32_t rgb;
    // A windowed back buffer has the desktop's format: its pitch tells the pixel size.
    if (pitch >= 640 * 4) {
        rgb = ((const uint32_t*)row)[x] & 0xFFFFFF;
    } else {
        const uint16_t p = ((const uint16_t*)row)[x];
        rgb = ((p >> 11) & 0x1F) * 255 / 31 << 16 | ((p >> 5) & 0x3F) * 255 / 63 << 8 |
              (p & 0x1F) * 255 / 31;
    }
    g_rasterLib.funcMain_UnlockBuffer();
    return rgb;
}

}  // namespace uitest
