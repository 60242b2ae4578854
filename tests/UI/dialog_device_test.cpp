// The viewer's sample UI script on the real raster library: the dialog drawn where its script
// puts it, with its widget composed into its quad and a line of text upright in it, read back
// from the back buffer, and the cursor driving hover over it.
#include <gtest/gtest.h>

#include <cstring>

#include "fixtureWix.h"
#include "fixtureYub.h"
#include "renderMain.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDeviceSupport.h"
#include "uiDialog.h"
#include "uiResource.h"
#include "uiTextRun.h"
#include "uiTextbox.h"

using uidevice::Blue;
using uidevice::Frame;
using uidevice::Green;
using uidevice::Red;

namespace {

// A "T" that cannot be read upside down: two full rows on top of a one-column stem.
const int kGlyphWidth = 9, kGlyphHeight = 12;
uint8_t TeeCoverage(int, int c, int r)
{
    return (r >= kGlyphHeight - 2 || c == kGlyphWidth / 2) ? 255 : 0;
}

class UiDialogDevice : public uidevice::UiDeviceTest {
public:
    void WriteFiles() override
    {
        ASSERT_TRUE(fixtures::WriteSampleUi("."));
        ASSERT_TRUE(fixtures::WriteYub(
            "Ui\\tee.yub", fixtures::MakeYub(kGlyphWidth, kGlyphHeight, kGlyphWidth + 3, {'T'},
                                            TeeCoverage, kGlyphHeight + 2)));
    }
    void TearDown() override
    {
        uiLayer_PopAll();
        uiDialog_FreeQueued();
        UiDeviceTest::TearDown();
    }

    static bool White(uint32_t rgb) { return Red(rgb) > 0xC0 && Green(rgb) > 0xC0 && Blue(rgb) > 0xC0; }

    // Every white pixel scanned (x0 <= x < x1, y0 <= y < y1) lies in the box, and the lit rows read
    // as `count` upright "T"s: the top two rows are the widest, the rows under them one column each.
    static void ExpectUprightTees(const Frame& frame, int x0, int y0, int x1, int y1, int boxX0,
                                  int boxY0, int boxX1, int boxY1, int count)
    {
        int top = -1, bottom = -1, litColumns[480] = {};
        for (int y = y0; y < y1; y++) {
            for (int x = x0; x < x1; x++) {
                if (!White(frame.At(x, y))) continue;
                EXPECT_TRUE(x >= boxX0 && x < boxX1 && y >= boxY0 && y < boxY1) << x << "," << y;
                litColumns[y]++;
                if (top < 0) top = y;
                bottom = y;
            }
        }
        ASSERT_GE(top, 0);
        EXPECT_EQ(bottom - top + 1, kGlyphHeight);
        EXPECT_EQ(litColumns[top], count * kGlyphWidth);
        EXPECT_EQ(litColumns[top + 1], count * kGlyphWidth);
        for (int y = top + 2; y <= bottom; y++) EXPECT_EQ(litColumns[y], count) << y;
    }
};

}  // namespace

TEST_F(UiDialogDevice, SampleScriptIsDrawnWhereItSaysWithTextUprightAndFollowsTheCursor)
{
    uiDialog* dialog = uiDialog_LoadScript("Ui\\qevview.wix");
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(dialog->name, "qevview");
    ASSERT_EQ(dialog->x, 16);
    ASSERT_EQ(dialog->y, 16);
    uiElement* logo = (uiElement*)uiResource_Find("qvlogo");
    ASSERT_NE(logo, nullptr);
    // A line of text beside the widget, in a textbox at (48, 8) of 72 x 24.
    uiTextbox* caption = new uiTextbox;
    strcpy(caption->name, "caption");
    caption->rect = {48, 8, 72, 24};
    caption->pFont = uiResource_LoadFont("tee.yub");
    ASSERT_NE(caption->pFont, nullptr);
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, caption), 1);
    caption->LoadBitmaps();
    uiTextbox_AddLine(caption, "TT", 0);
    uiDialog_Open(dialog);

    uiCursor_SetPos(16 + 8 + 20, UI_HEIGHT - 1 - 16 - 8 - 5);  // over the widget
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), dialog);
    EXPECT_EQ(ui_GetHoveredElement(), logo);
    Clear();
    EXPECT_EQ(ui_Draw(), 1);
    const Frame frame = ReadFrame();
    ASSERT_FALSE(frame.rgb.empty());
    KeepFrame(frame, "ui_dialog");

    // The 128 x 64 quad at the dialog's (16, 16): columns 16 to 143, rows 16 to 79 from the top
    // of the screen, a light border of two pixels round a dark blue field, black round it.
    struct Probe {
        int x, y;
        const char* what;  // "black", "border", "field", "widget", "box"
    };
    const Probe probes[] = {
        {15, 40, "black"},  {144, 40, "black"},  {80, 15, "black"},   {80, 80, "black"},
        {16, 40, "border"}, {143, 40, "border"}, {80, 16, "border"},  {80, 79, "border"},
        {17, 17, "border"}, {18, 18, "field"},   {141, 77, "field"},  {100, 60, "field"},
        // The widget at (8, 8) of 32 x 16 in the dialog: columns 24 to 55, rows 24 to 39.
        {24, 24, "widget"}, {55, 39, "widget"},  {40, 30, "widget"},  {23, 30, "field"},
        {56, 30, "field"},  {40, 23, "field"},   {40, 40, "field"},
        // The textbox at (48, 8) of 72 x 24: columns 64 to 135, rows 24 to 47, black behind
        // the text.
        {63, 30, "field"},  {136, 30, "field"},  {100, 23, "field"},  {100, 48, "field"},
        {130, 45, "box"},
    };
    for (const Probe& p : probes) {
        const uint32_t rgb = frame.At(p.x, p.y);
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y) + " " + p.what);
        const std::string what = p.what;
        if (what == "black" || what == "box") {
            EXPECT_EQ(rgb, 0u) << std::hex << rgb;
        } else if (what == "border") {
            EXPECT_GT(Green(rgb), 0xB0) << std::hex << rgb;
        } else if (what == "field") {
            EXPECT_GT(Blue(rgb), Red(rgb) + 0x20) << std::hex << rgb;
        } else {
            EXPECT_GT(Red(rgb), 0x80) << std::hex << rgb;
            EXPECT_LT(Blue(rgb), 0x40) << std::hex << rgb;
        }
    }
    // Inside the border the text lies in the textbox only, and each "T" shows its bar above
    // its stem: the top two lit rows are the widest, the rows under them one column wide.
    ExpectUprightTees(frame, 18, 18, 142, 78, 64, 24, 136, 48, 2);
    if (HasFatalFailure()) return;

    uiCursor_SetPos(400, 100);
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), nullptr);
    EXPECT_EQ(ui_GetHoveredElement(), nullptr);
    EXPECT_EQ(ui_GetLastHoveredElement(), logo);
    HoldForScreenshot([] {
        Clear();
        ui_Update();
        ui_Draw();
    });
    uiDialog_Free(dialog);
}

TEST_F(UiDialogDevice, FloatingTextIsDrawnUprightWhereItsRunFloats)
{
    stdFont* tee = uiResource_LoadFont("tee.yub");
    ASSERT_NE(tee, nullptr);
    // "TTT" for 1000 ms with its top-left corner at (300, 200), drawn after the dialogs.
    uiTextRun* run = uiTextRun_Create(tee, "TTT", 1000, 0, 0, 0, 300, 200, 0);
    ASSERT_NE(run, nullptr);
    Clear();
    EXPECT_EQ(ui_Draw(), 0);
    const Frame frame = ReadFrame();
    ASSERT_FALSE(frame.rgb.empty());
    KeepFrame(frame, "ui_textrun");
    // The run's strip covers columns 300 to 335 and rows 200 to 213: the text lies in it, each
    // "T" with its bar on top.
    ExpectUprightTees(frame, 0, 0, 640, 480, 300, 200, 336, 214, 3);
    uiTextRun_FreeAll();
    uiResource_FreeFont(tee);
}
