// The UI on the real raster library: text drawn in a fixture font into a texture and drawn
// as a dialog draws its quads, and the cursor moved by the mouse within its limits, both read
// back from the back buffer.
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <string>

#include "fixtureTga.h"
#include "fixtureYub.h"
#include "renderBitmap.h"
#include "renderMain.h"
#include "renderModes.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDeviceSupport.h"
#include "uiFont.h"

using uidevice::Frame;

namespace {

// The cursor picture: red in the upper half of the image, green in the lower half.
uint32_t RedOverGreen(int, int y)
{
    return y < 8 ? 0xFFFF0000u : 0xFF00FF00u;
}

class UiDevice : public uidevice::UiDeviceTest {
public:
    void WriteFiles() override
    {
        ASSERT_TRUE(fixtures::MakeFolders("Ui\\Materials"));
        fixtures::YubFont font = fixtures::MakeYubFromSystemFont("Arial", 15);
        ASSERT_FALSE(font.bitmap.empty());
        ASSERT_TRUE(fixtures::WriteYub("Ui\\" UIFONT_DEFAULT_NAME, font));
        ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\cursor.tga",
                                       fixtures::MakeTga(16, 16, 32, true, RedOverGreen)));
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

    void TearDown() override
    {
        if (text) renderBitmap_Release(text);
        if (sentence) renderBitmap_Release(sentence);
        UiDeviceTest::TearDown();
    }

    Bitmap* text = nullptr;
    Bitmap* sentence = nullptr;
};

}  // namespace

TEST_F(UiDevice, TextInAFixtureFontIsReadBackUpright)
{
    ASSERT_NE(uiFont_GetDefault(), nullptr);
    const uint32_t format = (renderSettings_current.optionFlags & RENDER_OPTION_TRUECOLOR)
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

    auto draw = [](void* context) {
        UiDevice* test = (UiDevice*)context;
        Clear();
        DrawAsDialogQuad(test->text, 100, 50);
        DrawAsDialogQuad(test->sentence, 200, 300);
    };
    draw(this);
    const Frame frame = ReadFrame();
    ASSERT_FALSE(frame.rgb.empty());
    KeepFrame(frame, "ui_text");
    // The quad covers screen columns 100 to 163 and rows 50 to 81, as a dialog at (100, 50)
    // places it: rows count downwards like the dialog's y.
    int top = -1, bottom = -1, widest = 0, widestRow = -1, lit = 0;
    for (int y = 40; y < 90; y++) {
        int run = 0;
        for (int x = 95; x < 170; x++) {
            if (!Lit(frame.At(x, y))) continue;
            run++;
            EXPECT_TRUE(x >= 100 && x < 164 && y >= 50 && y < 82) << x << "," << y;
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
    HoldForScreenshot([this, draw] { draw(this); });
}

TEST_F(UiDevice, CursorFollowsTheMouseWithinItsLimitsOnTheScreen)
{
    // Freed also when a check stops the case; the UI's shutdown then forgets it as current.
    const std::unique_ptr<uiCursor, void (*)(uiCursor*)> owner(
        uiCursor_Load("cursor", 0, 0, UICURSOR_HOT_BOTTOM_LEFT), uiCursor_Free);
    uiCursor* cursor = owner.get();
    ASSERT_NE(cursor, nullptr);
    uiCursor_Set(cursor);
    struct Step {
        float mouseDx, mouseDy;  // the mouse's y grows towards the user
        int x, y;                // the hot spot in UI space (y upwards), after the limits
        int row;                 // the hot spot's screen row
    };
    // From (320, 240), row 239: the mouse moving towards the user takes the cursor down the
    // screen; the limits stop it at the screen's edges.
    const Step steps[] = {{-20, 40, 300, 200, 279},
                          {1000, -1000, 639, 479, 0},
                          {-5000, 5000, 0, 0, 479},
                          {50, -100, 50, 100, 379}};
    uiCursor_SetPos(320, 240);
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.x) + "," + std::to_string(s.y));
        uiCursor_MoveByMouse(s.mouseDx, s.mouseDy);
        ASSERT_EQ(uiCursor_GetX(), (float)s.x);
        ASSERT_EQ(uiCursor_GetY(), (float)s.y);
        Clear(0xFF0000FF);
        EXPECT_EQ(uiCursor_Draw(), 0);  // the device's success
        const Frame frame = ReadFrame();
        ASSERT_FALSE(frame.rgb.empty());
        // The picture covers 16 x 16 pixels right of the hot spot and up the screen from its
        // row; the image's top (red) shows above its bottom (green): upright. Round it the
        // clear colour.
        const int x = std::min(s.x + 8, 639);
        if (s.row >= 12) {
            EXPECT_EQ(frame.At(x, s.row - 12) & 0xF0F0F0, 0xF00000u);
        }
        EXPECT_EQ(frame.At(x, std::max(s.row - 4, 0)) & 0xF0F0F0, 0x00F000u);
        EXPECT_EQ(frame.At(x, s.row) & 0xF0F0F0, 0x00F000u);
        if (s.x >= 1) {
            EXPECT_EQ(frame.At(s.x - 1, s.row) & 0xF0F0F0, 0x0000F0u);
        }
        if (s.row + 1 < 480) {
            EXPECT_EQ(frame.At(x, s.row + 1) & 0xF0F0F0, 0x0000F0u);
        }
        if (s.row >= 16) {
            EXPECT_EQ(frame.At(x, s.row - 16) & 0xF0F0F0, 0x0000F0u);
        }
        if (s.row == 279) KeepFrame(frame, "ui_cursor");
    }
}
