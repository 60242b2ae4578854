// The light-group table of the viewer; it sits in zeroed memory until groups are set, and the
// render settings point to it so that the raster library reads it too.
#pragma once
#include "lightGroupRecord.h"

extern LightGroup renderLightGroup_table[LIGHTGROUP_COUNT];

// Every group at factor 1.0, disabled, except groups 0 and 16 to 23.
void renderLightGroup_Reset();
// Enables a group with a factor and a factor callback (or none); 0 for a group outside the table.
int renderLightGroup_Set(int group, LightGroupFactorFunc callback, float factor);
// The group's factor, 0.0 when it is disabled or outside the table.
float renderLightGroup_GetFactor(int group);
// Recomputes the factor of each updated group through its callback, and every alpha byte.
void renderLightGroup_Update(int argument);
