// The bound raster table of the render front-end: loading the raster library, the checks of its
// table, and the end of each frame through it. It sits below the render caches and the UI, which
// all draw through renderMain_rasterLib; renderMain.h starts them.
//
// A binding hands the table's shutdown to the assertion routine (renderAssert.h) and counts
// frames afresh. A loaded raster library stays loaded for the life of the process, and a bound
// table stays bound after the front-end's shutdown (only renderMain_Unbind forgets it).
#pragma once
#include <cstdint>

#include "rasterLib.h"

// The bound raster operations; every slot stays null until a binding succeeds.
extern rasterLib renderMain_rasterLib;

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
