// The passes of a surface group and what is drawn over it: its lightmaps per light group,
// the blobs of the lights attached to its faces and its decals.
#pragma once
#include <cstdint>
#include "lightGroupRecord.h"
#include "materialRecord.h"
#include "rasterDrawRecords.h"
#include "rlPass.h"

// Every layer of a material, the lightmap of light group 0 and one lightmap per light group.
enum { RL_GROUP_MAX_PASSES = MATERIAL_MAX_PASSES + 1 + LIGHTGROUP_COUNT };

// The level (0 to 255) at which the lightmap of a light group is drawn: group 0 always at
// 255, any other its level byte of the light-group table while enabled, 0 without a table.
uint8_t rlDrawGroup_LightLevel(uint32_t lightGroup);

// The passes of a group in drawing order; *blobAt is the number of passes drawn before the
// light blobs (a layered material's "$lightadd" layer, else right after the lightmaps).
int rlDrawGroup_BuildPasses(const rlSurfaceGroup* group, rlPass* passes, int* blobAt);

// One light blob on a face of the group, in clip space with its outcodes: false when the
// light does not reach the face from its front side, or the node is not a valid one.
// verts and codes have room for RL_FACE_MAX_VERTS.
bool rlDrawGroup_BuildBlob(const rlSurfaceGroup* group, const rlLightNode* node, rlClipVertex* verts,
                       uint8_t* codes, int* count);

// The blobs of the light nodes attached in the current frame; triangles drawn.
int rlDrawGroup_DrawLightBlobs(const rlSurfaceGroup* group);
// The decals touched in the current frame; triangles drawn.
int rlDrawGroup_DrawDecals(const rlSurfaceGroup* group);

// The surface groups' vertex buffer lives from device open to close. A device that gives none
// still opens: the groups are then drawn from memory.
int rlDrawGroup_CreateVertexBuffer(void);
void rlDrawGroup_ReleaseVertexBuffer(void);
bool rlDrawGroup_HasVertexBuffer(void);
