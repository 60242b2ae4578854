// UI scripts (.wix): the script loader over the sample UI's bitmaps, textures and font in the
// work folder, then the dialog opened and run over several frames with the cursor at points
// inside, on the edges of and outside it, text printed into its textboxes, input events sent to
// what the cursor is on, a fade-out, and the dialog freed.
#include <initializer_list>

#include "fuzzSupport.h"
#include "gameString.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiElement.h"
#include "uiInputState.h"
#include "uiResource.h"
#include "uiTextbox.h"
#include "ui.h"

namespace {

int g_frame;

int Wheel() { return g_frame % 3 - 1; }
int LeftButtonDown() { return g_frame % 4 < 2; }
int ShiftDown() { return g_frame % 5 == 0; }

const uiInputSource kInput = {Wheel, LeftButtonDown, ShiftDown};

void Frame()
{
    ui_Update();
    ui_Draw();
    uiCursor_Draw();
    fuzz::NextFrame(16);
    g_frame++;
}

void PrintIntoTextboxes(uiDialog* dialog)
{
    for (uiElement* e = uiDialog_NextElement(dialog, nullptr); e; e = uiDialog_NextElement(dialog, e)) {
        if (e->kind != UIKIND_TEXTBOX) continue;
        if (uiTextbox* textbox = dynamic_cast<uiTextbox*>(e)) {
            uiTextbox_Printf(textbox, "Framerate: %.1f, Faces %d", 59.9, g_frame);
            uiTextbox_AddLine(textbox, "a second line that is longer than most textboxes are wide", 1);
        }
    }
}

void Run(uiDialog* dialog)
{
    uiDialog_Open(dialog);
    // Cursor positions in the UI's y-up space: the dialog's corners and middle, the screen's.
    const float x = (float)dialog->x, y = (float)(UI_HEIGHT - 1 - dialog->y);
    const float points[][2] = {{x, y}, {x + 5, y - 5}, {x + 60, y - 20}, {x + 300, y - 30},
                               {0, 0}, {639, 479}, {320, 240}, {x - 1, y + 1}};
    for (const auto& point : points) {
        uiCursor_SetPos(point[0], point[1]);
        Frame();
        for (int event : {0, 1, 2, 5, 6, 7, 9}) ui_DispatchEvent(event, 0x1C);
        if (g_frame % 3 == 0) PrintIntoTextboxes(dialog);
    }
    uiDialog_FadeOut(dialog, 0.05f);
    for (int i = 0; i < 5; i++) Frame();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartLibraries();
    uiInput_SetSource(&kInput);
    return 0;
}

// The UI is started and shut down around each input, and so are the game strings that the
// widgets' hint keys register: what they keep lives until their shutdown.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput("fuzz.wix", data, size);
    fuzz::Scope scope(size);
    ui_Startup();
    if (uiDialog* dialog = uiDialog_LoadScript("fuzz.wix")) {
        Run(dialog);
        uiDialog_Free(dialog);
    }
    ui_Shutdown();
    gameString_Shutdown();
    return 0;
}
