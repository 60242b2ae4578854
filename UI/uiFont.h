// The UI's default font, loaded through the UI resources when the UI starts.
#pragma once
#include "stdFont.h"

#define UIFONT_DEFAULT_NAME "defaultFont15.yub"

// Loads and keeps the default font; null when it cannot be loaded.
stdFont* uiFont_LoadDefault();
// Releases the default font through the UI resources.
void uiFont_FreeDefault();
stdFont* uiFont_GetDefault();
