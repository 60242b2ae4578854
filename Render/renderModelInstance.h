// Model instances: drawn copies of a shared model with their own level of detail (the
// progressive mesh's collapse map, picked from distance), bone frames evaluated each frame,
// and the draw through the raster library's rlLight_NewModel and rlModel_Draw. The effects and
// queries of an instance (fades, scaling, overlays, children, part groups) are in
// renderModelInstanceEffects.h.
#pragma once
#include <cstdint>

#include "cameraRecord.h"
#include "modelInstanceRecord.h"
#include "stdFile.h"

// renderModel_Draw flags; the value also goes to rlModel_Draw.
enum : uint32_t {
    DRAW_TINT = 0x2,
    DRAW_KEEP_LOD = 0x10,
};

// The distance within which a still model keeps its detail.
const float RENDERMODEL_LOD_DEPTH_STEP = 10.0f;

ModelInstance* renderModelInstance_Create(Model* model);
ModelInstance* renderModelInstance_Load(const char* name);
void renderModelInstance_Free(ModelInstance* instance, int releaseModel);

void renderModelInstance_SetLODFromDistance(ModelInstance* instance, float depth);

void renderModelInstance_EvaluateBones(ModelInstance* instance, const mathFrame* frame,
                                       const mathMatrix* viewProjection, const Camera* camera);
// 0 when the instance is null, has no bones, no camera is selected, or its box lies wholly
// outside one plane of the view volume; else 1 after handing it to the raster library.
int renderModel_Draw(ModelInstance* instance, const mathFrame* frame, uint32_t drawFlags);
// out = (p, 1) through the matrix, w not divided out.
void renderModel_TransformPoint(mathVec4* out, const mathVec3* p, const mathMatrix* matrix);
// The clip-space outcode of a point: 32 behind the eye (w not above 0), else 1/2 beyond +x/-x,
// 4/8 for y, 16/32 for z.
uint32_t renderModel_Outcode(const mathVec4* clip);

// The model's instance for shadows, made at the shadow detail on first request.
ModelInstance* renderModel_GetShadowInstance(Model* model);
// A bone-less mesh read from a file the caller opened, as an instance of a model of its own
// that is not in the cache; null when the file is short or damaged.
ModelInstance* renderModel_ReadMesh(stdFileHandle file);
