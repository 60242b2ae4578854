// The UI's records: the widget base class with its flags, kinds and handler slots, the
// icon that can ride on the cursor, and the dialog with its quads and layers. They sit below
// every UI module, so that the registry, the cursor and the widget tree read the fields they
// need without reaching up into the modules that work on them; each module's functions stay
// in its own header (uiElement.h, uiIcon.h, uiDialog.h).
#pragma once
#include <cstdint>

#include "bitmapRecord.h"
#include "uiRect.h"

struct stdHash;
struct uiCursor;
struct uiDialog;
struct uiElement;
struct uiLayer;
struct uiQuad;

enum : uint32_t {
    UIELEMENT_SELECTED = 0x1,
    UIELEMENT_CAPTURE_RESTORE = 0x2,
    UIELEMENT_KEYED = 0x4,
    UIELEMENT_CAPTURE_HIDE = 0x8,
    UIELEMENT_HIDDEN = 0x200,
    UIELEMENT_DIRTY = 0x800,
    UIELEMENT_COMPOSE = 0x1000,
    UIELEMENT_FILL = 0x2000,
    UIELEMENT_IN_RESOURCES = 0x4000,  // UIELEMENT_FLAG_REGISTERED of uiResource.h
    UIELEMENT_OVERLAPS_PARENT = 0x8000,
    UIELEMENT_IN_DIALOG = 0x10000,
    UIELEMENT_ATTACHED = 0x20000,
    UIELEMENT_DISABLED = 0x80000,
    UIELEMENT_TAB_STOP = 0x100000,
    UIELEMENT_FLASHING = 0x200000,
    // What only the UI itself sets: registrations, tree links, layout, redraw and flash state.
    // A script's "flags" cannot set these, so that a widget is never taken for registered,
    // placed or linked when it is not.
    UIELEMENT_LIBRARY_FLAGS = UIELEMENT_DIRTY | UIELEMENT_COMPOSE | UIELEMENT_FILL |
                              UIELEMENT_IN_RESOURCES | UIELEMENT_OVERLAPS_PARENT |
                              UIELEMENT_IN_DIALOG | UIELEMENT_ATTACHED | UIELEMENT_TAB_STOP |
                              UIELEMENT_FLASHING,
};

enum uiElementKind {
    UIKIND_STATIC = 0,
    UIKIND_BUTTON = 1,
    UIKIND_TEXTBOX = 2,
    UIKIND_CHECKBOX = 3,
    UIKIND_ICON = 4,
    UIKIND_ICONGRID = 5,
    UIKIND_EDITBOX = 7,
    UIKIND_SLIDER = 9,
};

enum {
    UIELEMENT_NAME_SIZE = 32,
    UIELEMENT_MAX_OVERLAPS = 12,
    UIELEMENT_NUM_HANDLERS = 14,
    UIELEMENT_PAIR_SIZE = 511,  // a key or value can be as long as a script line
};

// Handler entries: 0-3 and 5-7 events, 8 each frame, 9 keys, 10 after a redraw, 11 after
// composition; 4, 12 and 13 are left to derived classes.
enum {
    UIHANDLER_FRAME = 8,
    UIHANDLER_KEY = 9,
    UIHANDLER_REDRAWN = 10,
    UIHANDLER_COMPOSED = 11,
};

typedef void (*uiElementHandler)(uiElement* element, uint32_t argument);
typedef void (*uiElementHintHandler)(uiElement* element, uiElement* target, uint32_t argument);

// A part of a dialog quad that a top-level widget covers.
struct uiOverlap {
    uiQuad* pQuad;
    uiRect quadRect;     // in the quad's coordinates
    uiRect elementRect;  // the same in the widget's coordinates
};

// The base class of every widget; its operations are in uiElement.h.
struct uiElement {
    uiElement();
    virtual ~uiElement();
    uiElement(const uiElement&) = delete;
    uiElement& operator=(const uiElement&) = delete;

    // Virtual operations in their fixed order; derived classes add theirs after Detach.
    virtual void RenderContents();
    virtual void ComposeIntoParent();
    virtual void OnEvent0();
    virtual void OnEvent1();
    virtual void OnEvent2();
    virtual void OnSpare();
    virtual void OnEvent5();
    virtual void OnEvent6();
    virtual void OnEvent7();
    virtual void OnKey(uint32_t key);
    virtual void Update();
    virtual void LoadBitmaps();
    virtual int ParseKeyword(const char* text, uiDialog* dialog);
    virtual int Detach();

    uiElementHintHandler pHintHandler = nullptr;
    uint32_t flashEndTime = 0;
    uint32_t flashPeriod = 0;
    uint32_t flashElapsed = 0;
    uint32_t flashPhase = 0;
    char name[UIELEMENT_NAME_SIZE] = {};
    const char* pHint = nullptr;
    int32_t kind = UIKIND_STATIC;
    uint32_t flags = 0;
    uiRect rect = {};
    uiRect visible = {};      // x, y relative to the parent's rectangle
    int32_t sourceX = 0;      // the visible part relative to the widget's own rectangle
    int32_t sourceY = 0;
    int32_t cursorX = 0;      // the cursor relative to the widget
    int32_t cursorY = 0;
    uint16_t color = 0;       // ARGB 1555
    Bitmap* pBitmap = nullptr;
    Bitmap* pRestore = nullptr;
    Bitmap* pHide = nullptr;
    Bitmap* pFlash = nullptr;
    uiDialog* pDialog = nullptr;
    uiCursor* pCursor = nullptr;
    uiElement* pParent = nullptr;
    uiElement* pNext = nullptr;
    uiElement* pPrev = nullptr;
    uiElement* pChild = nullptr;
    uiElement* pTabNext = nullptr;
    uiElement* pTabPrev = nullptr;
    int32_t numOverlaps = 0;
    uiOverlap overlaps[UIELEMENT_MAX_OVERLAPS] = {};
    uiElementHandler handlers[UIELEMENT_NUM_HANDLERS] = {};
};

// A widget that can ride on the cursor; its grid and functions are in uiIcon.h.
struct uiIcon : uiElement {
    uiIcon();
    ~uiIcon() override;

    void Update() override;
    void LoadBitmaps() override;

    uint32_t gridMask = 0;  // bits of the grids that take the icon
    uint32_t gridId = 0;    // the grid it sits in; 0 none
    int32_t cellsAcross = -1;
    int32_t cellsDown = -1;
    int32_t column = -1;
    int32_t row = -1;
    Bitmap* normalBitmap = nullptr;
    Bitmap* hoverBitmap = nullptr;
    uiCursor* pIconCursor = nullptr;  // current while the icon rides on the cursor
};

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

// A dialog; its operations are in uiDialog.h.
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
