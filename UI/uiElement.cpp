#include "uiElement.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gameString.h"
#include "renderSettings.h"
#include "renderTimer.h"
#include "stdBitmap.h"
#include "uiFrame.h"
#include "uiCursor.h"
#include "uiDialogTree.h"
#include "uiResource.h"

namespace {

void (*g_hintSink)(uiElement* target, const char* text, uint32_t colour);

uint32_t DefaultFormat()
{
    return (renderSettings_current.optionFlags & 0x2) ? BITMAP_FORMAT_8888 : BITMAP_FORMAT_1555;
}

uint32_t FormatOf(const uiElement* element)
{
    return element->pDialog ? element->pDialog->format : DefaultFormat();
}

void ReleaseBitmap(Bitmap** bitmap)
{
    if (*bitmap) uiResource_FreeBitmap(*bitmap);
    *bitmap = nullptr;
}

// "%i": decimal, 0x hexadecimal or 0 octal, with a sign; the whole 32-bit range.
int ScanFlexible(const char* value, uint32_t* out)
{
    char* end = nullptr;
    const long long v = strtoll(value, &end, 0);
    if (end == value) return 0;
    *out = (uint32_t)v;
    return 1;
}

int LoadKeyBitmap(uiElement* element, Bitmap** slot, const char* name, uiDialog* dialog)
{
    Bitmap* bitmap = uiResource_LoadBitmap(name, dialog ? dialog->format : FormatOf(element));
    if (!bitmap) return 0;
    ReleaseBitmap(slot);
    *slot = bitmap;
    return 1;
}

int Contains(const uiRect& r, int x, int y)
{
    return (int64_t)r.x <= x && x <= (int64_t)r.x + r.width && (int64_t)r.y <= y &&
           y <= (int64_t)r.y + r.height;
}

void MarkParentDirty(uiElement* element)
{
    if (element->pParent) element->pParent->flags |= UIELEMENT_DIRTY;
}

void MoveTree(uiElement* element, int dx, int dy)
{
    element->rect.x += dx;
    element->rect.y += dy;
    uiElement_Layout(element);
    element->flags |= UIELEMENT_DIRTY;
    MarkParentDirty(element);
    for (uiElement* child = element->pChild; child; child = child->pNext) MoveTree(child, dx, dy);
}

// The work bitmap back to its clean state: the restore image over it, top-left aligned and
// never past the end of either bitmap, or the fill.
void RefreshContents(uiElement* element)
{
    Bitmap* work = element->pBitmap;
    if (!work || !work->pixels) return;
    const uint32_t bytes = bitmapFormat_BytesPerPixel(work->format);
    if (const Bitmap* restore = element->pRestore) {
        if (!restore->pixels || bitmapFormat_BytesPerPixel(restore->format) != bytes) return;
        const int width = restore->width < work->width ? restore->width : work->width;
        const int height = restore->height < work->height ? restore->height : work->height;
        for (int row = 0; row < height; row++) {
            // Rows are stored bottom-up: the top rows are the last ones of each image.
            uint8_t* d = work->pixels + (size_t)(work->height - 1 - row) * work->width * bytes;
            const uint8_t* s =
                restore->pixels + (size_t)(restore->height - 1 - row) * restore->width * bytes;
            memcpy(d, s, (size_t)width * bytes);
        }
        return;
    }
    if (!(element->flags & UIELEMENT_FILL)) return;
    const size_t count = (size_t)work->width * work->height;
    if (bytes == 4) {
        uint32_t* p = (uint32_t*)work->pixels;
        for (size_t i = 0; i < count; i++) p[i] = 0xFF000000u;
    } else if (bytes == 2) {
        uint16_t* p = (uint16_t*)work->pixels;
        for (size_t i = 0; i < count; i++) p[i] = element->color;
    } else {
        memset(work->pixels, 0, count);
    }
}

// Copies the widget rectangle of every overlap record into its quad.
void CopyIntoQuads(uiElement* element, const Bitmap* source, int keyed)
{
    for (int i = 0; i < element->numOverlaps; i++) {
        uiOverlap& o = element->overlaps[i];
        if (!o.pQuad || !o.pQuad->pBitmap) continue;
        uiElement_CopyRect(o.pQuad->pBitmap, o.quadRect.x, o.quadRect.y, o.quadRect.width,
                           o.quadRect.height, source, o.elementRect.x, o.elementRect.y, keyed);
        o.pQuad->flags |= UIQUAD_CHANGED;
    }
}

}  // namespace

uiElement::uiElement() = default;

uiElement::~uiElement()
{
    uiElement_Destroy(this);
}

void uiElement::RenderContents() {}
void uiElement::ComposeIntoParent() { uiElement_ComposeIntoParent(this); }
void uiElement::OnEvent0() { if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, 0, 0); }
void uiElement::OnEvent1() { if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, 1, 0); }
void uiElement::OnEvent2() { if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, 2, 0); }
void uiElement::OnSpare() { if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, 3, 0); }
void uiElement::OnEvent5() { if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, 5, 0); }
void uiElement::OnEvent6() { if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, 6, 0); }
void uiElement::OnEvent7() { if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, 7, 0); }
void uiElement::OnKey(uint32_t key)
{
    if (!(flags & UIELEMENT_DISABLED)) uiElement_CallHandler(this, UIHANDLER_KEY, key);
}
void uiElement::Update() { uiElement_Update(this); }
void uiElement::LoadBitmaps() { uiElement_LoadBitmaps(this); }
int uiElement::ParseKeyword(const char* text, uiDialog* dialog)
{
    return uiElement_ParseKeyword(this, text, dialog);
}
int uiElement::Detach() { return uiElement_Detach(this); }

void uiElement_Destroy(uiElement* element)
{
    // Each child unlinks itself from this one as it goes.
    while (element->pChild) delete element->pChild;
    ReleaseBitmap(&element->pBitmap);
    ReleaseBitmap(&element->pRestore);
    ReleaseBitmap(&element->pHide);
    ReleaseBitmap(&element->pFlash);
    uiResource_RemoveElement(element);
    uiElement_RemoveTabStop(element);
    if (element->pDialog && element->pDialog->pFocus == element) element->pDialog->pFocus = nullptr;
    element->Detach();
    // Nothing of the UI may point at a freed widget.
    ui_ForgetElement(element);
    if ((void*)uiCursor_GetIcon() == (void*)element) uiCursor_DetachIcon();
    if (element->flags & UIELEMENT_IN_DIALOG) uiDialog_RemoveElement(element->pDialog, element);
    element->flags &= ~UIELEMENT_IN_DIALOG;
    element->pDialog = nullptr;
}

int uiElement_ParseKeyword(uiElement* element, const char* text, uiDialog* dialog)
{
    // Key and value each get a buffer as long as the line they come from.
    static char key[UIELEMENT_PAIR_SIZE];
    static char value[UIELEMENT_PAIR_SIZE];
    if (!text || sscanf(text, "%510[^=]=%510[^=]", key, value) != 2) return 0;
    int32_t n[4];
    if (!strcmp(key, "name")) {
        // The dialog's table and the registry key the widget by its name field: a widget that
        // is registered keeps the name it is known by.
        if (element->flags & (UIELEMENT_IN_DIALOG | UIELEMENT_IN_RESOURCES)) return 1;
        strncpy(element->name, value, UIELEMENT_NAME_SIZE - 1);
        element->name[UIELEMENT_NAME_SIZE - 1] = 0;
        return 1;
    }
    if (!strcmp(key, "pos")) {
        if (!uiElement_ScanInts(value, n, 2, -UI_COORD_LIMIT, UI_COORD_LIMIT)) return 0;
        element->rect.x = n[0];
        element->rect.y = n[1];
        return 1;
    }
    if (!strcmp(key, "size")) {
        // Larger than the screen would only make the UI allocate what it cannot show.
        if (!uiElement_ScanInts(value, n, 2, 0, UI_WIDTH) || !uiElement_FitsScreen(n[0], n[1]))
            return 0;
        element->rect.width = n[0];
        element->rect.height = n[1];
        return 1;
    }
    if (!strcmp(key, "color")) {
        if (!uiElement_ScanInts(value, n, 4, INT32_MIN, INT32_MAX)) return 0;
        uiElement_SetColor(element, n[0], n[1], n[2], n[3]);
        return 1;
    }
    if (!strcmp(key, "bitmap")) return LoadKeyBitmap(element, &element->pBitmap, value, dialog);
    if (!strcmp(key, "restore")) return LoadKeyBitmap(element, &element->pRestore, value, dialog);
    if (!strcmp(key, "hide")) return LoadKeyBitmap(element, &element->pHide, value, dialog);
    if (!strcmp(key, "flash")) return LoadKeyBitmap(element, &element->pFlash, value, dialog);
    if (!strcmp(key, "parent")) {
        uiElement* parent = dialog ? uiDialog_FindInTree(dialog, value) : nullptr;
        if (!parent) return 0;
        uiDialog_AddElement(dialog, parent, element);  // a refusal leaves the widget unplaced
        return 1;
    }
    uint32_t number;
    if (!strcmp(key, "flags")) {
        if (!ScanFlexible(value, &number)) return 0;
        element->flags |= number & ~UIELEMENT_LIBRARY_FLAGS;
        return 1;
    }
    if (!strcmp(key, "hintstring")) {
        element->pHint = gameString_Get(value);
        return 1;
    }
    if (!strcmp(key, "key")) {
        if (!ScanFlexible(value, &number)) return 0;
        if (number && dialog) uiDialog_AddTabStop(dialog, element);
        return 1;
    }
    return 0;
}

void uiElement_LoadBitmaps(uiElement* element)
{
    if (element->flags & UIELEMENT_CAPTURE_HIDE) uiElement_CaptureHideBitmap(element);
    if (element->flags & UIELEMENT_CAPTURE_RESTORE) {
        if (Bitmap* restore = uiElement_CaptureBackground(element)) {
            ReleaseBitmap(&element->pRestore);
            element->pRestore = restore;
            ReleaseBitmap(&element->pBitmap);
            element->pBitmap = stdBitmap_Duplicate(restore);
        }
    } else if (element->pRestore && !element->pBitmap) {
        element->pBitmap = stdBitmap_Duplicate(element->pRestore);
    }
    element->flags |= UIELEMENT_DIRTY;
}

int uiElement_ScanInts(const char* value, int32_t* out, int count, int32_t min, int32_t max)
{
    const char* p = value;
    for (int i = 0; i < count; i++) {
        if (i > 0 && *p++ != ',') return 0;
        char* end = nullptr;
        const long long v = strtoll(p, &end, 10);
        if (end == p || v < min || v > max) return 0;
        out[i] = (int32_t)v;
        p = end;
    }
    return 1;
}

int uiElement_FitsScreen(int width, int height)
{
    return width >= 0 && width <= UI_WIDTH && height >= 0 && height <= UI_HEIGHT;
}

int uiElement_CreateBitmap(uiElement* element)
{
    if (!uiElement_FitsScreen(element->rect.width, element->rect.height)) return 0;
    Bitmap* bitmap =
        stdBitmap_CreateSolid(element->rect.width, element->rect.height, 0, 0, 0, 0, DefaultFormat());
    if (!bitmap) return 0;
    ReleaseBitmap(&element->pBitmap);
    element->pBitmap = bitmap;
    element->flags |= UIELEMENT_FILL;
    return 1;
}

void uiElement_SetPos(uiElement* element, int x, int y)
{
    MoveTree(element, x - element->rect.x, y - element->rect.y);
}

uint16_t uiElement_PackColor(int alpha, int red, int green, int blue)
{
    return (uint16_t)((alpha & 0x80) << 8 | (red & 0xF8) << 7 | (green & 0xF8) << 2 |
                      (blue & 0xF8) >> 3);
}

void uiElement_SetColor(uiElement* element, int alpha, int red, int green, int blue)
{
    element->color = uiElement_PackColor(alpha, red, green, blue);
}

void uiElement_SetSelected(uiElement* element, int on)
{
    const int selected = (element->flags & UIELEMENT_SELECTED) != 0;
    if (on && !selected) element->flags |= UIELEMENT_SELECTED | UIELEMENT_DIRTY;
    else if (!on && selected) element->flags = (element->flags & ~UIELEMENT_SELECTED) | UIELEMENT_DIRTY;
}

int uiElement_SetHandler(uiElement* element, int index, uiElementHandler function)
{
    if (index < 0 || index >= UIELEMENT_NUM_HANDLERS || !function) return 0;
    element->handlers[index] = function;
    return 1;
}

void uiElement_CallHandler(uiElement* element, int index, uint32_t argument)
{
    if (index < 0 || index >= UIELEMENT_NUM_HANDLERS) return;
    if (element->handlers[index]) element->handlers[index](element, argument);
}

int uiElement_Overlaps(const uiElement* a, const uiElement* b)
{
    return (a && b) ? uiRect_Overlaps(&a->rect, &b->rect) : 0;
}

void uiElement_CopyRect(Bitmap* dest, int destX, int destY, int width, int height,
                        const Bitmap* source, int sourceX, int sourceY, int keyed)
{
    if (!dest || !source || width <= 0 || height <= 0) return;
    const int destRow = dest->height - destY - height;
    const int sourceRow = source->height - sourceY - height;
    if (bitmapFormat_BytesPerPixel(dest->format) == 4) {
        (keyed ? stdBitmap_BlitClipped : stdBitmap_Blit32)(dest, destX, destRow, width, height,
                                                           source, sourceX, sourceRow);
    } else {
        (keyed ? stdBitmap_BlitClipped16 : stdBitmap_Blit16)(dest, destX, destRow, width, height,
                                                             source, sourceX, sourceRow);
    }
}

void uiElement_Compose(uiElement* element)
{
    if (element->flags & UIELEMENT_HIDDEN) return;
    if (element->flags & UIELEMENT_DIRTY) {
        for (uiElement* child = element->pChild; child; child = child->pNext)
            child->flags |= UIELEMENT_COMPOSE;
        RefreshContents(element);
        element->RenderContents();
        uiElement_CallHandler(element, UIHANDLER_REDRAWN, 0);
        element->flags = (element->flags & ~UIELEMENT_DIRTY) | UIELEMENT_COMPOSE;
    }
    for (uiElement* child = element->pChild; child; child = child->pNext) uiElement_Compose(child);
    if (element->flags & UIELEMENT_COMPOSE) {
        element->ComposeIntoParent();
        element->flags &= ~UIELEMENT_COMPOSE;
    }
}

void uiElement_ComposeIntoParent(uiElement* element)
{
    if (!element->pBitmap || !(element->flags & (UIELEMENT_ATTACHED | UIELEMENT_COMPOSE))) return;
    const int keyed = (element->flags & UIELEMENT_KEYED) != 0;
    if (uiElement* parent = element->pParent) {
        if (!parent->pBitmap || !(element->flags & UIELEMENT_OVERLAPS_PARENT)) return;
        uiElement_CopyRect(parent->pBitmap, element->visible.x, element->visible.y,
                           element->visible.width, element->visible.height, element->pBitmap,
                           element->sourceX, element->sourceY, keyed);
        parent->flags |= UIELEMENT_COMPOSE;
    } else {
        CopyIntoQuads(element, element->pBitmap, keyed);
    }
    uiElement_CallHandler(element, UIHANDLER_COMPOSED, 0);
    if ((element->flags & UIELEMENT_FLASHING) && element->flashPhase == 1 && element->pFlash)
        CopyIntoQuads(element, element->pFlash, 1);
}

void uiElement_UpdateTree(uiElement* element)
{
    element->Update();
    for (uiElement* child = element->pChild; child; child = child->pNext) uiElement_UpdateTree(child);
}

void uiElement_Update(uiElement* element)
{
    if (element->flags & UIELEMENT_HIDDEN) return;
    uiDialog* dialog = element->pDialog;
    if (dialog && dialog == ui_GetHoveredDialog()) {
        element->cursorX = dialog->cursorX - element->rect.x;
        element->cursorY = dialog->cursorY - element->rect.y;
        if (!(dialog->flags & UIDIALOG_NO_HOVER) &&
            Contains(element->rect, dialog->cursorX, dialog->cursorY)) {
            ui_SetHoveredElement(element);
            if (element->pCursor) uiCursor_Set(element->pCursor);
        }
    }
    if (element->flags & UIELEMENT_FLASHING) uiElement_FlashTick(element);
    uiElement_CallHandler(element, UIHANDLER_FRAME, 0);
}

void uiElement_HideRestore(uiElement* element)
{
    if (element->flags & UIELEMENT_HIDDEN) return;
    element->flags |= UIELEMENT_HIDDEN;
    MarkParentDirty(element);
    uiDialog* dialog = element->pDialog;
    if (dialog && dialog->pFocus == element) uiDialog_FocusNext(dialog);
    if (element->pHide && element->numOverlaps) CopyIntoQuads(element, element->pHide, 0);
}

void uiElement_Hide(uiElement* element)
{
    element->flags |= UIELEMENT_HIDDEN;
    MarkParentDirty(element);
    uiDialog* dialog = element->pDialog;
    if (!dialog || dialog->pFocus != element) return;
    uiElement* next = element->pTabNext;
    while (next && next != element && (next->flags & UIELEMENT_HIDDEN)) next = next->pTabNext;
    if (!next || next == element || next->pDialog != dialog) return;
    uiElement_EndEdit(element);
    dialog->pFocus = next;
}

void uiElement_ShowHint(uiElement* element, uiElement* target, uint32_t argument)
{
    if (!target) return;
    if (element->pHintHandler) element->pHintHandler(element, target, argument);
    else if (element->pHint && g_hintSink) g_hintSink(target, element->pHint, 0);
}

void uiElement_SetHintSink(void (*addLine)(uiElement* target, const char* text, uint32_t colour))
{
    g_hintSink = addLine;
}

Bitmap* uiElement_CaptureBackground(uiElement* element)
{
    const uiRect& r = element->rect;
    const uiElement* parent = element->pParent;
    if (r.width <= 0 || r.height <= 0 || !uiElement_FitsScreen(r.width, r.height)) return nullptr;
    if (!element->numOverlaps && !(parent && parent->pBitmap)) return nullptr;
    Bitmap* bitmap = stdBitmap_CreateSolid(r.width, r.height, 0, 0, 0, 0, FormatOf(element));
    if (!bitmap) return nullptr;
    if (element->numOverlaps) {
        for (int i = 0; i < element->numOverlaps; i++) {
            const uiOverlap& o = element->overlaps[i];
            if (!o.pQuad || !o.pQuad->pBitmap) continue;
            uiElement_CopyRect(bitmap, o.elementRect.x, o.elementRect.y, o.elementRect.width,
                               o.elementRect.height, o.pQuad->pBitmap, o.quadRect.x, o.quadRect.y, 0);
        }
    } else if (element->flags & UIELEMENT_OVERLAPS_PARENT) {
        uiElement_CopyRect(bitmap, element->sourceX, element->sourceY, element->visible.width,
                           element->visible.height, parent->pBitmap, element->visible.x,
                           element->visible.y, 0);
    }
    return bitmap;
}

void uiElement_CaptureHideBitmap(uiElement* element)
{
    ReleaseBitmap(&element->pHide);
    element->pHide = uiElement_CaptureBackground(element);
}

int uiElement_Flash(uiElement* element, uint32_t period, uint32_t duration)
{
    if (!element->pBitmap || !element->pFlash || !duration) return 0;
    element->flashElapsed = 0;
    element->flashPeriod = period;
    element->flashEndTime = renderTimer_viewer.clocks[1].totalMs + duration;
    element->flashPhase = 1;
    element->flags |= UIELEMENT_FLASHING | UIELEMENT_DIRTY;
    return 1;
}

void uiElement_StopFlash(uiElement* element)
{
    if (!(element->flags & UIELEMENT_FLASHING)) return;
    element->flashPhase = 0;
    element->flags = (element->flags & ~UIELEMENT_FLASHING) | UIELEMENT_DIRTY;
}

void uiElement_FlashTick(uiElement* element)
{
    const renderClock& clock = renderTimer_viewer.clocks[1];
    if (clock.totalMs >= element->flashEndTime) {
        uiElement_StopFlash(element);
        return;
    }
    element->flashElapsed += clock.frameMs;
    if (element->flashElapsed > element->flashPeriod) {
        element->flashElapsed = 0;
        element->flashPhase ^= 1;
        element->flags |= UIELEMENT_DIRTY;
    }
}

uiElement* uiElement_GetKeyCapture()
{
    return ui_GetKeyCapture();
}

void uiElement_SetKeyCapture(uiElement* element)
{
    ui_SetKeyCapture(element);
}
