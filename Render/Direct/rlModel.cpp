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

// Room is left above a part's own vertices for those that clipping adds; a part with more
// vertices than that is cut (its triangles that name a cut vertex are not drawn).
enum { MAX_PART_VERTS = RL_BATCH_MAX_VERTS - 1024 };

rlClipVertex mapped[RL_BATCH_MAX_VERTS];
uint32_t colours[MAX_PART_VERTS];

struct PartDraw {
    const rlPass* passes;
    int numPasses;
    int numPartVerts;   // the part's own vertices; those above were added by clipping
    int drawn;
};

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

// Maps a copy of the vertices to the screen and draws the collected triangles with every
// pass; the vertices added by clipping are given back.
void flush(PartDraw* draw)
{
    if (rlBatch_nIndices >= 3) {
        memcpy(mapped, rlBatch_aVerts, sizeof(rlClipVertex) * rlBatch_nVerts);
        rlClip_ScreenMap(rlCamera_pCurrent, mapped, rlBatch_nVerts);
        draw->drawn += rlBatch_DrawPasses(draw->passes, draw->numPasses, mapped, rlBatch_nVerts, rlBatch_aIndices,
                                          rlBatch_nIndices);
    }
    rlBatch_nIndices = 0;
    rlBatch_nVerts = draw->numPartVerts;
}

void addTriangle(PartDraw* draw, uint16_t a, uint16_t b, uint16_t c)
{
    if (rlBatch_nIndices + 3 > RL_BATCH_MAX_INDICES) flush(draw);
    rlBatch_aIndices[rlBatch_nIndices++] = a;
    rlBatch_aIndices[rlBatch_nIndices++] = b;
    rlBatch_aIndices[rlBatch_nIndices++] = c;
}

// A triangle that crosses the view volume: clipped, the result fanned.
void addClippedTriangle(PartDraw* draw, uint16_t a, uint16_t b, uint16_t c)
{
    if (rlBatch_nVerts + 6 > RL_BATCH_MAX_VERTS || rlBatch_nIndices + 3 * 7 > RL_BATCH_MAX_INDICES) flush(draw);
    uint16_t polygon[RL_CLIP_MAX_POLYGON] = {a, b, c};
    rlClipArray<rlClipVertex> array = {rlBatch_aVerts, rlBatch_aCodes, rlBatch_nVerts, RL_BATCH_MAX_VERTS};
    const int count = rlPolygon_Clip(&array, polygon, 3);
    rlBatch_nVerts = array.numVerts;
    for (int i = 1; i + 1 < count; i++) addTriangle(draw, polygon[0], polygon[i], polygon[i + 1]);
}

int drawPart(ModelInstance* node, int index, int flags)
{
    const Model* model = node->pModel;
    const InstancePart& part = node->pParts[index];
    if (part.partFlags & INSTANCE_PART_HIDDEN) return 0;
    const ModelPart* modelPart = part.pModelPart ? part.pModelPart : &model->pParts[index];
    const ModelTriangle* tris = part.pTris ? part.pTris : modelPart->pTris;
    int numVerts = part.lodVerts ? std::min(part.lodVerts, modelPart->numVerts) : modelPart->numVerts;
    numVerts = std::min<int>(numVerts, MAX_PART_VERTS);
    const int numTris = part.drawTris;
    if (numVerts == 0 || numTris == 0 || !tris || !modelPart->pVerts) return 0;
    const Material* material = part.pMaterial ? part.pMaterial : modelPart->pMaterial;
    rlPass passes[RL_MAX_PASSES];
    PartDraw draw = {passes, rlPass_BuildModelPart(node, material, passes), numVerts, 0};
    if (draw.numPasses == 0) return 0;

    // To clip space, with outcodes unless the whole model is inside the view.
    const ModelVertex* verts = modelPart->pVerts;
    const int numBones = model->numBones;
    const uint8_t codeMask = (flags & RL_MODEL_NO_FAR) ? uint8_t(~RL_CLIP_FAR) : uint8_t(0xFF);
    const bool bInside = (flags & RL_MODEL_INSIDE) != 0;
    uint8_t all = 0xFF, any = 0;
    for (int i = 0; i < numVerts; i++) {
        rlClipVertex& v = rlBatch_aVerts[i];
        transformVertex(node->pBones, numBones, verts[i], &v);
        rlBatch_aCodes[i] = bInside ? 0 : uint8_t(rlClip_Outcode(v.x, v.y, v.z, v.w) & codeMask);
        all &= rlBatch_aCodes[i];
        any |= rlBatch_aCodes[i];
    }
    if (all) return 0;   // every vertex beyond one plane

    const bool bFullbright = material && (material->flags & MATERIAL_FULLYLIT);
    rlLight_LightVertices(verts, numVerts, part.pVertexData, bFullbright, colours);
    for (int i = 0; i < numVerts; i++) rlBatch_aVerts[i].colour = colours[i];

    rlBatch_nVerts = numVerts;
    rlBatch_nIndices = 0;
    for (int t = 0; t < numTris; t++) {
        const uint16_t a = tris[t].v[0], b = tris[t].v[1], c = tris[t].v[2];
        if (a >= numVerts || b >= numVerts || c >= numVerts) continue;
        if (!any) {
            addTriangle(&draw, a, b, c);
            continue;
        }
        const uint8_t ca = rlBatch_aCodes[a], cb = rlBatch_aCodes[b], cc = rlBatch_aCodes[c];
        if (ca & cb & cc) continue;
        if (!(ca | cb | cc))
            addTriangle(&draw, a, b, c);
        else
            addClippedTriangle(&draw, a, b, c);
    }
    flush(&draw);
    return draw.drawn;
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
