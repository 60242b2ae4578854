// The render front-end's main module: starts and stops the render caches, loads the raster
// library named in the render settings and binds its operation table, opens the device and
// ends each frame. Every other module reaches the raster library only through g_rasterLib.
//
// Start-up sets and shutdown clears the module's state; a start-up that fails leaves nothing
// started. A binding hands the table's shutdown to the assertion routine (renderAssert.h) and
// counts frames afresh. A loaded raster library stays loaded for the life of the process, and
// a bound table stays bound after shutdown (only renderMain_Unbind forgets it).
#pragma once
#include <cstdint>

#include "rasterLib.h"
#include "renderAssert.h"

// The bound raster operations; every slot stays null until a binding succeeds.
extern rasterLib g_rasterLib;
// 1 after a complete start-up, 0 after shutdown.
extern uint32_t renderMain_bStartup;

int renderMain_Startup();
int renderMain_Shutdown();

// Loads the raster library by file name and binds its table; 0 when the library, its export,
// its version or one of its operations is missing. The library stays loaded either way.
int renderMain_InitDll(const char* driverName);
// Binds the table that the given initialize function fills, with the checks of a library.
int renderMain_InitTable(rlFuncMain_Initialize initialize);
int renderMain_IsBound();
// For tests: while set, renderMain_InitDll binds this function's table instead of loading a
// library; renderMain_Unbind forgets the bound table.
void renderMain_UseInitialize(rlFuncMain_Initialize initialize);
void renderMain_Unbind();

// Ends the frame: flush, statistics with reset, present; wait non-zero waits for the
// vertical blank. 0 when no table is bound.
int renderMain_EndFrame(int wait);
const RasterStats* renderMain_GetFrameStats();
// The frame number of the last present; modules that work once a frame compare it.
uint32_t renderMain_GetFrameStamp();
const RasterInfo* renderMain_GetRasterInfo();
