// The push button with four state pictures, and the checkbox with optional radio groups.
#pragma once
#include <cstdint>

#include "uiElement.h"

enum uiButtonState {
    UIBUTTON_NORMAL = 0,
    UIBUTTON_ROLLOVER = 1,
    UIBUTTON_DEPRESSED = 2,
    UIBUTTON_GREYED = 3,  // left only through uiButton_Ungrey
};

struct uiButton : uiElement {
    uiButton();
    ~uiButton() override;

    void OnEvent0() override;
    void OnEvent1() override;
    void Update() override;
    void LoadBitmaps() override;
    int ParseKeyword(const char* text, uiDialog* dialog) override;

    int32_t state = UIBUTTON_NORMAL;
    int32_t buttonValue = -1;  // carried for handlers
    Bitmap* normalBitmap = nullptr;  // the entries in state order
    Bitmap* rolloverBitmap = nullptr;
    Bitmap* depressedBitmap = nullptr;
    Bitmap* greyedBitmap = nullptr;
};

struct uiCheckbox : uiElement {
    uiCheckbox();
    ~uiCheckbox() override;

    void OnEvent0() override;
    void LoadBitmaps() override;
    int ParseKeyword(const char* text, uiDialog* dialog) override;

    int32_t checked = 0;
    Bitmap* uncheckedBitmap = nullptr;
    Bitmap* checkedBitmap = nullptr;
    int32_t radioGroup = 0;  // 0: none
};

void uiButton_Ungrey(uiButton* button);
void uiButton_Reset(uiButton* button);
// Checking a member of a radio group unchecks the others of its dialog first.
void uiCheckbox_SetChecked(uiCheckbox* checkbox, int on);
void uiCheckbox_Reset(uiCheckbox* checkbox);

// The script classes "button" and "checkbox".
void uiButton_Register();
