// The viewer application in the test's own process, on the fake raster table: start-up
// failures (what is closed before the message, and which boxes come), the animation that does
// not exist, the order of start-up and of one frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fakeRaster.h"
#include "QevView.h"
#include "fixtureFiles.h"
#include "fixtureViewerSample.h"
#include "fixtureTestFolder.h"
#include "Render/messageBoxRecorder.h"
#include "renderMain.h"
#include "renderMixer.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "stdInput.h"
#include "viewerSession.h"

namespace {

// The viewer runs in the test's process and is given back whole at the end of every case.
class QevViewApp : public testing::Test {
protected:
    QevViewApp() : work(fixtures::TestFolderName()) {}
    void SetUp() override { ASSERT_TRUE(fixtures::WriteViewerSample("")); }

    static int Start(const char* commandLine) { return viewertest::ViewerSession::Start(commandLine); }

    fixtures::WorkFolder work;
    MessageBoxRecorder boxes;
    fakes::FakeRaster raster;
    viewertest::ViewerSession viewer;
};

// Close and shutdown counts of the fake table at the moment the start-up message is shown.
int g_closesAtBox = -1, g_shutdownsAtBox = -1;
fakes::FakeRaster* g_pRaster;

int RecordBoxAndCloses(HWND, const char* text, const char* caption, UINT)
{
    MessageBoxRecorder::Shown().push_back({text, caption, 0});
    g_closesAtBox = g_pRaster->Count(FAKE_RASTER_SLOT(funcMain_Close));
    g_shutdownsAtBox = g_pRaster->Count(FAKE_RASTER_SLOT(funcMain_Shutdown));
    return IDOK;
}

TEST_F(QevViewApp, MissingModelClosesTheDeviceBeforeTheMessageAndEndsWithOne)
{
    g_pRaster = &raster;
    const stdMessageBoxFunc recorder = stdMessageBox_SetHook(RecordBoxAndCloses);
    EXPECT_EQ(1, QevView_Run(GetModuleHandleA(nullptr), "-model nowhere.qev", SW_SHOW));
    stdMessageBox_SetHook(recorder);
    ASSERT_EQ(1u, MessageBoxRecorder::Shown().size());
    EXPECT_EQ("Problem with command line parameters", MessageBoxRecorder::Shown()[0].text);
    EXPECT_EQ("Error", MessageBoxRecorder::Shown()[0].caption);
    EXPECT_EQ(1, raster.Count(FAKE_RASTER_SLOT(funcMain_Open)));
    EXPECT_EQ(1, g_closesAtBox);
    EXPECT_EQ(1, g_shutdownsAtBox);
    EXPECT_STREQ("blitvane.dll", renderSettings_current.driver);
    EXPECT_TRUE(renderSettings_current.optionFlags & RENDER_OPTION_WINDOWED);
    // Closing again at the end of the process does nothing more.
    QevView_Shutdown();
    EXPECT_EQ(1, raster.Count(FAKE_RASTER_SLOT(funcMain_Close)));
}

TEST_F(QevViewApp, WrongRasterVersionGivesBothMessagesAndCallsNothingOnTheTable)
{
    raster.SetVersion(13);
    EXPECT_EQ(1, QevView_Run(GetModuleHandleA(nullptr), "", SW_SHOW));
    const auto& shown = MessageBoxRecorder::Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Wrong Raster DLL version.", shown[0].text);
    EXPECT_EQ("Problem with command line parameters", shown[1].text);
    EXPECT_EQ("Error", shown[1].caption);
    EXPECT_TRUE(raster.Calls().empty());
}

TEST_F(QevViewApp, AnimationThatDoesNotExistLeavesTheModelWithoutAMixer)
{
    ASSERT_EQ(1, Start("-model totem.qev -anim nowhere.jup"));
    ASSERT_NE(nullptr, QevView_app.pInstance);
    EXPECT_EQ(nullptr, QevView_app.pInstance->pMixer);
    EXPECT_EQ(0u, QevView_app.controls.bPlaying);
    EXPECT_EQ(1u, QevView_app.controls.bAnimRequested);
    EXPECT_EQ(1, QevView_Frame());
    EXPECT_TRUE(MessageBoxRecorder::Shown().empty());
}

TEST_F(QevViewApp, StartupInTheOrderOfTheEngineWithLightsCameraAndAnimation)
{
    ASSERT_EQ(1, Start("/model totem.qev /anim turn.jup"));
    ASSERT_NE(nullptr, QevView_app.pInstance->pMixer);
    EXPECT_EQ(1u, QevView_app.controls.bPlaying);
    std::vector<int> slots = raster.Slots();
    auto at = [&](int slot) { return std::find(slots.begin(), slots.end(), slot) - slots.begin(); };
    EXPECT_LT(at(FAKE_RASTER_SLOT(funcMain_Startup)), at(FAKE_RASTER_SLOT(funcMain_Open)));
    EXPECT_LT(at(FAKE_RASTER_SLOT(funcMain_Open)), at(FAKE_RASTER_SLOT(funcMain_SetGamma)));
    EXPECT_EQ(1, raster.Count(FAKE_RASTER_SLOT(funcCamera_SetCurrent)));
    EXPECT_FLOAT_EQ(1000.0f, QevView_app.aLights[0].baseIntensity);
    EXPECT_FLOAT_EQ(25.0f, QevView_app.aLights[1].green);
    EXPECT_FLOAT_EQ(-100.0f, QevView_app.aLights[2].position[2]);
    EXPECT_FLOAT_EQ(500.0f, QevView_app.aLights[3].range);

    // One frame: the four lights, the model, flush, statistics, present, clear, lights off.
    raster.ClearCalls();
    QevView_Frame();
    EXPECT_EQ(4, raster.Count(FAKE_RASTER_SLOT(funcLight_AddLight)));
    EXPECT_EQ(1, raster.Count(FAKE_RASTER_SLOT(funcModel_Draw)));
    EXPECT_EQ(1, raster.Count(FAKE_RASTER_SLOT(funcMain_Swap)));
    EXPECT_EQ(0u, raster.Last(FAKE_RASTER_SLOT(funcMain_Swap))->Word(0));
    slots = raster.Slots();
    EXPECT_LT(at(FAKE_RASTER_SLOT(funcModel_Draw)), at(FAKE_RASTER_SLOT(funcMain_Swap)));
    EXPECT_LT(at(FAKE_RASTER_SLOT(funcMain_Swap)), at(FAKE_RASTER_SLOT(funcMain_Clear)));
    EXPECT_EQ(slots.back(), FAKE_RASTER_SLOT(funcLight_ClearLights));

    // Light 2 switched off: three lights the next frame.
    raster.ClearCalls();
    QevView_app.controls.aLightOn[1] = 0;
    QevView_Frame();
    EXPECT_EQ(3, raster.Count(FAKE_RASTER_SLOT(funcLight_AddLight)));
}

}  // namespace
