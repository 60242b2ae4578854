// The base class of every widget: name, kind, flags, rectangle and colour, four bitmaps, its
// place in a dialog's widget tree and focus ring, event handlers, and composition: a widget
// draws into its own bitmap, children are copied into their parent's bitmap and top-level
// widgets into the dialog's quads.
//
// Rectangles are in their dialog's coordinates (y growing downwards); a child's rectangle is
// not relative to its parent. A point on an edge lies inside.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"
#include "uiRect.h"

struct uiDialog;
struct uiQuad;
struct uiCursor;
struct uiElement;

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

// The base behaviour of the virtual operations, for derived classes to call.
void uiElement_ComposeIntoParent(uiElement* element);
void uiElement_Update(uiElement* element);
void uiElement_LoadBitmaps(uiElement* element);
int uiElement_ParseKeyword(uiElement* element, const char* text, uiDialog* dialog);
int uiElement_Detach(uiElement* element);
// Runs by the destructor: destroys the children, releases the bitmaps, leaves every registry
// and clears every pointer the UI keeps to the widget.
void uiElement_Destroy(uiElement* element);

// A script's "%d,%d"-style value: count comma-separated decimal numbers, each within min to
// max; 1 when all are there and in range (what follows them is not read), else 0.
int uiElement_ScanInts(const char* value, int32_t* out, int count, int32_t min, int32_t max);
// Whether a widget of this size may get a bitmap of its own: 0 to 640 by 0 to 480, what the
// screen can show. A script's "size" and the bitmaps the UI makes for a widget keep to it.
int uiElement_FitsScreen(int width, int height);

// A blank work bitmap of the widget's size (32-bit when the render settings ask for it); 0,
// and none made, when the size does not fit the screen.
int uiElement_CreateBitmap(uiElement* element);
void uiElement_SetPos(uiElement* element, int x, int y);
void uiElement_SetColor(uiElement* element, int alpha, int red, int green, int blue);
uint16_t uiElement_PackColor(int alpha, int red, int green, int blue);
void uiElement_SetSelected(uiElement* element, int on);
// index 0 to 13; a null function or an index outside leaves the table unchanged. 1 when set.
int uiElement_SetHandler(uiElement* element, int index, uiElementHandler function);
// Calls handler index with the argument when there is one.
void uiElement_CallHandler(uiElement* element, int index, uint32_t argument);

// Whether the two widgets' rectangles touch or overlap (both ends inclusive); 0 for null.
int uiElement_Overlaps(const uiElement* a, const uiElement* b);

void uiElement_AddChild(uiElement* parent, uiElement* child);
void uiElement_AddSibling(uiElement* element, uiElement* sibling);
void uiElement_SetDialog(uiElement* element, uiDialog* dialog);
void uiElement_Layout(uiElement* element);
// Copies a rectangle between bitmaps of the same pixel size in y-down coordinates (rows are
// stored bottom-up), clipped to both; keyed copies skip transparent pixels.
void uiElement_CopyRect(Bitmap* dest, int destX, int destY, int width, int height,
                        const Bitmap* source, int sourceX, int sourceY, int keyed);

void uiElement_Compose(uiElement* element);
void uiElement_UpdateTree(uiElement* element);

void uiElement_Hide(uiElement* element);
void uiElement_HideRestore(uiElement* element);

void uiElement_ShowHint(uiElement* element, uiElement* target, uint32_t argument);
// Where a hint goes without a hint handler: the textbox module installs its line appender.
void uiElement_SetHintSink(void (*addLine)(uiElement* target, const char* text, uint32_t colour));
// The edit field module installs what ends an edit when its field loses the focus.
void uiElement_SetEndEdit(void (*endEdit)(uiElement* editField));
void uiElement_EndEdit(uiElement* element);

void uiElement_RemoveTabStop(uiElement* element);
// A new bitmap of the widget's size holding what lies under it, or null.
Bitmap* uiElement_CaptureBackground(uiElement* element);
void uiElement_CaptureHideBitmap(uiElement* element);

// Needs a work bitmap, a flash bitmap and a duration; times in milliseconds of the frame clock.
int uiElement_Flash(uiElement* element, uint32_t period, uint32_t duration);
void uiElement_StopFlash(uiElement* element);
void uiElement_FlashTick(uiElement* element);

uiElement* uiElement_GetKeyCapture();
void uiElement_SetKeyCapture(uiElement* element);
