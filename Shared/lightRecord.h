// The light record. The viewer keeps its lights and hands them to the raster library, which
// copies the whole record, so the layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

// kind
enum : uint32_t {
    LIGHT_KIND_POINT = 0,   // the viewer's lights; kinds 1 to 3 also carry a direction
};

struct Light {
    uint32_t reserved;        // 0
    uint32_t kind;
    uint32_t group;           // index into the light-group table; group 0 is never scaled
    float red, green, blue;   // 0 to 255 each
    float intensity;          // effective, written before each hand-over
    float baseIntensity;      // set by the owner
    float direction[3];       // kinds 1 to 3
    float position[3];        // world space
    float unused;             // read by nobody
    float coneLimit;          // spot kinds
    float range;
    float falloff;            // a point light falls by falloff x distance; the viewer uses 1.0
};

static_assert(offsetof(Light, reserved) == 0);
static_assert(offsetof(Light, kind) == 4);
static_assert(offsetof(Light, group) == 8);
static_assert(offsetof(Light, red) == 12);
static_assert(offsetof(Light, green) == 16);
static_assert(offsetof(Light, blue) == 20);
static_assert(offsetof(Light, intensity) == 24);
static_assert(offsetof(Light, baseIntensity) == 28);
static_assert(offsetof(Light, direction) == 32);
static_assert(offsetof(Light, position) == 44);
static_assert(offsetof(Light, unused) == 56);
static_assert(offsetof(Light, coneLimit) == 60);
static_assert(offsetof(Light, range) == 64);
static_assert(offsetof(Light, falloff) == 68);
static_assert(sizeof(Light) == 72);
