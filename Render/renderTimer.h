// The viewer's frame clock: a tick once a frame measures the time since the last one; two
// clocks scale, clamp and add it up. Clock 0 gives the frame time and the UI's current time,
// clock 1 times the flashing of UI elements. Time comes from stdTime_GetMs.
#pragma once
#include <cstdint>

#include "stdFile.h"

struct renderClock {
    uint32_t tickCount;     // ticks counted while running
    uint32_t totalMs;
    float totalSeconds;     // totalMs x 0.001
    uint32_t frameMs;       // the last step, scaled and clamped to 1 to 1000
    float frameSeconds;     // frameMs x 0.001
    float rate;             // 1 / frameSeconds; 0.1 after a reset
    float scale;            // time scale; 1.0 after a reset
    int32_t paused;         // above 0 stops the clock
};

struct renderTimer {
    int32_t started;
    uint32_t frameCount;    // ticks since start
    uint32_t lastTime;      // clock time of the last tick
    uint32_t elapsedMs;     // between the last two ticks
    renderClock clocks[2];
};

enum {
    RENDERTIMER_MIN_STEP_MS = 1,
    RENDERTIMER_MAX_STEP_MS = 1000,
    RENDERTIMER_FILE_WORDS = 18,   // the timer without the clocks' tick counts
};

// The viewer's timer, stopped with reset clocks until renderTimer_Start.
extern renderTimer renderTimer_viewer;

void renderTimer_Start(renderTimer* timer);
void renderTimer_Tick(renderTimer* timer);
void renderTimer_Reset(renderTimer* timer);
void renderTimer_ResetClock0(renderTimer* timer);
void renderTimer_ResetClock1(renderTimer* timer);
float renderTimer_SetScale0(renderTimer* timer, float scale);
float renderTimer_SetScale1(renderTimer* timer, float scale);
void renderTimer_Split0(const renderTimer* timer, uint32_t* hours, uint32_t* minutes,
                        uint32_t* seconds, uint32_t* milliseconds);
void renderTimer_Split1(const renderTimer* timer, uint32_t* hours, uint32_t* minutes,
                        uint32_t* seconds, uint32_t* milliseconds);
// 18 little-endian words in field order, the tick counts left out. Read changes the timer only
// when all of them were read, and returns 1 then.
int renderTimer_Write(const renderTimer* timer, stdFileHandle file);
int renderTimer_Read(renderTimer* timer, stdFileHandle file);
