#include "rlDrawBatch.h"
#include "rlCamera.h"
#include "rlDevice.h"

rlClipVertex rlBatch_Verts[RL_BATCH_MAX_VERTS];
uint8_t rlBatch_Codes[RL_BATCH_MAX_VERTS];
uint16_t rlBatch_Indices[RL_BATCH_MAX_INDICES];
int rlBatch_NumVerts;
int rlBatch_NumIndices;

void rlBatch_Begin(rlDrawBatch* batch, const rlPass* passes, int numPasses, bool bClipSpace)
{
    batch->passes = passes;
    batch->numPasses = numPasses;
    batch->bClipSpace = bClipSpace;
    batch->drawn = 0;
    rlBatch_NumVerts = 0;
    rlBatch_NumIndices = 0;
}

bool rlBatch_Reserve(rlDrawBatch* batch, int verts, int indices)
{
    if (verts > RL_BATCH_MAX_VERTS || indices > RL_BATCH_MAX_INDICES) return false;
    if (rlBatch_NumVerts + verts > RL_BATCH_MAX_VERTS ||
        rlBatch_NumIndices + indices > RL_BATCH_MAX_INDICES)
        rlBatch_Flush(batch);
    return true;
}

static void fan(const uint16_t* polygon, int count)
{
    for (int i = 1; i + 1 < count; i++) {
        rlBatch_Indices[rlBatch_NumIndices++] = polygon[0];
        rlBatch_Indices[rlBatch_NumIndices++] = polygon[i];
        rlBatch_Indices[rlBatch_NumIndices++] = polygon[i + 1];
    }
}

void rlBatch_AddPolygon(uint16_t* polygon, int count)
{
    if (count < 3 || count > RL_FACE_MAX_VERTS) return;
    uint8_t all = 0xFF, any = 0;
    for (int i = 0; i < count; i++) {
        all &= rlBatch_Codes[polygon[i]];
        any |= rlBatch_Codes[polygon[i]];
    }
    if (all) return;
    if (any) {
        rlClipArray<rlClipVertex> array = {rlBatch_Verts, rlBatch_Codes, rlBatch_NumVerts, RL_BATCH_MAX_VERTS};
        count = rlPolygon_Clip(&array, polygon, count);
        rlBatch_NumVerts = array.numVerts;
    }
    fan(polygon, count);
}

int rlBatch_DrawPasses(const rlPass* passes, int numPasses, const rlClipVertex* verts, int numVerts,
                       const uint16_t* indices, int numIndices)
{
    if (!rlDev.pDevice || numVerts <= 0 || numIndices < 3) return 0;
    int drawn = 0;
    for (int i = 0; i < numPasses; i++) {
        const rlClipVertex* passVerts = rlPass_Apply(&passes[i], verts, numVerts);
        rlDev.pDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                                            const_cast<rlClipVertex*>(passVerts), numVerts,
                                            const_cast<uint16_t*>(indices), numIndices, 0);
        drawn += numIndices / 3;
    }
    return drawn;
}

void rlBatch_Flush(rlDrawBatch* batch)
{
    if (rlBatch_NumIndices >= 3) {
        if (batch->bClipSpace && rlCamera_pCurrent)
            rlClip_ScreenMap(rlCamera_pCurrent, rlBatch_Verts, rlBatch_NumVerts);
        batch->drawn += rlBatch_DrawPasses(batch->passes, batch->numPasses, rlBatch_Verts,
                                           rlBatch_NumVerts, rlBatch_Indices, rlBatch_NumIndices);
    }
    rlBatch_NumVerts = 0;
    rlBatch_NumIndices = 0;
}
