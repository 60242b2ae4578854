// A UI test case on the real raster library: a visible 640 x 480 window, the device opened
// windowed on it, the file layer, the bitmap cache and the UI started; what the case drew is
// read back from the back buffer, and can be kept as an image for a look by eye.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Render/Direct/rasterTestWindow.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "renderSettings.h"

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

class UiDeviceTest : public ::testing::Test {
protected:
    // Writes the files the case reads, in the case's work folder, before anything starts.
    virtual void WriteFiles() {}
    void SetUp() override;
    void TearDown() override;

    // Clears the back buffer to opaque black.
    static void Clear(uint32_t colour = 0xFF000000);
    static Frame ReadFrame();
    // With UI_SHOT_DIR set (a folder wine can write), writes the frame there as <name>.tga.
    static void KeepFrame(const Frame& frame, const std::string& name);
    // With UI_SHOT_WAIT set, keeps drawing and presenting that many seconds, for a screenshot
    // of the screen by hand.
    void HoldForScreenshot(void (*draw)(void* context), void* context);

    fixtures::WorkFolder work{fixtures::TestFolderName()};
    RasterTestWindow window{true};
    renderSettings saved = {};
};

}  // namespace uidevice
