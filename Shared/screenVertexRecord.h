// The screen vertex that the raster library's immediate screen-face operation reads: an
// 80-byte record of which the caller fills the screen position and the texture coordinates;
// the raster library sets depth, colour and the rest itself.
#pragma once
#include <cstddef>
#include <cstdint>

struct rlScreenVertex {
    float x;
    float y;
    uint32_t reserved[13];
    float u;
    float v;
    uint32_t reserved2[3];
};

static_assert(sizeof(rlScreenVertex) == 80);
static_assert(offsetof(rlScreenVertex, y) == 4);
static_assert(offsetof(rlScreenVertex, u) == 60);
static_assert(offsetof(rlScreenVertex, v) == 64);
