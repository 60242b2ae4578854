#include "uiDialogTree.h"

#include <cstring>

#include "stdHash.h"
#include "uiElementTree.h"

namespace {

void MoveFocus(uiDialog* dialog, int forwards)
{
    uiElement* focus = dialog->pFocus;
    if (!focus || !(focus->flags & UIELEMENT_TAB_STOP)) return;
    uiElement* next = forwards ? focus->pTabNext : focus->pTabPrev;
    while (next != focus && (next->flags & UIELEMENT_HIDDEN))
        next = forwards ? next->pTabNext : next->pTabPrev;
    if (next == focus || next->pDialog != dialog) return;
    uiElement_EndEdit(focus);
    dialog->pFocus = next;
}

}  // namespace

int uiDialog_AddElement(uiDialog* dialog, uiElement* parent, uiElement* element)
{
    // A widget lives in one dialog's table at a time, under its one name.
    if (!dialog || !element || !element->name[0] || (element->flags & UIELEMENT_IN_DIALOG)) return 0;
    if (!dialog->pElements) {
        dialog->pElements = stdHash_Create(32, dialog->name);
        if (!dialog->pElements) return 0;
    }
    if (stdHash_Find(dialog->pElements, element->name)) return 0;
    if (!stdHash_Add(dialog->pElements, element->name, element)) return 0;
    if (parent) {
        uiElement_AddChild(parent, element);
    } else if (!dialog->pFirst) {
        dialog->pFirst = element;
        element->pParent = element->pNext = element->pPrev = nullptr;
        uiElement_SetDialog(element, dialog);
    } else {
        uiElement_AddSibling(dialog->pFirst, element);
    }
    element->flags |= UIELEMENT_IN_DIALOG;
    return 1;
}

void uiDialog_PlaceTopLevel(uiDialog* dialog, uiElement* element)
{
    if (!dialog || !element) return;
    if (!dialog->pFirst) {
        element->pDialog = dialog;
        dialog->pFirst = element;
        element->flags |= UIELEMENT_ATTACHED;
        uiElement_Layout(element);
    } else {
        uiElement_AddSibling(dialog->pFirst, element);
    }
}

void uiDialog_RemoveElement(uiDialog* dialog, uiElement* element)
{
    if (!dialog || !element || !(element->flags & UIELEMENT_IN_DIALOG) || !dialog->pElements) return;
    if (stdHash_Find(dialog->pElements, element->name) != element) return;
    if (stdHash_Remove(dialog->pElements, element->name)) element->flags &= ~UIELEMENT_IN_DIALOG;
}

uiElement* uiDialog_FindElement(uiDialog* dialog, const char* name)
{
    if (!dialog || !dialog->pElements || !name) return nullptr;
    return (uiElement*)stdHash_Find(dialog->pElements, name);
}

uiElement* uiDialog_FindOfKind(uiDialog* dialog, const char* name, int kind)
{
    uiElement* element = uiDialog_FindElement(dialog, name);
    return (element && element->kind == kind) ? element : nullptr;
}

uiElement* uiDialog_FindInTree(uiDialog* dialog, const char* name)
{
    if (!dialog || !name) return nullptr;
    if (uiElement* element = uiDialog_FindElement(dialog, name)) return element;
    for (uiElement* e = uiDialog_NextElement(dialog, nullptr); e; e = uiDialog_NextElement(dialog, e)) {
        if (!_stricmp(e->name, name)) return e;
    }
    return nullptr;
}

uiElement* uiDialog_NextElement(uiDialog* dialog, uiElement* element)
{
    if (!element) return dialog->pFirst;
    if (element->pChild) return element->pChild;
    for (; element; element = element->pParent) {
        if (element->pNext) return element->pNext;
    }
    return nullptr;
}

void uiDialog_SetFocus(uiDialog* dialog, uiElement* element)
{
    if (!element || element->pDialog != dialog) return;
    if (dialog->pFocus != element) uiElement_EndEdit(dialog->pFocus);
    dialog->pFocus = element;
}

int uiDialog_AddTabStop(uiDialog* dialog, uiElement* element)
{
    if (!element || element->pDialog != dialog || (element->flags & UIELEMENT_TAB_STOP)) return 0;
    if (uiElement* start = dialog->pTabStart) {
        element->pTabNext = start;
        element->pTabPrev = start->pTabPrev;
        start->pTabPrev->pTabNext = element;
        start->pTabPrev = element;
    } else {
        element->pTabNext = element->pTabPrev = element;
        dialog->pTabStart = element;
    }
    element->flags |= UIELEMENT_TAB_STOP;
    return 1;
}

void uiDialog_FocusNext(uiDialog* dialog)
{
    MoveFocus(dialog, 1);
}

void uiDialog_FocusPrev(uiDialog* dialog)
{
    MoveFocus(dialog, 0);
}
