// The millisecond clock of the viewer. Every frame-time reader asks stdTime_GetMs, so that a
// test can put a clock of its own in place of timeGetTime.
#pragma once
#include <cstdint>

typedef uint32_t (*stdTimeClockFunc)();

// Milliseconds of the current clock (timeGetTime unless a clock was set).
uint32_t stdTime_GetMs();
// Puts a clock in place (null: timeGetTime again); returns the clock that was in place.
stdTimeClockFunc stdTime_SetClock(stdTimeClockFunc clock);

// Busy-waits on the real millisecond clock until the time has passed.
void stdTime_Wait(uint32_t milliseconds);
