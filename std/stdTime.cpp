#include "stdTime.h"

#include <windows.h>
#include <mmsystem.h>

void stdTime_Wait(uint32_t milliseconds)
{
    DWORD start = timeGetTime();
    while (timeGetTime() - start < milliseconds) {
    }
}
