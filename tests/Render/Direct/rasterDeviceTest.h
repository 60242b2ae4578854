// The one fixture of the raster library's tests on the real device that wine gives on the
// virtual display: a visible 640 x 480 window, the library started on it and the device opened
// windowed with rasterTestSettings. TearDown lets go of what a case may have handed the library
// (the frame's lights, the current model and camera) and closes the device, however the case
// ended.
#pragma once
#include <gtest/gtest.h>

#include <functional>

#include "fixtureScreenshot.h"
#include "rasterTestWindow.h"
#include "rlCamera.h"
#include "rlLight.h"
#include "rlMain.h"

class RasterDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        info = rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(true);
        ASSERT_EQ(rlMain_Open(&settings), 1);
    }
    void TearDown() override
    {
        rlLight_ClearLights();
        rlLight_NewModel(nullptr);
        rlCamera_pCurrent = nullptr;
        rlMain_Close();
    }

    // For a screenshot by hand (fixtureScreenshot.h): draw is called before every present.
    void HoldForScreenshot(const std::function<void()>& draw)
    {
        fixtures::HoldForScreenshot(window.hwnd, [&] {
            draw();
            rlMain_Swap(0);
        });
    }

    RasterTestWindow window{true};
    renderSettings settings = {};
    RasterInfo* info = nullptr;
};
