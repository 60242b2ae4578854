// What the dialogs and widgets share within a frame: the mapping of the 640 x 480 UI space
// onto the screen, screen quads through the raster library, and the hovered, pressed and
// key-capture widgets. The UI's start-up, update and draw (ui.h) sit above every module;
// this part sits below them all.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"

struct uiDialog;
struct uiElement;

enum {
    UI_WIDTH = 640,
    UI_HEIGHT = 480,
    UI_MAX_SCREEN_POINTS = 8,  // vertices of one screen face
    // Positions, sizes and spacings a UI script can give lie within +-UI_COORD_LIMIT: far
    // beyond the screen either way, and small enough that every sum and difference the UI makes
    // of a few of them (dialog + quad or widget + size, the cursor minus both) stays exact, in
    // 32-bit integers and in the floats of the screen corners alike.
    UI_COORD_LIMIT = 32767,
};

// Scales of the UI space to a screen of this size.
void ui_SetScreenSize(int width, int height);
// Both scales back to 1.0, as the UI starts.
void ui_ResetScale();
float ui_GetScaleX();
float ui_GetScaleY();

// Four corners (x, y and an unused third float each, y upwards in UI space) scaled to the
// screen and drawn as one textured face; the count argument is not used. The screen counts
// rows downwards (UI y becomes row 479 - y before scaling) and texture coordinates are
// mirrored with it (v becomes 1 - v), so that a picture shows upright where it is placed.
int ui_DrawQuad(const float* corners, const float* uvs, int count, const Bitmap* texture,
                int mode, float alpha);
// count screen points (x, y, z; z unused) with their texture coordinates (u, v) drawn as one
// face through the raster library, colour white with the alpha; at most 8 points. The raster
// result, or 0 when nothing could be drawn.
int ui_DrawScreenQuads(const float* points, const float* uvs, int count, const Bitmap* bitmap,
                       int mode, float alpha);

// Frame state shared with the dialogs and widgets.
uiDialog* ui_GetHoveredDialog();
void ui_SetHoveredDialog(uiDialog* dialog);
uiElement* ui_GetHoveredElement();
// A hovered widget also becomes the last hovered one, which outlives frames without hover.
void ui_SetHoveredElement(uiElement* element);
uiElement* ui_GetLastHoveredElement();
uiElement* ui_GetPressedElement();
void ui_SetPressedElement(uiElement* element);
uiElement* ui_GetKeyCapture();
void ui_SetKeyCapture(uiElement* element);
// Clears every frame record (hovered, last hovered, pressed, key capture) naming the widget.
void ui_ForgetElement(const uiElement* element);
// Clears every frame record, the hovered dialog with them, as the UI shuts down.
void ui_ForgetFrame();
