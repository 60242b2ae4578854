// The viewer's user interface in the test's own process on the fake raster table and the fake
// clock: the statistics line once a second while shown, the cursor following the mouse, the
// widgets reading the viewer's input, and a UI script without its menu or status textbox.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QevView.h"
#include "assertRecorder.h"
#include "fakeClock.h"
#include "fakeRaster.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "fixtureViewerSample.h"
#include "fixtureWix.h"
#include "qvui.h"
#include "rasterStatsRecord.h"
#include "renderModelInstance.h"
#include "renderTimer.h"
#include "stdInput.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiInputState.h"
#include "uiTextbox.h"
#include "viewerSession.h"

namespace {

const uint32_t kFaces = 1234;   // what the fake raster library counts

// The viewer runs in the test's process and is given back whole at the end of every case.
class QevViewUi : public testing::Test {
protected:
    QevViewUi() : work(fixtures::TestFolderName()) {}
    void SetUp() override
    {
        ASSERT_TRUE(fixtures::WriteViewerSample(""));
        raster.SetHandler(FAKE_RASTER_SLOT(funcMain_GetStats), [](const fakes::RasterCall& c) {
            if (RasterStats* stats = c.Arg<RasterStats*>(0)) stats->numTriangles = kFaces;
            return 1u;
        });
    }

    static int Start() { return viewertest::ViewerSession::Start("-model totem.qev"); }

    // One frame of the given length; the status textbox's newest line when the frame printed
    // one, else an empty text.
    std::string Frame(uint32_t ms)
    {
        const uiTextLine* before = qvui_pTextBox ? qvui_pTextBox->pLastLine : nullptr;
        clock.Advance(ms);
        QevView_Frame();
        const uiTextLine* after = qvui_pTextBox ? qvui_pTextBox->pLastLine : nullptr;
        return after && after != before && after->text ? after->text : "";
    }

    static std::string Expected(double rate)
    {
        char text[256];
        const ModelInstance* instance = QevView_app.pInstance;
        snprintf(text, sizeof text, "Framerate: %3.2f, Faces %d, Dist %.2f, Detail %.2f", rate,
                 (int)kFaces, (double)instance->lodDistance, (double)instance->detail);
        return text;
    }

    fixtures::WorkFolder work;
    fakes::AssertRecorder assertions;
    fakes::FakeRaster raster;
    fakes::FakeClock clock{5000};
    viewertest::ViewerSession viewer;
};

TEST_F(QevViewUi, StatisticsLineOnceASecondWhileShown)
{
    ASSERT_EQ(1, Start());
    ASSERT_NE(nullptr, qvui_pMenu);
    ASSERT_NE(nullptr, qvui_pTextBox);
    EXPECT_TRUE(assertions.Records().empty());
    EXPECT_EQ(0u, QevView_app.controls.bStatsShown);

    // Hidden: a second and more goes by without a line.
    for (int i = 0; i < 70; i++) EXPECT_EQ("", Frame(20));
    EXPECT_EQ(0u, qvui_pTextBox->lineCount);

    // Shown after more than a second hidden: the next frame prints at once, with no frame
    // counted, so the first rate reads 0.
    QevView_app.controls.bStatsShown = 1;
    uint32_t shownFrames = 0, lastLineMs = 0;
    std::string line;
    while (line.empty() && shownFrames < 200) {
        line = Frame(20);
        shownFrames++;
    }
    const uint32_t firstLineMs = renderTimer_viewer.clocks[0].totalMs;
    EXPECT_EQ(Expected((shownFrames - 1) * 1000.0 / firstLineMs), line);
    EXPECT_EQ(1u, shownFrames);
    EXPECT_EQ(1u, raster.Last(FAKE_RASTER_SLOT(funcMain_GetStats))->Word(1));   // reset
    lastLineMs = firstLineMs;

    // Then one line a second at the frame rate: 20 ms frames read near 50.
    std::vector<std::string> lines;
    uint32_t framesSince = 0;
    for (int i = 0; i < 160; i++) {
        const std::string printed = Frame(20);
        if (printed.empty()) {
            framesSince++;
            continue;
        }
        const uint32_t now = renderTimer_viewer.clocks[0].totalMs;
        EXPECT_GT(now - lastLineMs, (uint32_t)QVUI_STATS_PERIOD_MS);
        EXPECT_EQ(Expected(framesSince * 1000.0 / (now - lastLineMs)), printed);
        lines.push_back(printed);
        lastLineMs = now;
        framesSince = 0;
    }
    ASSERT_EQ(3u, lines.size());
    float rate = 0.0f;
    ASSERT_EQ(1, sscanf(lines[1].c_str(), "Framerate: %f,", &rate)) << lines[1];
    EXPECT_NEAR(50.0f, rate, 1.5f);

    // Hidden for five seconds, shown again: the next frame prints a line whose rate divides
    // the frames counted before by the whole time since the last line, so it reads low.
    QevView_app.controls.bStatsShown = 0;
    for (int i = 0; i < 50; i++) EXPECT_EQ("", Frame(100));
    QevView_app.controls.bStatsShown = 1;
    const std::string late = Frame(20);
    const uint32_t now = renderTimer_viewer.clocks[0].totalMs;
    EXPECT_EQ(Expected(framesSince * 1000.0 / (now - lastLineMs)), late);
    EXPECT_EQ(1u, qvui_pTextBox->lineCount);   // the script keeps the newest line only

    // The rule alone: within the second it counts and gives the milliseconds since the line.
    clock.Advance(250);
    renderTimer_Tick(&renderTimer_viewer);
    EXPECT_EQ(250u, qvui_UpdateStatistics());
}

TEST_F(QevViewUi, CursorFollowsTheMouseAndWidgetsReadTheViewersInput)
{
    ASSERT_EQ(1, Start());
    ASSERT_NE(nullptr, uiCursor_Get());
    EXPECT_FLOAT_EQ(320.0f, uiCursor_GetX());
    EXPECT_FLOAT_EQ(240.0f, uiCursor_GetY());
    // The mouse counts downwards, the cursor upwards: a move down and right goes down and right.
    stdInput_state.mouseDx = 30;
    stdInput_state.mouseDy = 40;
    qvui_PrintStatistics();
    EXPECT_FLOAT_EQ(350.0f, uiCursor_GetX());
    EXPECT_FLOAT_EQ(200.0f, uiCursor_GetY());
    // Over the panel's widget (16 + 8 across, 16 + 8 down, in the downward UI space).
    stdInput_state.mouseDx = 30 - 350;
    stdInput_state.mouseDy = 200 - (UI_HEIGHT - 1 - 30);
    qvui_PrintStatistics();
    EXPECT_EQ(qvui_pMenu, ui_GetHoveredDialog());
    ASSERT_NE(nullptr, ui_GetHoveredElement());
    EXPECT_STREQ("qvlogo", ui_GetHoveredElement()->name);

    struct Reading {
        int key;            // table entry set down, or -1 for none
        int wheel;
        int left, shift, wheelRead;
    } readings[] = {
        {-1, 0, 0, 0, 0},
        {STDINPUT_MOUSE_BUTTON0, 0, 1, 0, 0},
        {DIK_LSHIFT, 0, 0, 1, 0},
        {DIK_RSHIFT, -120, 0, 1, -120},
        {DIK_A, 120, 0, 0, 120},
    };
    for (const Reading& r : readings) {
        SCOPED_TRACE(r.key);
        for (stdInputKey& key : stdInput_state.aKeys) key.down = 0;
        if (r.key >= 0) stdInput_state.aKeys[r.key].down = STDINPUT_DOWN;
        stdInput_state.mouseDz = r.wheel;
        EXPECT_EQ(r.left, uiInput_LeftButtonDown());
        EXPECT_EQ(r.shift, uiInput_ShiftDown());
        EXPECT_EQ(r.wheelRead, uiInput_Wheel());
    }
}

// The viewer runs a good few seconds of frames with the statistics shown and the level of
// detail locked and unlocked, drawing the UI and the cursor every frame.
void RunFramesWithStatistics(fakes::FakeClock& clock)
{
    QevView_app.controls.bStatsShown = 1;
    for (int i = 0; i < 200; i++) {
        clock.Advance(20);
        if (i % 50 == 0) QevView_app.pInstance->flags ^= INSTANCE_LOD_LOCKED;
        EXPECT_EQ(1, QevView_Frame());
    }
}

TEST_F(QevViewUi, WithoutItsScriptTheViewerRunsWithoutMenu)
{
    ASSERT_TRUE(DeleteFileA("Ui\\qevview.wix"));
    ASSERT_EQ(1, Start());
    EXPECT_EQ(nullptr, qvui_pMenu);
    EXPECT_EQ(nullptr, qvui_pTextBox);
    ASSERT_EQ(2u, assertions.Records().size());
    EXPECT_EQ("qvui_pMenu", assertions.Records()[0].expression);
    EXPECT_EQ("qvui_pTextBox", assertions.Records()[1].expression);
    EXPECT_EQ("QevView\\qvui", assertions.Records()[0].file);
    EXPECT_EQ(nullptr, uiLayer_FirstDialog());
    const int statsBefore = raster.Count(FAKE_RASTER_SLOT(funcMain_GetStats));
    RunFramesWithStatistics(clock);
    // Only the frame ends fetched the counters: no statistics line was made.
    EXPECT_EQ(200, raster.Count(FAKE_RASTER_SLOT(funcMain_GetStats)) - statsBefore);
    EXPECT_GT(raster.Count(FAKE_RASTER_SLOT(funcDraw_ScreenFaceImmediate)), 0);   // the cursor
}

TEST_F(QevViewUi, AStatusNameOnAnotherWidgetIsNotPrintedInto)
{
    // The name is there, on a widget of another class; and a textbox under another name.
    fixtures::WixScript script;
    script.dialogLines = {"name=qevview"};
    script.quads = {{0, 0, 128, 64, "qvpanel.tga"}};
    script.elements = {{"static", {"name=qvuiTextbox", "pos=8,8", "size=32,16"}},
                       {"textbox", {"name=other", "pos=8,30", "size=100,20"}}};
    ASSERT_TRUE(fixtures::WriteWix("Ui\\qevview.wix", script));
    ASSERT_EQ(1, Start());
    ASSERT_NE(nullptr, qvui_pMenu);
    EXPECT_EQ(nullptr, qvui_pTextBox);
    ASSERT_EQ(1u, assertions.Records().size());
    EXPECT_EQ("qvui_pTextBox", assertions.Records()[0].expression);
    EXPECT_EQ(qvui_pMenu, uiLayer_FirstDialog());
    RunFramesWithStatistics(clock);
    auto* other = (uiTextbox*)uiDialog_FindInTree(qvui_pMenu, "other");
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(0u, other->lineCount);
}

TEST_F(QevViewUi, AStatusTextboxWithoutAFontTakesLinesAndDrawsNone)
{
    // No font named and no "defaultFont" to fall back on.
    fixtures::WixScript script;
    script.dialogLines = {"name=qevview"};
    script.quads = {{0, 0, 128, 64, "qvpanel.tga"}};
    script.elements = {{"textbox", {"name=qvuiTextbox", "pos=8,8", "size=100,20", "maxitems=3"}}};
    ASSERT_TRUE(fixtures::WriteWix("Ui\\qevview.wix", script));
    ASSERT_EQ(1, Start());
    ASSERT_NE(nullptr, qvui_pTextBox);
    EXPECT_EQ(nullptr, qvui_pTextBox->pFont);
    EXPECT_TRUE(assertions.Records().empty());
    RunFramesWithStatistics(clock);
    EXPECT_EQ(3u, qvui_pTextBox->lineCount);
    EXPECT_EQ(0, qvui_pTextBox->pLastLine->height);
    // Its work bitmap stays as blank as it was made.
    const Bitmap* work = qvui_pTextBox->pBitmap;
    ASSERT_NE(nullptr, work);
    ASSERT_NE(nullptr, work->pixels);
    const size_t bytes = (size_t)work->width * work->height * bitmapFormat_BytesPerPixel(work->format);
    size_t lit = 0;
    for (size_t i = 0; i < bytes; i++) lit += work->pixels[i] != 0;
    EXPECT_EQ(0u, lit);
}

}  // namespace
