#include "renderLightGroup.h"

LightGroup renderLightGroup_table[LIGHTGROUP_COUNT];
