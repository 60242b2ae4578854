#include "uiDialog.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "renderMainRaster.h"
#include "renderModes.h"
#include "renderSettings.h"
#include "renderTimer.h"
#include "stdFile.h"
#include "stdHash.h"
#include "uiFrame.h"
#include "uiCursor.h"
#include "uiResource.h"

namespace {

uiLayer* g_pTop;
uiDialog* g_pFreeQueue;

int Contains(int32_t x, int32_t y, int32_t width, int32_t height, int px, int py)
{
    return (int64_t)x <= px && px <= (int64_t)x + width && (int64_t)y <= py &&
           py <= (int64_t)y + height;
}

// Cut to the field, the rest of it zeroed: a script's words may be longer than the record holds.
void CopyText(char* out, size_t size, const char* text)
{
    const size_t length = strnlen(text, size - 1);
    memcpy(out, text, length);
    memset(out + length, 0, size - length);
}

// Takes the dialog out of its layer; the modal hover moves to the layer's last dialog when
// that one is modal.
void Unlink(uiDialog* dialog)
{
    uiLayer* layer = dialog->pLayer;
    if (!layer) return;
    if (dialog->pPrev) dialog->pPrev->pNext = dialog->pNext;
    else layer->pFirst = dialog->pNext;
    if (dialog->pNext) dialog->pNext->pPrev = dialog->pPrev;
    else layer->pLast = dialog->pPrev;
    dialog->pNext = dialog->pPrev = nullptr;
    dialog->pLayer = nullptr;
    if (dialog->flags & UIDIALOG_MODAL) {
        ui_SetHoveredDialog(nullptr);
        if (layer->pLast && (layer->pLast->flags & UIDIALOG_MODAL)) ui_SetHoveredDialog(layer->pLast);
    }
}

void CloseDialog(uiDialog* dialog)
{
    dialog->flags &= ~(UIDIALOG_FADING_IN | UIDIALOG_FADING_OUT);
    Unlink(dialog);
    dialog->flags &= ~UIDIALOG_OPEN;
    if (dialog->pOnClose) dialog->pOnClose(dialog);
}

void LeaveQueue(uiDialog* dialog)
{
    if (!(dialog->flags & UIDIALOG_QUEUED)) return;
    for (uiDialog** link = &g_pFreeQueue; *link; link = &(*link)->pNext) {
        if (*link == dialog) {
            *link = dialog->pNext;
            break;
        }
    }
    dialog->pNext = nullptr;
    dialog->flags &= ~UIDIALOG_QUEUED;
}

void StoreCursor(uiDialog* dialog)
{
    dialog->cursorX = (int)uiCursor_GetX() - dialog->x;
    dialog->cursorY = UI_HEIGHT - 1 - dialog->y - (int)uiCursor_GetY();
}

void StepFade(uiDialog* dialog)
{
    if (!(dialog->flags & (UIDIALOG_FADING_IN | UIDIALOG_FADING_OUT))) return;
    if (dialog->fadeElapsed >= dialog->fadeSeconds) {
        const int closing = (dialog->flags & UIDIALOG_FADING_OUT) != 0;
        dialog->flags &= ~(UIDIALOG_FADING_IN | UIDIALOG_FADING_OUT);
        dialog->currentAlpha = dialog->fadeEnd;
        if (closing) CloseDialog(dialog);
        return;
    }
    dialog->currentAlpha = dialog->fadeElapsed / dialog->fadeSeconds *
                               (dialog->fadeEnd - dialog->fadeStart) + dialog->fadeStart;
    dialog->fadeElapsed += renderTimer_viewer.clocks[0].frameSeconds;
}

void StartFade(uiDialog* dialog, float from, float to, float seconds, uint32_t flag)
{
    dialog->fadeStart = from;
    dialog->fadeEnd = to;
    dialog->fadeSeconds = seconds;
    dialog->fadeElapsed = 0.0f;
    dialog->currentAlpha = from;
    dialog->flags = (dialog->flags & ~(UIDIALOG_FADING_IN | UIDIALOG_FADING_OUT)) | flag;
}

uiDialog* FindHovered()
{
    for (uiDialog* d = g_pTop->pLast; d; d = d->pPrev) {
        if (d->flags & UIDIALOG_MODAL) return d;
    }
    for (uiDialog* d = g_pTop->pLast; d; d = d->pPrev) {
        if (d->flags & UIDIALOG_NO_HIT) continue;
        StoreCursor(d);
        if (uiDialog_HitTest(d, d->cursorX, d->cursorY)) return d;
    }
    return nullptr;
}

// Runs op on the top layer's dialogs in list order; of the dialogs kept on top only the last
// one, after the others. The number of dialogs op took.
int ForEachInTopLayer(int (*op)(uiDialog*))
{
    if (!g_pTop) return 0;
    int count = 0;
    uiDialog* onTop = nullptr;
    for (uiDialog* d = g_pTop->pFirst; d;) {
        uiDialog* next = d->pNext;  // a fade may close d
        if (d->flags & UIDIALOG_ON_TOP) onTop = d;
        else count += op(d);
        d = next;
    }
    if (onTop) count += op(onTop);
    return count;
}

int UpdateCounted(uiDialog* dialog)
{
    if (!(dialog->flags & UIDIALOG_OPEN)) return 0;
    uiDialog_UpdateOne(dialog);
    return 1;
}

int DrawCounted(uiDialog* dialog)
{
    uiDialog_Draw(dialog);
    return 1;
}

// Pair "key=value" split as the widgets split theirs; 0 when either side is empty.
int SplitPair(const char* text, char* key, char* value)
{
    return text && sscanf(text, "%510[^=]=%510[^=]", key, value) == 2;
}

// The classes a script can name after "element"; the widget modules install theirs.
struct ElementClass {
    const char* keyword;
    uiElement* (*create)();
};

uiElement* CreateStatic()
{
    return new uiElement();
}

ElementClass g_classes[] = {
    {"static", CreateStatic}, {"button", nullptr}, {"textbox", nullptr},
    {"checkbox", nullptr},    {"icon", nullptr},   {"icongrid", nullptr},
};

uiElement* CreateElement(const char* keyword)
{
    for (const ElementClass& c : g_classes) {
        if (keyword && !strcmp(c.keyword, keyword)) return c.create ? c.create() : nullptr;
    }
    return nullptr;
}

char* NextToken(char** cursor)
{
    static const char kSeparators[] = " \r\t\n";
    char* p = *cursor + strspn(*cursor, kSeparators);
    if (!*p) {
        *cursor = p;
        return nullptr;
    }
    char* end = p + strcspn(p, kSeparators);
    *cursor = *end ? end + 1 : end;
    *end = 0;
    return p;
}

void LoadQuad(uiDialog* dialog, char* rest)
{
    uiQuad* quad = (uiQuad*)calloc(1, sizeof(uiQuad));
    if (!quad) return;
    while (char* token = NextToken(&rest)) {
        if (!uiDialog_ParseQuad(quad, token)) {
            uiResource_FreeMaterial(quad->pBitmap);
            free(quad);
            return;
        }
    }
    uiDialog_AddQuad(dialog, quad);
}

void LoadElement(uiDialog* dialog, char* rest)
{
    uiElement* element = CreateElement(NextToken(&rest));
    if (!element) return;
    while (char* token = NextToken(&rest)) {
        if (!element->ParseKeyword(token, dialog)) {
            delete element;
            return;
        }
    }
    element->LoadBitmaps();
    uiResource_AddElement(element);
    if (element->flags & UIELEMENT_IN_DIALOG) return;
    uiDialog_PlaceTopLevel(dialog, element);
}

void LoadLine(uiDialog* dialog, char* line)
{
    if (line[0] == ';') return;
    for (char* p = line; *p; p++) *p = (char)tolower((unsigned char)*p);
    char* rest = line;
    const char* first = NextToken(&rest);
    if (!first) return;
    if (!strcmp(first, "quad")) LoadQuad(dialog, rest);
    else if (!strcmp(first, "element")) LoadElement(dialog, rest);
    else uiDialog_ParseKeyword(dialog, first);
}

}  // namespace

void uiDialog_SetElementClass(const char* keyword, uiElement* (*create)())
{
    for (ElementClass& c : g_classes) {
        if (keyword && !strcmp(c.keyword, keyword)) c.create = create;
    }
}

uiDialog* uiDialog_New()
{
    uiDialog* dialog = (uiDialog*)calloc(1, sizeof(uiDialog));
    if (dialog) uiDialog_Init(dialog);
    return dialog;
}

void uiDialog_Init(uiDialog* dialog)
{
    memset(dialog, 0, sizeof *dialog);
    dialog->alpha = 255.0f;
    dialog->left = dialog->right = 320;
    dialog->top = dialog->bottom = 200;
    dialog->format = (renderSettings_current.optionFlags & 0x2) ? BITMAP_FORMAT_8888 : BITMAP_FORMAT_1555;
}

void uiDialog_Destroy(uiDialog* dialog)
{
    if (!dialog) return;
    if (dialog->flags & UIDIALOG_OPEN) CloseDialog(dialog);
    Unlink(dialog);
    LeaveQueue(dialog);
    // Each widget unlinks itself, so the first one changes until none is left.
    while (dialog->pFirst) delete dialog->pFirst;
    while (uiQuad* quad = dialog->pQuads) {
        dialog->pQuads = quad->pNext;
        uiResource_FreeMaterial(quad->pBitmap);
        free(quad);
    }
    uiResource_RemoveDialog(dialog);
    if (ui_GetHoveredDialog() == dialog) ui_SetHoveredDialog(nullptr);
    if (dialog->pElements) {
        // Registered widgets that were detached from the tree outlive the dialog: they must
        // not keep pointing at it.
        for (uint32_t b = 0; b < dialog->pElements->bucketCount; b++) {
            for (stdHashEntry* entry = dialog->pElements->buckets[b]; entry; entry = entry->next) {
                uiElement* element = (uiElement*)entry->value;
                uiElement_RemoveTabStop(element);
                element->flags &= ~UIELEMENT_IN_DIALOG;
                element->pDialog = nullptr;
            }
        }
        stdHash_Free(dialog->pElements);
        dialog->pElements = nullptr;
    }
    dialog->pFocus = dialog->pTabStart = nullptr;
}

void uiDialog_Free(uiDialog* dialog)
{
    if (!dialog) return;
    uiDialog_Destroy(dialog);
    free(dialog);
}

void uiDialog_Delete(uiDialog* dialog, uint32_t flags)
{
    if (flags & UIDIALOG_DELETE_FREE) uiDialog_Free(dialog);
    else uiDialog_Destroy(dialog);
}

void uiDialog_Close(uiDialog* dialog)
{
    if (!dialog) return;
    if (dialog->flags & UIDIALOG_OPEN) CloseDialog(dialog);
    if (dialog->flags & UIDIALOG_QUEUED) return;
    dialog->flags |= UIDIALOG_QUEUED;
    dialog->pNext = g_pFreeQueue;
    g_pFreeQueue = dialog;
}

void uiDialog_FreeQueued()
{
    while (uiDialog* dialog = g_pFreeQueue) {
        LeaveQueue(dialog);
        uiDialog_Free(dialog);
    }
}

void uiDialog_SetPos(uiDialog* dialog, int x, int y)
{
    dialog->x = x;
    dialog->y = y;
}

void uiDialog_Open(uiDialog* dialog)
{
    // A dialog waiting to be freed stays closed.
    if (!dialog || (dialog->flags & (UIDIALOG_OPEN | UIDIALOG_QUEUED))) return;
    if (!g_pTop && !uiLayer_Push()) return;
    if (dialog->flags & UIDIALOG_MODAL) ui_SetHoveredDialog(dialog);
    if (dialog->visGroup) {
        for (uiDialog* d = g_pTop->pFirst; d; d = d->pNext) {
            if (d != dialog && d->visGroup == dialog->visGroup && (d->flags & UIDIALOG_OPEN)) {
                CloseDialog(d);
                break;
            }
        }
    }
    if (!dialog->pLayer) uiLayer_Append(dialog);
    dialog->pFocus = dialog->pTabStart;
    dialog->flags |= UIDIALOG_OPEN;
    if (dialog->pOnOpen) dialog->pOnOpen(dialog);
    uiDialog_PlayMusic(dialog);
}

void uiDialog_FadeIn(uiDialog* dialog, float seconds)
{
    if (!dialog || !(seconds > 0.0f) || (dialog->flags & UIDIALOG_FADING_IN)) return;
    if ((dialog->flags & UIDIALOG_OPEN) && uiDialog_IsInTopLayer(dialog)) {
        if ((dialog->flags & UIDIALOG_FADING_OUT) && dialog->currentAlpha <= dialog->alpha)
            StartFade(dialog, dialog->currentAlpha, dialog->alpha, seconds, UIDIALOG_FADING_IN);
        return;
    }
    uiDialog_Open(dialog);
    if (!(dialog->flags & UIDIALOG_OPEN)) return;
    StartFade(dialog, 0.0f, dialog->alpha, seconds, UIDIALOG_FADING_IN);
}

void uiDialog_FadeOut(uiDialog* dialog, float seconds)
{
    if (!dialog || !(seconds > 0.0f) || !(dialog->flags & UIDIALOG_OPEN) ||
        !uiDialog_IsInTopLayer(dialog) || (dialog->flags & UIDIALOG_FADING_OUT))
        return;
    const float from = (dialog->flags & UIDIALOG_FADING_IN) ? dialog->currentAlpha : dialog->alpha;
    StartFade(dialog, from, 0.0f, seconds, UIDIALOG_FADING_OUT);
}

int uiDialog_Update()
{
    uiDialog_FreeQueued();
    if (!g_pTop) return 0;
    ui_SetHoveredDialog(FindHovered());
    return ForEachInTopLayer(UpdateCounted);
}

void uiDialog_UpdateOne(uiDialog* dialog)
{
    if (!(dialog->flags & UIDIALOG_OPEN)) return;
    StoreCursor(dialog);
    for (uiElement* e = dialog->pFirst; e;) {
        uiElement* next = e->pNext;
        uiElement_UpdateTree(e);
        e = next;
    }
    for (uiElement* e = dialog->pFirst; e; e = e->pNext) uiElement_Compose(e);
    if (dialog->pOnUpdate) dialog->pOnUpdate(dialog);
    StepFade(dialog);
}

int uiDialog_DrawAll()
{
    return ForEachInTopLayer(DrawCounted);
}

void uiDialog_Draw(uiDialog* dialog)
{
    const int fading = (dialog->flags & (UIDIALOG_FADING_IN | UIDIALOG_FADING_OUT)) != 0;
    const float alpha = fading ? dialog->currentAlpha : dialog->alpha;
    for (uiQuad* quad = dialog->pQuads; quad; quad = quad->pNext) {
        if (!quad->pBitmap) continue;
        if (quad->flags & UIQUAD_CHANGED) {
            if (renderMain_rasterLib.funcTexture_RecacheHandle)
                renderMain_rasterLib.funcTexture_RecacheHandle(quad->pBitmap->rasterHandle);
            quad->flags &= ~UIQUAD_CHANGED;
        }
        const float left = (float)dialog->x + (float)quad->x - 0.5f;
        const float right = left + (float)quad->width;
        const float top = (float)UI_HEIGHT - (float)dialog->y - (float)quad->y - 0.5f;
        const float bottom = top - (float)quad->height;
        const float corners[12] = {left, top, 0, right, top, 0, right, bottom, 0, left, bottom, 0};
        ui_DrawQuad(corners, quad->uvs, 4, quad->pBitmap, RENDERMODE_SCREENPOLY, alpha);
    }
    if (dialog->pOnDraw) dialog->pOnDraw(dialog);
}

int uiDialog_ParseKeyword(uiDialog* dialog, const char* text)
{
    static char key[UISCRIPT_LINE_SIZE];
    static char value[UISCRIPT_LINE_SIZE];
    if (!SplitPair(text, key, value)) return 0;
    int32_t n[2];
    if (!strcmp(key, "name")) {
        // The registry keys a registered dialog by its name field.
        if (!(dialog->flags & UIDIALOG_IN_RESOURCES)) CopyText(dialog->name, sizeof dialog->name, value);
        return 1;
    }
    if (!strcmp(key, "music")) {
        CopyText(dialog->music, sizeof dialog->music, value);
        return 1;
    }
    if (!strcmp(key, "pos")) {
        if (!uiElement_ScanInts(value, n, 2, -UI_COORD_LIMIT, UI_COORD_LIMIT)) return 0;
        uiDialog_SetPos(dialog, n[0], n[1]);
        return 1;
    }
    if (!uiElement_ScanInts(value, n, 1, INT32_MIN, INT32_MAX)) return 0;
    if (!strcmp(key, "dialog")) {
        if (n[0]) dialog->flags |= UIDIALOG_MODAL | UIDIALOG_ON_TOP;
        return 1;
    }
    if (!strcmp(key, "ontop")) {
        if (n[0]) dialog->flags |= UIDIALOG_ON_TOP;
        return 1;
    }
    if (!strcmp(key, "visgroup")) {
        dialog->visGroup = n[0];
        return 1;
    }
    return 0;
}

int uiDialog_ParseQuad(uiQuad* quad, const char* text)
{
    static char key[UISCRIPT_LINE_SIZE];
    static char value[UISCRIPT_LINE_SIZE];
    if (!SplitPair(text, key, value)) return 0;
    int32_t n[2];
    const int pos = !strcmp(key, "pos");
    if (pos || !strcmp(key, "size")) {
        // A negative size mirrors the texture; either way it stays within the coordinate range.
        if (!uiElement_ScanInts(value, n, 2, -UI_COORD_LIMIT, UI_COORD_LIMIT)) return 0;
        (pos ? quad->x : quad->width) = n[0];
        (pos ? quad->y : quad->height) = n[1];
        return 1;
    }
    if (!strcmp(key, "mat")) {
        Bitmap* texture = uiResource_LoadMaterial(value);
        if (!texture) return 0;
        uiResource_FreeMaterial(quad->pBitmap);
        quad->pBitmap = texture;
        return 1;
    }
    return 0;
}

void uiDialog_AddQuad(uiDialog* dialog, uiQuad* quad)
{
    const int first = dialog->pQuads == nullptr;
    quad->pDialog = dialog;
    quad->pNext = dialog->pQuads;
    dialog->pQuads = quad;
    const Bitmap* bitmap = quad->pBitmap;
    // A quad without a texture, or of an empty one, samples nothing.
    const float bitmapWidth = (bitmap && bitmap->width) ? (float)bitmap->width : 0.0f;
    const float bitmapHeight = (bitmap && bitmap->height) ? (float)bitmap->height : 0.0f;
    float uLeft = 0.0f, uRight = 0.0f, vTop = 0.0f, vBottom = 0.0f;
    if (quad->width > 0) {
        if (bitmapWidth > 0.0f) uRight = (float)quad->width / bitmapWidth;
    } else {
        // A width of 0 or less mirrors the texture.
        quad->width = -quad->width;
        if (bitmapWidth > 0.0f) uLeft = (float)quad->width / bitmapWidth;
    }
    if (bitmapHeight > 0.0f) {
        if (quad->height > 0) vBottom = (float)quad->height / bitmapHeight;
        else vTop = (float)quad->height / bitmapHeight;
    }
    const float uvs[8] = {uLeft, vTop, uRight, vTop, uRight, vBottom, uLeft, vBottom};
    memcpy(quad->uvs, uvs, sizeof uvs);
    quad->flags |= UIQUAD_CHANGED;
    const int32_t right = quad->x + quad->width, bottom = quad->y + quad->height;
    if (first) {
        dialog->left = quad->x;
        dialog->top = quad->y;
        dialog->right = right;
        dialog->bottom = bottom;
    } else {
        if (quad->x < dialog->left) dialog->left = quad->x;
        if (quad->y < dialog->top) dialog->top = quad->y;
        if (right > dialog->right) dialog->right = right;
        if (bottom > dialog->bottom) dialog->bottom = bottom;
    }
    if (bitmap) dialog->format = bitmap->format;
}

int uiDialog_SetHandlerByKind(uiDialog* dialog, int kind, int index, uiElementHandler function)
{
    int count = 0;
    for (uiElement* e = uiDialog_NextElement(dialog, nullptr); e; e = uiDialog_NextElement(dialog, e)) {
        if (e->kind == kind) count += uiElement_SetHandler(e, index, function);
    }
    return count;
}

int uiDialog_SetHandlerByName(uiDialog* dialog, const char* name, int index,
                              uiElementHandler function)
{
    uiElement* element = uiDialog_FindElement(dialog, name);
    return element ? uiElement_SetHandler(element, index, function) : 0;
}

int uiDialog_PlayMusic(uiDialog* dialog)
{
    if (!dialog->music[0] || !dialog->pMusic) return 0;
    dialog->pMusic(dialog, dialog->music);
    return 1;
}

int uiDialog_IsInTopLayer(const uiDialog* dialog)
{
    return dialog->pLayer && dialog->pLayer == g_pTop;
}

int uiDialog_IsInLowerLayer(const uiDialog* dialog)
{
    return dialog->pLayer && dialog->pLayer != g_pTop;
}

int uiDialog_HitTest(uiDialog* dialog, int x, int y)
{
    if (dialog->pQuads) {
        for (const uiQuad* q = dialog->pQuads; q; q = q->pNext) {
            if (Contains(q->x, q->y, q->width, q->height, x, y)) return 1;
        }
        return 0;
    }
    for (uiElement* e = uiDialog_NextElement(dialog, nullptr); e; e = uiDialog_NextElement(dialog, e)) {
        if (Contains(e->rect.x, e->rect.y, e->rect.width, e->rect.height, x, y)) return 1;
    }
    return 0;
}

uiLayer* uiLayer_Push()
{
    uiLayer* layer = (uiLayer*)calloc(1, sizeof(uiLayer));
    if (!layer) return nullptr;
    layer->pBelow = g_pTop;
    g_pTop = layer;
    return layer;
}

void uiLayer_Pop()
{
    uiLayer* layer = g_pTop;
    if (!layer) return;
    while (layer->pFirst) CloseDialog(layer->pFirst);
    g_pTop = layer->pBelow;
    free(layer);
    if (!g_pTop) return;
    for (uiDialog* d = g_pTop->pLast; d; d = d->pPrev) {
        if (uiDialog_PlayMusic(d)) break;
    }
}

void uiLayer_PopAll()
{
    while (g_pTop) uiLayer_Pop();
}

void uiDialog_FreeAll()
{
    // Emptied first, so that no layer left below plays music while the UI ends.
    for (uiLayer* layer = g_pTop; layer; layer = layer->pBelow) {
        while (layer->pFirst) uiDialog_Free(layer->pFirst);
    }
    uiLayer_PopAll();
    uiDialog_FreeQueued();
}

int uiLayer_Append(uiDialog* dialog)
{
    if (!dialog || dialog->pLayer || !g_pTop || (dialog->flags & UIDIALOG_QUEUED)) return 0;
    dialog->pPrev = g_pTop->pLast;
    dialog->pNext = nullptr;
    if (g_pTop->pLast) g_pTop->pLast->pNext = dialog;
    else g_pTop->pFirst = dialog;
    g_pTop->pLast = dialog;
    dialog->pLayer = g_pTop;
    return 1;
}

uiDialog* uiLayer_FirstDialog()
{
    return g_pTop ? g_pTop->pFirst : nullptr;
}

uiLayer* uiLayer_Top()
{
    return g_pTop;
}

uiDialog* uiDialog_LoadScript(const char* fileName)
{
    stdFileHandle file = stdFile_OpenPath(fileName, "r");
    if (!file) return nullptr;
    uiDialog* dialog = uiDialog_New();
    if (!dialog) {
        stdFile_Close(file);
        return nullptr;
    }
    static char line[UISCRIPT_LINE_SIZE];
    while (stdFile_Gets(line, sizeof line, file)) LoadLine(dialog, line);
    stdFile_Close(file);
    return dialog;
}
