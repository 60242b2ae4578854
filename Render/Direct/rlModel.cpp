#include "rlModel.h"
#include <algorithm>
#include <cstring>
#include "materialRecord.h"
#include "modelInstanceRecord.h"
#include "modelRecord.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlBatch.h"
#include "rlLight.h"
#include "rlPass.h"

namespace {

enum {
    MAX_PART_VERTS = 0xFFFF,   // the most a model file gives a part
    // A part up to this size goes into every batch whole, with room left for the vertices
    // that clipping adds; a larger one is drawn in batches that gather the vertices their
    // triangles name.
    MAX_WHOLE_PART_VERTS = RL_BATCH_MAX_VERTS - 1024,
};

// The part being drawn, transformed and lit once.
rlClipVertex partVerts[MAX_PART_VERTS];
uint8_t partCodes[MAX_PART_VERTS];
uint32_t colours[MAX_PART_VERTS];

// Where a gathered part vertex sits in the current batch: valid while its stamp is the batch's.
uint16_t batchSlot[MAX_PART_VERTS];
uint32_t slotStamp[MAX_PART_VERTS];
uint32_t batchStamp;

struct PartBatch {
    rlDrawBatch batch;
    int numVerts;
    bool bWhole;
};

// An empty batch: a whole part's vertices are copied in, a gathering one forgets its slots.
void startBatch(PartBatch* draw)
{
    if (draw->bWhole) {
        memcpy(rlBatch_aVerts, partVerts, sizeof(rlClipVertex) * draw->numVerts);
        memcpy(rlBatch_aCodes, partCodes, draw->numVerts);
        rlBatch_nVerts = draw->numVerts;
        return;
    }
    if (++batchStamp == 0) {
        memset(slotStamp, 0, sizeof slotStamp);
        batchStamp = 1;
    }
}

uint16_t gather(const PartBatch* draw, uint16_t v)
{
    if (draw->bWhole) return v;
    if (slotStamp[v] != batchStamp) {
        const int slot = rlBatch_nVerts++;
        rlBatch_aVerts[slot] = partVerts[v];
        rlBatch_aCodes[slot] = partCodes[v];
        batchSlot[v] = static_cast<uint16_t>(slot);
        slotStamp[v] = batchStamp;
    }
    return batchSlot[v];
}

// Room in the batch for one more triangle, the vertices its clipping adds included; a full
// batch is drawn and the next one started.
void reserveTriangle(PartBatch* draw)
{
    if (rlBatch_nVerts + 3 + RL_CLIP_MAX_NEW_VERTS <= RL_BATCH_MAX_VERTS &&
        rlBatch_nIndices + 3 * (3 + 4) <= RL_BATCH_MAX_INDICES)
        return;
    rlBatch_Flush(&draw->batch);
    startBatch(draw);
}

// A model vertex to clip space: its bone alone at weight 1 or more, else blended with the
// bone's parent. A bone the model lacks counts as bone 0, a root bone as weight 1.
void transformVertex(const InstanceBone* bones, int numBones, const ModelVertex& vertex, rlClipVertex* out)
{
    const int bone = vertex.bone < numBones ? vertex.bone : 0;
    const mathVec3& p = vertex.position;
    const float* m = bones[bone].clip.m;
    float x = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
    float y = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
    float z = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
    float w = p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15];
    const int parent = bones[bone].link;
    if (vertex.weight < 1.0f && parent >= 0 && parent < numBones) {
        const float* q = bones[parent].clip.m;
        const float px = p.x * q[0] + p.y * q[4] + p.z * q[8] + q[12];
        const float py = p.x * q[1] + p.y * q[5] + p.z * q[9] + q[13];
        const float pz = p.x * q[2] + p.y * q[6] + p.z * q[10] + q[14];
        const float pw = p.x * q[3] + p.y * q[7] + p.z * q[11] + q[15];
        const float t = vertex.weight;
        x = px + (x - px) * t;
        y = py + (y - py) * t;
        z = pz + (z - pz) * t;
        w = pw + (w - pw) * t;
    }
    *out = {x, y, z, w, 0, vertex.u, vertex.v};
}

int drawPart(ModelInstance* node, int index, int flags)
{
    const Model* model = node->pModel;
    const InstancePart& part = node->pParts[index];
    if (part.partFlags & INSTANCE_PART_HIDDEN) return 0;
    const ModelPart* modelPart = part.pModelPart ? part.pModelPart : &model->pParts[index];
    const ModelTriangle* tris = part.pTris ? part.pTris : modelPart->pTris;
    const int numVerts = part.lodVerts ? std::min(part.lodVerts, modelPart->numVerts) : modelPart->numVerts;
    const int numTris = part.drawTris;
    if (numVerts == 0 || numTris == 0 || !tris || !modelPart->pVerts) return 0;
    const Material* material = part.pMaterial ? part.pMaterial : modelPart->pMaterial;
    rlPass passes[RL_MAX_PASSES];
    const int numPasses = rlPass_BuildModelPart(node, material, passes);
    if (numPasses == 0) return 0;

    // To clip space, with outcodes unless the whole model is inside the view.
    const ModelVertex* verts = modelPart->pVerts;
    const int numBones = model->numBones;
    const uint8_t codeMask = (flags & RL_MODEL_NO_FAR) ? uint8_t(~RL_CLIP_FAR) : uint8_t(0xFF);
    const bool bInside = (flags & RL_MODEL_INSIDE) != 0;
    uint8_t all = 0xFF;
    for (int i = 0; i < numVerts; i++) {
        rlClipVertex& v = partVerts[i];
        transformVertex(node->pBones, numBones, verts[i], &v);
        partCodes[i] = bInside ? 0 : uint8_t(rlClip_Outcode(v.x, v.y, v.z, v.w) & codeMask);
        all &= partCodes[i];
    }
    if (all) return 0;   // every vertex beyond one plane

    const bool bFullbright = material && (material->flags & MATERIAL_FULLYLIT);
    rlLight_LightVertices(verts, numVerts, part.pVertexData, bFullbright, colours);
    for (int i = 0; i < numVerts; i++) partVerts[i].colour = colours[i];

    PartBatch draw = {{}, numVerts, numVerts <= MAX_WHOLE_PART_VERTS};
    rlBatch_Begin(&draw.batch, passes, numPasses, true);
    startBatch(&draw);
    for (int t = 0; t < numTris; t++) {
        const uint16_t a = tris[t].v[0], b = tris[t].v[1], c = tris[t].v[2];
        if (a >= numVerts || b >= numVerts || c >= numVerts) continue;
        if (partCodes[a] & partCodes[b] & partCodes[c]) continue;   // beyond one plane
        const bool bCrossing = (partCodes[a] | partCodes[b] | partCodes[c]) != 0;
        reserveTriangle(&draw);
        uint16_t polygon[RL_CLIP_MAX_POLYGON] = {gather(&draw, a), gather(&draw, b), gather(&draw, c)};
        if (bCrossing) {
            rlBatch_AddPolygon(polygon, 3);
            continue;
        }
        for (int k = 0; k < 3; k++) rlBatch_aIndices[rlBatch_nIndices++] = polygon[k];
    }
    rlBatch_Flush(&draw.batch);
    return draw.batch.drawn;
}

}  // namespace

int __cdecl rlModel_Draw(ModelInstance* node, ModelInstance*, int flags)
{
    if (!node || !node->pModel || !node->pParts || !node->pBones || !rlDevice_state.pDevice || !rlCamera_pCurrent)
        return 0;
    const Model* model = node->pModel;
    int drawn = 0;
    for (int i = 0; i < model->numParts; i++) drawn += drawPart(node, i, flags);
    rlDevice_stats.numTriangles += drawn;
    return drawn;
}
