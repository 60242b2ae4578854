// Drawing-mode names: material files name a pass's modes, and the lookup gives the mode
// number that the raster library takes.
#pragma once
#include "renderModes.h"

// The mode whose name equals the given one without regard to case, or RENDERMODE_NONE.
int renderTexture_ModeFromName(const char* name);
// The name of a mode from 1 to RENDERMODE_COUNT, or null.
const char* renderTexture_ModeName(int mode);
