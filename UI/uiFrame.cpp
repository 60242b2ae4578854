#include "uiFrame.h"

#include <cmath>

#include "renderMainRaster.h"
#include "screenVertexRecord.h"

namespace {

struct FrameState {
    float scaleX;
    float scaleY;
    uiDialog* pHoveredDialog;
    uiElement* pHovered;
    uiElement* pLastHovered;
    uiElement* pPressed;
    uiElement* pKeyCapture;
};

FrameState g_frame = {1.0f, 1.0f, nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace

void ui_SetScreenSize(int width, int height)
{
    g_frame.scaleX = (float)width * 0.0015625f;
    g_frame.scaleY = (float)height * 0.0020833334f;
}

void ui_ResetScale()
{
    g_frame.scaleX = 1.0f;
    g_frame.scaleY = 1.0f;
}

float ui_GetScaleX()
{
    return g_frame.scaleX;
}

float ui_GetScaleY()
{
    return g_frame.scaleY;
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
        scaled[i * 3] = corners[i * 3] * g_frame.scaleX;
        scaled[i * 3 + 1] = ((float)(UI_HEIGHT - 1) - corners[i * 3 + 1]) * g_frame.scaleY;
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

uiDialog* ui_GetHoveredDialog() { return g_frame.pHoveredDialog; }
void ui_SetHoveredDialog(uiDialog* dialog) { g_frame.pHoveredDialog = dialog; }
uiElement* ui_GetHoveredElement() { return g_frame.pHovered; }
uiElement* ui_GetLastHoveredElement() { return g_frame.pLastHovered; }
uiElement* ui_GetPressedElement() { return g_frame.pPressed; }
void ui_SetPressedElement(uiElement* element) { g_frame.pPressed = element; }
uiElement* ui_GetKeyCapture() { return g_frame.pKeyCapture; }
void ui_SetKeyCapture(uiElement* element) { g_frame.pKeyCapture = element; }

void ui_SetHoveredElement(uiElement* element)
{
    g_frame.pHovered = element;
    if (element) g_frame.pLastHovered = element;
}

void ui_ForgetElement(const uiElement* element)
{
    if (!element) return;
    if (g_frame.pHovered == element) g_frame.pHovered = nullptr;
    if (g_frame.pLastHovered == element) g_frame.pLastHovered = nullptr;
    if (g_frame.pPressed == element) g_frame.pPressed = nullptr;
    if (g_frame.pKeyCapture == element) g_frame.pKeyCapture = nullptr;
}

void ui_ForgetFrame()
{
    g_frame = {g_frame.scaleX, g_frame.scaleY, nullptr, nullptr, nullptr, nullptr, nullptr};
}
