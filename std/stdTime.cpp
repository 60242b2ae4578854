#include "stdTime.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

uint32_t SystemClock()
{
    return timeGetTime();
}

stdTimeClockFunc g_pfnClock = SystemClock;

}  // namespace

uint32_t stdTime_GetMs()
{
    return g_pfnClock();
}

stdTimeClockFunc stdTime_SetClock(stdTimeClockFunc clock)
{
    stdTimeClockFunc previous = g_pfnClock;
    g_pfnClock = clock ? clock : SystemClock;
    return previous;
}

// A wait must end even while a test holds the clock still, so it reads the real one.
void stdTime_Wait(uint32_t milliseconds)
{
    DWORD start = timeGetTime();
    while (timeGetTime() - start < milliseconds) {
    }
}
