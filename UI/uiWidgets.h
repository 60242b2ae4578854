// The widget classes beyond the plain picture: one call makes the UI-script loader create
// textboxes, buttons, checkboxes, icons and icon grids by their keywords, and installs the
// base class's hint sink and the edit fields' end of editing.
#pragma once

void uiWidgets_Register();
