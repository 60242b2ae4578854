// The lights of a frame.
#pragma once
#include "rasterLib.h"

void __cdecl rlLight_AddLight(const mathMatrix* view, const Light* light, int unused);
void __cdecl rlLight_NewModel(ModelInstance* instance);
void __cdecl rlLight_ClearLights(void);
void __cdecl rlLight_SetAmbient(const float* colour);
