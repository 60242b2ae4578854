// Argument records of the raster library's primitive drawing operations (the face, point,
// quad, beam, strip, shadow and surface-group records). Callers build them and hand them
// across the table, so the layouts are fixed.
#pragma once
#include <cstddef>
#include <cstdint>
#include "mathTypes.h"

struct Light;
struct Material;

// Sprites, halos and points: 24 bytes each.
struct rlPoint {
    mathVec3 position;
    uint32_t colour;   // ARGB
    uint32_t unused;
    float size;
};

// A world quad: four corners and one colour.
struct rlQuad {
    mathVec3 corners[4];
    uint32_t colour;
};

// A beam: the quad between two end points, widened along a side direction.
struct rlBeam {
    mathVec3 side;
    mathVec3 start, end;
    float width;
    uint32_t colour;
};

// A strip of quads between consecutive edges: edge i runs from left[i] to right[i]; texture u
// runs along the strip from 0 to 1, v across it.
struct rlStrip {
    Material* pMaterial;
    uint32_t colour;
    uint32_t numEdges;
    const mathVec3* pLeft;
    const mathVec3* pRight;
};

// A shadow outline point.
struct rlShadowPoint {
    float x, y;
};

// One face of a surface group: a polygon of group points, its plane and its own lightmap
// coordinates through the group's second texture set.
struct rlSurfaceFace {
    uint16_t firstIndex;   // into the group's index list
    uint16_t numIndices;
    mathVec3 normal;
    float distance;        // the plane: normal . p == distance
};

// A lightmap of a surface group for the lights of one light group: drawn while the group's
// level in the light-group table is not 0, scaled by that level (group 0 always at full).
struct rlGroupLightmap {
    uint32_t lightGroup;   // index into the light-group table
    uint32_t texture;      // texture handle of the lightmap
};

// A light that reaches one face of the group: while attached in the current frame, its blob
// (the circle where the light's range meets the face plane) is drawn on that face.
struct rlLightNode {
    const Light* pLight;   // position, colour and range
    Material* pMaterial;   // pass 0's bitmap is the blob's texture
    uint32_t face;         // index into the group's faces
    uint32_t frame;        // the frame it was attached in
};

// A decal laid on the group: a polygon of its own, drawn with its material after the group
// while it was touched in the current frame.
struct rlDecalNode {
    Material* pMaterial;
    uint32_t numPoints;
    const mathVec3* pPoints;
    const mathVec2* pUV;
    const uint32_t* pColours;   // ARGB per point, null = white
    uint32_t frame;             // the frame it was last touched in
};

// surface group flags
enum : uint32_t {
    RL_GROUP_ZONLY = 0x80,            // also draw once in the z-only mode (a draw flag)
    RL_GROUP_ALT_LAYOUT = 0x8000000,  // the second texture set is the first one again
};

// draw flags of rlDraw_SurfaceGroup
enum : uint32_t {
    RL_GROUP_DRAW_DEFER = 0x20,
    RL_GROUP_DRAW_RECODE = 0x40,
    RL_GROUP_DRAW_ZONLY = 0x80,
};

// Level geometry drawn with a material and a lightmap. The library keeps the frame number
// of the last build and the built vertices in its own arrays.
struct rlSurfaceGroup {
    uint32_t flags;
    uint8_t id;
    uint8_t reserved[3];
    mathBox box;
    Material* pMaterial;
    uint32_t lightmap;         // texture handle of the lightmap of light group 0, 0 = none
    uint32_t numPoints;
    const mathVec3* pPoints;
    const mathVec2* pUV0;
    const mathVec2* pUV1;      // lightmap coordinates
    const uint32_t* pColours;  // ARGB per point, null = white
    uint32_t numFaces;
    const rlSurfaceFace* pFaces;
    const uint16_t* pIndices;
    uint32_t numTriangles;     // triangles of all faces, fanned
    uint32_t builtFrame;       // written by the library
    // `lightmap` belongs to light group 0; these are the lightmaps of the other light groups.
    uint32_t numLightmaps;
    const rlGroupLightmap* pLightmaps;
    uint32_t numLightNodes;
    const rlLightNode* pLightNodes;
    uint32_t numDecals;
    const rlDecalNode* pDecals;
};

static_assert(sizeof(rlPoint) == 24 && offsetof(rlPoint, size) == 20);
static_assert(sizeof(rlQuad) == 52 && offsetof(rlQuad, colour) == 48);
static_assert(sizeof(rlBeam) == 44 && offsetof(rlBeam, width) == 36);
static_assert(sizeof(rlStrip) == 20 && offsetof(rlStrip, pRight) == 16);
static_assert(sizeof(rlShadowPoint) == 8);
static_assert(sizeof(rlSurfaceFace) == 20 && offsetof(rlSurfaceFace, distance) == 16);
static_assert(offsetof(rlSurfaceGroup, box) == 8 && offsetof(rlSurfaceGroup, pMaterial) == 32);
static_assert(offsetof(rlSurfaceGroup, numPoints) == 40 && offsetof(rlSurfaceGroup, pColours) == 56);
static_assert(offsetof(rlSurfaceGroup, numFaces) == 60 && offsetof(rlSurfaceGroup, builtFrame) == 76);
static_assert(sizeof(rlGroupLightmap) == 8);
static_assert(sizeof(rlLightNode) == 16 && offsetof(rlLightNode, face) == 8 && offsetof(rlLightNode, frame) == 12);
static_assert(sizeof(rlDecalNode) == 24 && offsetof(rlDecalNode, pColours) == 16 && offsetof(rlDecalNode, frame) == 20);
static_assert(offsetof(rlSurfaceGroup, numLightmaps) == 80 && offsetof(rlSurfaceGroup, pLightmaps) == 84);
static_assert(offsetof(rlSurfaceGroup, numLightNodes) == 88 && offsetof(rlSurfaceGroup, pLightNodes) == 92);
static_assert(offsetof(rlSurfaceGroup, numDecals) == 96 && offsetof(rlSurfaceGroup, pDecals) == 100);
static_assert(sizeof(rlSurfaceGroup) == 104);
