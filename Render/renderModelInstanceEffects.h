// Timed effects and queries of model instances: alpha fades, scale blends, tint, overlay
// materials, up to four child instances that follow the parent's skeleton, model swaps that
// keep the instance's state, named part groups, points on bones, a world-space collision mesh
// of a model and per-vertex values read from a file.
#pragma once
#include <cstdint>

#include "modelInstanceRecord.h"
#include "stdFile.h"

struct CollisionTriangle {
    mathVec3 corners[3];   // world space
    mathVec3 normal;
    float d;               // normal . corners[0]
};

struct Collision {
    CollisionTriangle* pTriangles;
    uint32_t numTriangles;
    mathFrame frame;
    mathBox box;           // the model's box, model space
    uint32_t reserved;
};

void renderModelInstance_Update(ModelInstance* instance, float seconds);
void renderModelInstance_FadeTo(ModelInstance* instance, float alpha, float milliseconds);
void renderModelInstance_ScaleTo(ModelInstance* instance, float factor, float seconds);
// The factors are clamped in the caller's vector.
void renderModelInstance_ScaleToVector(ModelInstance* instance, mathVec3* factors, float milliseconds);
void renderModelInstance_SetOverlay(ModelInstance* instance, const char* materialName, uint32_t flags,
                                    float from, float to, float seconds);
void renderModelInstance_ClearOverlay(ModelInstance* instance);

int renderModelInstance_AttachChild(ModelInstance* instance, const char* modelName, int slot);
int renderModelInstance_DetachChild(ModelInstance* instance, int slot);
// The instance to use from now on (the same one when it already shows that model), or null
// with the instance unchanged.
ModelInstance* renderModelInstance_SwapModel(ModelInstance* instance, const char* modelName);

int renderModelInstance_FindGroup(const ModelInstance* instance, const char* name);
int renderModelInstance_HideGroup(ModelInstance* instance, const char* name);
int renderModelInstance_ShowGroup(ModelInstance* instance, const char* name);
void renderModelInstance_HideGroupIndex(ModelInstance* instance, int index);
void renderModelInstance_ShowGroupIndex(ModelInstance* instance, int index);

// out = p through bone's pose, then through frame; 0 (out untouched) for a bone the model lacks.
int renderModelInstance_BonePoint(const ModelInstance* instance, int bone, mathVec3* out,
                                  const mathFrame* frame, const mathVec3* p);

// The model's full-detail triangles through frame; triangles naming a vertex outside their part
// are left out. Null for a model without triangles or out of memory.
Collision* renderModel_BuildCollision(const Model* model, const mathFrame* frame);
void renderModel_FreeCollision(Collision* collision);

// count 32-bit values, at least one per vertex of the model's parts, sliced part after part.
int renderModelInstance_ReadVertexData(ModelInstance* instance, uint32_t count, stdFileHandle file);
