#pragma once
#include <cstdint>

// Busy-waits on the millisecond clock until the time has passed.
void stdTime_Wait(uint32_t milliseconds);
