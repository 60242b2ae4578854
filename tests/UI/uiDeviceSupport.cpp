#include "uiDeviceSupport.h"

#include <cstdlib>
#include <cstring>

#include "Render/backBuffer.h"
#include "fixtureTga.h"
#include "render.h"
#include "renderMain.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiDialog.h"

namespace uidevice {

int Red(uint32_t rgb) { return (int)(rgb >> 16 & 0xFF); }
int Green(uint32_t rgb) { return (int)(rgb >> 8 & 0xFF); }
int Blue(uint32_t rgb) { return (int)(rgb & 0xFF); }

void UiDeviceTest::SetUp()
{
    FrontEndDeviceTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_NE(stdBitmap_Startup(), nullptr);
    ASSERT_EQ(ui_Startup(), 1);
}

void UiDeviceTest::TearDown()
{
    ui_Shutdown();
    stdBitmap_Shutdown();
    FrontEndDeviceTest::TearDown();
}

void UiDeviceTest::Clear(uint32_t colour)
{
    renderMain_rasterLib.funcMain_Clear(colour, 0);
}

Frame UiDeviceTest::ReadFrame()
{
    renderMain_rasterLib.funcDraw_FlushCache(0);
    Frame frame;
    frame.rgb = rendertest::BackBufferFrame();
    if (!frame.rgb.empty()) {
        frame.width = renderSettings_current.screenWidth;
        frame.height = renderSettings_current.screenHeight;
    }
    return frame;
}

void UiDeviceTest::KeepFrame(const Frame& frame, const std::string& name)
{
    const char* folder = getenv("KORBALT_SHOT_DIR");
    if (!folder || frame.rgb.empty()) return;
    fixtures::TgaImage image;
    image.width = (uint16_t)frame.width;
    image.height = (uint16_t)frame.height;
    image.depth = 32;
    image.topOrigin = true;
    for (uint32_t rgb : frame.rgb) {
        image.pixels.push_back((uint8_t)Blue(rgb));
        image.pixels.push_back((uint8_t)Green(rgb));
        image.pixels.push_back((uint8_t)Red(rgb));
        image.pixels.push_back(0xFF);
    }
    EXPECT_TRUE(fixtures::WriteTga(std::string(folder) + "\\" + name + ".tga", image));
}

}  // namespace uidevice
