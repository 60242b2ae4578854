#include "renderMain.h"

#include "render.h"
#include "renderAssert.h"
#include "renderBitmap.h"
#include "renderKeyframe.h"
#include "renderMainRaster.h"
#include "renderMaterial.h"
#include "renderModel.h"
#include "renderSettings.h"

uint32_t renderMain_bStartup;

namespace {

const RasterInfo* g_pRasterInfo;

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
    if (cachesStarted && renderMain_InitDll(renderSettings_current.driver)) {
        g_pRasterInfo = renderMain_rasterLib.funcMain_Startup(render_GetWindow());
        if (g_pRasterInfo && renderMain_rasterLib.funcMain_Open(&renderSettings_current)) {
            double gamma = renderSettings_current.gamma;
            renderMain_rasterLib.funcMain_SetGamma(gamma, gamma, gamma);
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
        renderMain_rasterLib.funcMain_Close();
        renderMain_rasterLib.funcMain_Shutdown();
    }
    g_pRasterInfo = nullptr;
    renderMain_bStartup = 0;
    return 1;
}

const RasterInfo* renderMain_GetRasterInfo() { return g_pRasterInfo; }
