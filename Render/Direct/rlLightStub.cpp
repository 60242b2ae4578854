// Lights are not built yet: they are ignored.
#include "rlLight.h"

void __cdecl rlLight_AddLight(const mathMatrix*, const Light*, int) {}
void __cdecl rlLight_NewModel(ModelInstance*) {}
void __cdecl rlLight_ClearLights(void) {}
void __cdecl rlLight_SetAmbient(const float*) {}
