// The render front-end's light operations: a light's effective intensity comes from its
// group, then the raster library copies the record.
#pragma once
#include "lightRecord.h"

struct mathMatrix;

// Sets the light's intensity from its group and hands it over; 0 when no table is bound.
int renderLight_Add(const mathMatrix* view, Light* light);
int renderLight_Clear();
// rgb: red, green and blue, 0 to 255 each.
int renderLight_SetAmbient(const float* rgb);
// The intensity a light gets: its base intensity in group 0 (or a group outside the table),
// 0 in a disabled group, else the group's factor times its base intensity.
float renderLight_EffectiveIntensity(const Light* light);
