// A UI test case on the real raster library: the front-end on the real device
// (rendertest::FrontEndDeviceTest), the bitmap cache and the UI started; what the case drew is
// read back from the back buffer, and can be kept as an image for a look by eye.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Render/frontEndDeviceTest.h"

namespace uidevice {

// A frame read back from the device: 0xRRGGBB pixels, row 0 at the top of the screen.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;

    uint32_t At(int x, int y) const { return rgb[(size_t)y * width + x]; }
};

int Red(uint32_t rgb);
int Green(uint32_t rgb);
int Blue(uint32_t rgb);

class UiDeviceTest : public rendertest::FrontEndDeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Clears the back buffer to opaque black.
    static void Clear(uint32_t colour = 0xFF000000);
    static Frame ReadFrame();
    // With KORBALT_SHOT_DIR set (a folder wine can write), writes the frame there as <name>.tga.
    static void KeepFrame(const Frame& frame, const std::string& name);
};

}  // namespace uidevice
