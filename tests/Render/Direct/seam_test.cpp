// The device through the DirectDraw seam: the failures, limits and counts that a real device
// never shows, with every reference given back at close.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include "fakeDirectDraw.h"
#include "fixtureRestore.h"
#include "rasterTestWindow.h"
#include "rlDevice.h"
#include "rlMain.h"

namespace {

class RasterSeam : public ::testing::Test {
protected:
    void TearDown() override
    {
        rlMain_Close();
        EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
        EXPECT_FALSE(fake_SceneError());
        fake_Uninstall();
    }

    int open(const FakeConfig& config, bool windowed)
    {
        fake_Install(config);
        info = rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(windowed);
        return rlMain_Open(&settings);
    }

    RasterTestWindow window;
    renderSettings settings;
    RasterInfo* info = nullptr;
};

} // namespace

// Every counted call of start-up and open is made to fail in turn: each failure either fails
// the open with nothing left held, or is one the open gets over.
TEST_F(RasterSeam, EveryFailureOfOpenGivesBackWhatItCreated)
{
    for (bool windowed : {true, false}) {
        int opened = 0;
        for (int step = 1; step < 200; step++) {
            SCOPED_TRACE(testing::Message() << (windowed ? "windowed" : "full screen") << ", step " << step);
            FakeConfig config;
            config.failAtStep = step;
            const int result = open(config, windowed);
            if (result) {
                opened++;
                EXPECT_TRUE(fake_InScene());
            } else {
                EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
            }
            EXPECT_EQ(rlMain_Close(), 1);
            EXPECT_EQ(rlMain_Close(), 1);
            EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
            EXPECT_FALSE(fake_SceneError());
            if (fake_Steps() < step) break;   // the chosen call was never made: all covered
        }
        // Failures the open gets over: a driver skipped at start-up, a missing gamma control,
        // one refused device creation, and no failure at all.
        EXPECT_GE(opened, 4);
    }
}

TEST_F(RasterSeam, OpenWithoutGammaControlSetsTheFlagAndGammaDoesNothing)
{
    FakeConfig config;
    config.bGamma = false;
    ASSERT_EQ(open(config, true), 1);
    EXPECT_TRUE(info->capsFlags & RASTER_CAPS_NO_GAMMA);
    rlMain_SetGamma(1.0, 1.0, 1.0);
    EXPECT_EQ(fake_Calls("SetGammaRamp"), 0);
}

TEST_F(RasterSeam, DeviceCreationIsTriedTwice)
{
    FakeConfig config;
    config.createDeviceFailures = 1;
    EXPECT_EQ(open(config, true), 1);
    EXPECT_EQ(fake_Calls("CreateDevice"), 2);
    rlMain_Close();

    config.createDeviceFailures = 2;
    EXPECT_EQ(open(config, true), 0);
    EXPECT_EQ(fake_Calls("CreateDevice"), 2);
    EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
}

TEST_F(RasterSeam, ModesListAtMostSixtyFourSuitableEntries)
{
    FakeConfig config;
    config.modes = {{640, 480, 24}, {639, 480, 16}, {640, 479, 16}, {800, 600, 32}};
    for (int i = 0; i < 100; i++) config.modes.push_back({640 + i, 480, 16});
    ASSERT_EQ(open(config, true), 1);
    ASSERT_EQ(info->numModes, 64);
    EXPECT_EQ(info->modes[0].width, 800);
    EXPECT_EQ(info->modes[0].bitsPerPixel, 32);
    EXPECT_EQ(info->modes[1].width, 640);
    EXPECT_EQ(info->modes[1].height, 480);
    EXPECT_EQ(info->modes[63].width, 702);
    EXPECT_EQ(info->modes[63].bitsPerPixel, 16);
    rlMain_Close();

    // Without 32-bit rendering, 32-bit modes are not offered.
    config.bRender32 = false;
    ASSERT_EQ(open(config, true), 1);
    EXPECT_FALSE(info->capsFlags & RASTER_CAPS_RENDER32);
    for (int i = 0; i < info->numModes; i++) EXPECT_EQ(info->modes[i].bitsPerPixel, 16);
}

TEST_F(RasterSeam, CapabilitiesComeFromTheHardwareDeviceOnly)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    // The software device reports transform and lighting and a smaller texture height.
    EXPECT_EQ(info->capsFlags, RASTER_CAPS_RENDER32 | RASTER_CAPS_TEXTURE32);
    EXPECT_EQ(info->maxTextureHeight, 2048);
    EXPECT_EQ(rlDevice_state.numTextureFormats, 5);
}

TEST_F(RasterSeam, StartupKeepsEightDriversWithTheirTextCut)
{
    FakeConfig config;
    config.numDrivers = 12;
    fake_Install(config);
    info = rlMain_Startup(window.hwnd);
    ASSERT_EQ(info->numDevices, 8);
    EXPECT_EQ(fake_Calls("DirectDrawCreateEx"), 8);
    for (int i = 0; i < 8; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(strlen(info->devices[i].description), 127u);
        EXPECT_EQ(strncmp(info->devices[i].description, "Fake adapter ", 13), 0);
        EXPECT_EQ(info->devices[i].videoMemory, 16u << 20);
        GUID guid;
        memcpy(&guid, info->devices[i].guid, sizeof(guid));
        EXPECT_EQ(guid.Data1, static_cast<unsigned long>(i));
    }
    EXPECT_STREQ(info->devices[3].driverName, "fake3.drv");

    // Drivers without 3-D are not devices.
    config.bDrivers3D = false;
    fake_Install(config);
    EXPECT_EQ(rlMain_Startup(window.hwnd)->numDevices, 0);
}

TEST_F(RasterSeam, UseDeviceBeyondTheListOpensThePrimaryDriver)
{
    FakeConfig config;
    config.numDrivers = 4;
    fake_Install(config);
    info = rlMain_Startup(window.hwnd);
    settings = rasterTestSettings(true);
    settings.useDevice = 2;
    ASSERT_EQ(rlMain_Open(&settings), 1);
    EXPECT_EQ(fake_LastDriver(), 2);
    rlMain_Close();
    settings.useDevice = 4;
    ASSERT_EQ(rlMain_Open(&settings), 1);
    EXPECT_EQ(fake_LastDriver(), 0);
}

TEST_F(RasterSeam, FullScreenOpenFailsWhenTheModeCannotBeSet)
{
    FakeConfig config;
    config.bSetDisplayModeFails = true;
    EXPECT_EQ(open(config, false), 0);
    EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
}

TEST_F(RasterSeam, FullScreenOpenWritesTheObtainedModeAndFlips)
{
    FakeConfig config;
    fake_Install(config);
    rlMain_Startup(window.hwnd);
    settings = rasterTestSettings(false);
    settings.reqScreenWidth = 800;
    settings.reqScreenHeight = 600;
    settings.reqScreenDepth = 32;
    ASSERT_EQ(rlMain_Open(&settings), 1);
    EXPECT_EQ(settings.screenWidth, 800);
    EXPECT_EQ(settings.screenHeight, 600);
    EXPECT_EQ(settings.screenDepth, 32);
    EXPECT_EQ(rlMain_Swap(1), 2u);
    EXPECT_EQ(fake_Calls("Flip"), 1);
    EXPECT_TRUE(fake_InScene());
}

TEST_F(RasterSeam, ResolutionChangeRebuildsWithoutLeaking)
{
    FakeConfig config;
    ASSERT_EQ(open(config, false), 1);
    const int live = fake_LiveObjects();
    settings.gamma = 2.0f;
    rlMain_SetResolution(1024, 768, 16);
    EXPECT_EQ(fake_LiveObjects(), live) << fake_LiveDescription();
    EXPECT_EQ(settings.screenWidth, 1024);
    EXPECT_EQ(settings.screenHeight, 768);
    EXPECT_EQ(settings.screenDepth, 16);
    EXPECT_TRUE(fake_InScene());
    WORD red[256], green[256], blue[256];
    ASSERT_TRUE(fake_GammaRamp(red, green, blue));
    EXPECT_EQ(red[255], 65535);
    EXPECT_EQ(blue[64], static_cast<WORD>(std::sqrt(64 / 255.0) * 65535.0));
    EXPECT_EQ(rlMain_Clear(0, 0), 1);
}

TEST_F(RasterSeam, ResolutionChangeThatFailsLeavesTheDeviceClosed)
{
    FakeConfig config;
    ASSERT_EQ(open(config, false), 1);
    fake_Config().bSetDisplayModeFails = true;
    rlMain_SetResolution(1024, 768, 16);
    EXPECT_FALSE(rlDevice_state.bOpen);
    EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
    int pitch = 0;
    EXPECT_EQ(rlMain_Clear(0, 0), 0);
    EXPECT_EQ(rlMain_LockBuffer(&pitch), nullptr);
    EXPECT_EQ(rlMain_Swap(0), 1u);
}

TEST_F(RasterSeam, WindowedResolutionChangeChangesNothing)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    const int steps = fake_Steps();
    rlMain_SetResolution(1024, 768, 16);
    EXPECT_EQ(fake_Steps(), steps);
    EXPECT_EQ(settings.screenWidth, 640);
    EXPECT_EQ(settings.screenDepth, 16);
}

TEST_F(RasterSeam, APresentGoesToWhereTheWindowIsNow)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    rlMain_Swap(0);
    POINT origin = {0, 0};
    ClientToScreen(window.hwnd, &origin);
    EXPECT_EQ(fake_LastPresentDest().left, origin.x);
    EXPECT_EQ(fake_LastPresentDest().top, origin.y);

    SetWindowPos(window.hwnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    rlMain_Swap(0);
    origin = {0, 0};
    ClientToScreen(window.hwnd, &origin);
    const RECT dest = fake_LastPresentDest();
    EXPECT_EQ(dest.left, origin.x);
    EXPECT_EQ(dest.top, origin.y);
    EXPECT_EQ(dest.right - dest.left, 640);
    EXPECT_EQ(dest.bottom - dest.top, 480);
}

TEST_F(RasterSeam, AFailedLockEntersTheSceneAgain)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    int pitch = -1;
    void* pixels = rlMain_LockBuffer(&pitch);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pitch, 640 * 4);
    EXPECT_FALSE(fake_InScene());
    EXPECT_EQ(rlMain_UnlockBuffer(), 0);
    EXPECT_TRUE(fake_InScene());

    fake_Config().bLockFails = true;
    pitch = -1;
    EXPECT_EQ(rlMain_LockBuffer(&pitch), nullptr);
    EXPECT_EQ(pitch, -1);
    EXPECT_TRUE(fake_InScene());
    EXPECT_TRUE(rlDevice_state.bInScene);
}

TEST_F(RasterSeam, ClearKeepsTheTargetOnlyWhenBitZeroAsks)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    const struct { int keep; DWORD flags; } cases[] = {
        {0, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER},
        {1, D3DCLEAR_ZBUFFER},
        {2, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER},
        {3, D3DCLEAR_ZBUFFER},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rlMain_Clear(0xFF102030, c.keep), 1);
        EXPECT_EQ(fake_LastClearFlags(), c.flags) << c.keep;
    }
}

TEST_F(RasterSeam, GammaRampsRunFromZeroToFullAndRefuseBadComponents)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    WORD red[256], green[256], blue[256];
    rlMain_SetGamma(1.0, 1.0, 1.0);
    ASSERT_TRUE(fake_GammaRamp(red, green, blue));
    for (int i = 0; i < 256; i++) {
        ASSERT_EQ(red[i], i * 257) << i;
        ASSERT_EQ(green[i], i * 257) << i;
        ASSERT_EQ(blue[i], i * 257) << i;
    }
    rlMain_SetGamma(2.0, 1.0, 0.5);
    ASSERT_TRUE(fake_GammaRamp(red, green, blue));
    EXPECT_EQ(red[128], static_cast<WORD>(std::sqrt(128 / 255.0) * 65535.0));
    EXPECT_EQ(blue[128], static_cast<WORD>((128 / 255.0) * (128 / 255.0) * 65535.0));
    EXPECT_EQ(red[255], 65535);
    EXPECT_EQ(blue[0], 0);

    const int calls = fake_Calls("SetGammaRamp");
    rlMain_SetGamma(0.0, 1.0, 1.0);
    rlMain_SetGamma(1.0, -1.0, 1.0);
    rlMain_SetGamma(1.0, 1.0, std::nan(""));
    rlMain_SetGamma(INFINITY, 1.0, 1.0);
    EXPECT_EQ(fake_Calls("SetGammaRamp"), calls);
}

TEST_F(RasterSeam, OperationsOfAClosedDeviceRefuseOrDoNothing)
{
    FakeConfig config;
    fake_Install(config);
    rlMain_Startup(window.hwnd);
    int pitch = 0;
    EXPECT_EQ(rlMain_Clear(0, 0), 0);
    EXPECT_EQ(rlMain_LockBuffer(&pitch), nullptr);
    const uint32_t frame = rlMain_Swap(0);
    EXPECT_EQ(rlMain_Swap(0), frame);
    rlMain_SetGamma(1.0, 1.0, 1.0);
    rlMain_SetResolution(800, 600, 16);
    EXPECT_EQ(rlMain_Open(nullptr), 0);
    // Start-up only: one driver created and asked for its caps and identifier.
    EXPECT_EQ(fake_Steps(), 3);
}

TEST_F(RasterSeam, FrameNumbersSkipZeroWhenTheyWrap)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    EXPECT_EQ(rlMain_Swap(0), 2u);
    const fixtures::Restore<uint32_t> frame(rlDevice_state.frameNumber);
    rlDevice_state.frameNumber = 0xFFFFFFFE;
    EXPECT_EQ(rlMain_Swap(0), 0xFFFFFFFFu);
    EXPECT_EQ(rlMain_Swap(0), 1u);
    EXPECT_EQ(rlMain_Swap(0), 2u);
}

TEST_F(RasterSeam, StatsCopyTheirWordsAndResetThePerFrameOnes)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    const fixtures::Restore<RasterStats> counters(rlDevice_stats);
    rlDevice_stats.textureBytes[0] = 10;
    rlDevice_stats.textureBytes[1] = 11;
    rlDevice_stats.frameBindBytes[0] = 40;
    rlDevice_stats.frameBindBytes[1] = 41;
    rlDevice_stats.uploadBytes[0] = 60;
    rlDevice_stats.uploadBytes[1] = 61;
    rlDevice_stats.numTriangles = 150;
    RasterStats stats;
    memset(&stats, 0xAB, sizeof(stats));
    EXPECT_EQ(rlMain_GetStats(&stats, 1), 1);
    const uint32_t words[16] = {10, 11, 0xABABABAB, 0xABABABAB, 40, 41, 60, 61, 0xABABABAB,
                                0xABABABAB, 0xABABABAB, 0xABABABAB, 0xABABABAB, 0xABABABAB,
                                0xABABABAB, 150};
    EXPECT_EQ(memcmp(&stats, words, sizeof(words)), 0);
    EXPECT_EQ(rlMain_GetStats(&stats, 0), 1);
    EXPECT_EQ(stats.textureBytes[0], 10u);
    EXPECT_EQ(stats.frameBindBytes[0], 0u);
    EXPECT_EQ(stats.uploadBytes[1], 0u);
    EXPECT_EQ(stats.numTriangles, 0u);
    EXPECT_EQ(rlMain_GetStats(nullptr, 1), 0);
}

TEST_F(RasterSeam, SetTextureBufferTakesOnly565Bitmaps)
{
    FakeConfig config;
    ASSERT_EQ(open(config, true), 1);
    EXPECT_EQ(rlMain_SetTextureBuffer(nullptr), 1);
    Bitmap bitmap = {};
    bitmap.format = BITMAP_FORMAT_1555;
    EXPECT_EQ(rlMain_SetTextureBuffer(&bitmap), 0);
}
