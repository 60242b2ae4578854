// The UI library's main module: start-up and shutdown, the per-frame update and draw, the
// mapping of the 640 x 480 UI space onto the screen, screen quads through the raster library,
// and the hover, press and key-capture state that the dialogs and widgets share.
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

// Starts the registry, the cursor and the default font; scales 1.0. 1, or 0 when the
// registry cannot be made.
int ui_Startup();
// 1, or 0 when not started: frees the text runs and the default font, closes and frees every
// dialog open in a layer or waiting to be freed, pops every layer, forgets the frame's hover,
// press and key capture, and stops the cursor and the registry. Dialogs that were never
// opened, and cursor records, stay their owner's.
int ui_Shutdown();
int ui_IsStarted();

// Once a frame: clears the frame's hover and flushes the raster library's draw cache; the
// dialogs' update, which finds the hovered dialog and widget, runs after it.
void ui_Update();
// Once a frame, after ui_Update: the dialogs of the top layer, then the floating text runs.
// The number of dialogs drawn.
int ui_Draw();

// Scales of the UI space to a screen of this size.
void ui_SetScreenSize(int width, int height);
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

// Events of the UI input dispatcher, 0 to 9; each reaches the hovered widget's operation of
// the same number (OnEvent0 ... OnEvent7, OnKey). 3, 4 and 8 reach no widget.
enum {
    UIEVENT_PRESS = 0,      // the hovered widget becomes the pressed one
    UIEVENT_RELEASE = 1,    // reaches the hovered widget only when it is the pressed one
    UIEVENT_ICON = 7,       // reaches a riding icon first
    UIEVENT_KEY = 9,        // the argument is the key; the key-capture widget takes it alone
    UIEVENT_COUNT = 10,
};
// Hands an input event to the widgets: a key to the key-capture widget, else, over a hovered
// dialog, first to the dialog's event callback, then press, release and events 2, 5, 6 and 7
// to the hovered widget and a key to the dialog's focus widget. The viewer does not call it.
void ui_DispatchEvent(int event, uint32_t argument);

