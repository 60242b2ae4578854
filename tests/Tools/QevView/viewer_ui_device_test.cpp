// The whole viewer in the test's own process on the real device, in the sample game folder:
// with the statistics shown for a few hundred frames, the statistics line is read back from
// the status textbox, checked against the frame clock, and found as text in the presented
// frame where the textbox is.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QevView.h"
#include "Render/backBuffer.h"
#include "fixtureTestFolder.h"
#include "fixtureViewerSample.h"
#include "qvui.h"
#include "renderMain.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "renderTimer.h"
#include "uiDialog.h"
#include "uiTextbox.h"
#include "viewerSession.h"

namespace {

// The frame clock at the end of each frame run, by frame number.
std::vector<uint32_t> g_frameMs;

// What the status textbox showed the last time it was drawn, and in which frame.
struct DrawnLine {
    int redraws = 0;
    uint32_t frame = 0;
    std::string text;
    int width = 0;
};
std::vector<DrawnLine> g_drawn;

void RecordRedraw(uiElement* element, uint32_t)
{
    const auto* box = (const uiTextbox*)element;
    DrawnLine drawn;
    drawn.frame = renderTimer_viewer.frameCount;
    if (const uiTextLine* line = box->pLastLine) {
        drawn.text = line->text ? line->text : "";
        drawn.width = line->pPieces ? line->pPieces->width : 0;
    }
    g_drawn.push_back(drawn);
}

// The status textbox's rectangle on the screen, read just before the frame is presented.
struct Probe {
    rlFuncMain_Swap pfnSwap = nullptr;
    bool bArmed = false;
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
Probe g_probe;

uint32_t __cdecl ProbeSwap(int wait)
{
    if (g_probe.bArmed) {
        const std::vector<uint32_t> frame = rendertest::BackBufferFrame();
        const int screenWidth = renderSettings_current.screenWidth;
        g_probe.pixels.clear();
        for (int y = g_probe.y; y < g_probe.y + g_probe.height && !frame.empty(); y++)
            for (int x = g_probe.x; x < g_probe.x + g_probe.width; x++)
                g_probe.pixels.push_back(frame[(size_t)y * screenWidth + x]);
        g_probe.bArmed = false;
    }
    return g_probe.pfnSwap(wait);
}

bool IsTextPixel(uint32_t rgb)
{
    // The text is near white; the strip's field is dark blue.
    return (rgb >> 16 & 0xFF) > 0x80 && (rgb >> 8 & 0xFF) > 0x80;
}

}  // namespace

// The viewer runs in the test's process and is given back whole at the end of the case.
class QevViewUiDevice : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixtures::WriteViewerSample("")); }

    fixtures::WorkFolder work{fixtures::TestFolderName()};
    viewertest::ViewerSession viewer;
};

TEST_F(QevViewUiDevice, StatisticsLineIsPrintedIntoItsTextboxAndShownThere)
{
    ASSERT_EQ(1, viewertest::ViewerSession::Start("-model totem.qev -anim turn.jup"));
    ASSERT_NE(nullptr, qvui_pMenu);
    ASSERT_NE(nullptr, qvui_pTextBox);
    ASSERT_NE(nullptr, qvui_pTextBox->pFont);
    uiElement_SetHandler(qvui_pTextBox, UIHANDLER_REDRAWN, RecordRedraw);

    // The statistics shown (F) for a few hundred frames and at least two lines.
    QevView_app.controls.bStatsShown = 1;
    g_frameMs.assign(1, renderTimer_viewer.clocks[0].totalMs);
    auto linesDrawn = [] {
        int lines = 0;
        for (const DrawnLine& d : g_drawn) lines += d.text.empty() ? 0 : 1;
        return lines;
    };
    // The clock steps at least a millisecond a frame: two seconds of it take at most 2002 frames.
    while ((g_frameMs.size() < 300 || linesDrawn() < 2) && g_frameMs.size() < 5000) {
        QevView_Frame();
        g_frameMs.push_back(renderTimer_viewer.clocks[0].totalMs);
    }
    ASSERT_GE(linesDrawn(), 2);

    // The line as the textbox holds it: the format, and numbers that fit the viewer's state.
    const DrawnLine& last = g_drawn.back();
    float rate = 0.0f, distance = 0.0f, detail = 0.0f;
    int faces = 0;
    ASSERT_EQ(4, sscanf(last.text.c_str(), "Framerate: %f, Faces %d, Dist %f, Detail %f", &rate,
                        &faces, &distance, &detail))
        << last.text;
    char again[256];
    snprintf(again, sizeof again, QVUI_STATS_FORMAT, (double)rate, faces, (double)distance,
             (double)detail);
    EXPECT_EQ(last.text, again);
    EXPECT_GT(faces, 0);
    EXPECT_LE(faces, (int)QevView_app.pModel->numTris);
    EXPECT_GT(distance, 0.0f);
    EXPECT_GE(detail, 0.0f);
    EXPECT_LE(detail, 1.0f);

    // The rate: the frames counted between the two last lines over the frame clock's time
    // between them. Each line was printed in the frame before the one that drew it.
    const DrawnLine& before = g_drawn[g_drawn.size() - 2];
    ASSERT_FALSE(before.text.empty());
    const uint32_t printedAt = last.frame - 1, printedBefore = before.frame - 1;
    const double elapsed = g_frameMs[printedAt] - g_frameMs[printedBefore];
    EXPECT_GT(elapsed, (double)QVUI_STATS_PERIOD_MS);
    EXPECT_NEAR((printedAt - printedBefore - 1) * 1000.0 / elapsed, rate, 0.01) << last.text;

    // One more frame, read back before it is presented: the text lies where the textbox is,
    // from its left edge as far as the line's width, and nowhere right of it.
    g_probe.x = qvui_pMenu->x + qvui_pTextBox->rect.x;
    g_probe.y = qvui_pMenu->y + qvui_pTextBox->rect.y;
    g_probe.width = qvui_pTextBox->rect.width;
    g_probe.height = qvui_pTextBox->rect.height;
    g_probe.pfnSwap = renderMain_rasterLib.funcMain_Swap;
    renderMain_rasterLib.funcMain_Swap = ProbeSwap;
    g_probe.bArmed = true;
    QevView_Frame();
    renderMain_rasterLib.funcMain_Swap = g_probe.pfnSwap;
    ASSERT_EQ((size_t)g_probe.width * g_probe.height, g_probe.pixels.size());
    const int textWidth = g_drawn.back().width;
    ASSERT_GT(textWidth, 100);
    ASSERT_LT(textWidth, g_probe.width);
    int inText = 0, beyond = 0;
    for (int y = 0; y < g_probe.height; y++) {
        for (int x = 0; x < g_probe.width; x++) {
            if (!IsTextPixel(g_probe.pixels[(size_t)y * g_probe.width + x])) continue;
            (x <= textWidth + 1 ? inText : beyond)++;
        }
    }
    EXPECT_GT(inText, textWidth);   // well over one lit pixel per column of text
    EXPECT_EQ(0, beyond);
    EXPECT_EQ(1, QevView_Shutdown());
}
