// Reading the real device's back buffer through the library's lock, for the tests that draw.
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include "rlDevice.h"
#include "rlMain.h"

// The back buffer pixel at (x, y) as 0xRRGGBB, 16-bit pixels widened to 8 bits a channel.
inline uint32_t rasterTest_BackPixel(int x, int y)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    rlDevice_state.pBackBuffer->GetSurfaceDesc(&desc);
    int pitch = 0;
    auto* pixels = static_cast<uint8_t*>(rlMain_LockBuffer(&pitch));
    if (!pixels) {
        ADD_FAILURE() << "the back buffer cannot be locked";
        return 0;
    }
    const uint8_t* row = pixels + y * pitch;
    uint32_t rgb;
    if (desc.ddpfPixelFormat.dwRGBBitCount == 32) {
        rgb = reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    } else {
        const uint16_t p = reinterpret_cast<const uint16_t*>(row)[x];
        rgb = ((p >> 11) & 0x1F) * 255 / 31 << 16 | ((p >> 5) & 0x3F) * 255 / 63 << 8 | (p & 0x1F) * 255 / 31;
    }
    EXPECT_EQ(rlMain_UnlockBuffer(), 0);
    return rgb;
}

// Two colours within 10 of each other in every channel (16-bit targets round).
inline bool rasterTest_CloseRgb(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 10) return false;
    return true;
}
