// The camera is not built yet: selecting one fails as a refused device call would.
#include "rlCamera.h"

int __cdecl rlCamera_SetCurrent(Camera*)
{
    return E_NOTIMPL;
}

void __cdecl rlCamera_SetClip(void) {}
