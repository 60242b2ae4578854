// The current camera and the device viewport.
#pragma once
#include "rasterLib.h"

int __cdecl rlCamera_SetCurrent(Camera* camera);
void __cdecl rlCamera_SetClip(void);
