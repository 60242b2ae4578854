// The raster library's software transform path: clip-space vertices with outcodes, the view
// volume test of a box, the polygon clippers (one and two texture-coordinate sets) and the
// mapping of clipped vertices to the screen through the current camera.
#pragma once
#include <cstddef>
#include <cstdint>

#include "cameraRecord.h"
#include "mathTypes.h"

// Outcode bits of a clip-space point; 0 is inside the view volume.
enum : uint8_t {
    RL_CLIP_RIGHT = 0x01,   // x > w
    RL_CLIP_LEFT = 0x02,    // x < -w
    RL_CLIP_TOP = 0x04,     // y > w
    RL_CLIP_BOTTOM = 0x08,  // y < -w
    RL_CLIP_FAR = 0x10,     // z > w
    RL_CLIP_NEAR = 0x20,    // z < -w, or w not above 0
};

enum {
    RL_BOUNDS_INSIDE = 0,
    RL_BOUNDS_CROSSING = 1,
    RL_BOUNDS_OUTSIDE = 2,
    // Each plane adds at most one vertex to a convex polygon: a polygon of up to
    // RL_CLIP_MAX_POLYGON - 6 vertices always fits its index list after clipping.
    RL_CLIP_MAX_POLYGON = 32,
    // Each plane that crosses a convex polygon adds two vertices to the array (the polygon
    // keeps one more than it had at most): room a clip of the six planes may take.
    RL_CLIP_MAX_NEW_VERTS = 12,
};

// After the screen mapping: screen x, screen y, z / w, 1 / w; drawn as transformed and lit
// vertices (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1).
struct rlClipVertex {
    float x, y, z, w;
    uint32_t colour;   // ARGB
    float u, v;
};

// The same with a second texture-coordinate set (D3DFVF_TEX2).
struct rlClipVertex2 {
    float x, y, z, w;
    uint32_t colour;
    float u0, v0, u1, v1;
};

static_assert(sizeof(rlClipVertex) == 28 && offsetof(rlClipVertex, colour) == 16);
static_assert(sizeof(rlClipVertex2) == 36 && offsetof(rlClipVertex2, u1) == 28);

// The vertex array a clipper appends to: new vertices go at numVerts, never at or past
// capacity, each with its outcode in codes.
template <class Vertex>
struct rlClipArray {
    Vertex* verts;
    uint8_t* codes;
    int numVerts;
    int capacity;
};

uint8_t rlClip_Outcode(float x, float y, float z, float w);
// 0 wholly inside, 1 crossing the view volume, 2 wholly outside.
int rlBounds_Test(const mathBox* box, const mathMatrix* matrix);
// Clips the polygon whose vertex indices are polygon[0..count-1] (room for
// RL_CLIP_MAX_POLYGON) against the planes its outcodes name. The clipped polygon replaces
// the list; the result is its vertex count, or 0 when fewer than 3 remain, the polygon is too
// long, or the array has no room for the new vertices.
int rlPolygon_Clip(rlClipArray<rlClipVertex>* array, uint16_t* polygon, int count);
int rlPolygon_ClipTex2(rlClipArray<rlClipVertex2>* array, uint16_t* polygon, int count);
// Points to clip space by (x, y, z, 1) times the matrix, with their outcodes.
void rlClip_TransformPoints(const mathMatrix* matrix, const mathVec3* points, int count,
                            rlClipVertex* out, uint8_t* codes);
// Vertices with w above 0 to the screen of the camera; the others stay as they are.
void rlClip_ScreenMap(const Camera* camera, rlClipVertex* verts, int count);
void rlClip_ScreenMapTex2(const Camera* camera, rlClipVertex2* verts, int count);
