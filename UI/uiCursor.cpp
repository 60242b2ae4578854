#include "uiCursor.h"

#include <cstdlib>

#include "renderAssert.h"
#include "renderMainRaster.h"
#include "renderModes.h"
#include "uiFrame.h"
#include "uiRecords.h"
#include "uiResource.h"

// Broken preconditions name the expression and this module, and the program goes on.
#define CURSOR_ASSERT(cond, text) \
    ((cond) ? (void)0 : renderAssert_Fail(text, "UI\\uiCursor", __LINE__))

namespace {

const uiCursorLimit kDefaultLimit = {0.0f, 0.0f, 639.0f, 479.0f, nullptr};

struct CursorState {
    float x, y;
    float prevX, prevY;
    float deltaX, deltaY;
    float screenX, screenY;
    uiCursor* pCurrent;
    uiCursor* pPrevious;
    uiCursor* pDefault;
    uiIcon* pIcon;
    uiCursorLimit* pLimits;
    int bShown;
    int bStartup;
};

CursorState g_cursor = {0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 1, 0};

int Push(const uiCursorLimit& limit)
{
    uiCursorLimit* top = (uiCursorLimit*)malloc(sizeof(uiCursorLimit));
    if (!top) return 0;
    *top = limit;
    top->pNext = g_cursor.pLimits;
    g_cursor.pLimits = top;
    return 1;
}

void UpdateScreen()
{
    g_cursor.screenX = g_cursor.x * ui_GetScaleX();
    g_cursor.screenY = g_cursor.y * ui_GetScaleY();
}

void ClampToTop()
{
    const uiCursorLimit* limit = g_cursor.pLimits;
    CURSOR_ASSERT(limit, "pLimitStack");
    if (!limit) return;
    if (g_cursor.x < limit->minX) g_cursor.x = limit->minX;
    else if (g_cursor.x > limit->maxX) g_cursor.x = limit->maxX;
    if (g_cursor.y < limit->minY) g_cursor.y = limit->minY;
    else if (g_cursor.y > limit->maxY) g_cursor.y = limit->maxY;
}

void FreeLimits()
{
    while (uiCursorLimit* top = g_cursor.pLimits) {
        g_cursor.pLimits = top->pNext;
        free(top);
    }
}

}  // namespace

void uiCursor_Startup()
{
    if (g_cursor.bStartup) uiCursor_Shutdown();
    g_cursor.x = g_cursor.y = g_cursor.prevX = g_cursor.prevY = 0.0f;
    g_cursor.deltaX = g_cursor.deltaY = g_cursor.screenX = g_cursor.screenY = 0.0f;
    CURSOR_ASSERT(Push(kDefaultLimit), "pLimitStack");
    g_cursor.x = 320.0f;
    g_cursor.y = 240.0f;
    UpdateScreen();
    g_cursor.bStartup = 1;
}

void uiCursor_Shutdown()
{
    FreeLimits();
    g_cursor.pCurrent = g_cursor.pPrevious = g_cursor.pDefault = nullptr;
    g_cursor.pIcon = nullptr;
    g_cursor.bStartup = 0;
}

int uiCursor_IsStarted()
{
    return g_cursor.bStartup;
}

void uiCursor_PushLimit(float minX, float minY, float maxX, float maxY)
{
    int pushed = Push({minX, minY, maxX, maxY, nullptr});
    CURSOR_ASSERT(pushed, "pLimit");
    if (!pushed) return;
    ClampToTop();
    UpdateScreen();
}

void uiCursor_PopLimit()
{
    uiCursorLimit* top = g_cursor.pLimits;
    CURSOR_ASSERT(top, "pLimit");
    if (top) {
        g_cursor.pLimits = top->pNext;
        free(top);
    }
    if (!g_cursor.pLimits) CURSOR_ASSERT(Push(kDefaultLimit), "pLimitStack");
    ClampToTop();
    UpdateScreen();
}

const uiCursorLimit* uiCursor_GetLimit()
{
    return g_cursor.pLimits;
}

void uiCursor_SetPos(float x, float y)
{
    g_cursor.prevX = g_cursor.x;
    g_cursor.prevY = g_cursor.y;
    g_cursor.x = x;
    g_cursor.y = y;
    ClampToTop();
    g_cursor.deltaX = g_cursor.x - g_cursor.prevX;
    g_cursor.deltaY = g_cursor.y - g_cursor.prevY;
    UpdateScreen();
}

void uiCursor_Move(float dx, float dy)
{
    uiCursor_SetPos(g_cursor.x + dx, g_cursor.y + dy);
}

void uiCursor_MoveByMouse(float mouseDx, float mouseDy)
{
    uiCursor_Move(mouseDx, -mouseDy);
}

float uiCursor_GetX() { return g_cursor.x; }
float uiCursor_GetY() { return g_cursor.y; }
float uiCursor_GetPrevX() { return g_cursor.prevX; }
float uiCursor_GetPrevY() { return g_cursor.prevY; }
float uiCursor_GetDeltaX() { return g_cursor.deltaX; }
float uiCursor_GetDeltaY() { return g_cursor.deltaY; }
float uiCursor_GetScreenX() { return g_cursor.screenX; }
float uiCursor_GetScreenY() { return g_cursor.screenY; }

uiCursor* uiCursor_Create(Bitmap* texture, float width, float height, int hotSpotMode)
{
    CURSOR_ASSERT(texture, "pBitmap");
    if (!texture) return nullptr;
    uiCursor* cursor = (uiCursor*)calloc(1, sizeof(uiCursor));
    CURSOR_ASSERT(cursor, "pCursor");
    if (!cursor) return nullptr;
    cursor->pBitmap = texture;
    cursor->width = width != 0.0f ? width : (float)texture->width;
    cursor->height = height != 0.0f ? height : (float)texture->height;
    const float u = texture->width ? cursor->width / (float)texture->width : 0.0f;
    const float v = texture->height ? cursor->height / (float)texture->height : 0.0f;
    const float uvs[8] = {0.0f, 0.0f, u, 0.0f, u, v, 0.0f, v};
    for (int i = 0; i < 8; i++) cursor->uvs[i] = uvs[i];
    switch (hotSpotMode) {
    case UICURSOR_HOT_CENTRE:
        cursor->hotX = cursor->width / 2;
        cursor->hotY = cursor->height / 2;
        break;
    case UICURSOR_HOT_BOTTOM_RIGHT: cursor->hotX = cursor->width; break;
    case UICURSOR_HOT_TOP_LEFT: cursor->hotY = cursor->height; break;
    case UICURSOR_HOT_TOP_RIGHT:
        cursor->hotX = cursor->width;
        cursor->hotY = cursor->height;
        break;
    default: break;  // bottom-left
    }
    return cursor;
}

uiCursor* uiCursor_Load(const char* name, float width, float height, int hotSpotMode)
{
    Bitmap* texture = uiResource_LoadMaterial(name);
    if (!texture) return nullptr;
    uiCursor* cursor = uiCursor_Create(texture, width, height, hotSpotMode);
    if (!cursor) uiResource_FreeMaterial(texture);
    return cursor;
}

void uiCursor_Free(uiCursor* cursor)
{
    if (!cursor) return;
    // No record of the module may point at a freed cursor.
    if (g_cursor.pCurrent == cursor) g_cursor.pCurrent = nullptr;
    if (g_cursor.pPrevious == cursor) g_cursor.pPrevious = nullptr;
    if (g_cursor.pDefault == cursor) g_cursor.pDefault = nullptr;
    uiResource_FreeMaterial(cursor->pBitmap);
    free(cursor);
}

void uiCursor_Set(uiCursor* cursor)
{
    CURSOR_ASSERT(cursor, "pCursor");
    if (!cursor) return;
    g_cursor.pPrevious = g_cursor.pCurrent;
    g_cursor.pCurrent = cursor;
}

uiCursor* uiCursor_Get()
{
    return g_cursor.pCurrent;
}

uiCursor* uiCursor_GetPrevious()
{
    return g_cursor.pPrevious;
}

void uiCursor_SetDefault(uiCursor* cursor)
{
    CURSOR_ASSERT(cursor, "pCursor");
    if (cursor) g_cursor.pDefault = cursor;
}

uiCursor* uiCursor_GetDefault()
{
    return g_cursor.pDefault;
}

void uiCursor_AttachIcon(uiIcon* icon)
{
    CURSOR_ASSERT(icon, "pIcon");
    if (!icon) return;
    CURSOR_ASSERT(icon->pIconCursor, "pCursor");
    if (!icon->pIconCursor) return;
    g_cursor.pIcon = icon;
    g_cursor.pPrevious = g_cursor.pCurrent;
    g_cursor.pCurrent = icon->pIconCursor;
}

int uiCursor_TryAttachIcon(uiIcon* icon)
{
    if (g_cursor.pIcon) return 0;
    uiCursor_AttachIcon(icon);
    return icon && g_cursor.pIcon == icon;
}

void uiCursor_DetachIcon()
{
    CURSOR_ASSERT(g_cursor.pPrevious, "pCursor");
    if (g_cursor.pPrevious) {
        uiCursor* riding = g_cursor.pCurrent;
        g_cursor.pCurrent = g_cursor.pPrevious;
        g_cursor.pPrevious = riding;
    }
    g_cursor.pIcon = nullptr;
}

uiIcon* uiCursor_GetIcon()
{
    return g_cursor.pIcon;
}

void uiCursor_Show() { g_cursor.bShown = 1; }
void uiCursor_Hide() { g_cursor.bShown = 0; }
int uiCursor_IsShown() { return g_cursor.bShown; }

int uiCursor_Draw()
{
    const uiCursor* cursor = g_cursor.pCurrent;
    if (!g_cursor.bShown || !cursor) return 0;
    if (renderMain_rasterLib.funcMain_FlushFrames) renderMain_rasterLib.funcMain_FlushFrames(0);
    const float left = g_cursor.x - cursor->hotX - 0.5f;
    const float right = g_cursor.x + cursor->width - cursor->hotX - 0.5f;
    const float top = g_cursor.y + cursor->height - cursor->hotY - 0.5f;
    const float bottom = g_cursor.y - cursor->hotY - 0.5f;
    const float corners[12] = {left, top, 0.0f, right, top, 0.0f,
                               right, bottom, 0.0f, left, bottom, 0.0f};
    return ui_DrawQuad(corners, cursor->uvs, 4, cursor->pBitmap, RENDERMODE_SCREENPOLY, 255.0f);
}
