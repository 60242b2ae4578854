// The frame clock on the fake clock: clamped and scaled steps, pauses, resets, splits and the
// timer's file form.
#include <gtest/gtest.h>

#include <cstring>

#include "fakeClock.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "renderTimer.h"
#include "stdFile.h"

using fakes::FakeClock;

TEST(RenderTimer, TheViewersTimerStartsResetAndStopped)
{
    EXPECT_EQ(renderTimer_viewer.started, 0);
    EXPECT_EQ(renderTimer_viewer.frameCount, 0u);
    for (const renderClock& clock : renderTimer_viewer.clocks) {
        EXPECT_FLOAT_EQ(clock.rate, 0.1f);
        EXPECT_FLOAT_EQ(clock.scale, 1.0f);
        EXPECT_EQ(clock.totalMs, 0u);
        EXPECT_EQ(clock.paused, 0);
    }
}

TEST(RenderTimer, StepsAreScaledAndClampedToOneSecond)
{
    struct Case {
        uint32_t gapMs;
        float scale;
        uint32_t frameMs;
    };
    const Case cases[] = {
        {0, 1.0f, 1},   {5000, 1.0f, 1000}, {40, 0.5f, 20}, {16, 1.0f, 16},   {1000, 1.0f, 1000},
        {1001, 1.0f, 1000}, {3, 0.25f, 1}, {700, 2.0f, 1000}, {10, 0.0f, 1}, {0x7FFFFFFFu, 1e30f, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gapMs << " ms at " << c.scale);
        FakeClock clock(100);
        renderTimer timer = {};
        renderTimer_Start(&timer);
        EXPECT_EQ(timer.started, 1);
        EXPECT_EQ(timer.lastTime, 100u);
        renderTimer_SetScale0(&timer, c.scale);
        clock.Advance(c.gapMs);
        renderTimer_Tick(&timer);
        const renderClock& c0 = timer.clocks[0];
        EXPECT_EQ(timer.frameCount, 1u);
        EXPECT_EQ(timer.elapsedMs, c.gapMs);
        EXPECT_EQ(timer.lastTime, clock.Now());
        EXPECT_EQ(c0.frameMs, c.frameMs);
        EXPECT_EQ(c0.totalMs, c.frameMs);
        EXPECT_EQ(c0.tickCount, 1u);
        EXPECT_FLOAT_EQ(c0.frameSeconds, c.frameMs * 0.001f);
        EXPECT_FLOAT_EQ(c0.totalSeconds, c.frameMs * 0.001f);
        EXPECT_FLOAT_EQ(c0.rate, 1.0f / (c.frameMs * 0.001f));
    }
}

TEST(RenderTimer, ClocksAddUpAndPauseOnTheirOwn)
{
    FakeClock clock(0);
    renderTimer timer = {};
    renderTimer_Start(&timer);
    for (int i = 0; i < 3; i++) {
        clock.Advance(30);
        renderTimer_Tick(&timer);
    }
    EXPECT_EQ(timer.clocks[0].totalMs, 90u);
    EXPECT_EQ(timer.clocks[1].totalMs, 90u);
    timer.clocks[1].paused = 1;
    clock.Advance(50);
    renderTimer_Tick(&timer);
    EXPECT_EQ(timer.clocks[0].totalMs, 140u);
    EXPECT_EQ(timer.clocks[1].totalMs, 90u);   // kept
    EXPECT_EQ(timer.clocks[1].tickCount, 3u);
    EXPECT_EQ(timer.clocks[1].frameMs, 0u);
    EXPECT_FLOAT_EQ(timer.clocks[1].frameSeconds, 0.0f);
    EXPECT_FLOAT_EQ(timer.clocks[1].rate, 0.0f);
    EXPECT_EQ(timer.frameCount, 4u);
    timer.clocks[1].paused = 0;
    clock.Advance(10);
    renderTimer_Tick(&timer);
    EXPECT_EQ(timer.clocks[1].totalMs, 100u);
}

TEST(RenderTimer, AClockThatWrapsCountsOneLess)
{
    FakeClock clock(0xFFFFFFF0u);
    renderTimer timer = {};
    renderTimer_Start(&timer);
    clock.Set(0x10);
    renderTimer_Tick(&timer);
    EXPECT_EQ(timer.elapsedMs, 0x1Fu);
    EXPECT_EQ(timer.clocks[0].frameMs, 0x1Fu);
}

TEST(RenderTimer, ScalesResetsAndSplits)
{
    FakeClock clock(0);
    renderTimer timer = {};
    renderTimer_Reset(&timer);
    EXPECT_EQ(timer.started, 0);
    EXPECT_FLOAT_EQ(renderTimer_SetScale1(&timer, 2.0f), 1.0f);
    EXPECT_FLOAT_EQ(renderTimer_SetScale1(&timer, -3.0f), 2.0f);
    EXPECT_FLOAT_EQ(timer.clocks[1].scale, 0.0f);
    renderTimer_SetScale1(&timer, 0.5f);

    timer.clocks[0].totalMs = 3 * 3600000u + 25 * 60000u + 7 * 1000u + 89u;
    uint32_t h, m, s, ms;
    renderTimer_Split0(&timer, &h, &m, &s, &ms);
    EXPECT_EQ(h, 3u);
    EXPECT_EQ(m, 25u);
    EXPECT_EQ(s, 7u);
    EXPECT_EQ(ms, 89u);

    timer.clocks[1].totalMs = 61001;
    timer.clocks[1].paused = 2;
    timer.clocks[1].tickCount = 5;
    renderTimer_Split1(&timer, &h, &m, &s, &ms);
    EXPECT_EQ(m, 1u);
    EXPECT_EQ(s, 1u);
    EXPECT_EQ(ms, 1u);
    renderTimer_ResetClock1(&timer);
    EXPECT_EQ(timer.clocks[1].totalMs, 0u);
    EXPECT_EQ(timer.clocks[1].tickCount, 0u);
    EXPECT_FLOAT_EQ(timer.clocks[1].rate, 0.1f);
    EXPECT_FLOAT_EQ(timer.clocks[1].scale, 0.5f);   // kept
    EXPECT_EQ(timer.clocks[1].paused, 2);           // kept
    renderTimer_ResetClock0(&timer);
    EXPECT_EQ(timer.clocks[0].totalMs, 0u);
}

TEST(RenderTimer, FileFormLeavesTheTickCountsOut)
{
    fixtures::WorkFolder work(fixtures::TestFolderName());
    stdFile_Startup();
    FakeClock clock(500);
    renderTimer timer = {};
    renderTimer_Start(&timer);
    clock.Advance(25);
    renderTimer_Tick(&timer);
    timer.clocks[1].paused = -4;

    stdFileHandle out = stdFile_OpenPath("timer.bin", "wb");
    ASSERT_NE(out, 0u);
    EXPECT_EQ(renderTimer_Write(&timer, out), 1);
    stdFile_Close(out);
    fixtures::Bytes bytes = fixtures::ReadBytes("timer.bin");
    ASSERT_EQ(bytes.size(), 72u);
    auto word = [&](int i) {
        return (uint32_t)(bytes[i * 4] | bytes[i * 4 + 1] << 8 | bytes[i * 4 + 2] << 16 | bytes[i * 4 + 3] << 24);
    };
    EXPECT_EQ(word(0), 1u);      // started
    EXPECT_EQ(word(1), 1u);      // frameCount
    EXPECT_EQ(word(2), 525u);    // lastTime
    EXPECT_EQ(word(3), 25u);     // elapsedMs
    EXPECT_EQ(word(4), 25u);     // clock 0 totalMs, no tick count before it
    EXPECT_EQ(word(6), 25u);     // clock 0 frameMs
    EXPECT_EQ(word(11), 25u);    // clock 1 totalMs
    EXPECT_EQ(word(17), (uint32_t)-4);

    renderTimer back = {};
    renderTimer_Reset(&back);
    stdFileHandle in = stdFile_OpenPath("timer.bin", "rb");
    EXPECT_EQ(renderTimer_Read(&back, in), 1);
    stdFile_Close(in);
    EXPECT_EQ(back.clocks[0].tickCount, 0u);
    back.clocks[0].tickCount = timer.clocks[0].tickCount;
    back.clocks[1].tickCount = timer.clocks[1].tickCount;
    EXPECT_EQ(memcmp(&back, &timer, sizeof timer), 0);

    // A short file changes nothing.
    ASSERT_TRUE(fixtures::WriteBytes("short.bin", fixtures::Truncated(bytes, 71)));
    renderTimer untouched = {};
    renderTimer_Reset(&untouched);
    in = stdFile_OpenPath("short.bin", "rb");
    EXPECT_EQ(renderTimer_Read(&untouched, in), 0);
    stdFile_Close(in);
    EXPECT_EQ(untouched.started, 0);
    stdFile_Shutdown();
}
