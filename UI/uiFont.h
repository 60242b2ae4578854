// The UI's default font, loaded through the UI resources when the UI starts, and the font
// metrics the text layout takes. The end of the default font with the text runs drawn in it is
// uiFontRuns'.
#pragma once
#include "stdFont.h"

#define UIFONT_DEFAULT_NAME "defaultFont15.yub"

// Loads and keeps the default font; null when it cannot be loaded.
stdFont* uiFont_LoadDefault();
// Releases the default font through the UI resources and forgets it; the text runs are left
// as they are (uiFont_FreeDefault frees them first).
void uiFont_ReleaseDefault();
stdFont* uiFont_GetDefault();

// A font's metrics as the UI's layout takes them: within +-UI_COORD_LIMIT (a line height from 0),
// so that the sums of a row's characters and a box's rows stay exact whatever the font file
// held; 0 without a font.
int uiFont_LineHeight(const stdFont* font);
int uiFont_CharWidth(const stdFont* font, int code);
int uiFont_TextWidth(const stdFont* font, const char* text);

// Two entries of the font module that take one and two values and do nothing; kept so that
// code written against the module's full table of entries still links.
void uiFont_Unused1(uint32_t value);
void uiFont_Unused2(uint32_t first, uint32_t second);
