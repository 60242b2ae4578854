// The viewer's sample UI script on the real raster library: the dialog drawn where its script
// puts it with its widget composed into its quad, read back from the back buffer, and the
// cursor driving hover over it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "Render/Direct/rasterTestWindow.h"
#include "Render/backBuffer.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "fixtureWix.h"
#include "render.h"
#include "renderMain.h"
#include "renderSettings.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiResource.h"

namespace {

class UiDialogDevice : public ::testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(fixtures::WriteSampleUi("."));
        render_SetWindow(window.hwnd);
        saved = g_renderSettings;
        strcpy(g_renderSettings.driver, "blitvane.dll");
        g_renderSettings.optionFlags |= RENDER_OPTION_WINDOWED;
        g_renderSettings.reqScreenWidth = 640;
        g_renderSettings.reqScreenHeight = 480;
        stdFile_Startup();
        ASSERT_NE(stdBitmap_Startup(), nullptr);
        ASSERT_EQ(renderMain_Startup(), 1);
        ASSERT_EQ(ui_Startup(), 1);
    }
    void TearDown() override
    {
        uiLayer_PopAll();
        uiDialog_FreeQueued();
        ui_Shutdown();
        renderMain_Shutdown();
        stdBitmap_Shutdown();
        stdFile_Shutdown();
        g_renderSettings = saved;
    }

    static uint32_t PixelAt(int x, int y) { return rendertest::BackBufferPixel(x, y); }

    fixtures::WorkFolder work{fixtures::TestFolderName()};
    RasterTestWindow window{true};
    renderSettings saved;
};

int Red(uint32_t rgb) { return (int)(rgb >> 16 & 0xFF); }
int Green(uint32_t rgb) { return (int)(rgb >> 8 & 0xFF); }
int Blue(uint32_t rgb) { return (int)(rgb & 0xFF); }

}  // namespace

TEST_F(UiDialogDevice, SampleScriptIsDrawnWhereItSaysAndFollowsTheCursor)
{
    uiDialog* dialog = qvui_LoadMenu("Ui\\qevview.wix");
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(dialog->name, "qevview");
    uiElement* logo = (uiElement*)uiResource_Find("qvlogo");
    ASSERT_NE(logo, nullptr);
    uiDialog_Open(dialog);

    uiCursor_SetPos(16 + 8 + 20, UI_HEIGHT - 1 - 16 - 8 - 5);  // over the widget
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), dialog);
    EXPECT_EQ(ui_GetHoveredElement(), logo);
    g_rasterLib.funcMain_Clear(0xFF000000, 0);
    EXPECT_EQ(ui_Draw(), 1);
    g_rasterLib.funcDraw_FlushCache(0);

    // The 128 x 64 quad spans columns 16 to 143. Find its rows on the screen from column 100.
    int first = -1, last = -1;
    for (int y = 0; y < 480; y++) {
        if (PixelAt(100, y) == 0) continue;
        if (first < 0) first = y;
        last = y;
    }
    ASSERT_GE(first, 0);
    EXPECT_EQ(last - first + 1, 64);
    EXPECT_EQ(PixelAt(15, first + 30), 0u);
    EXPECT_GT(Green(PixelAt(16, first + 30)), 0xB0);  // the light border
    const uint32_t field = PixelAt(100, first + 30);
    EXPECT_GT(Blue(field), Red(field) + 0x20) << std::hex << field;
    EXPECT_EQ(PixelAt(144, first + 30), 0u);
    // The widget, 8 units below the quad's top edge and 8 right of its left edge, is composed
    // into the quad upright: it shows 8 rows below the panel's upper edge on the screen.
    for (int y = first + 8; y < first + 24; y++) {
        const uint32_t widget = PixelAt(40, y);
        EXPECT_GT(Red(widget), 0x80) << y << " " << std::hex << widget;
        EXPECT_LT(Blue(widget), 0x40) << y << " " << std::hex << widget;
    }
    const uint32_t under = PixelAt(40, first + 24);
    EXPECT_GT(Blue(under), Red(under)) << std::hex << under;
    const uint32_t over = PixelAt(40, first + 7);
    EXPECT_GT(Blue(over), Red(over)) << std::hex << over;

    uiCursor_SetPos(400, 100);
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), nullptr);
    EXPECT_EQ(ui_GetHoveredElement(), nullptr);
    EXPECT_EQ(ui_GetLastHoveredElement(), logo);
    if (const char* wait = getenv("UI_SHOT_WAIT")) {
        SetWindowPos(window.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        const DWORD end = GetTickCount() + atoi(wait) * 1000;
        while (GetTickCount() < end) {
            g_rasterLib.funcMain_Clear(0xFF000000, 0);
            ui_Update();
            ui_Draw();
            g_rasterLib.funcMain_Swap(0);
            RasterTestWindow::pumpMessages();
            Sleep(30);
        }
    }
    uiDialog_Free(dialog);
}
