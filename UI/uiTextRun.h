// Floating text runs: a text shown at a screen position for a time, fading in and out and
// drifting vertically. Each run renders its text through a textbox into a dialog of its own,
// whose quads are power-of-two strips of at most 256 pixels; the dialog is never opened into
// a layer, the runs are updated and drawn by uiFont_DrawQueued once a frame.
#pragma once
#include <cstdint>

#include "stdFont.h"

struct uiDialog;
struct uiTextbox;

enum {
    UITEXTRUN_MAX_WIDTH = 640,
    UITEXTRUN_MAX_STRIP = 256,  // the widest and tallest texture of a run
};

struct uiTextRun {
    uiDialog* dialog;      // holds the run's quads and its textbox
    uint32_t fadeInMs;
    uint32_t fadeOutMs;
    uint32_t startTime;    // frame clock 0, milliseconds
    uint32_t endTime;
    uint32_t lastUpdate;
    float speed;           // vertical drift in pixels a second, downwards when positive
    float y;               // accumulated vertical position, UI space, y downwards
    float x;               // left edge
    float drawY;           // vertical position drawn at
    uiTextRun* next;       // live runs, newest first
    uiTextRun* prev;
    uiTextbox* textbox;
};

// A run of the text for lifetimeMs from now, its top-left corner at (x, y) in UI space (y
// downwards), with room for maxLines + 1 lines of the font (the default font when null); it
// joins the live runs. Null for a null or empty text, a text without width, without a font,
// or when its textures or textbox cannot be made.
uiTextRun* uiTextRun_Create(stdFont* font, const char* text, uint32_t lifetimeMs,
                            uint32_t fadeInMs, uint32_t fadeOutMs, int maxLines, float x,
                            float y, float speed);
// Once a frame: the text redrawn when changed, the fade and the drift stepped; a run past its
// end time is freed (the pointer is dead afterwards).
void uiTextRun_Update(uiTextRun* run);
// Draws the run's textured quads at its position.
void uiTextRun_Draw(uiTextRun* run);
// Unlinks and frees every run and its dialog.
void uiTextRun_FreeAll();
// Unlinks the run and frees its dialog and textbox; the record is left to the caller.
void uiTextRun_Destroy(uiTextRun* run);
void uiTextRun_Link(uiTextRun* run);
void uiTextRun_Unlink(uiTextRun* run);
void uiTextRun_SetPos(uiTextRun* run, float x, float y);
// Zeroes every field.
void uiTextRun_Clear(uiTextRun* run);
// The newest live run, or null; follow next for the others.
uiTextRun* uiTextRun_First();
