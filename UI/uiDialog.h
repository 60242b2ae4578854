// Dialogs: windows of textured background quads and a tree of widgets drawn into them, opened
// into a stack of layers of which only the top one takes the cursor and is drawn; the UI
// script files (.wix) that describe them.
//
// Dialog positions are in UI space (640 x 480, y growing downwards); quad and widget
// rectangles are relative to their dialog.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"
#include "uiElement.h"

struct stdHash;
struct uiLayer;

enum : uint32_t {
    UIDIALOG_OPEN = 0x1,
    UIDIALOG_MODAL = 0x2,
    UIDIALOG_IN_RESOURCES = 0x4,  // UIDIALOG_FLAG_REGISTERED of uiResource.h
    UIDIALOG_QUEUED = 0x8,
    UIDIALOG_NO_HOVER = 0x10,
    UIDIALOG_FADING_OUT = 0x20,
    UIDIALOG_FADING_IN = 0x40,
    UIDIALOG_NO_HIT = 0x80,
    UIDIALOG_ON_TOP = 0x100,
};

enum : uint32_t { UIQUAD_CHANGED = 0x1 };

enum {
    UIDIALOG_NAME_SIZE = 32,
    UIDIALOG_MUSIC_SIZE = 128,
    UISCRIPT_LINE_SIZE = 511,  // 510 characters and the terminator
};

struct uiQuad {
    uint32_t flags;
    Bitmap* pBitmap;    // a texture
    uiDialog* pDialog;
    int32_t x, y;       // relative to the dialog
    int32_t width, height;
    float uvs[8];       // u, v of top-left, top-right, bottom-right, bottom-left
    uiQuad* pNext;
};

typedef void (*uiDialogCallback)(uiDialog* dialog);
typedef void (*uiDialogMusicCallback)(uiDialog* dialog, const char* music);
typedef void (*uiDialogEventCallback)(uiElement* hovered, int event);

struct uiDialog {
    uiDialogCallback pOnUpdate;
    uiDialogCallback pOnDraw;
    uiDialogCallback pOnOpen;
    uiDialogCallback pOnClose;
    uiDialogMusicCallback pMusic;
    uiDialogEventCallback pOnEvent;
    stdHash* pElements;     // widgets registered in the dialog; null until the first
    float fadeStart, fadeEnd, fadeSeconds, fadeElapsed;
    char name[UIDIALOG_NAME_SIZE];
    char music[UIDIALOG_MUSIC_SIZE];
    uint32_t flags;
    float alpha;            // drawn with this when not fading
    float currentAlpha;     // while fading
    int32_t x, y;
    uiElement* pFirst;      // first top-level widget
    uiElement* pFocus;
    uiElement* pTabStart;
    int32_t cursorX, cursorY;
    uint32_t format;        // pixel format of the widgets' bitmaps
    uiDialog* pNext;        // in the layer's list, or in the queue to free
    uiDialog* pPrev;
    uiQuad* pQuads;
    int32_t left, top, right, bottom;
    int32_t visGroup;
    uiLayer* pLayer;
};

struct uiLayer {
    uiDialog* pFirst;
    uiDialog* pLast;
    uiLayer* pBelow;
};

// A closed dialog in no layer; null without memory.
uiDialog* uiDialog_New();
void uiDialog_Init(uiDialog* dialog);
void uiDialog_Destroy(uiDialog* dialog);
// uiDialog_Destroy, then frees the record (no longer queued).
void uiDialog_Free(uiDialog* dialog);
// Closes the dialog and queues it, once, to be freed at the next uiDialog_Update.
enum : uint32_t { UIDIALOG_DELETE_FREE = 0x1 };
// uiDialog_Destroy, and the record freed as well with UIDIALOG_DELETE_FREE.
void uiDialog_Delete(uiDialog* dialog, uint32_t flags);
void uiDialog_Close(uiDialog* dialog);
void uiDialog_FreeQueued();

void uiDialog_SetPos(uiDialog* dialog, int x, int y);
void uiDialog_Open(uiDialog* dialog);
void uiDialog_FadeIn(uiDialog* dialog, float seconds);
void uiDialog_FadeOut(uiDialog* dialog, float seconds);

int uiDialog_Update();
int uiDialog_DrawAll();
void uiDialog_UpdateOne(uiDialog* dialog);
void uiDialog_Draw(uiDialog* dialog);

int uiDialog_ParseKeyword(uiDialog* dialog, const char* text);
int uiDialog_ParseQuad(uiQuad* quad, const char* text);
void uiDialog_AddQuad(uiDialog* dialog, uiQuad* quad);

int uiDialog_AddElement(uiDialog* dialog, uiElement* parent, uiElement* element);
// Links a widget that is in no widget table as the script loader does: the first top-level
// widget of a dialog without one (attached and laid out), else directly after it.
void uiDialog_PlaceTopLevel(uiDialog* dialog, uiElement* element);
void uiDialog_RemoveElement(uiDialog* dialog, uiElement* element);
uiElement* uiDialog_FindElement(uiDialog* dialog, const char* name);
uiElement* uiDialog_FindOfKind(uiDialog* dialog, const char* name, int kind);
// A widget of the dialog by name: the widget table first, then the whole tree, so that a
// script can name as parent a widget that the loader placed.
uiElement* uiDialog_FindInTree(uiDialog* dialog, const char* name);
uiElement* uiDialog_NextElement(uiDialog* dialog, uiElement* element);
int uiDialog_SetHandlerByKind(uiDialog* dialog, int kind, int index, uiElementHandler function);
int uiDialog_SetHandlerByName(uiDialog* dialog, const char* name, int index,
                              uiElementHandler function);

void uiDialog_SetFocus(uiDialog* dialog, uiElement* element);
int uiDialog_AddTabStop(uiDialog* dialog, uiElement* element);
void uiDialog_FocusNext(uiDialog* dialog);
void uiDialog_FocusPrev(uiDialog* dialog);

int uiDialog_PlayMusic(uiDialog* dialog);
int uiDialog_IsInTopLayer(const uiDialog* dialog);
int uiDialog_IsInLowerLayer(const uiDialog* dialog);
// Whether the point (dialog coordinates) lies on one of its quads, or without quads on one of
// its widgets.
int uiDialog_HitTest(uiDialog* dialog, int x, int y);

// At the UI's end: frees every dialog in a layer (closing the open ones) and every queued one,
// and pops every layer.
void uiDialog_FreeAll();

uiLayer* uiLayer_Push();
void uiLayer_Pop();
void uiLayer_PopAll();
int uiLayer_Append(uiDialog* dialog);
uiDialog* uiLayer_FirstDialog();
uiLayer* uiLayer_Top();

// Builds one dialog from a UI script; null when the file cannot be opened.
uiDialog* uiDialog_LoadScript(const char* fileName);
// What a script's "element" keyword creates; "static" makes a plain uiElement, and the widget
// modules install the other classes. Lines naming a class without a creator are skipped.
void uiDialog_SetElementClass(const char* keyword, uiElement* (*create)());
