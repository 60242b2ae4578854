#include "ui.h"

#include <cmath>

#include "renderMainRaster.h"
#include "screenVertexRecord.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiFont.h"
#include "uiResource.h"
#include "uiTextRun.h"
#include "uiWidgets.h"

namespace {

struct UiState {
    int bStartup;
    float scaleX;
    float scaleY;
    uiDialog* pHoveredDialog;
    uiElement* pHovered;
    uiElement* pLastHovered;
    uiElement* pPressed;
    uiElement* pKeyCapture;
};

UiState g_ui = {0, 1.0f, 1.0f, nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace

int ui_Startup()
{
    if (!uiResource_IsStarted() && !uiResource_Startup()) return 0;
    g_ui.scaleX = 1.0f;
    g_ui.scaleY = 1.0f;
    uiCursor_Startup();
    uiWidgets_Register();
    uiFont_LoadDefault();
    g_ui.bStartup = 1;
    return 1;
}

int ui_Shutdown()
{
    if (!g_ui.bStartup) return 0;
    uiFont_FreeDefault();
    uiDialog_FreeAll();
    uiCursor_Shutdown();
    uiResource_Shutdown();
    g_ui = {0, g_ui.scaleX, g_ui.scaleY, nullptr, nullptr, nullptr, nullptr, nullptr};
    return 1;
}

int ui_IsStarted()
{
    return g_ui.bStartup;
}

void ui_Update()
{
    g_ui.pHoveredDialog = nullptr;
    g_ui.pHovered = nullptr;
    if (renderMain_rasterLib.funcDraw_FlushCache) renderMain_rasterLib.funcDraw_FlushCache(1);
    uiDialog_Update();
}

int ui_Draw()
{
    const int drawn = uiDialog_DrawAll();
    uiFont_DrawQueued();
    return drawn;
}

void ui_SetScreenSize(int width, int height)
{
    g_ui.scaleX = (float)width * 0.0015625f;
    g_ui.scaleY = (float)height * 0.0020833334f;
}

float ui_GetScaleX()
{
    return g_ui.scaleX;
}

float ui_GetScaleY()
{
    return g_ui.scaleY;
}

int ui_DrawQuad(const float* corners, const float* uvs, int, const Bitmap* texture, int mode,
                float alpha)
{
    if (!corners) return 0;
    if (!uvs) return 0;
    // The device counts screen rows downwards from the top and holds a texture's first
    // memory row (the image's bottom row) in its line 0. The UI's y grows upwards and its
    // texture coordinates take texture row 0 at the upper corners, so both are mirrored: a
    // quad lands where its dialog puts it and its picture stays upright. y turns into rows
    // about 479, as a cursor y does, which keeps the half-pixel offset on the same side as x.
    float scaled[12];
    float deviceUvs[8];
    for (int i = 0; i < 4; i++) {
        scaled[i * 3] = corners[i * 3] * g_ui.scaleX;
        scaled[i * 3 + 1] = ((float)(UI_HEIGHT - 1) - corners[i * 3 + 1]) * g_ui.scaleY;
        scaled[i * 3 + 2] = corners[i * 3 + 2];
        deviceUvs[i * 2] = uvs[i * 2];
        deviceUvs[i * 2 + 1] = 1.0f - uvs[i * 2 + 1];
    }
    return ui_DrawScreenQuads(scaled, deviceUvs, 4, texture, mode, alpha);
}

int ui_DrawScreenQuads(const float* points, const float* uvs, int count, const Bitmap* bitmap,
                       int mode, float alpha)
{
    if (!points || !uvs || count < 1 || count > UI_MAX_SCREEN_POINTS) return 0;
    if (!renderMain_rasterLib.funcDraw_ScreenFaceImmediate) return 0;
    rlScreenVertex vertices[UI_MAX_SCREEN_POINTS] = {};
    for (int i = 0; i < count; i++) {
        vertices[i].x = points[i * 3];
        vertices[i].y = points[i * 3 + 1];
        vertices[i].u = uvs[i * 2];
        vertices[i].v = uvs[i * 2 + 1];
    }
    const uint32_t colour = 0x00FFFFFFu | ((uint32_t)std::lround(alpha) & 0xFFu) << 24;
    return renderMain_rasterLib.funcDraw_ScreenFaceImmediate(count, vertices, mode,
                                                    bitmap ? bitmap->rasterHandle : 0, colour);
}

uiDialog* ui_GetHoveredDialog() { return g_ui.pHoveredDialog; }
void ui_SetHoveredDialog(uiDialog* dialog) { g_ui.pHoveredDialog = dialog; }
uiElement* ui_GetHoveredElement() { return g_ui.pHovered; }
uiElement* ui_GetLastHoveredElement() { return g_ui.pLastHovered; }
uiElement* ui_GetPressedElement() { return g_ui.pPressed; }
void ui_SetPressedElement(uiElement* element) { g_ui.pPressed = element; }
uiElement* ui_GetKeyCapture() { return g_ui.pKeyCapture; }
void ui_SetKeyCapture(uiElement* element) { g_ui.pKeyCapture = element; }

void ui_SetHoveredElement(uiElement* element)
{
    g_ui.pHovered = element;
    if (element) g_ui.pLastHovered = element;
}

void ui_ForgetElement(const uiElement* element)
{
    if (!element) return;
    if (g_ui.pHovered == element) g_ui.pHovered = nullptr;
    if (g_ui.pLastHovered == element) g_ui.pLastHovered = nullptr;
    if (g_ui.pPressed == element) g_ui.pPressed = nullptr;
    if (g_ui.pKeyCapture == element) g_ui.pKeyCapture = nullptr;
}
