// The one-line edit field: a textbox of one line showing the typed text (or one "*" per
// character for a password) and a blinking caret, with an input filter, a length limit and
// clipboard paste.
#pragma once
#include <cstdint>

#include "uiTextbox.h"

enum uiEditFilter {
    UIEDIT_ANY = 0,
    UIEDIT_DIGITS = 1,
    UIEDIT_LETTERS = 2,
    UIEDIT_LETTERS_DIGITS = 3,
};

enum : uint32_t {
    UIEDIT_PASSWORD = 0x1,
    UIEDIT_NO_FOCUS_ON_PRESS = 0x2,
};

enum {
    UIEDIT_TEXT_SIZE = 512,
    UIEDIT_MIN_LENGTH = 2,
    UIEDIT_MAX_LENGTH = UIEDIT_TEXT_SIZE - 1,
    UIEDIT_BLINK_MS = 500,
    UIEDIT_KEY_BACKSPACE = 8,
    UIEDIT_KEY_TAB = 9,
    UIEDIT_KEY_RETURN = 13,
    UIEDIT_KEY_PASTE = 22,
};

typedef void (*uiEditCallback)(const char* text);

struct uiEditBox : uiTextbox {
    uiEditBox();

    void RenderContents() override;
    void OnEvent0() override;
    void OnKey(uint32_t key) override;
    void Update() override;
    void LoadBitmaps() override;
    int ParseKeyword(const char* text, uiDialog* dialog) override;
    void Clear() override;

    uint32_t filter = UIEDIT_ANY;
    char caretChar = '|';
    char text[UIEDIT_TEXT_SIZE] = {};
    uint32_t nextBlink = 0;
    uiEditCallback onEnter = nullptr;
    uint32_t maxLength = UIEDIT_MAX_LENGTH;  // holds at most maxLength - 2 characters
    uint32_t caretShown = 0;
    uint32_t editFlags = 0;
};

const char* uiEditBox_GetText(const uiEditBox* edit);
void uiEditBox_SetOnEnter(uiEditBox* edit, uiEditCallback function);
// Empties the field, then takes a filter mode below 4.
void uiEditBox_SetFilter(uiEditBox* edit, uint32_t mode);
// Kept within 2 to 511; a longer text is cut to it.
void uiEditBox_SetMaxLength(uiEditBox* edit, int length);
// 1 when the character was taken (printable, room left).
int uiEditBox_AddChar(uiEditBox* edit, int character);
void uiEditBox_Backspace(uiEditBox* edit);
// The clipboard's text up to its first line feed; 1 when the clipboard held text.
int uiEditBox_Paste(uiEditBox* edit);
void uiEditBox_KillFocus(uiEditBox* edit);
void uiEditBox_FitText(uiEditBox* edit);
// The text as shown: itself, or one "*" per character for a password.
void uiEditBox_ShownText(const uiEditBox* edit, char* out);

// Ends an edit when its field loses the dialog's focus.
void uiEditBox_Register();
