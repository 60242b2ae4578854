#include "ui.h"

#include "uiCursor.h"
#include "uiDialog.h"
#include "uiElement.h"
#include "uiIcon.h"

namespace {

// The widget operation an event number reaches when no rule of its own comes first.
void (uiElement::*const kWidgetOps[UIEVENT_COUNT])() = {
    nullptr, nullptr, &uiElement::OnEvent2, nullptr, nullptr,
    &uiElement::OnEvent5, &uiElement::OnEvent6, &uiElement::OnEvent7, nullptr, nullptr,
};

}  // namespace

void ui_DispatchEvent(int event, uint32_t argument)
{
    if (event == UIEVENT_ICON) {
        // An icon riding on the cursor hears of it first.
        if (uiIcon* icon = uiCursor_GetIcon()) icon->OnEvent7();
    }
    if (event == UIEVENT_KEY) {
        if (uiElement* capture = ui_GetKeyCapture()) {
            capture->OnKey(argument);
            return;
        }
    }
    uiDialog* dialog = ui_GetHoveredDialog();
    if (!dialog) return;
    uiElement* hovered = ui_GetHoveredElement();
    if (dialog->pOnEvent) dialog->pOnEvent(hovered, event);
    // The callback may have changed the frame's records: the widgets are read again.
    hovered = ui_GetHoveredElement();
    switch (event) {
    case UIEVENT_PRESS:
        if (!hovered) return;
        ui_SetPressedElement(hovered);
        hovered->OnEvent0();
        return;
    case UIEVENT_RELEASE: {
        // Only the widget that took the press hears its release.
        uiElement* pressed = ui_GetPressedElement();
        ui_SetPressedElement(nullptr);
        if (hovered && hovered == pressed) hovered->OnEvent1();
        return;
    }
    case UIEVENT_KEY:
        if (dialog->pFocus) dialog->pFocus->OnKey(argument);
        return;
    default:
        // Events 2, 5, 6 and 7 reach the hovered widget's operation of their number; 3, 4 and 8
        // reach none.
        if (hovered && event >= 0 && event < UIEVENT_COUNT && kWidgetOps[event])
            (hovered->*kWidgetOps[event])();
        return;
    }
}
