// The multi-line text widget: a list of coloured lines, each laid out once into drawn rows
// (optionally word-wrapped), placed top-down or newest-at-bottom, scrolled by a slider or
// the mouse wheel and drawn with a bitmap font into the widget's work bitmap.
//
// Line positions count rows of the work bitmap upwards from its bottom row; the box's top
// edge is at the box height. A textbox without a font lays every line out with no width and
// no height and draws nothing.
#pragma once
#include <cstdint>

#include "stdFont.h"
#include "uiElement.h"

struct uiSlider;
struct uiTextbox;

enum : uint32_t {
    UITEXTBOX_CENTRE_ROWS = 0x1,
    UITEXTBOX_CENTRE_BLOCK = 0x2,  // and no scrolling
    UITEXTBOX_WRAP = 0x4,
    UITEXTBOX_FROM_BOTTOM = 0x8,   // the newest line at the bottom, older ones stacked upwards
};

enum {
    UITEXTBOX_TEXT_SIZE = 2048,        // a formatted line, a wrapped row
    UITEXTBOX_MAX_PARAGRAPHS = 1024,
    UITEXTLINE_BLANK = 3,              // lineFlags of a line made from a null or empty text
};

// Four bytes in the order blue, green, red, alpha.
struct uiColor {
    uint8_t blue, green, red, alpha;
};

struct uiTextPiece {
    char* text;
    uiTextPiece* pNext;  // the row added before this one
    int32_t width;
};

struct uiTextLine {
    char* text;
    int32_t index;
    uint8_t lineFlags;
    uint32_t userValue;
    uiTextPiece* pPieces;  // the row added last first
    int32_t pieceCount;
    int32_t x;
    int32_t y;             // the line's lowest row
    int32_t availableWidth;
    int32_t height;
    uiTextLine* pPrev;
    uiTextLine* pNext;
    uiTextbox* pOwner;
    uiColor color;
};

struct uiTextbox : uiElement {
    uiTextbox();
    ~uiTextbox() override;

    void RenderContents() override;
    void Update() override;
    void LoadBitmaps() override;
    int ParseKeyword(const char* text, uiDialog* dialog) override;
    virtual void Clear();

    uiTextLine* pFirstLine = nullptr;
    uiTextLine* pLastLine = nullptr;
    int32_t scroll = 0;
    int32_t xOffset = 0;
    uint32_t lineCount = 0;
    int32_t itemSpacing = 0;
    int32_t indent = 0;
    uiColor textColor = {240, 240, 240, 255};
    uiSlider* pVScrollbar = nullptr;
    uiSlider* pHScrollbar = nullptr;  // kept, not used
    uint32_t maxItems = 0;
    stdFont* pFont = nullptr;
    uint32_t textboxFlags = 0;
};

// The base behaviour of the textbox's operations, for derived classes to call.
void uiTextbox_Draw(uiTextbox* textbox);
// Draws the rows; centred rows make room for a caret of this advance after them.
void uiTextbox_DrawRows(uiTextbox* textbox, int caretAdvance);
void uiTextbox_Update(uiTextbox* textbox);
void uiTextbox_LoadBitmaps(uiTextbox* textbox);
int uiTextbox_ParseKeyword(uiTextbox* textbox, const char* text, uiDialog* dialog);
void uiTextbox_Clear(uiTextbox* textbox);
// The added fields back to their defaults, the base untouched (lines are not freed).
void uiTextbox_Reset(uiTextbox* textbox);

// Each returns the new line's index.
int uiTextbox_AddLine(uiTextbox* textbox, const char* text, uint32_t userValue);
int uiTextbox_AddLineEx(uiTextbox* textbox, const char* text, uint32_t userValue, uiColor color);
// printf into a 2048-character buffer (longer results are cut); a null format adds a blank line.
int uiTextbox_Printf(uiTextbox* textbox, const char* format, ...);
int uiTextbox_PrintfColor(uiTextbox* textbox, uiColor color, const char* format, ...);

uint32_t uiTextbox_RemoveLineAt(uiTextbox* textbox, uint32_t index);
void uiTextbox_RemoveLine(uiTextbox* textbox, uiTextLine* line);
uiTextLine* uiTextbox_GetLine(const uiTextbox* textbox, uint32_t index);
int uiTextbox_GetLineY(const uiTextbox* textbox, uint32_t index);
void uiTextbox_SetSpacing(uiTextbox* textbox, int pixels);
void uiTextbox_SetTextColor(uiTextbox* textbox, int alpha, int blue, int green, int red);
void uiTextbox_SetMaxItems(uiTextbox* textbox, uint32_t count);
// Re-places every line from the first (or, newest at the bottom, from the last).
void uiTextbox_Relayout(uiTextbox* textbox);

// Scrolling is clamped to 0 .. the offset that shows the oldest line; nothing happens without
// lines or while the block is centred.
void uiTextbox_ScrollBy(uiTextbox* textbox, int delta);
void uiTextbox_SetScroll(uiTextbox* textbox, int position);
// The vertical scrollbar's change callback: scroll = -value.
void uiTextbox_OnScrollbar(uiSlider* slider, int value);
void uiTextbox_Centre(uiTextbox* textbox);
// One page up for a positive wheel movement, down for a negative one.
void uiTextbox_Wheel(uiTextbox* textbox, int movement);

// The script class "textbox" and the hint sink of the base class.
void uiTextbox_Register();
