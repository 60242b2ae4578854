// The viewer in the test's own process on the real device: the sample model is drawn, read
// back from the back buffer just before each present, and turns with its animation.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "QevView.h"
#include "fixtureViewerSample.h"
#include "fixtureTestFolder.h"
#include "renderMain.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "viewerSession.h"

namespace {

// Counts the pixels of the back buffer that are not black inside a rectangle, just before the
// frame is presented, and keeps a coarse picture of them to compare frames.
struct BackBufferProbe {
    rlFuncMain_Swap pfnSwap = nullptr;
    int frames = 0;
    int litPixels = 0;
    std::vector<uint32_t> picture;
};
BackBufferProbe g_probe;

uint32_t __cdecl ProbeSwap(int wait)
{
    int pitch = 0;
    auto* bits = (const uint8_t*)renderMain_rasterLib.funcMain_LockBuffer(&pitch);
    if (bits) {
        // 16- or 32-bit target; the alpha byte of a 32-bit one is not colour.
        const int bytes = pitch >= renderSettings_current.screenWidth * 4 ? 4 : 2;
        g_probe.litPixels = 0;
        g_probe.picture.assign(64 * 48, 0);
        for (int y = 0; y < renderSettings_current.screenHeight; ++y) {
            for (int x = 0; x < renderSettings_current.screenWidth; ++x) {
                uint32_t pixel = 0;
                memcpy(&pixel, bits + y * pitch + x * bytes, bytes);
                pixel &= bytes == 4 ? 0xFFFFFFu : 0xFFFFu;
                if (pixel) ++g_probe.litPixels;
                g_probe.picture[(y / 10) * 64 + x / 10] += pixel ? 1 : 0;
            }
        }
        renderMain_rasterLib.funcMain_UnlockBuffer();
    }
    ++g_probe.frames;
    return g_probe.pfnSwap(wait);
}

// The viewer runs in the test's process and is given back whole at the end of the case, with
// the present slot the probe took.
class QevViewDraw : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixtures::WriteViewerSample("")); }
    void TearDown() override
    {
        if (g_probe.pfnSwap) renderMain_rasterLib.funcMain_Swap = g_probe.pfnSwap;
        g_probe = BackBufferProbe();
    }

    fixtures::WorkFolder work{fixtures::TestFolderName()};
    viewertest::ViewerSession viewer;
};

TEST_F(QevViewDraw, SampleModelIsDrawnOnTheRealDeviceAndTurns)
{
    ASSERT_EQ(1, viewertest::ViewerSession::Start("-model totem.qev -anim turn.jup"));
    ASSERT_EQ(640, renderSettings_current.screenWidth);
    ASSERT_NE(nullptr, QevView_app.pInstance->pMixer);
    g_probe.pfnSwap = renderMain_rasterLib.funcMain_Swap;
    renderMain_rasterLib.funcMain_Swap = ProbeSwap;

    for (int i = 0; i < 3; ++i) QevView_Frame();
    const int firstLit = g_probe.litPixels;
    const std::vector<uint32_t> first = g_probe.picture;
    // The model stands in the middle of the window and covers a good part of it.
    EXPECT_GT(firstLit, 640 * 480 / 50);
    EXPECT_LT(firstLit, 640 * 480 / 2);
    EXPECT_GT(first[24 * 64 + 32], 0u);   // the centre cell
    EXPECT_EQ(0u, first[0]);               // a corner stays black

    for (int i = 0; i < 20; ++i) {
        Sleep(40);
        QevView_Frame();
    }
    EXPECT_EQ(23, g_probe.frames);
    EXPECT_GT(g_probe.litPixels, 640 * 480 / 50);
    EXPECT_NE(first, g_probe.picture);   // the animation turned it

    EXPECT_EQ(1, QevView_Shutdown());
}

}  // namespace
