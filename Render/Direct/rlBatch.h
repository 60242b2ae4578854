// The shared work arrays of the primitive drawing operations: a batch of clip vertices and
// triangle indices that fills up, is mapped to the screen and drawn once per pass, then starts
// again. Every append is bounded; what does not fit an empty batch is cut.
#pragma once
#include <cstdint>
#include "rlClip.h"
#include "rlPass.h"

enum {
    RL_BATCH_MAX_VERTS = 8192,
    RL_BATCH_MAX_INDICES = 8192 * 3,
    // A face that must be clipped keeps at most this many vertices.
    RL_FACE_MAX_VERTS = RL_CLIP_MAX_POLYGON - 6,
};

struct rlDrawBatch {
    const rlPass* passes;
    int numPasses;
    bool bClipSpace;       // the vertices still need the screen mapping at flush
    int drawn;             // passes x triangles issued so far
};

extern rlClipVertex rlBatch_aVerts[RL_BATCH_MAX_VERTS];
extern uint8_t rlBatch_aCodes[RL_BATCH_MAX_VERTS];
extern uint16_t rlBatch_aIndices[RL_BATCH_MAX_INDICES];
extern int rlBatch_nVerts;
extern int rlBatch_nIndices;

// Starts an empty batch drawn with these passes.
void rlBatch_Begin(rlDrawBatch* batch, const rlPass* passes, int numPasses, bool bClipSpace);
// Makes room for a primitive of this many vertices and indices, drawing what the batch holds
// when it is too full. False when even an empty batch is too small.
bool rlBatch_Reserve(rlDrawBatch* batch, int verts, int indices);
// Appends the polygon polygon[0..count-1] of batch vertices (count <= RL_FACE_MAX_VERTS):
// dropped when all vertices lie beyond one plane, fanned as it is when none is outside, else
// clipped and fanned. Reserve room for count + RL_CLIP_MAX_NEW_VERTS vertices and
// 3 x (count + 4) indices first.
void rlBatch_AddPolygon(uint16_t* polygon, int count);
// Draws what the batch holds once per pass and empties it.
void rlBatch_Flush(rlDrawBatch* batch);

// Draws screen vertices as an indexed triangle list with every pass; passes x triangles.
int rlBatch_DrawPasses(const rlPass* passes, int numPasses, const rlClipVertex* verts, int numVerts,
                       const uint16_t* indices, int numIndices);
