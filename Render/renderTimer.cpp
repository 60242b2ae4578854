#include "renderTimer.h"

#include <cstring>

#include "stdTime.h"

namespace {

constexpr float kResetRate = 0.1f;

constexpr renderTimer MakeResetTimer()
{
    renderTimer timer = {};
    for (renderClock& clock : timer.clocks) {
        clock.rate = kResetRate;
        clock.scale = 1.0f;
    }
    return timer;
}

// Zeroes the first five fields; the scale and the pause stay.
void ResetClock(renderClock* clock)
{
    clock->tickCount = 0;
    clock->totalMs = 0;
    clock->totalSeconds = 0.0f;
    clock->frameMs = 0;
    clock->frameSeconds = 0.0f;
    clock->rate = kResetRate;
}

void TickClock(renderClock* clock, uint32_t elapsedMs)
{
    if (clock->paused > 0) {
        clock->frameMs = 0;
        clock->frameSeconds = 0.0f;
        clock->rate = 0.0f;
        return;
    }
    clock->tickCount++;
    // Clamped before the conversion, so that no scale can overflow the integer.
    float scaled = clock->scale * (float)elapsedMs;
    uint32_t step = scaled >= (float)RENDERTIMER_MAX_STEP_MS ? (uint32_t)RENDERTIMER_MAX_STEP_MS
                    : scaled > 0.0f                          ? (uint32_t)scaled
                                                             : 0u;
    if (step < RENDERTIMER_MIN_STEP_MS) step = RENDERTIMER_MIN_STEP_MS;
    clock->frameMs = step;
    clock->totalMs += step;
    clock->totalSeconds = (float)clock->totalMs * 0.001f;
    clock->frameSeconds = (float)step * 0.001f;
    clock->rate = 1.0f / clock->frameSeconds;
}

float SetScale(renderClock* clock, float scale)
{
    float previous = clock->scale;
    clock->scale = scale > 0.0f ? scale : 0.0f;
    return previous;
}

void Split(const renderClock* clock, uint32_t* hours, uint32_t* minutes, uint32_t* seconds,
           uint32_t* milliseconds)
{
    uint32_t ms = clock->totalMs;
    if (hours) *hours = ms / 3600000u;
    if (minutes) *minutes = ms / 60000u % 60u;
    if (seconds) *seconds = ms / 1000u % 60u;
    if (milliseconds) *milliseconds = ms % 1000u;
}

uint32_t FloatBits(float value)
{
    uint32_t bits;
    memcpy(&bits, &value, 4);
    return bits;
}

float BitsFloat(uint32_t bits)
{
    float value;
    memcpy(&value, &bits, 4);
    return value;
}

}  // namespace

constinit renderTimer renderTimer_viewer = MakeResetTimer();

// Clears the start, the frame count and the last time and resets both clocks; the last
// elapsed time stays.
void renderTimer_Reset(renderTimer* timer)
{
    uint32_t elapsedMs = timer->elapsedMs;
    *timer = MakeResetTimer();
    timer->elapsedMs = elapsedMs;
}

void renderTimer_Start(renderTimer* timer)
{
    renderTimer_Reset(timer);
    timer->started = 1;
    timer->lastTime = stdTime_GetMs();
}

void renderTimer_Tick(renderTimer* timer)
{
    timer->frameCount++;
    uint32_t now = stdTime_GetMs();
    // A clock that wrapped since the last tick counts one millisecond less.
    timer->elapsedMs = now >= timer->lastTime ? now - timer->lastTime : now - timer->lastTime - 1;
    for (renderClock& clock : timer->clocks) TickClock(&clock, timer->elapsedMs);
    timer->lastTime = now;
}

void renderTimer_ResetClock0(renderTimer* timer) { ResetClock(&timer->clocks[0]); }
void renderTimer_ResetClock1(renderTimer* timer) { ResetClock(&timer->clocks[1]); }

float renderTimer_SetScale0(renderTimer* timer, float scale) { return SetScale(&timer->clocks[0], scale); }
float renderTimer_SetScale1(renderTimer* timer, float scale) { return SetScale(&timer->clocks[1], scale); }

void renderTimer_Split0(const renderTimer* timer, uint32_t* hours, uint32_t* minutes,
                        uint32_t* seconds, uint32_t* milliseconds)
{
    Split(&timer->clocks[0], hours, minutes, seconds, milliseconds);
}

void renderTimer_Split1(const renderTimer* timer, uint32_t* hours, uint32_t* minutes,
                        uint32_t* seconds, uint32_t* milliseconds)
{
    Split(&timer->clocks[1], hours, minutes, seconds, milliseconds);
}

int renderTimer_Write(const renderTimer* timer, stdFileHandle file)
{
    uint32_t words[RENDERTIMER_FILE_WORDS];
    int n = 0;
    words[n++] = (uint32_t)timer->started;
    words[n++] = timer->frameCount;
    words[n++] = timer->lastTime;
    words[n++] = timer->elapsedMs;
    for (const renderClock& clock : timer->clocks) {
        words[n++] = clock.totalMs;
        words[n++] = FloatBits(clock.totalSeconds);
        words[n++] = clock.frameMs;
        words[n++] = FloatBits(clock.frameSeconds);
        words[n++] = FloatBits(clock.rate);
        words[n++] = FloatBits(clock.scale);
        words[n++] = (uint32_t)clock.paused;
    }
    uint8_t bytes[RENDERTIMER_FILE_WORDS * 4];
    for (int i = 0; i < RENDERTIMER_FILE_WORDS; i++)
        for (int k = 0; k < 4; k++) bytes[i * 4 + k] = (uint8_t)(words[i] >> (8 * k));
    return stdFile_Write(bytes, 1, sizeof bytes, file) == sizeof bytes;
}

int renderTimer_Read(renderTimer* timer, stdFileHandle file)
{
    uint8_t bytes[RENDERTIMER_FILE_WORDS * 4];
    if (stdFile_Read(bytes, 1, sizeof bytes, file) != sizeof bytes) return 0;
    uint32_t words[RENDERTIMER_FILE_WORDS];
    for (int i = 0; i < RENDERTIMER_FILE_WORDS; i++)
        words[i] = (uint32_t)bytes[i * 4] | (uint32_t)bytes[i * 4 + 1] << 8 |
                   (uint32_t)bytes[i * 4 + 2] << 16 | (uint32_t)bytes[i * 4 + 3] << 24;
    int n = 0;
    timer->started = (int32_t)words[n++];
    timer->frameCount = words[n++];
    timer->lastTime = words[n++];
    timer->elapsedMs = words[n++];
    for (renderClock& clock : timer->clocks) {
        clock.totalMs = words[n++];
        clock.totalSeconds = BitsFloat(words[n++]);
        clock.frameMs = words[n++];
        clock.frameSeconds = BitsFloat(words[n++]);
        clock.rate = BitsFloat(words[n++]);
        clock.scale = BitsFloat(words[n++]);
        clock.paused = (int32_t)words[n++];
    }
    return 1;
}
