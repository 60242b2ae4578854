// The model instance: one drawn copy of a shared model with its own level-of-detail triangle
// lists, bone frames, per-part state, effects and optional mixer. The raster library reads it
// through rlLight_NewModel and rlModel_Draw, so the layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mathTypes.h"
#include "modelRecord.h"

struct Material;
struct Mixer;

// Instance flags
enum : uint32_t {
    INSTANCE_VERTEX_DATA = 0x1,       // per-vertex values were read
    INSTANCE_UNLIT = 0x2,
    INSTANCE_UNLIT_ALT = 0x4,
    INSTANCE_HIDDEN = 0x8,            // not drawn itself; its children still are
    INSTANCE_LOD_LOCKED = 0x10,       // distance does not change the detail
    INSTANCE_TINT = 0x20,
    INSTANCE_OVERLAY = 0x40,
    INSTANCE_OVERLAY_ONLY = 0x80,
    INSTANCE_SCALE_BLEND = 0x100,
    INSTANCE_FADE = 0x200,
    INSTANCE_OVERLAY_TIMER = 0x400,
    INSTANCE_SCALED = 0x800,
    INSTANCE_OVERLAY_PRIORITY = 0x3000,
    INSTANCE_OVERLAY_RETURN = 0x4000,
    INSTANCE_OVERLAY_CYCLE = 0x8000,
    INSTANCE_OPAQUE = 0x10000,        // alpha and fade ignored
    INSTANCE_MIXER_PAUSED = 0x20000,
    INSTANCE_MESH = 0x100000,         // made by the bone-less mesh reader
};

enum {
    INSTANCE_CHILDREN = 4,
    INSTANCE_PART_HIDDEN = 0x1,       // partFlags: do not draw the part
};

struct InstanceBone {
    int32_t link;           // parent bone index, -1 for a root
    mathFrame pose;         // animated frame relative to the model
    mathFrame modelFrame;   // rest frame, then pose, then the instance frame
    mathFrame world;        // pose then the instance frame
    mathFrame inverse;      // of modelFrame
    mathMatrix clip;        // modelFrame then the camera's view and projection
    mathVec3 eye;           // camera position in bone space
};

struct InstancePart {
    ModelPart* pModelPart;
    Material* pMaterial;
    ModelTriangle* pTris;   // this part's run of the instance's triangles
    uint32_t* pVertexData;  // this part's slice of the per-vertex values, or null
    uint16_t partFlags;
    uint16_t drawTris;      // triangles drawn at the current level of detail
    uint16_t lodVerts;      // vertices the current level of detail keeps
};

struct ModelInstance {
    Model* pModel;
    ModelInstance* children[INSTANCE_CHILDREN];
    uint32_t flags;
    mathVec3 scale;
    float detail;
    float lodDistance;
    uint32_t stamp;         // frame of the last mixer evaluation
    uint32_t tintColour;    // 0x00RRGGBB
    float tintLevel;
    float alpha;
    float alphaTarget;
    float alphaRate;        // per second
    float fade;
    mathVec3 scaleTarget;
    mathVec3 scaleFrom;
    float scaleRate;
    float scalePos;
    Material* pOverlay;
    float overlayPos;
    float overlayFrom;
    float overlayTo;
    float overlayRate;
    float overlayStrength;
    InstanceBone* pBones;
    InstancePart* pParts;
    uint32_t* pVertexData;
    ModelTriangle* pTriangles;
    Mixer* pMixer;
    mathVec3 colour;        // 0 to 255 each
};

static_assert(sizeof(InstanceBone) == 272);
static_assert(offsetof(InstanceBone, pose) == 4 && offsetof(InstanceBone, modelFrame) == 52);
static_assert(offsetof(InstanceBone, world) == 100 && offsetof(InstanceBone, inverse) == 148);
static_assert(offsetof(InstanceBone, clip) == 196 && offsetof(InstanceBone, eye) == 260);
static_assert(sizeof(InstancePart) == 24);
static_assert(offsetof(InstancePart, pTris) == 8 && offsetof(InstancePart, partFlags) == 16);
static_assert(offsetof(InstancePart, drawTris) == 18 && offsetof(InstancePart, lodVerts) == 20);
static_assert(offsetof(ModelInstance, children) == 4 && offsetof(ModelInstance, flags) == 20);
static_assert(offsetof(ModelInstance, scale) == 24 && offsetof(ModelInstance, detail) == 36);
static_assert(offsetof(ModelInstance, stamp) == 44 && offsetof(ModelInstance, tintColour) == 48);
static_assert(offsetof(ModelInstance, tintLevel) == 52 && offsetof(ModelInstance, alpha) == 56);
static_assert(offsetof(ModelInstance, fade) == 68 && offsetof(ModelInstance, scaleTarget) == 72);
static_assert(offsetof(ModelInstance, scaleRate) == 96 && offsetof(ModelInstance, pOverlay) == 104);
static_assert(offsetof(ModelInstance, overlayStrength) == 124);
static_assert(offsetof(ModelInstance, pBones) == 128 && offsetof(ModelInstance, pParts) == 132);
static_assert(offsetof(ModelInstance, pTriangles) == 140 && offsetof(ModelInstance, pMixer) == 144);
static_assert(offsetof(ModelInstance, colour) == 148 && sizeof(ModelInstance) == 160);
