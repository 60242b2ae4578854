// The render front-end on the fake raster table: binding checks, start-up and shutdown,
// frame end, the assertion hook, lights and light groups.
#include <gtest/gtest.h>

#include <cstring>

#include "assertRecorder.h"
#include "fakeRaster.h"
#include "fixtureRestore.h"
#include "messageBoxRecorder.h"
#include "render.h"
#include "renderAssert.h"
#include "renderBitmap.h"
#include "renderLight.h"
#include "renderLightGroup.h"
#include "renderMain.h"
#include "renderSettings.h"

using fakes::FakeRaster;
using fakes::RasterCall;

namespace {

const int kStartup = FAKE_RASTER_SLOT(funcMain_Startup);
const int kShutdown = FAKE_RASTER_SLOT(funcMain_Shutdown);
const int kOpen = FAKE_RASTER_SLOT(funcMain_Open);
const int kClose = FAKE_RASTER_SLOT(funcMain_Close);
const int kGetStats = FAKE_RASTER_SLOT(funcMain_GetStats);
const int kSwap = FAKE_RASTER_SLOT(funcMain_Swap);
const int kSetGamma = FAKE_RASTER_SLOT(funcMain_SetGamma);
const int kFlushCache = FAKE_RASTER_SLOT(funcDraw_FlushCache);
const int kAddLight = FAKE_RASTER_SLOT(funcLight_AddLight);
const int kClearLights = FAKE_RASTER_SLOT(funcLight_ClearLights);
const int kSetAmbient = FAKE_RASTER_SLOT(funcLight_SetAmbient);

// A case that started the front-end and stopped early leaves it shut down, and the window that
// a case gave the front-end is forgotten.
class RenderFrontEnd : public testing::Test {
protected:
    void TearDown() override
    {
        if (renderMain_bStartup) renderMain_Shutdown();
        render_SetWindow(nullptr);
    }
};

}  // namespace

TEST_F(RenderFrontEnd, WrongVersionShowsTheBoxAndCallsNothing)
{
    for (uint32_t version : {13u, 15u, 0u}) {
        SCOPED_TRACE(version);
        FakeRaster raster;
        MessageBoxRecorder boxes;
        raster.SetVersion(version);
        EXPECT_EQ(raster.Bind(), 0);
        EXPECT_FALSE(renderMain_IsBound());
        EXPECT_TRUE(raster.Calls().empty());
        ASSERT_EQ(MessageBoxRecorder::Shown().size(), 1u);
        EXPECT_EQ(MessageBoxRecorder::Shown()[0].text, "Wrong Raster DLL version.");
        EXPECT_EQ(MessageBoxRecorder::Shown()[0].caption, "Error");
        EXPECT_EQ(MessageBoxRecorder::Shown()[0].style, (UINT)MB_TASKMODAL);
    }
}

TEST_F(RenderFrontEnd, AnyNullSlotRefusesTheWholeTable)
{
    for (int slot : {1, 2, 23, 34, 46}) {
        SCOPED_TRACE(slot);
        FakeRaster raster;
        MessageBoxRecorder boxes;
        raster.SetNullSlot(slot);
        EXPECT_EQ(raster.Bind(), 0);
        EXPECT_FALSE(renderMain_IsBound());
        EXPECT_EQ(renderMain_rasterLib.funcMain_Startup, nullptr);   // nothing copied
        EXPECT_TRUE(raster.Calls().empty());
        EXPECT_TRUE(MessageBoxRecorder::Shown().empty());
    }
}

TEST_F(RenderFrontEnd, StartupBindsOpensAndSetsGammaInOrder)
{
    FakeRaster raster;
    HWND window = (HWND)0x1234;
    render_SetWindow(window);
    ASSERT_EQ(renderMain_Startup(), 1);
    EXPECT_EQ(renderMain_bStartup, 1u);
    EXPECT_EQ(raster.InitializeCount(), 1);
    EXPECT_EQ(raster.Slots(), (std::vector<int>{kStartup, kOpen, kSetGamma}));
    EXPECT_EQ(raster.Last(kStartup)->Arg<HWND>(0), window);
    EXPECT_EQ(renderMain_GetRasterInfo(), &raster.info);
    EXPECT_EQ(raster.Last(kOpen)->Arg<renderSettings*>(0), &renderSettings_current);
    const RasterCall* gamma = raster.Last(kSetGamma);
    for (int word : {0, 2, 4}) EXPECT_DOUBLE_EQ(gamma->Double(word), (double)renderSettings_current.gamma);
    EXPECT_DOUBLE_EQ(gamma->Double(0), (double)1.4f);
    // The texture cache was started first.
    EXPECT_EQ(renderBitmap_Startup(), 1);   // a second start-up only reports
    EXPECT_EQ(raster.Count(kShutdown), 1);  // ... through the assertion hook

    raster.ClearCalls();
    EXPECT_EQ(renderMain_Shutdown(), 1);
    EXPECT_EQ(raster.Slots(), (std::vector<int>{kClose, kShutdown}));
    EXPECT_EQ(renderMain_bStartup, 0u);
    EXPECT_EQ(renderBitmap_Shutdown(), 0);  // the texture cache was shut down
}

// A start-up that fails leaves nothing started: the next one starts every cache afresh, with
// no assertion, and succeeds.
void ExpectNothingLeftStarted(FakeRaster& raster)
{
    fakes::AssertRecorder asserts;
    raster.SetVersion(RASTER_LIB_VERSION);
    raster.SetHandler(kStartup, [&raster](const RasterCall&) { return (uint32_t)(uintptr_t)&raster.info; });
    raster.SetResult(kOpen, 1);
    EXPECT_EQ(renderMain_Startup(), 1);
    EXPECT_TRUE(asserts.Records().empty()) << asserts.Last();
    EXPECT_EQ(renderMain_Shutdown(), 1);
}

TEST_F(RenderFrontEnd, StartupStopsWhenTheDeviceDoesNotStart)
{
    FakeRaster raster;
    raster.SetResult(kStartup, 0);
    EXPECT_EQ(renderMain_Startup(), 0);
    EXPECT_EQ(renderMain_bStartup, 0u);
    EXPECT_EQ(raster.Slots(), (std::vector<int>{kStartup}));
    ExpectNothingLeftStarted(raster);
}

TEST_F(RenderFrontEnd, StartupStopsWhenTheDeviceDoesNotOpen)
{
    FakeRaster raster;
    raster.SetResult(kOpen, 0);
    EXPECT_EQ(renderMain_Startup(), 0);
    EXPECT_EQ(renderMain_bStartup, 0u);
    EXPECT_EQ(raster.Slots(), (std::vector<int>{kStartup, kOpen}));
    ExpectNothingLeftStarted(raster);
}

TEST_F(RenderFrontEnd, StartupFailsWhenTheBindingIsRefused)
{
    FakeRaster raster;
    MessageBoxRecorder boxes;
    raster.SetVersion(13);
    EXPECT_EQ(renderMain_Startup(), 0);
    EXPECT_EQ(renderMain_bStartup, 0u);
    EXPECT_TRUE(raster.Calls().empty());
    ExpectNothingLeftStarted(raster);
}

TEST_F(RenderFrontEnd, EndFrameFlushesTakesStatisticsAndPresents)
{
    // Before the first present the stamp is 1, as the raster library's counter starts, so
    // that work done once a frame against stamps starting at 0 runs on the first frame.
    EXPECT_EQ(renderMain_GetFrameStamp(), 1u);
    FakeRaster raster;
    ASSERT_TRUE(raster.Bind());
    EXPECT_EQ(renderMain_EndFrame(0), 1);
    EXPECT_EQ(raster.Slots(), (std::vector<int>{kFlushCache, kGetStats, kSwap}));
    EXPECT_EQ(raster.Last(kFlushCache)->Word(0), 1u);
    EXPECT_EQ(raster.Last(kGetStats)->Arg<const RasterStats*>(0), renderMain_GetFrameStats());
    EXPECT_EQ(raster.Last(kGetStats)->Word(1), 1u);   // with reset
    EXPECT_EQ(raster.Last(kSwap)->Word(0), 0u);
    EXPECT_EQ(renderMain_GetFrameStamp(), 2u);
    EXPECT_EQ(renderMain_EndFrame(1), 1);
    EXPECT_EQ(raster.Last(kSwap)->Word(0), 1u);       // waits for the vertical blank
    EXPECT_EQ(renderMain_GetFrameStamp(), 3u);
}

TEST_F(RenderFrontEnd, NothingIsCalledBeforeABinding)
{
    FakeRaster raster;
    renderAssert_Fail("x", __FILE__, __LINE__);
    EXPECT_EQ(renderMain_EndFrame(0), 0);
    Light light = {};
    EXPECT_EQ(renderLight_Add(nullptr, &light), 0);
    EXPECT_EQ(renderLight_Clear(), 0);
    EXPECT_TRUE(raster.Calls().empty());
}

TEST_F(RenderFrontEnd, AssertionShutsTheDisplayDownOnceAtATime)
{
    FakeRaster raster;
    ASSERT_TRUE(raster.Bind());
    int nested = 0;
    raster.SetHandler(kShutdown, [&](const RasterCall&) {
        // An assertion inside the shutdown is ignored.
        if (nested++ == 0) renderAssert_Fail("inner", __FILE__, __LINE__);
        return 1u;
    });
    renderAssert_Fail("outer", __FILE__, __LINE__);
    EXPECT_EQ(raster.Count(kShutdown), 1);
    nested = 1;
    renderAssert_Fail("later", __FILE__, __LINE__);
    EXPECT_EQ(raster.Count(kShutdown), 2);
    // The program goes on: a shutdown without start-up reports twice (front-end and texture
    // cache not started), then shuts the library down itself.
    EXPECT_EQ(renderMain_Shutdown(), 1);
    EXPECT_EQ(raster.Count(kShutdown), 5);
}

TEST_F(RenderFrontEnd, LightIntensityFollowsItsGroup)
{
    const fixtures::Restore<LightGroup[LIGHTGROUP_COUNT]> groups(renderLightGroup_table);
    FakeRaster raster;
    ASSERT_TRUE(raster.Bind());
    std::vector<Light> handed;
    raster.SetHandler(kAddLight, [&](const RasterCall& c) {
        handed.push_back(*c.Arg<const Light*>(1));
        return 0u;
    });
    renderLightGroup_Reset();
    renderLightGroup_Set(16, nullptr, 0.25f);
    struct Case {
        uint32_t group;
        float expected;
    };
    // Group 5 is disabled after a reset, 16 is enabled and set to a quarter, 0 is never scaled.
    const Case cases[] = {{0, 200.0f}, {5, 0.0f}, {16, 50.0f}, {99, 200.0f}};
    const mathMatrix* view = (const mathMatrix*)0x5678;
    for (const Case& c : cases) {
        Light light = {};
        light.group = c.group;
        light.baseIntensity = 200.0f;
        light.falloff = 1.0f;
        EXPECT_EQ(renderLight_Add(view, &light), 1);
        EXPECT_FLOAT_EQ(light.intensity, c.expected);
        EXPECT_FLOAT_EQ(handed.back().intensity, c.expected);
        EXPECT_EQ(raster.Last(kAddLight)->Arg<const mathMatrix*>(0), view);
        EXPECT_EQ(raster.Last(kAddLight)->Word(2), 0u);
    }
    // With every group zero, as while the viewer runs, only group 0 lights shine.
    memset(renderLightGroup_table, 0, sizeof renderLightGroup_table);
    Light light = {};
    light.group = 16;
    light.baseIntensity = 200.0f;
    renderLight_Add(view, &light);
    EXPECT_FLOAT_EQ(light.intensity, 0.0f);

    const float ambient[3] = {10.0f, 20.0f, 30.0f};
    EXPECT_EQ(renderLight_SetAmbient(ambient), 1);
    EXPECT_EQ(raster.Last(kSetAmbient)->Arg<const float*>(0), ambient);
    EXPECT_EQ(renderLight_Clear(), 1);
    EXPECT_EQ(raster.Count(kClearLights), 1);
}

TEST_F(RenderFrontEnd, LightGroupTableOperations)
{
    const fixtures::Restore<LightGroup[LIGHTGROUP_COUNT]> groups(renderLightGroup_table);
    renderLightGroup_Reset();
    for (int i = 0; i < LIGHTGROUP_COUNT; i++) {
        SCOPED_TRACE(i);
        bool on = i == 0 || (i >= 16 && i <= 23);
        EXPECT_EQ(renderLightGroup_table[i].enabled, on ? 1u : 0u);
        EXPECT_EQ(renderLightGroup_table[i].updated, on ? 1u : 0u);
        EXPECT_FLOAT_EQ(renderLightGroup_table[i].factor, 1.0f);
        EXPECT_EQ(renderLightGroup_table[i].alpha, 255);
        EXPECT_FLOAT_EQ(renderLightGroup_GetFactor(i), on ? 1.0f : 0.0f);
    }
    auto half = [](int group, int argument) { return group == 3 && argument == 7 ? 0.5f : 9.0f; };
    EXPECT_EQ(renderLightGroup_Set(3, half, 0.75f), 1);
    EXPECT_FLOAT_EQ(renderLightGroup_GetFactor(3), 0.75f);
    EXPECT_EQ(renderLightGroup_Set(32, nullptr, 1.0f), 0);
    EXPECT_EQ(renderLightGroup_Set(-1, nullptr, 1.0f), 0);
    EXPECT_FLOAT_EQ(renderLightGroup_GetFactor(32), 0.0f);

    renderLightGroup_Set(17, nullptr, 0.2f);
    renderLightGroup_Update(7);
    EXPECT_FLOAT_EQ(renderLightGroup_table[3].factor, 0.5f);   // from its callback
    EXPECT_EQ(renderLightGroup_table[3].alpha, 127);
    EXPECT_EQ(renderLightGroup_table[17].alpha, 51);
    EXPECT_EQ(renderLightGroup_table[5].alpha, 0);             // disabled
    EXPECT_EQ(renderLightGroup_table[0].alpha, 255);
}
