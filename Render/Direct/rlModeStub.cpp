// Drawing modes are not built yet: the operations change nothing.
#include "rlMode.h"

void __cdecl rlMode_SetFog(int, float, float, const float*) {}
void __cdecl rlMode_SetColor(void) {}
void __cdecl rlMode_SetMode(int) {}
void __cdecl rlMode_SetFlags(uint32_t) {}
void rlMode_SetDefaults(void) {}
void rlMode_ReapplyFog(void) {}
