#include "uiButton.h"

#include <cstdio>
#include <cstring>

#include "uiFrame.h"
#include "uiDialog.h"
#include "uiInputState.h"
#include "uiResource.h"
#include "uiWidget.h"

namespace {

int LoadInto(Bitmap** slot, const char* name, uint32_t format)
{
    Bitmap* bitmap = uiResource_LoadBitmap(name, format);
    if (!bitmap) return 0;
    if (*slot) uiResource_FreeBitmap(*slot);
    *slot = bitmap;
    return 1;
}

// Releases the widget's own pictures; the work bitmap, when it is one of them, goes with them.
// Each entry holds a reference of its own, also when a script names one picture for two states;
// the work bitmap's reference is the first entry's.
void ReleaseOwn(uiElement* element, Bitmap** bitmaps, int count)
{
    for (int i = 0; i < count; i++) {
        if (!bitmaps[i]) continue;
        if (element->pBitmap == bitmaps[i]) element->pBitmap = nullptr;
        uiResource_FreeBitmap(bitmaps[i]);
        bitmaps[i] = nullptr;
    }
}

void DropRestore(uiElement* element)
{
    if (!element->pRestore) return;
    uiResource_FreeBitmap(element->pRestore);
    element->pRestore = nullptr;
}

uiElement* CreateButton() { return new uiButton; }
uiElement* CreateCheckbox() { return new uiCheckbox; }

}  // namespace

uiButton::uiButton()
{
    kind = UIKIND_BUTTON;
}

uiButton::~uiButton()
{
    Bitmap* own[] = {normalBitmap, rolloverBitmap, depressedBitmap, greyedBitmap};
    ReleaseOwn(this, own, 4);
}

void uiButton::OnEvent0()
{
    if (state != UIBUTTON_GREYED) state = UIBUTTON_DEPRESSED;
    uiElement::OnEvent0();
}

void uiButton::OnEvent1()
{
    // Only a release after a press on this button is a click.
    if (state != UIBUTTON_DEPRESSED) return;
    state = UIBUTTON_NORMAL;
    uiElement::OnEvent1();
}

void uiButton::Update()
{
    uiElement_Update(this);
    if (state == UIBUTTON_GREYED) return;
    if (ui_GetHoveredElement() != this) state = UIBUTTON_NORMAL;
    else if (!(state == UIBUTTON_DEPRESSED && uiInput_LeftButtonDown())) state = UIBUTTON_ROLLOVER;
    Bitmap* const pictures[] = {normalBitmap, rolloverBitmap, depressedBitmap, greyedBitmap};
    Bitmap* shown = pictures[state] ? pictures[state] : normalBitmap;
    if (shown != pBitmap) {
        pBitmap = shown;
        flags |= UIELEMENT_DIRTY;
    }
}

void uiButton::LoadBitmaps()
{
    uiElement_LoadBitmaps(this);
    DropRestore(this);
    normalBitmap = pBitmap;
}

int uiButton::ParseKeyword(const char* text, uiDialog* dialog)
{
    if (uiElement_ParseKeyword(this, text, dialog)) {
        // The normal entry shares the work bitmap's reference from the start: a button refused
        // later in its line releases what its "bitmap" key loaded as a placed one does.
        normalBitmap = pBitmap;
        return 1;
    }
    char key[UIWIDGET_PAIR_SIZE], value[UIWIDGET_PAIR_SIZE];
    if (!uiWidget_SplitPair(text, key, value)) return 0;
    const uint32_t format = uiWidget_BitmapFormat(dialog);
    if (!strcmp(key, "rollover")) return LoadInto(&rolloverBitmap, value, format);
    if (!strcmp(key, "greyed")) return LoadInto(&greyedBitmap, value, format);
    if (!strcmp(key, "depressed")) return LoadInto(&depressedBitmap, value, format);
    if (!strcmp(key, "buttonvalue")) return uiElement_ScanInts(value, &buttonValue, 1, INT32_MIN, INT32_MAX);
    return 0;
}

void uiButton_Ungrey(uiButton* button)
{
    if (button->state == UIBUTTON_GREYED) button->state = UIBUTTON_NORMAL;
    button->flags &= ~UIELEMENT_DISABLED;
}

void uiButton_Reset(uiButton* button)
{
    button->state = UIBUTTON_NORMAL;
    button->buttonValue = -1;
    button->normalBitmap = button->rolloverBitmap = nullptr;
    button->depressedBitmap = button->greyedBitmap = nullptr;
}

uiCheckbox::uiCheckbox()
{
    kind = UIKIND_CHECKBOX;
}

uiCheckbox::~uiCheckbox()
{
    Bitmap* own[] = {uncheckedBitmap, checkedBitmap};
    ReleaseOwn(this, own, 2);
}

void uiCheckbox::OnEvent0()
{
    uiCheckbox_SetChecked(this, radioGroup ? 1 : !checked);
    uiElement::OnEvent0();
}

void uiCheckbox::LoadBitmaps()
{
    uiElement_LoadBitmaps(this);
    DropRestore(this);
    uncheckedBitmap = pBitmap;
}

int uiCheckbox::ParseKeyword(const char* text, uiDialog* dialog)
{
    if (uiElement_ParseKeyword(this, text, dialog)) {
        uncheckedBitmap = pBitmap;  // as the button's normal entry
        return 1;
    }
    char key[UIWIDGET_PAIR_SIZE], value[UIWIDGET_PAIR_SIZE];
    if (!uiWidget_SplitPair(text, key, value)) return 0;
    if (!strcmp(key, "checkedbitmap")) return LoadInto(&checkedBitmap, value, uiWidget_BitmapFormat(nullptr));
    if (!strcmp(key, "radiogroup")) return uiElement_ScanInts(value, &radioGroup, 1, INT32_MIN, INT32_MAX);
    return 0;
}

void uiCheckbox_SetChecked(uiCheckbox* checkbox, int on)
{
    on = on != 0;
    if (checkbox->checked == on) return;
    if (on && checkbox->radioGroup && checkbox->pDialog) {
        uiDialog* dialog = checkbox->pDialog;
        for (uiElement* e = uiDialog_NextElement(dialog, nullptr); e; e = uiDialog_NextElement(dialog, e)) {
            if (e == checkbox || e->kind != UIKIND_CHECKBOX) continue;
            uiCheckbox* other = static_cast<uiCheckbox*>(e);
            if (other->radioGroup == checkbox->radioGroup) uiCheckbox_SetChecked(other, 0);
        }
    }
    checkbox->checked = on;
    checkbox->pBitmap = on ? checkbox->checkedBitmap : checkbox->uncheckedBitmap;
    checkbox->flags |= UIELEMENT_DIRTY;
}

void uiCheckbox_Reset(uiCheckbox* checkbox)
{
    checkbox->checked = 0;
    checkbox->uncheckedBitmap = checkbox->checkedBitmap = nullptr;
    checkbox->radioGroup = 0;
}

void uiButton_Register()
{
    uiDialog_SetElementClass("button", CreateButton);
    uiDialog_SetElementClass("checkbox", CreateCheckbox);
}
