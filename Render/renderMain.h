// The render front-end's main module: starts and stops the render caches, has the raster
// library named in the render settings bound (renderMainRaster.h) and opens the device. Every
// other module reaches the raster library only through renderMain_rasterLib.
//
// Start-up sets and shutdown clears the module's state; a start-up that fails leaves nothing
// started.
#pragma once
#include <cstdint>

#include "rasterLib.h"
#include "renderMainRaster.h"

// 1 after a complete start-up, 0 after shutdown.
extern uint32_t renderMain_bStartup;

int renderMain_Startup();
int renderMain_Shutdown();
// What the raster library reported at start-up; null before.
const RasterInfo* renderMain_GetRasterInfo();
