#include "renderMainRaster.h"

#include <windows.h>

#include <cstring>

#include "renderAssert.h"
#include "stdMessageBox.h"

rasterLib renderMain_rasterLib;

namespace {

HMODULE g_hDll;
RasterStats g_frameStats;
// Starts at 1, as the raster library's frame counter does, so that work kept to once a frame
// (stamps that start at 0) runs on the very first frame.
uint32_t g_frameStamp = 1;
rlFuncMain_Initialize g_pfnTestInitialize;

int SlotsComplete(const rasterLib* table)
{
    const uint32_t* words = (const uint32_t*)table;
    for (int slot = 1; slot <= RASTER_LIB_NUM_SLOTS; slot++) {
        if (words[slot] == 0) return 0;
    }
    return 1;
}

// The frame stamp and statistics count the frames of one bound table.
void ForgetFrames()
{
    g_frameStamp = 1;
    memset(&g_frameStats, 0, sizeof g_frameStats);
}

}  // namespace

int renderMain_InitDll(const char* driverName)
{
    if (g_pfnTestInitialize) return renderMain_InitTable(g_pfnTestInitialize);
    if (!driverName || !*driverName) return 0;
    // The library is never unloaded, not even when it is refused.
    g_hDll = LoadLibraryA(driverName);
    if (!g_hDll) return 0;
    rlFuncMain_Initialize initialize =
        (rlFuncMain_Initialize)(void*)GetProcAddress(g_hDll, RASTER_LIB_EXPORT_NAME);
    if (!initialize) return 0;
    return renderMain_InitTable(initialize);
}

// Nothing is called through the table and nothing is copied before every check has passed.
int renderMain_InitTable(rlFuncMain_Initialize initialize)
{
    if (!initialize) return 0;
    rasterLib table;
    memset(&table, 0, sizeof table);
    initialize(&table);
    if (table.version != RASTER_LIB_VERSION) {
        stdMessageBox_Show(nullptr, "Wrong Raster DLL version.", "Error", MB_TASKMODAL);
        return 0;
    }
    if (!SlotsComplete(&table)) return 0;
    renderMain_rasterLib = table;
    renderAssert_SetShutdown(renderMain_rasterLib.funcMain_Shutdown);
    ForgetFrames();
    return 1;
}

int renderMain_IsBound()
{
    return renderMain_rasterLib.version == RASTER_LIB_VERSION;
}

void renderMain_UseInitialize(rlFuncMain_Initialize initialize)
{
    g_pfnTestInitialize = initialize;
}

void renderMain_Unbind()
{
    memset(&renderMain_rasterLib, 0, sizeof renderMain_rasterLib);
    renderAssert_SetShutdown(nullptr);
    ForgetFrames();
}

int renderMain_EndFrame(int wait)
{
    if (!renderMain_IsBound()) return 0;
    renderMain_rasterLib.funcDraw_FlushCache(1);
    renderMain_rasterLib.funcMain_GetStats(&g_frameStats, 1);
    g_frameStamp = renderMain_rasterLib.funcMain_Swap(wait);
    return 1;
}

const RasterStats* renderMain_GetFrameStats() { return &g_frameStats; }
uint32_t renderMain_GetFrameStamp() { return g_frameStamp; }
