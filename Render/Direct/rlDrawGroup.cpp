// Surface groups: level geometry with its lightmaps, drawn through the vertex buffer (or from
// memory when the device gave none), and the depth-sorted batch of deferred groups.
#include <algorithm>
#include <cstring>
#include "cameraRecord.h"
#include "materialRecord.h"
#include "rasterDrawRecords.h"
#include "renderModes.h"
#include "rlBatch.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlDraw.h"
#include "rlDrawGroup.h"
#include "rlMode.h"
#include "rlTexture.h"

namespace {

constexpr DWORD FVF_TEX2 = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX2;

enum {
    // Room is left above a group's own points for the vertices that clipping adds.
    MAX_GROUP_POINTS = RL_BATCH_MAX_VERTS - 1024,
    MAX_SORTED_GROUPS = 1024,
};

IDirect3DVertexBuffer7* vertexBuffer;

rlClipVertex2 groupVerts[RL_BATCH_MAX_VERTS];   // clip space, with the clipper's new vertices
uint8_t groupCodes[RL_BATCH_MAX_VERTS];
rlClipVertex2 drawVerts[RL_BATCH_MAX_VERTS];    // the same on the screen
uint16_t groupIndices[RL_BATCH_MAX_INDICES];
int numGroupVerts, numGroupIndices;

// The vertices of the groups built in this frame through this camera, so that a group drawn
// again in the frame (deferred, or a second time) is not built again. What does not fit is
// built at every draw.
enum {
    BUILT_MAX_VERTS = 32768,
    BUILT_MAX_GROUPS = 1024,
    BUILT_HASH_SIZE = 2 * BUILT_MAX_GROUPS,   // a power of two
};
struct BuiltGroup {
    const rlSurfaceGroup* pGroup;
    int first;
    int count;   // -1: no longer the group's vertices
};
rlClipVertex2 builtVerts[BUILT_MAX_VERTS];
uint8_t builtCodes[BUILT_MAX_VERTS];
BuiltGroup built[BUILT_MAX_GROUPS];
uint16_t builtHash[BUILT_HASH_SIZE];   // index + 1 into built, 0 for an empty slot
int numBuilt, numBuiltVerts;
uint32_t storeFrame;   // 0: nothing built
mathMatrix storeViewProjection;

struct SortedGroup {
    rlSurfaceGroup* pGroup;
    int flags;
    float depth;
};
SortedGroup sortedGroups[MAX_SORTED_GROUPS];
int numSortedGroups;

// One indexed triangle list of the mapped vertices: through the vertex buffer when there is
// one and it can be filled, else straight from memory.
void drawList(const rlClipVertex2* verts, int numVerts)
{
    IDirect3DDevice7* device = rlDevice_state.pDevice;
    if (vertexBuffer) {
        void* data = nullptr;
        if (SUCCEEDED(vertexBuffer->Lock(DDLOCK_WAIT | DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS, &data, nullptr))) {
            memcpy(data, verts, sizeof(rlClipVertex2) * numVerts);
            vertexBuffer->Unlock();
            device->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, vertexBuffer, 0, numVerts, groupIndices,
                                           numGroupIndices, 0);
            return;
        }
    }
    device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, FVF_TEX2, const_cast<rlClipVertex2*>(verts), numVerts, groupIndices,
                                 numGroupIndices, 0);
}

uint32_t groupColour(const rlSurfaceGroup* group, uint32_t point)
{
    const uint32_t debug = rlDevice_state.pSettings ? rlDevice_state.pSettings->debugFlags : 0;
    if (debug & RL_DEBUG_GROUP_COLOURS) {
        const uint32_t c = group->id + 1u;
        return 0xFF000000 | ((c * 33) & 0xFF) << 16 | ((c * 17) & 0xFF) << 8 | ((c * 9) & 0xFF);
    }
    return group->pColours ? group->pColours[point] : 0xFFFFFFFF;
}

// The group's points in clip space with both texture sets and their outcodes; the count that
// fits.
int buildPoints(rlSurfaceGroup* group, rlClipVertex2* verts, uint8_t* codes)
{
    const float* m = rlCamera_pCurrent->viewProjection.m;
    const int count = static_cast<int>(std::min<uint32_t>(group->numPoints, MAX_GROUP_POINTS));
    for (int i = 0; i < count; i++) {
        const mathVec3& p = group->pPoints[i];
        rlClipVertex2& v = verts[i];
        v.x = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
        v.y = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
        v.z = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
        v.w = p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15];
        v.colour = groupColour(group, i);
        const mathVec2 uv0 = group->pUV0 ? group->pUV0[i] : mathVec2{0, 0};
        const mathVec2 uv1 = (group->flags & RL_GROUP_ALT_LAYOUT) || !group->pUV1 ? uv0 : group->pUV1[i];
        v.u0 = uv0.x;
        v.v0 = uv0.y;
        v.u1 = uv1.x;
        v.v1 = uv1.y;
        codes[i] = rlClip_Outcode(v.x, v.y, v.z, v.w);
    }
    group->builtFrame = rlDevice_state.frameNumber;
    return count;
}

// Empties the built vertices at a new frame or when the camera changed within one.
void startBuiltFrame(void)
{
    const mathMatrix& viewProjection = rlCamera_pCurrent->viewProjection;
    if (storeFrame == rlDevice_state.frameNumber && !memcmp(&storeViewProjection, &viewProjection, sizeof viewProjection))
        return;
    storeFrame = rlDevice_state.frameNumber;
    storeViewProjection = viewProjection;
    numBuilt = numBuiltVerts = 0;
    memset(builtHash, 0, sizeof builtHash);
}

uint16_t* hashSlot(const rlSurfaceGroup* group)
{
    uint32_t slot = (uint32_t(reinterpret_cast<uintptr_t>(group)) >> 2) * 2654435761u;
    for (slot &= BUILT_HASH_SIZE - 1;; slot = (slot + 1) & (BUILT_HASH_SIZE - 1))
        if (!builtHash[slot] || built[builtHash[slot] - 1].pGroup == group) return &builtHash[slot];
}

// The group's vertices in clip space with their outcodes: those built earlier in this frame,
// else built now (flag 0x40 always builds them again). They stay valid until the next build.
int groupVertices(rlSurfaceGroup* group, int flags, const rlClipVertex2** verts, const uint8_t** codes)
{
    startBuiltFrame();
    uint16_t* slot = hashSlot(group);
    BuiltGroup* entry = *slot ? &built[*slot - 1] : nullptr;
    if (entry && entry->count >= 0 && group->builtFrame == rlDevice_state.frameNumber && !(flags & RL_GROUP_DRAW_RECODE)) {
        *verts = &builtVerts[entry->first];
        *codes = &builtCodes[entry->first];
        return entry->count;
    }
    const int count = static_cast<int>(std::min<uint32_t>(group->numPoints, MAX_GROUP_POINTS));
    if (!entry || entry->count != count) {
        if (numBuilt == BUILT_MAX_GROUPS || numBuiltVerts + count > BUILT_MAX_VERTS) {
            if (entry) entry->count = -1;   // its old vertices are not this build's
            *verts = groupVerts;
            *codes = groupCodes;
            return buildPoints(group, groupVerts, groupCodes);
        }
        entry = &built[numBuilt];
        *entry = {group, numBuiltVerts, count};
        *slot = static_cast<uint16_t>(++numBuilt);
        numBuiltVerts += count;
    }
    *verts = &builtVerts[entry->first];
    *codes = &builtCodes[entry->first];
    return buildPoints(group, &builtVerts[entry->first], &builtCodes[entry->first]);
}

// The mapped copy of the vertices, drawn once per pass (and once more for the debug
// wireframe); the index list is emptied. With a group, its light blobs are drawn at their
// position among the passes, even when none of its triangles is left in this batch.
int drawCollected(const rlPass* passes, int numPasses, const rlSurfaceGroup* blobGroup = nullptr, int blobAt = -1)
{
    const bool bTriangles = numGroupIndices >= 3;
    if (bTriangles) {
        memcpy(drawVerts, groupVerts, sizeof(rlClipVertex2) * numGroupVerts);
        rlClip_ScreenMapTex2(rlCamera_pCurrent, drawVerts, numGroupVerts);
    }
    int drawn = 0;
    for (int i = 0; i <= numPasses; i++) {
        if (blobGroup && i == blobAt) drawn += rlDrawGroup_DrawLightBlobs(blobGroup);
        if (i == numPasses || !bTriangles) continue;
        const rlClipVertex2* verts = rlPass_ApplyTex2(&passes[i], drawVerts, numGroupVerts);
        drawList(verts, numGroupVerts);
        drawn += numGroupIndices / 3;
    }
    const uint32_t debug = rlDevice_state.pSettings ? rlDevice_state.pSettings->debugFlags : 0;
    if (bTriangles && (debug & RL_DEBUG_WIREFRAME)) {
        rlMode_SetFillMode(D3DFILL_WIREFRAME);
        rlMode_SetTextureFactor(0xFFFFFFFF);
        rlMode_SetMode(RENDERMODE_OUTLINE);
        drawList(drawVerts, numGroupVerts);
        rlMode_SetFillMode(D3DFILL_SOLID);
    }
    numGroupIndices = 0;
    return drawn;
}

int drawGroup(rlSurfaceGroup* group, int flags, int boxResult)
{
    rlPass passes[RL_GROUP_MAX_PASSES];
    int blobAt;
    const int numPasses = rlDrawGroup_BuildPasses(group, passes, &blobAt);
    const rlClipVertex2* verts;
    const uint8_t* codes;
    const int numPoints = groupVertices(group, flags, &verts, &codes);
    if (verts != groupVerts) {
        memcpy(groupVerts, verts, sizeof(rlClipVertex2) * numPoints);
        memcpy(groupCodes, codes, numPoints);
    }
    numGroupVerts = numPoints;
    numGroupIndices = 0;
    const float* eye = &rlCamera_pCurrent->frame.m[9];
    int drawn = 0;
    for (uint32_t f = 0; f < group->numFaces; f++) {
        const rlSurfaceFace& face = group->pFaces[f];
        const int count = std::min<int>(face.numIndices, RL_FACE_MAX_VERTS);
        if (count < 3) continue;
        // Seen from behind: the eye is not in front of the face plane.
        if (eye[0] * face.normal.x + eye[1] * face.normal.y + eye[2] * face.normal.z <= face.distance) continue;
        uint16_t polygon[RL_CLIP_MAX_POLYGON];
        uint8_t all = 0xFF, any = 0;
        bool bValid = true;
        for (int i = 0; i < count && bValid; i++) {
            const uint16_t index = group->pIndices[face.firstIndex + i];
            bValid = index < numPoints;
            polygon[i] = index;
            all &= groupCodes[index];
            any |= groupCodes[index];
        }
        if (!bValid || all) continue;
        int n = count;
        if (any && boxResult == RL_BOUNDS_CROSSING) {
            // No room for what clipping adds: the faces so far are drawn first.
            if (numGroupVerts + RL_CLIP_MAX_NEW_VERTS > RL_BATCH_MAX_VERTS) {
                drawn += drawCollected(passes, numPasses);
                numGroupVerts = numPoints;
            }
            rlClipArray<rlClipVertex2> array = {groupVerts, groupCodes, numGroupVerts, RL_BATCH_MAX_VERTS};
            n = rlPolygon_ClipTex2(&array, polygon, count);
            numGroupVerts = array.numVerts;
        }
        if (numGroupIndices + 3 * (n - 2) > RL_BATCH_MAX_INDICES) drawn += drawCollected(passes, numPasses);
        for (int i = 1; i + 1 < n; i++) {
            groupIndices[numGroupIndices++] = polygon[0];
            groupIndices[numGroupIndices++] = polygon[i];
            groupIndices[numGroupIndices++] = polygon[i + 1];
        }
    }
    const int keep = numGroupIndices;
    drawn += drawCollected(passes, numPasses, group, blobAt);
    drawn += rlDrawGroup_DrawDecals(group);
    if (flags & RL_GROUP_DRAW_ZONLY) {
        numGroupIndices = keep;
        rlPass zonly = {RENDERMODE_ZONLY, 0, 0, 0xFFFFFFFF, 0, 1.0f, 1.0f, 0.0f, 0.0f};
        drawCollected(&zonly, 1);
    }
    return drawn;
}

// The nearest distance of the group's points from the eye, by their clip w.
float nearestDepth(const rlClipVertex2* verts, int count)
{
    float nearest = 3.4e38f;
    for (int i = 0; i < count; i++) nearest = std::min(nearest, verts[i].w);
    return nearest;
}

}  // namespace

int rlDrawGroup_CreateVertexBuffer(void)
{
    if (vertexBuffer || !rlDevice_state.pDirect3D) return 1;
    D3DVERTEXBUFFERDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwCaps = D3DVBCAPS_WRITEONLY;
    desc.dwFVF = FVF_TEX2;
    desc.dwNumVertices = RL_BATCH_MAX_VERTS;
    // Without a buffer the groups are drawn from memory: the device still opens.
    if (FAILED(rlDevice_state.pDirect3D->CreateVertexBuffer(&desc, &vertexBuffer, 0))) vertexBuffer = nullptr;
    return 1;
}

void rlDrawGroup_ReleaseVertexBuffer(void)
{
    rlDevice_Release(vertexBuffer);
    numSortedGroups = 0;
    storeFrame = 0;
}

bool rlDrawGroup_HasVertexBuffer(void)
{
    return vertexBuffer != nullptr;
}

int __cdecl rlDraw_SurfaceGroup(void* record, int flags)
{
    auto* group = static_cast<rlSurfaceGroup*>(record);
    if (!rlDevice_state.pDevice || !rlCamera_pCurrent || !group || !group->pPoints || !group->pFaces || !group->pIndices)
        return 0;
    const int boxResult = rlBounds_Test(&group->box, &rlCamera_pCurrent->viewProjection);
    if (boxResult == RL_BOUNDS_OUTSIDE) return 0;
    if (flags & RL_GROUP_DRAW_DEFER) {
        if (numSortedGroups < MAX_SORTED_GROUPS) {
            const rlClipVertex2* verts;
            const uint8_t* codes;
            const int count = groupVertices(group, flags, &verts, &codes);
            // Built now, so that drawing it later in the frame reuses the vertices.
            sortedGroups[numSortedGroups++] = {group, int(flags & ~(RL_GROUP_DRAW_DEFER | RL_GROUP_DRAW_RECODE)),
                                               nearestDepth(verts, count)};
            return static_cast<int>(group->numTriangles);
        }
        flags &= ~int(RL_GROUP_DRAW_DEFER);   // the batch is full: drawn now
    }
    return drawGroup(group, flags, boxResult);
}

int __cdecl rlDraw_SortedGroups(void)
{
    std::stable_sort(sortedGroups, sortedGroups + numSortedGroups,
                     [](const SortedGroup& a, const SortedGroup& b) { return a.depth < b.depth; });
    for (int i = 0; i < numSortedGroups && rlDevice_state.pDevice && rlCamera_pCurrent; i++) {
        rlSurfaceGroup* group = sortedGroups[i].pGroup;
        const int boxResult = rlBounds_Test(&group->box, &rlCamera_pCurrent->viewProjection);
        if (boxResult != RL_BOUNDS_OUTSIDE) drawGroup(group, sortedGroups[i].flags, boxResult);
    }
    numSortedGroups = 0;
    return 0;
}
