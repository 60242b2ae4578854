#include "ui.h"

#include "uiCursor.h"
#include "uiDialog.h"
#include "uiElement.h"
#include "uiIcon.h"

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
    case 2:
        if (hovered) hovered->OnEvent2();
        return;
    case 5:
        if (hovered) hovered->OnEvent5();
        return;
    case 6:
        if (hovered) hovered->OnEvent6();
        return;
    case UIEVENT_ICON:
        if (hovered) hovered->OnEvent7();
        return;
    case UIEVENT_KEY:
        if (dialog->pFocus) dialog->pFocus->OnKey(argument);
        return;
    default:
        return;  // 3, 4 and 8 reach no widget
    }
}
