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
#include "uiElementTree.h"
#include "uiRecords.h"

// The base behaviour of the virtual operations, for derived classes to call.
void uiElement_ComposeIntoParent(uiElement* element);
void uiElement_Update(uiElement* element);
void uiElement_LoadBitmaps(uiElement* element);
int uiElement_ParseKeyword(uiElement* element, const char* text, uiDialog* dialog);
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

// A new bitmap of the widget's size holding what lies under it, or null.
Bitmap* uiElement_CaptureBackground(uiElement* element);
void uiElement_CaptureHideBitmap(uiElement* element);

// Needs a work bitmap, a flash bitmap and a duration; times in milliseconds of the frame clock.
int uiElement_Flash(uiElement* element, uint32_t period, uint32_t duration);
void uiElement_StopFlash(uiElement* element);
void uiElement_FlashTick(uiElement* element);

uiElement* uiElement_GetKeyCapture();
void uiElement_SetKeyCapture(uiElement* element);
