// The light-group table: 32 intensity groups that scale the lights of each group. The viewer
// owns it and points to it from the render settings; the raster library reads it there.
#pragma once
#include <cstddef>
#include <cstdint>

enum { LIGHTGROUP_COUNT = 32 };

typedef float (*LightGroupFactorFunc)(int group, int argument);

struct LightGroup {
    uint32_t enabled;   // 0: the group's lights get intensity 0
    uint32_t updated;   // set: the group's factor is recomputed on update
    float factor;       // multiplier of the base intensity
    uint8_t alpha;      // factor x 255
    LightGroupFactorFunc pfnFactor;
};

static_assert(offsetof(LightGroup, enabled) == 0);
static_assert(offsetof(LightGroup, updated) == 4);
static_assert(offsetof(LightGroup, factor) == 8);
static_assert(offsetof(LightGroup, alpha) == 12);
static_assert(offsetof(LightGroup, pfnFactor) == 16);
static_assert(sizeof(LightGroup) == 20);
