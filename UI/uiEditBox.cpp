#include "uiEditBox.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "renderTimer.h"
#include "uiDialog.h"
#include "uiFont.h"
#include "uiInputState.h"
#include "uiWidget.h"

namespace {

bool IsPrintable(int c)
{
    return c >= 0x20 && c < 0x7F;
}

bool PassesFilter(uint32_t filter, int c)
{
    const bool digit = c >= '0' && c <= '9';
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    switch (filter) {
    case UIEDIT_DIGITS: return digit;
    case UIEDIT_LETTERS: return letter;
    case UIEDIT_LETTERS_DIGITS: return letter || digit;
    default: return true;
    }
}

int CaretAdvance(const uiEditBox* edit)
{
    return uiFont_CharWidth(edit->pFont, (unsigned char)edit->caretChar);
}

// Appends without fitting; 1 when taken.
int Append(uiEditBox* edit, int c)
{
    const size_t length = strlen(edit->text);
    if (!IsPrintable(c) || length + 2 >= edit->maxLength) return 0;
    edit->text[length] = (char)c;
    edit->text[length + 1] = 0;
    return 1;
}

void Changed(uiEditBox* edit)
{
    uiEditBox_FitText(edit);
    edit->flags |= UIELEMENT_DIRTY;
}

void EndEdit(uiElement* element)
{
    if (element->kind == UIKIND_EDITBOX) uiEditBox_KillFocus(static_cast<uiEditBox*>(element));
}

}  // namespace

uiEditBox::uiEditBox()
{
    kind = UIKIND_EDITBOX;
    maxItems = 1;
}

void uiEditBox::RenderContents()
{
    uiTextbox_Clear(this);
    char shown[UIEDIT_TEXT_SIZE];
    uiEditBox_ShownText(this, shown);
    if (caretShown) uiTextbox_Printf(this, "%s%c", shown, caretChar);
    else uiTextbox_Printf(this, "%s", shown);
    uiTextbox_DrawRows(this, caretShown ? CaretAdvance(this) : 0);
}

void uiEditBox::OnEvent0()
{
    if (!(editFlags & UIEDIT_NO_FOCUS_ON_PRESS) && pDialog) uiDialog_SetFocus(pDialog, this);
    uiElement::OnEvent0();
}

void uiEditBox::OnKey(uint32_t key)
{
    switch (key) {
    case UIEDIT_KEY_BACKSPACE: uiEditBox_Backspace(this); break;
    case UIEDIT_KEY_TAB:
        if (pDialog) (uiInput_ShiftDown() ? uiDialog_FocusPrev : uiDialog_FocusNext)(pDialog);
        break;
    case UIEDIT_KEY_RETURN:
        if (onEnter) onEnter(text);
        break;
    case UIEDIT_KEY_PASTE: uiEditBox_Paste(this); break;
    default:
        if (key < 0x100 && PassesFilter(filter, (int)key)) uiEditBox_AddChar(this, (int)key);
        break;
    }
    uiElement::OnKey(key);
}

void uiEditBox::Update()
{
    uiTextbox_Update(this);
    const bool focused = (pDialog && pDialog->pFocus == this) || uiElement_GetKeyCapture() == this;
    if (!focused) return;
    const uint32_t now = renderTimer_viewer.clocks[0].totalMs;
    if (now > nextBlink) {
        caretShown = !caretShown;
        nextBlink = now + UIEDIT_BLINK_MS;
        flags |= UIELEMENT_DIRTY;
    }
}

void uiEditBox::LoadBitmaps()
{
    maxItems = 1;
    if (pDialog) uiDialog_AddTabStop(pDialog, this);
    uiTextbox_LoadBitmaps(this);
    flags |= 0x100;
}

int uiEditBox::ParseKeyword(const char* pair, uiDialog* dialog)
{
    if (uiTextbox_ParseKeyword(this, pair, dialog)) return 1;
    // Any other well-formed pair is accepted and left alone.
    char key[UIWIDGET_PAIR_SIZE], value[UIWIDGET_PAIR_SIZE];
    return uiWidget_SplitPair(pair, key, value);
}

void uiEditBox::Clear()
{
    text[0] = 0;
    uiEditBox_FitText(this);
    uiTextbox_Clear(this);
}

const char* uiEditBox_GetText(const uiEditBox* edit)
{
    return edit->text;
}

void uiEditBox_SetOnEnter(uiEditBox* edit, uiEditCallback function)
{
    edit->onEnter = function;
}

void uiEditBox_SetFilter(uiEditBox* edit, uint32_t mode)
{
    edit->Clear();
    if (mode < 4) edit->filter = mode;
}

void uiEditBox_SetMaxLength(uiEditBox* edit, int length)
{
    if (length < UIEDIT_MIN_LENGTH) length = UIEDIT_MIN_LENGTH;
    if (length > UIEDIT_MAX_LENGTH) length = UIEDIT_MAX_LENGTH;
    edit->maxLength = (uint32_t)length;
    if (strlen(edit->text) > edit->maxLength) {
        edit->text[edit->maxLength] = 0;
        Changed(edit);
    }
}

int uiEditBox_AddChar(uiEditBox* edit, int character)
{
    if (!Append(edit, character)) return 0;
    Changed(edit);
    return 1;
}

void uiEditBox_Backspace(uiEditBox* edit)
{
    const size_t length = strlen(edit->text);
    if (length) edit->text[length - 1] = 0;
    Changed(edit);
}

int uiEditBox_Paste(uiEditBox* edit)
{
    if (!OpenClipboard(nullptr)) return 0;
    int taken = 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? (const char*)GlobalLock(data) : nullptr;
    if (text) {
        const size_t size = GlobalSize(data);
        for (size_t i = 0; i < size && i < edit->maxLength && text[i] && text[i] != '\n'; i++)
            Append(edit, (unsigned char)text[i]);
        GlobalUnlock(data);
        taken = 1;
    }
    CloseClipboard();
    if (taken) Changed(edit);
    return taken;
}

void uiEditBox_KillFocus(uiEditBox* edit)
{
    edit->caretShown = 0;
    edit->flags |= UIELEMENT_DIRTY;
}

void uiEditBox_ShownText(const uiEditBox* edit, char* out)
{
    const size_t length = strlen(edit->text);
    if (edit->editFlags & UIEDIT_PASSWORD) {
        memset(out, '*', length);
        out[length] = 0;
    } else {
        memcpy(out, edit->text, length + 1);
    }
}

void uiEditBox_FitText(uiEditBox* edit)
{
    edit->xOffset = 0;
    if ((edit->textboxFlags & UITEXTBOX_CENTRE_ROWS) || !edit->pFont) return;
    char shown[UIEDIT_TEXT_SIZE];
    uiEditBox_ShownText(edit, shown);
    const int room = edit->rect.width - edit->indent;
    const int used = uiFont_TextWidth(edit->pFont, shown) + CaretAdvance(edit);
    if (used > room) edit->xOffset = room - used;
}

void uiEditBox_Register()
{
    uiElement_SetEndEdit(EndEdit);
}
