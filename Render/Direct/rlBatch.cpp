#include "rlBatch.h"
#include "rlCamera.h"
#include "rlDevice.h"

rlClipVertex rlBatch_aVerts[RL_BATCH_MAX_VERTS];
uint8_t rlBatch_aCodes[RL_BATCH_MAX_VERTS];
uint16_t rlBatch_aIndices[RL_BATCH_MAX_INDICES];
int rlBatch_nVerts;
int rlBatch_nIndices;

void rlBatch_Begin(rlDrawBatch* batch, const rlPass* passes, int numPasses, bool bClipSpace)
{
    batch->passes = passes;
    batch->numPasses = numPasses;
    batch->bClipSpace = bClipSpace;
    batch->drawn = 0;
    rlBatch_nVerts = 0;
    rlBatch_nIndices = 0;
}

bool rlBatch_Reserve(rlDrawBatch* batch, int verts, int indices)
{
    if (verts > RL_BATCH_MAX_VERTS || indices > RL_BATCH_MAX_INDICES) return false;
    if (rlBatch_nVerts + verts > RL_BATCH_MAX_VERTS ||
        rlBatch_nIndices + indices > RL_BATCH_MAX_INDICES)
        rlBatch_Flush(batch);
    return true;
}

static void fan(const uint16_t* polygon, int count)
{
    for (int i = 1; i + 1 < count; i++) {
        rlBatch_aIndices[rlBatch_nIndices++] = polygon[0];
        rlBatch_aIndices[rlBatch_nIndices++] = polygon[i];
        rlBatch_aIndices[rlBatch_nIndices++] = polygon[i + 1];
    }
}

void rlBatch_AddPolygon(uint16_t* polygon, int count)
{
    if (count < 3 || count > RL_FACE_MAX_VERTS) return;
    uint8_t all = 0xFF, any = 0;
    for (int i = 0; i < count; i++) {
        all &= rlBatch_aCodes[polygon[i]];
        any |= rlBatch_aCodes[polygon[i]];
    }
    if (all) return;
    if (any) {
        rlClipArray<rlClipVertex> array = {rlBatch_aVerts, rlBatch_aCodes, rlBatch_nVerts, RL_BATCH_MAX_VERTS};
        count = rlPolygon_Clip(&array, polygon, count);
        rlBatch_nVerts = array.numVerts;
    }
    fan(polygon, count);
}

int rlBatch_DrawPasses(const rlPass* passes, int numPasses, const rlClipVertex* verts, int numVerts,
                       const uint16_t* indices, int numIndices)
{
    if (!rlDevice_state.pDevice || numVerts <= 0 || numIndices < 3) return 0;
    int drawn = 0;
    for (int i = 0; i < numPasses; i++) {
        const rlClipVertex* passVerts = rlPass_Apply(&passes[i], verts, numVerts);
        rlDevice_state.pDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                                            const_cast<rlClipVertex*>(passVerts), numVerts,
                                            const_cast<uint16_t*>(indices), numIndices, 0);
        drawn += numIndices / 3;
    }
    return drawn;
}

void rlBatch_Flush(rlDrawBatch* batch)
{
    if (rlBatch_nIndices >= 3) {
        if (batch->bClipSpace && rlCamera_pCurrent)
            rlClip_ScreenMap(rlCamera_pCurrent, rlBatch_aVerts, rlBatch_nVerts);
        batch->drawn += rlBatch_DrawPasses(batch->passes, batch->numPasses, rlBatch_aVerts,
                                           rlBatch_nVerts, rlBatch_aIndices, rlBatch_nIndices);
    }
    rlBatch_nVerts = 0;
    rlBatch_nIndices = 0;
}
