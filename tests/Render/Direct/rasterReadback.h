// Reading the real device's back buffer through the library's lock, for the tests that draw.
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>
#include "rlDevice.h"
#include "rlMain.h"

// Pixel x of a locked row as 0xRRGGBB, 16-bit pixels widened to 8 bits a channel.
inline uint32_t rasterTest_RowPixel(const uint8_t* row, int x, DWORD bitCount)
{
    if (bitCount == 32) return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    const uint16_t p = reinterpret_cast<const uint16_t*>(row)[x];
    return ((p >> 11) & 0x1F) * 255 / 31 << 16 | ((p >> 5) & 0x3F) * 255 / 63 << 8 | (p & 0x1F) * 255 / 31;
}

// The pixels of the back buffer's rectangle (x, y, width, height), row after row, as
// rasterTest_RowPixel gives them.
inline std::vector<uint32_t> rasterTest_BackRect(int x, int y, int width, int height)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    rlDevice_state.pBackBuffer->GetSurfaceDesc(&desc);
    int pitch = 0;
    auto* pixels = static_cast<uint8_t*>(rlMain_LockBuffer(&pitch));
    if (!pixels) {
        ADD_FAILURE() << "the back buffer cannot be locked";
        return {};
    }
    std::vector<uint32_t> out;
    out.reserve(size_t(width) * height);
    for (int row = y; row < y + height; row++)
        for (int column = x; column < x + width; column++)
            out.push_back(rasterTest_RowPixel(pixels + row * pitch, column, desc.ddpfPixelFormat.dwRGBBitCount));
    EXPECT_EQ(rlMain_UnlockBuffer(), 0);
    return out;
}

// The back buffer pixel at (x, y).
inline uint32_t rasterTest_BackPixel(int x, int y)
{
    const std::vector<uint32_t> pixel = rasterTest_BackRect(x, y, 1, 1);
    return pixel.empty() ? 0 : pixel[0];
}

// Two colours within 10 of each other in every channel (16-bit targets round).
inline bool rasterTest_CloseRgb(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 10) return false;
    return true;
}
