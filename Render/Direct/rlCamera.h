// The current camera: selecting it sets the device viewport to its clip rectangle and the
// projection transform to its projection; the software paths read it at every draw.
#pragma once
#include "cameraRecord.h"
#include "rasterLib.h"

// The camera last selected; null until then.
extern Camera* rlCamera_pCurrent;

int __cdecl rlCamera_SetCurrent(Camera* camera);
void __cdecl rlCamera_SetClip(void);
