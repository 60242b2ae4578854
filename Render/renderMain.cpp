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
    if (!renderMain_InitDll(renderSettings_current.driver)) return 0;
    g_pRasterInfo = renderMain_rasterLib.funcMain_Startup(render_GetWindow());
    if (!g_pRasterInfo) return 0;
    if (!renderMain_rasterLib.funcMain_Open(&renderSettings_current)) return 0;
    double gamma = renderSettings_current.gamma;
    renderMain_rasterLib.funcMain_SetGamma(gamma, gamma, gamma);
    renderMain_bStartup = 1;
    return 1;
}

int renderMain_Shutdown()
{
    RENDER_ASSERT(renderMain_bStartup);
    for (int i = (int)(sizeof kCaches / sizeof kCaches[0]) - 1; i >= 0; i--) kCaches[i].shutdown();
    if (renderMain_IsBound()) {
        renderMain_rasterLib.funcMain_Close();
        renderMain_rasterLib.funcMain_Shutdown();
    }
    renderMain_bStartup = 0;
    return 1;
}

const RasterInfo* renderMain_GetRasterInfo() { return g_pRasterInfo; }
