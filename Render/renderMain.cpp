#include "renderMain.h"

#include <windows.h>

#include <cstring>

#include "render.h"
#include "renderBitmap.h"
#include "renderKeyframe.h"
#include "renderMaterial.h"
#include "renderModel.h"
#include "renderMaterial.h"
#include "renderModel.h"
#include "renderSettings.h"
#include "stdMessageBox.h"

rasterLib g_rasterLib;
uint32_t renderMain_bStartup;

namespace {

HMODULE g_hDll;
const RasterInfo* g_pRasterInfo;
RasterStats g_frameStats;
// Starts at 1, as the raster library's frame counter does, so that work kept to once a frame
// (stamps that start at 0) runs on the very first frame.
uint32_t g_frameStamp = 1;
rlFuncMain_Initialize g_pfnTestInitialize;

// The render caches, started in this order and shut down in the reverse one.
struct RenderCache {
    int (*startup)();
    int (*shutdown)();
};

const RenderCache kCaches[] = {
    {renderBitmap_Startup, renderBitmap_Shutdown},
    {renderMaterial_Startup, renderMaterial_Shutdown},
    {renderModel_Startup, renderModel_Shutdown},
    {renderKeyframe_Startup, renderKeyframe_Shutdown},
};

int SlotsComplete(const rasterLib* table)
{
    const uint32_t* words = (const uint32_t*)table;
    for (int slot = 1; slot <= RASTER_LIB_NUM_SLOTS; slot++) {
        if (words[slot] == 0) return 0;
    }
    return 1;
}

}  // namespace

int renderMain_Startup()
{
    RENDER_ASSERT(!renderMain_bStartup);
    // Every cache gets its start-up, even after an earlier one failed.
    int cachesStarted = 1;
    for (const RenderCache& cache : kCaches) {
        if (!cache.startup()) cachesStarted = 0;
    }
    if (!cachesStarted) return 0;
    if (!renderMain_InitDll(g_renderSettings.driver)) return 0;
    g_pRasterInfo = g_rasterLib.funcMain_Startup(render_GetWindow());
    if (!g_pRasterInfo) return 0;
    if (!g_rasterLib.funcMain_Open(&g_renderSettings)) return 0;
    double gamma = g_renderSettings.gamma;
    g_rasterLib.funcMain_SetGamma(gamma, gamma, gamma);
    renderMain_bStartup = 1;
    return 1;
}

int renderMain_Shutdown()
{
    RENDER_ASSERT(renderMain_bStartup);
    for (int i = (int)(sizeof kCaches / sizeof kCaches[0]) - 1; i >= 0; i--) kCaches[i].shutdown();
    if (renderMain_IsBound()) {
        g_rasterLib.funcMain_Close();
        g_rasterLib.funcMain_Shutdown();
    }
    renderMain_bStartup = 0;
    return 1;
}

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
    g_rasterLib = table;
    return 1;
}

int renderMain_IsBound()
{
    return g_rasterLib.version == RASTER_LIB_VERSION;
}

void renderMain_UseInitialize(rlFuncMain_Initialize initialize)
{
    g_pfnTestInitialize = initialize;
}

void renderMain_Unbind()
{
    memset(&g_rasterLib, 0, sizeof g_rasterLib);
}

int renderMain_EndFrame(int wait)
{
    if (!renderMain_IsBound()) return 0;
    g_rasterLib.funcDraw_FlushCache(1);
    g_rasterLib.funcMain_GetStats(&g_frameStats, 1);
    g_frameStamp = g_rasterLib.funcMain_Swap(wait);
    return 1;
}

const RasterStats* renderMain_GetFrameStats() { return &g_frameStats; }
uint32_t renderMain_GetFrameStamp() { return g_frameStamp; }
const RasterInfo* renderMain_GetRasterInfo() { return g_pRasterInfo; }
