// What the widgets read of the frame's input: the mouse wheel, the left button and the shift
// keys. The viewer's input module supplies them; without a source every reading is 0.
#pragma once

struct uiInputSource {
    int (*wheel)();           // this frame's wheel movement, positive away from the user
    int (*leftButtonDown)();  // 1 while the left mouse button is held
    int (*shiftDown)();       // 1 while either shift key is held
};

// The source is copied; null removes it.
void uiInput_SetSource(const uiInputSource* source);
int uiInput_Wheel();
int uiInput_LeftButtonDown();
int uiInput_ShiftDown();
