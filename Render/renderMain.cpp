#include "renderMain.h"

#include <windows.h>

#include <cstring>

#include "render.h"
#include "renderBitmap.h"
#include "renderKeyframe.h"
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

const int kNumCaches = (int)(sizeof kCaches / sizeof kCaches[0]);

// Shuts down the caches whose flag is set, in the reverse order of their start-ups.
void ShutdownCaches(const bool* started)
{
    for (int i = kNumCaches - 1; i >= 0; i--) {
        if (started[i]) kCaches[i].shutdown();
    }
}

// The frame stamp and statistics count the frames of one bound table.
void ForgetFrames()
{
    g_frameStamp = 1;
    memset(&g_frameStats, 0, sizeof g_frameStats);
}

int SlotsComplete(const rasterLib* table)
{
    const uint32_t* words = (const uint32_t*)table;
    for (int slot = 1; slot <= RASTER_LIB_NUM_SLOTS; slot++) {
        if (words[slot] == 0) return 0;
    }
    return 1;
}

}  // namespace

// A start-up that fails gives back what it started: the caches that came up are shut down
// again, so that a later start-up finds the front-end as a fresh process has it. The raster
// library gives back a device whose open failed itself.
int renderMain_Startup()
{
    RENDER_ASSERT(!renderMain_bStartup);
    // Every cache gets its start-up, even after an earlier one failed.
    bool started[kNumCaches];
    bool cachesStarted = true;
    for (int i = 0; i < kNumCaches; i++) {
        started[i] = kCaches[i].startup() != 0;
        cachesStarted = cachesStarted && started[i];
    }
    if (cachesStarted && renderMain_InitDll(g_renderSettings.driver)) {
        g_pRasterInfo = g_rasterLib.funcMain_Startup(render_GetWindow());
        if (g_pRasterInfo && g_rasterLib.funcMain_Open(&g_renderSettings)) {
            double gamma = g_renderSettings.gamma;
            g_rasterLib.funcMain_SetGamma(gamma, gamma, gamma);
            renderMain_bStartup = 1;
            return 1;
        }
        g_pRasterInfo = nullptr;
    }
    ShutdownCaches(started);
    return 0;
}

int renderMain_Shutdown()
{
    RENDER_ASSERT(renderMain_bStartup);
    bool all[kNumCaches];
    for (bool& started : all) started = true;
    ShutdownCaches(all);
    if (renderMain_IsBound()) {
        g_rasterLib.funcMain_Close();
        g_rasterLib.funcMain_Shutdown();
    }
    g_pRasterInfo = nullptr;
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
    renderAssert_SetShutdown(g_rasterLib.funcMain_Shutdown);
    ForgetFrames();
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
    renderAssert_SetShutdown(nullptr);
    g_pRasterInfo = nullptr;
    ForgetFrames();
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
