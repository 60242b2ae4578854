// The UI library's main module: start-up and shutdown, the per-frame update and draw, and the
// input dispatcher. It sits above every other UI module; what they share within a frame (the
// screen mapping, screen quads, hover, press and key capture) is uiFrame's, included here.
#pragma once
#include <cstdint>

#include "uiFrame.h"

// Starts the registry, the cursor and the default font; scales 1.0. 1, or 0 when the
// registry cannot be made.
int ui_Startup();
// 1, or 0 when not started: frees the text runs and the default font, closes and frees every
// dialog open in a layer or waiting to be freed, pops every layer, forgets the frame's hover,
// press and key capture, and stops the cursor and the registry. Dialogs that were never
// opened, and cursor records, stay their owner's.
int ui_Shutdown();
int ui_IsStarted();

// Once a frame: clears the frame's hover and flushes the raster library's draw cache; the
// dialogs' update, which finds the hovered dialog and widget, runs after it.
void ui_Update();
// Once a frame, after ui_Update: the dialogs of the top layer, then the floating text runs.
// The number of dialogs drawn.
int ui_Draw();

// Events of the UI input dispatcher, 0 to 9; each reaches the hovered widget's operation of
// the same number (OnEvent0 ... OnEvent7, OnKey). 3, 4 and 8 reach no widget.
enum {
    UIEVENT_PRESS = 0,      // the hovered widget becomes the pressed one
    UIEVENT_RELEASE = 1,    // reaches the hovered widget only when it is the pressed one
    UIEVENT_ICON = 7,       // reaches a riding icon first
    UIEVENT_KEY = 9,        // the argument is the key; the key-capture widget takes it alone
    UIEVENT_COUNT = 10,
};
// Hands an input event to the widgets: a key to the key-capture widget, else, over a hovered
// dialog, first to the dialog's event callback, then press, release and events 2, 5, 6 and 7
// to the hovered widget and a key to the dialog's focus widget. The viewer does not call it.
void ui_DispatchEvent(int event, uint32_t argument);

