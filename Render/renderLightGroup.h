// The light-group table of the viewer; it sits in zeroed memory until groups are set.
#pragma once
#include "lightGroupRecord.h"

extern LightGroup renderLightGroup_table[LIGHTGROUP_COUNT];
