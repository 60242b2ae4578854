// The model record: one block holding the header, bones, attachments, parts, vertices,
// triangles and the optional collapse map of a model file. The raster library reads it through
// model instances when it draws, so the layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mathTypes.h"

struct Material;
struct ModelInstance;

// Model flags
enum : uint32_t {
    MODEL_COLLAPSE_MAP = 0x1,      // a collapse map follows the vertices
    MODEL_PARKED = 0x8,            // waiting on the free ring
    MODEL_MATERIALS_CACHED = 0x10, // the textures of its materials have been read
};

enum {
    MODEL_NAME_SIZE = 32,
    MODEL_ATTACH_NAME_SIZE = 32,
};

// Kept exactly as it stands in the file.
struct ModelVertex {
    mathVec3 position;
    mathVec3 normal;
    float u, v;
    float weight;      // 1.0 or more: the bone alone; below: blended with the bone's parent
    uint8_t bone;
    uint8_t unused[3];
};

struct ModelBone {
    uint32_t reserved;
    mathVec3 translation;
    mathFrame frame;           // rest frame
    ModelBone* pLinkA;
    ModelBone* pLinkB;
    ModelBone* pParent;        // null for a root bone
    uint32_t extra[8];
};

struct ModelAttach {
    char name[MODEL_ATTACH_NAME_SIZE];
};

struct ModelTriangle {
    uint16_t v[3];             // part-local vertex indices
};

// The file's 28-byte part record; the loader turns the material index and the three cursors
// into pointers.
struct ModelPart {
    Material* pMaterial;       // null when the index named no material or none was loaded
    ModelTriangle* pTris;
    ModelVertex* pVerts;
    uint16_t* pCollapse;       // null without a collapse map
    uint16_t numTris;
    uint16_t numVerts;         // full detail
    uint16_t minVerts;         // lowest detail
    uint8_t reserved[3];
    uint8_t group;             // attachment the part belongs to
    uint8_t reserved2[2];
};

struct Model {
    uint32_t flags;
    uint16_t numParts;
    uint16_t numBones;
    uint16_t refCount;
    uint8_t numMaterials;
    uint8_t numAttach;
    uint32_t numTris;
    uint32_t numVerts;
    uint32_t numExtras;
    ModelAttach* pAttach;
    ModelPart* pParts;
    ModelTriangle* pTris;
    ModelVertex* pVerts;
    ModelBone* pBones;
    void* pExtras;             // 16-byte records of bone-less meshes; null for model files
    uint16_t* pCollapse;
    Material** ppMaterials;    // separate array of numMaterials entries
    char name[MODEL_NAME_SIZE];
    uint32_t blockSize;
    mathBox box;
    mathVec3 corners[8];
    ModelInstance* pShadowInstance;
};

static_assert(sizeof(ModelVertex) == 40);
static_assert(offsetof(ModelVertex, normal) == 12 && offsetof(ModelVertex, u) == 24);
static_assert(offsetof(ModelVertex, weight) == 32 && offsetof(ModelVertex, bone) == 36);
static_assert(sizeof(ModelBone) == 108);
static_assert(offsetof(ModelBone, translation) == 4 && offsetof(ModelBone, frame) == 16);
static_assert(offsetof(ModelBone, pLinkA) == 64 && offsetof(ModelBone, pParent) == 72);
static_assert(sizeof(ModelAttach) == 32 && sizeof(ModelTriangle) == 6);
static_assert(sizeof(ModelPart) == 28);
static_assert(offsetof(ModelPart, numTris) == 16 && offsetof(ModelPart, numVerts) == 18);
static_assert(offsetof(ModelPart, minVerts) == 20 && offsetof(ModelPart, group) == 25);
static_assert(offsetof(Model, numParts) == 4 && offsetof(Model, numBones) == 6);
static_assert(offsetof(Model, refCount) == 8 && offsetof(Model, numMaterials) == 10);
static_assert(offsetof(Model, numAttach) == 11 && offsetof(Model, numTris) == 12);
static_assert(offsetof(Model, numVerts) == 16 && offsetof(Model, numExtras) == 20);
static_assert(offsetof(Model, pAttach) == 24 && offsetof(Model, pParts) == 28);
static_assert(offsetof(Model, pTris) == 32 && offsetof(Model, pVerts) == 36);
static_assert(offsetof(Model, pBones) == 40 && offsetof(Model, pExtras) == 44);
static_assert(offsetof(Model, pCollapse) == 48 && offsetof(Model, ppMaterials) == 52);
static_assert(offsetof(Model, name) == 56 && offsetof(Model, blockSize) == 88);
static_assert(offsetof(Model, box) == 92 && offsetof(Model, corners) == 116);
static_assert(offsetof(Model, pShadowInstance) == 212 && sizeof(Model) == 216);
