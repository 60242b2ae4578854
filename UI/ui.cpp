#include "ui.h"

#include "renderMainRaster.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiFont.h"
#include "uiFontRuns.h"
#include "uiResource.h"
#include "uiWidgets.h"

namespace {

int g_bStartup;

}  // namespace

int ui_Startup()
{
    if (!uiResource_IsStarted() && !uiResource_Startup()) return 0;
    ui_ResetScale();
    uiCursor_Startup();
    uiWidgets_Register();
    uiFont_LoadDefault();
    g_bStartup = 1;
    return 1;
}

int ui_Shutdown()
{
    if (!g_bStartup) return 0;
    uiFont_FreeDefault();
    uiDialog_FreeAll();
    uiCursor_Shutdown();
    uiResource_Shutdown();
    ui_ForgetFrame();
    g_bStartup = 0;
    return 1;
}

int ui_IsStarted()
{
    return g_bStartup;
}

void ui_Update()
{
    ui_SetHoveredDialog(nullptr);
    ui_SetHoveredElement(nullptr);
    if (renderMain_rasterLib.funcDraw_FlushCache) renderMain_rasterLib.funcDraw_FlushCache(1);
    uiDialog_Update();
}

int ui_Draw()
{
    const int drawn = uiDialog_DrawAll();
    uiFont_DrawQueued();
    return drawn;
}
