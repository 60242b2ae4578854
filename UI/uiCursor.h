// The UI cursor: its position in UI space (640 x 480, y growing upwards, 0 at the bottom), a
// stack of limit rectangles that clamp it, the current picture with its hot spot, an icon
// that can ride on it, and its drawing.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"

struct uiIcon;  // a widget that can ride on the cursor

enum uiCursorHotSpot {
    UICURSOR_HOT_CENTRE = 0,
    UICURSOR_HOT_BOTTOM_LEFT = 1,
    UICURSOR_HOT_BOTTOM_RIGHT = 2,
    UICURSOR_HOT_TOP_LEFT = 3,
    UICURSOR_HOT_TOP_RIGHT = 4,
};

struct uiCursor {
    Bitmap* pBitmap;   // the texture it shows
    float width;       // in UI units
    float height;
    float uvs[8];      // u, v of the corners top-left, top-right, bottom-right, bottom-left
    float hotX;        // from the picture's bottom-left corner, y upwards
    float hotY;
};

struct uiCursorLimit {
    float minX, minY, maxX, maxY;  // both bounds inclusive
    uiCursorLimit* pNext;          // the limit below on the stack
};

void uiCursor_Startup();
// Frees the limit stack and forgets the current, previous and default cursor records and the
// riding icon, which stay their owners'.
void uiCursor_Shutdown();
int uiCursor_IsStarted();

void uiCursor_PushLimit(float minX, float minY, float maxX, float maxY);
// Pops the top limit; an emptied stack gets the default limit 0, 0, 639, 479 again.
void uiCursor_PopLimit();
const uiCursorLimit* uiCursor_GetLimit();

void uiCursor_SetPos(float x, float y);
// Moves by dx, dy in UI space (y upwards).
void uiCursor_Move(float dx, float dy);
// Moves by a mouse movement, whose y grows towards the user (down the screen): the cursor
// follows the mouse on the screen.
void uiCursor_MoveByMouse(float mouseDx, float mouseDy);
float uiCursor_GetX();
float uiCursor_GetY();
float uiCursor_GetPrevX();
float uiCursor_GetPrevY();
float uiCursor_GetDeltaX();
float uiCursor_GetDeltaY();
float uiCursor_GetScreenX();
float uiCursor_GetScreenY();

// A width or height of 0 takes the texture's. A hot-spot mode above 4 puts the hot spot at
// the bottom-left corner.
uiCursor* uiCursor_Create(Bitmap* texture, float width, float height, int hotSpotMode);
// The texture by name through the UI resources, then uiCursor_Create; null when missing.
uiCursor* uiCursor_Load(const char* name, float width, float height, int hotSpotMode);
void uiCursor_Free(uiCursor* cursor);

void uiCursor_Set(uiCursor* cursor);
uiCursor* uiCursor_Get();
uiCursor* uiCursor_GetPrevious();
void uiCursor_SetDefault(uiCursor* cursor);
uiCursor* uiCursor_GetDefault();

// The icon rides on the cursor and its own cursor record becomes current, the old current
// one previous; an icon without a cursor record is refused. TryAttach refuses (0) while an
// icon already rides, else attaches and returns 1.
void uiCursor_AttachIcon(uiIcon* icon);
int uiCursor_TryAttachIcon(uiIcon* icon);
// The previous cursor becomes current again and no icon rides.
void uiCursor_DetachIcon();
uiIcon* uiCursor_GetIcon();

void uiCursor_Show();
void uiCursor_Hide();
int uiCursor_IsShown();

// Draws the current picture at the position with its hot spot; the raster result, or 0 when
// hidden or without a current cursor.
int uiCursor_Draw();
