// The viewer's user interface: the UI library started with the viewer's cursor, its one UI
// script opened as the menu, the status textbox found in it, and once a frame the cursor moved
// by the mouse, the UI updated and drawn, and, while the statistics are shown, one statistics
// line a second printed into the status textbox.
#pragma once
#include <cstdint>

struct ModelInstance;
struct uiDialog;
struct uiTextbox;

#define QVUI_MENU_SCRIPT "ui\\qevview.wix"
#define QVUI_CURSOR_NAME "CursorDefault.tga"
#define QVUI_TEXTBOX_NAME "qvuiTextbox"
#define QVUI_STATS_FORMAT "Framerate: %3.2f, Faces %d, Dist %.2f, Detail %.2f"

enum {
    QVUI_STATS_PERIOD_MS = 1000,  // one statistics line a second
};

// The menu the script yields and its status textbox; null when the script has none. The viewer
// prints its own messages into the textbox too.
extern uiDialog* qvui_pMenu;
extern uiTextbox* qvui_pTextBox;

// The viewer's menu: one dialog built from the UI script; null when the file cannot be opened.
uiDialog* qvui_LoadMenu(const char* fileName);
// The viewer's fields that the statistics read each frame: its model instance and whether the
// line is shown. The viewer names them once, before qvui_Startup; without them no line is shown.
void qvui_SetSubject(ModelInstance* const* ppInstance, const uint32_t* pbStatsShown);
// Starts the UI library, sets the cursor, loads the menu, finds the status textbox and opens the
// menu. A menu or textbox that is missing fails an assertion and is left out: the viewer runs
// without it. The widgets read the mouse and the keys from the viewer's input from now on.
void qvui_Startup();
// Closes what qvui_Startup opened: the UI library with the menu, and the input source of the
// widgets. The viewer itself never calls it (its UI lives as long as its process).
void qvui_Shutdown();
// Once a frame after the model is drawn: the cursor follows this frame's mouse movement, the UI
// is updated, and while the statistics are shown the statistics rule runs.
void qvui_PrintStatistics();
// The UI, then the cursor over it; the cursor draw's result.
int qvui_Draw();
// The statistics rule alone: within a second of the last line the frame is counted and the
// milliseconds since that line are returned; after it the line is printed (frame rate, faces
// drawn so far in this frame, level-of-detail distance and detail of the model) and the
// print's result returned.
uint32_t qvui_UpdateStatistics();
