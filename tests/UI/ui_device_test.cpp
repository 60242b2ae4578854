// The UI on the real raster library: text drawn in a fixture font into a texture and drawn
// as a dialog draws its quads, and the cursor moved within its limits, both read back from the
// back buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Render/Direct/rasterTestWindow.h"
#include "Render/backBuffer.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "fixtureYub.h"
#include "render.h"
#include "renderBitmap.h"
#include "renderMain.h"
#include "renderModes.h"
#include "renderSettings.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiFont.h"

namespace {

// The cursor picture: red in the upper half of the image, green in the lower half.
uint32_t RedOverGreen(int, int y)
{
    return y < 8 ? 0xFFFF0000u : 0xFF00FF00u;
}

class UiDevice : public ::testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(fixtures::MakeFolders("Ui\\Materials"));
        fixtures::YubFont font = fixtures::MakeYubFromSystemFont("Arial", 15);
        ASSERT_FALSE(font.bitmap.empty());
        ASSERT_TRUE(fixtures::WriteYub("Ui\\" UIFONT_DEFAULT_NAME, font));
        ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\cursor.tga",
                                       fixtures::MakeTga(16, 16, 32, true, RedOverGreen)));
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
        ASSERT_NE(uiFont_GetDefault(), nullptr);
    }
    void TearDown() override
    {
        ui_Shutdown();
        renderMain_Shutdown();
        stdBitmap_Shutdown();
        stdFile_Shutdown();
        g_renderSettings = saved;
    }

    static uint32_t PixelAt(int x, int y) { return rendertest::BackBufferPixel(x, y); }

    // Keeps presenting for UI_SHOT_WAIT seconds, for a screenshot by hand.
    void HoldForScreenshot(void (*draw)(UiDevice*))
    {
        const char* wait = getenv("UI_SHOT_WAIT");
        if (!wait) return;
        SetWindowPos(window.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        const DWORD end = GetTickCount() + atoi(wait) * 1000;
        while (GetTickCount() < end) {
            draw(this);
            g_rasterLib.funcMain_Swap(0);
            RasterTestWindow::pumpMessages();
            Sleep(30);
        }
    }

    // Draws a texture as a dialog at (dialogX, dialogY) draws a quad of it at (0, 0): corners in
    // the UI's y-up space, the first two taking texture row 0.
    static void DrawAsDialogQuad(const Bitmap* texture, int dialogX, int dialogY)
    {
        const float left = dialogX - 0.5f, right = left + texture->width;
        const float top = 480 - dialogY - 0.5f, bottom = top - texture->height;
        const float corners[12] = {left, top, 0, right, top, 0, right, bottom, 0, left, bottom, 0};
        const float uvs[8] = {0, 0, 1, 0, 1, 1, 0, 1};
        ui_DrawQuad(corners, uvs, 4, texture, RENDERMODE_SCREENPOLY, 255.0f);
    }

    static bool Lit(uint32_t rgb) { return (rgb & 0xFF) > 0x80 && (rgb >> 16) > 0x80; }

    fixtures::WorkFolder work{fixtures::TestFolderName()};
    RasterTestWindow window{true};
    renderSettings saved;
    Bitmap* text = nullptr;
    Bitmap* sentence = nullptr;
};

}  // namespace

TEST_F(UiDevice, TextInAFixtureFontIsReadBackUpright)
{
    const uint32_t format = (g_renderSettings.optionFlags & RENDER_OPTION_TRUECOLOR)
                                ? BITMAP_FORMAT_8888 : BITMAP_FORMAT_1555;
    text = renderBitmap_CreateBlank(64, 32, format);
    ASSERT_NE(text, nullptr);
    stdFont_SetCurrent(uiFont_GetDefault());
    if (format == BITMAP_FORMAT_8888) stdFont_Draw32(text, 8, 8, "T", 0, 255, 255, 255);
    else stdFont_Draw16(text, 8, 8, "T", 0, 255, 255, 255);
    ASSERT_EQ(renderBitmap_Cache(text), 1);
    ASSERT_NE(text->rasterHandle, 0u);
    // A line of text elsewhere on the screen, for the eye.
    sentence = renderBitmap_CreateBlank(256, 32, format);
    ASSERT_NE(sentence, nullptr);
    const char* line = "Korbalt UI: defaultFont15 gyj";
    if (format == BITMAP_FORMAT_8888) stdFont_Draw32(sentence, 4, 8, line, 0, 255, 220, 0);
    else stdFont_Draw16(sentence, 4, 8, line, 0, 255, 220, 0);
    ASSERT_EQ(renderBitmap_Cache(sentence), 1);

    auto draw = [](UiDevice* test) {
        g_rasterLib.funcMain_Clear(0xFF000000, 0);
        DrawAsDialogQuad(test->text, 100, 50);
        DrawAsDialogQuad(test->sentence, 200, 300);
    };
    draw(this);
    // The quad covers screen columns 100 to 163 and rows 398 to 429.
    int top = -1, bottom = -1, widest = 0, widestRow = -1, lit = 0;
    for (int y = 390; y < 440; y++) {
        int run = 0;
        for (int x = 95; x < 170; x++) {
            if (!Lit(PixelAt(x, y))) continue;
            run++;
            EXPECT_TRUE(x >= 100 && x < 164 && y >= 398 && y < 430) << x << "," << y;
        }
        if (!run) continue;
        lit += run;
        if (top < 0) top = y;
        bottom = y;
        if (run > widest) widest = run, widestRow = y;
    }
    ASSERT_GT(lit, 10);
    EXPECT_GT(bottom - top, 5);
    // The bar of the "T" is its widest row and lies at its top on the screen: upright.
    EXPECT_LE(widestRow, top + 1);
    HoldForScreenshot(draw);
    renderBitmap_Release(text);
    renderBitmap_Release(sentence);
}

TEST_F(UiDevice, CursorMovesWithinItsLimitsOnTheScreen)
{
    uiCursor* cursor = uiCursor_Load("cursor", 0, 0, UICURSOR_HOT_BOTTOM_LEFT);
    ASSERT_NE(cursor, nullptr);
    uiCursor_Set(cursor);
    struct Step {
        float dx, dy;
        int x, y;  // where the hot spot ends, after the limits
    };
    const Step steps[] = {{-20, -40, 300, 200}, {1000, 1000, 639, 479}, {-5000, -5000, 0, 0}};
    uiCursor_SetPos(320, 240);
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.x) + "," + std::to_string(s.y));
        uiCursor_Move(s.dx, s.dy);
        ASSERT_EQ(uiCursor_GetX(), (float)s.x);
        ASSERT_EQ(uiCursor_GetY(), (float)s.y);
        g_rasterLib.funcMain_Clear(0xFF0000FF, 0);
        EXPECT_EQ(uiCursor_Draw(), 0);  // the device's success
        // The picture covers 16 x 16 pixels from the hot spot towards the larger screen rows;
        // its image top (red) shows at the smaller rows: upright. Outside it the clear colour.
        const int x = std::min(s.x + 8, 639);
        EXPECT_EQ(PixelAt(x, std::min(s.y + 4, 479)) & 0xF0F0F0, 0xF00000u);
        if (s.y + 12 < 480) {
            EXPECT_EQ(PixelAt(x, s.y + 12) & 0xF0F0F0, 0x00F000u);
        }
        if (s.x >= 1) {
            EXPECT_EQ(PixelAt(s.x - 1, std::min(s.y + 4, 479)) & 0xF0F0F0, 0x0000F0u);
        }
        if (s.y >= 1) {
            EXPECT_EQ(PixelAt(x, s.y - 1) & 0xF0F0F0, 0x0000F0u);
        }
    }
    uiCursor_Free(cursor);
}
