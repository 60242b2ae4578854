// Drawing modes, the render-state cache and fog.
#pragma once
#include "rasterLib.h"

void __cdecl rlMode_SetFog(int kind, float a, float b, const float* colour);
void __cdecl rlMode_SetColor(void);
void __cdecl rlMode_SetMode(int mode);
void __cdecl rlMode_SetFlags(uint32_t flags);

// Sets the default render and stage states on a freshly created device (open, resolution change).
void rlMode_SetDefaults(void);
// Sends the last fog set again, to a re-created device.
void rlMode_ReapplyFog(void);
