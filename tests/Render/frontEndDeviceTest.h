// The one fixture of the tests that run the render front-end on the real raster library: a work
// folder of the case, a visible 640 x 480 window kept by the front-end, the render settings
// asking for blitvane.dll windowed at 640 x 480, the file layer started and the front-end
// started (the library bound, the device opened on the window). TearDown shuts down whatever
// started and gives the render settings back what they held, however the case ended.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "Render/Direct/rasterTestWindow.h"
#include "fixtureFiles.h"
#include "fixtureScreenshot.h"
#include "fixtureTestFolder.h"
#include "render.h"
#include "renderMain.h"
#include "renderSettings.h"
#include "stdFile.h"

namespace rendertest {

class FrontEndDeviceTest : public ::testing::Test {
protected:
    // The window's place on the display: cases of programs that run side by side keep apart.
    explicit FrontEndDeviceTest(int x = 40, int y = 40)
        : work(fixtures::TestFolderName()), window(true, x, y), saved_(renderSettings_current)
    {
    }

    // Writes the files the case reads into its work folder, before anything starts.
    virtual void WriteFiles() {}

    void SetUp() override
    {
        WriteFiles();
        if (HasFatalFailure()) return;
        render_SetWindow(window.hwnd);
        strcpy(renderSettings_current.driver, "blitvane.dll");
        renderSettings_current.optionFlags |= RENDER_OPTION_WINDOWED;
        renderSettings_current.reqScreenWidth = 640;
        renderSettings_current.reqScreenHeight = 480;
        stdFile_Startup();
        ASSERT_EQ(renderMain_Startup(), 1);
    }
    void TearDown() override
    {
        if (renderMain_bStartup) renderMain_Shutdown();
        stdFile_Shutdown();
        render_SetWindow(nullptr);
        renderSettings_current = saved_;
    }

    // For a screenshot by hand (fixtureScreenshot.h): draw is called before every frame's end.
    void HoldForScreenshot(const std::function<void()>& draw)
    {
        fixtures::HoldForScreenshot(window.hwnd, [&] {
            draw();
            renderMain_EndFrame(0);
        });
    }

    fixtures::WorkFolder work;
    RasterTestWindow window;

private:
    renderSettings saved_;
};

}  // namespace rendertest
