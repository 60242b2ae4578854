// Stand-in for the multimedia header in the native fuzz build: the millisecond clock.
#pragma once
#include "windows.h"

extern "C" DWORD timeGetTime();
