// A widget's links: its place in the widget tree (children, siblings, its dialog and its
// layout over the dialog's quads) and in its dialog's focus ring, and the end of an edit when
// the focus leaves an edit field. Below the dialog's widget table, which links widgets
// through these, and below the rest of the widget module.
#pragma once
#include "uiRecords.h"

void uiElement_AddChild(uiElement* parent, uiElement* child);
void uiElement_AddSibling(uiElement* element, uiElement* sibling);
void uiElement_SetDialog(uiElement* element, uiDialog* dialog);
// The base behaviour of the virtual Detach: out of the tree; a widget in no dialog table
// leaves its dialog and the dialog's focus ring as well.
int uiElement_Detach(uiElement* element);
void uiElement_Layout(uiElement* element);
void uiElement_RemoveTabStop(uiElement* element);

// The edit field module installs what ends an edit when its field loses the focus.
void uiElement_SetEndEdit(void (*endEdit)(uiElement* editField));
void uiElement_EndEdit(uiElement* element);
