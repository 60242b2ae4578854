// A dialog's widgets: its table of widgets by name, the walk of its widget tree and its focus
// ring. Below the widget module, whose script keywords place a widget through these, and below
// the rest of the dialog module.
#pragma once
#include "uiRecords.h"

int uiDialog_AddElement(uiDialog* dialog, uiElement* parent, uiElement* element);
// Links a widget that is in no widget table as the script loader does: the first top-level
// widget of a dialog without one (attached and laid out), else directly after it.
void uiDialog_PlaceTopLevel(uiDialog* dialog, uiElement* element);
void uiDialog_RemoveElement(uiDialog* dialog, uiElement* element);
uiElement* uiDialog_FindElement(uiDialog* dialog, const char* name);
uiElement* uiDialog_FindOfKind(uiDialog* dialog, const char* name, int kind);
// A widget of the dialog by name: the widget table first, then the whole tree, so that a
// script can name as parent a widget that the loader placed.
uiElement* uiDialog_FindInTree(uiDialog* dialog, const char* name);
uiElement* uiDialog_NextElement(uiDialog* dialog, uiElement* element);

void uiDialog_SetFocus(uiDialog* dialog, uiElement* element);
int uiDialog_AddTabStop(uiDialog* dialog, uiElement* element);
void uiDialog_FocusNext(uiDialog* dialog);
void uiDialog_FocusPrev(uiDialog* dialog);
