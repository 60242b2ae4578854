// The counters the raster library reports through rlMain_GetStats, 16 words owned by the caller.
// The library writes only the words named here and leaves the reserved ones as they are.
#pragma once
#include <cstddef>
#include <cstdint>

enum { RASTER_TEXTURE_COPIES = 2 };

struct RasterStats {
    uint32_t textureBytes[RASTER_TEXTURE_COPIES];     // texture surfaces created per copy, never reset
    uint32_t reserved2[2];
    uint32_t frameBindBytes[RASTER_TEXTURE_COPIES];   // textures first bound in a frame, stages 0 and 1
    uint32_t uploadBytes[RASTER_TEXTURE_COPIES];      // bytes uploaded per copy
    uint32_t reserved8[7];
    uint32_t numTriangles;                            // triangles drawn ("Faces")
};

static_assert(offsetof(RasterStats, textureBytes) == 0);
static_assert(offsetof(RasterStats, frameBindBytes) == 16);
static_assert(offsetof(RasterStats, uploadBytes) == 24);
static_assert(offsetof(RasterStats, numTriangles) == 60);
static_assert(sizeof(RasterStats) == 64);
