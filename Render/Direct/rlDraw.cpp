// Primitive drawing: screen faces, sprites, halos, points, world quads, beams, strips and
// faces of the vertex pool. Each builds vertices into the shared batch, transforms and clips
// them through the current camera, and draws them once per pass of its material.
#include "rlDraw.h"
#include <algorithm>
#include <cmath>
#include "cameraRecord.h"
#include "materialRecord.h"
#include "rasterDrawRecords.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlBatch.h"
#include "rlMode.h"
#include "rlTexture.h"

namespace {

constexpr DWORD FVF_TEX1 = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// The vertex pool: clip-space points with their outcodes.
rlClipVertex pool[RL_BATCH_MAX_VERTS];
uint8_t poolCodes[RL_BATCH_MAX_VERTS];
uint32_t poolCount;

// Scratch vertices of the shadow outline; nothing draws them yet.
rlClipVertex shadowVerts[RL_BATCH_MAX_VERTS];

bool canDraw(void)
{
    return rlDevice_state.pDevice && rlCamera_pCurrent;
}

rlClipVertex clipPoint(const mathVec3& p, uint32_t colour, float u, float v, uint8_t* code)
{
    rlClipVertex out;
    rlClip_TransformPoints(&rlCamera_pCurrent->viewProjection, &p, 1, &out, code);
    out.colour = colour;
    out.u = u;
    out.v = v;
    return out;
}

// Appends a world polygon to the batch: its corners go to clip space, then it is dropped,
// fanned or clipped.
void addWorldPolygon(rlDrawBatch* batch, const mathVec3* corners, const float* uvs,
                     const uint32_t* colours, uint32_t colour, int count)
{
    if (count < 3) return;
    count = std::min<int>(count, RL_FACE_MAX_VERTS);
    if (!rlBatch_Reserve(batch, count + RL_CLIP_MAX_NEW_VERTS, 3 * (count + 4))) return;
    uint16_t polygon[RL_CLIP_MAX_POLYGON];
    for (int i = 0; i < count; i++) {
        const int index = rlBatch_nVerts++;
        rlBatch_aVerts[index] = clipPoint(corners[i], colours ? colours[i] : colour, uvs ? uvs[2 * i] : 0.0f,
                                         uvs ? uvs[2 * i + 1] : 0.0f, &rlBatch_aCodes[index]);
        polygon[i] = static_cast<uint16_t>(index);
    }
    rlBatch_AddPolygon(polygon, count);
}

const float QUAD_UVS[8] = {0, 0, 1, 0, 1, 1, 0, 1};

enum PointKind { SPRITE, HALO, HALO_FIXED };

// Sprites, halos and points: a screen-aligned square per point inside the view volume.
int drawPointSquares(Material* material, const rlPoint* points, int count, PointKind kind,
                     float sizeScale, const uint32_t* oneColour)
{
    if (!canDraw() || !points || count <= 0) return 0;
    const Camera* camera = rlCamera_pCurrent;
    rlPass passes[RL_MAX_PASSES];
    const int numPasses = rlPass_BuildMaterial(material, passes);
    rlDrawBatch batch;
    rlBatch_Begin(&batch, passes, numPasses, false);
    for (int i = 0; i < count; i++) {
        uint8_t code;
        const rlClipVertex c = clipPoint(points[i].position, 0, 0, 0, &code);
        if (code) continue;   // behind the eye or outside the view volume: no clipping
        if (!rlBatch_Reserve(&batch, 4, 6)) break;
        const float r = 1.0f / c.w;
        const float x = camera->centreX + camera->scaleX * c.x * r;
        const float y = camera->centreY - camera->scaleY * c.y * r;
        const float size = points[i].size * sizeScale * (kind == HALO_FIXED ? 1.0f : r);
        const float hx = size * camera->scaleX * camera->projection.m[0];
        const float hy = size * camera->scaleY * camera->projection.m[5];
        const float z = kind == SPRITE ? c.z * r : 0.0f;
        const float rhw = kind == SPRITE ? r : 1.0f;
        const uint32_t colour = oneColour ? *oneColour : points[i].colour;
        const int base = rlBatch_nVerts;
        rlBatch_aVerts[base + 0] = {x - hx, y - hy, z, rhw, colour, 0.0f, 0.0f};
        rlBatch_aVerts[base + 1] = {x - hx, y + hy, z, rhw, colour, 0.0f, 1.0f};
        rlBatch_aVerts[base + 2] = {x + hx, y + hy, z, rhw, colour, 1.0f, 1.0f};
        rlBatch_aVerts[base + 3] = {x + hx, y - hy, z, rhw, colour, 1.0f, 0.0f};
        rlBatch_nVerts += 4;
        const uint16_t order[6] = {0, 1, 2, 0, 2, 3};
        for (uint16_t k : order) rlBatch_aIndices[rlBatch_nIndices++] = static_cast<uint16_t>(base + k);
    }
    rlBatch_Flush(&batch);
    return batch.drawn;
}

// Faces of the vertex pool: the first texture's pass of the material (or the given mode).
int drawPoolFace(int count, const uint16_t* indices, const rlPass* passes, int numPasses,
                 const float* uvs, const uint32_t* colours, uint32_t colour)
{
    if (!canDraw() || !indices || count < 3 || numPasses <= 0) return 0;
    count = std::min<int>(count, RL_FACE_MAX_VERTS);
    rlDrawBatch batch;
    rlBatch_Begin(&batch, passes, numPasses, true);
    uint16_t polygon[RL_CLIP_MAX_POLYGON];
    uint8_t all = 0xFF;
    for (int i = 0; i < count; i++) {
        if (indices[i] >= poolCount) return 0;   // not a pool vertex
        all &= poolCodes[indices[i]];
    }
    if (all) return 0;
    for (int i = 0; i < count; i++) {
        rlClipVertex v = pool[indices[i]];
        v.colour = colours ? colours[i] : colour;
        v.u = uvs ? uvs[2 * i] : 0.0f;
        v.v = uvs ? uvs[2 * i + 1] : 0.0f;
        rlBatch_aVerts[i] = v;
        rlBatch_aCodes[i] = poolCodes[indices[i]];
        polygon[i] = static_cast<uint16_t>(i);
    }
    rlBatch_nVerts = count;
    rlBatch_AddPolygon(polygon, count);
    rlBatch_Flush(&batch);
    return batch.drawn;
}

// A face's passes: the material's own when no mode is given, else one pass of that mode
// with the material's first texture.
int facePasses(int mode, Material* material, uint32_t texture, rlPass* passes)
{
    if (mode == 0 && material) return rlPass_BuildMaterial(material, passes);
    rlPass pass = {};
    pass.mode = mode;
    pass.texture = material ? rlPass_Handle(material->passes[0].pTexture) : texture;
    pass.factor = 0xFFFFFFFF;
    passes[0] = pass;
    return 1;
}

// Faces deferred by rlDraw_FaceIndexed, drawn at the next flush in the order they came.
struct DeferredFace {
    int mode;
    uint32_t texture;
    int first, count;
};
enum { MAX_DEFERRED_FACES = 1024 };
DeferredFace deferredFaces[MAX_DEFERRED_FACES];
int numDeferredFaces;
rlClipVertex deferredVerts[RL_BATCH_MAX_VERTS];
int numDeferredVerts;

void drawDeferredFaces(void)
{
    for (int i = 0; i < numDeferredFaces && rlDevice_state.pDevice; i++) {
        const DeferredFace& face = deferredFaces[i];
        rlTexture_SetStage(face.texture, 0);
        rlMode_SetMode(face.mode);
        rlDevice_state.pDevice->DrawPrimitive(D3DPT_TRIANGLEFAN, FVF_TEX1, &deferredVerts[face.first], face.count, 0);
    }
    numDeferredFaces = 0;
    numDeferredVerts = 0;
}

// Keeps a face wholly inside the view for the next flush; false when it must be drawn now.
bool deferFace(int count, const uint16_t* indices, int mode, uint32_t texture, const float* uvs,
               const uint32_t* colours, uint32_t colour)
{
    if (numDeferredFaces >= MAX_DEFERRED_FACES || numDeferredVerts + count > RL_BATCH_MAX_VERTS) return false;
    for (int i = 0; i < count; i++)
        if (indices[i] >= poolCount || poolCodes[indices[i]]) return false;
    DeferredFace& face = deferredFaces[numDeferredFaces++];
    face = {mode, texture, numDeferredVerts, count};
    for (int i = 0; i < count; i++) {
        rlClipVertex v = pool[indices[i]];
        v.colour = colours ? colours[i] : colour;
        v.u = uvs ? uvs[2 * i] : 0.0f;
        v.v = uvs ? uvs[2 * i + 1] : 0.0f;
        deferredVerts[numDeferredVerts + i] = v;
    }
    rlClip_ScreenMap(rlCamera_pCurrent, &deferredVerts[numDeferredVerts], count);
    numDeferredVerts += count;
    return true;
}

}  // namespace

uint32_t __cdecl rlDraw_SetVertexPool(const float* points, uint32_t count)
{
    poolCount = 0;
    if (!points || !rlCamera_pCurrent) return 0;
    count = std::min<uint32_t>(count, RL_BATCH_MAX_VERTS);
    rlClip_TransformPoints(&rlCamera_pCurrent->viewProjection, reinterpret_cast<const mathVec3*>(points),
                           static_cast<int>(count), pool, poolCodes);
    poolCount = count;
    return count;
}

int __cdecl rlDraw_FaceIndexed(int count, const uint16_t* indices, int mode, Material* material,
                               const float* uvs, const void* vertexRecords, uint32_t colour,
                               uint32_t flags)
{
    const uint32_t texture = material ? rlPass_Handle(material->passes[0].pTexture) : 0;
    if (material && (material->flags & MATERIAL_ALPHA))
        return rlDraw_FaceIndexedSort(count, indices, mode, texture, uvs, vertexRecords, colour, flags);
    const auto* colours = static_cast<const uint32_t*>(vertexRecords);
    if ((flags & 1) && canDraw() && indices && count >= 3 && count <= RL_FACE_MAX_VERTS &&
        deferFace(count, indices, mode ? mode : (material ? (int)material->passes[0].spriteMode : 0),
                  texture, uvs, colours, colour))
        return 0;
    rlPass passes[RL_MAX_PASSES];
    const int numPasses = facePasses(mode, material, 0, passes);
    return drawPoolFace(count, indices, passes, numPasses, uvs, colours, colour);
}

int __cdecl rlDraw_FaceIndexedSort(int count, const uint16_t* indices, int mode, uint32_t texture,
                                   const float* uvs, const void* vertexRecords, uint32_t colour,
                                   uint32_t)
{
    rlPass passes[RL_MAX_PASSES];
    const int numPasses = facePasses(mode, nullptr, texture, passes);
    return drawPoolFace(count, indices, passes, numPasses, uvs, static_cast<const uint32_t*>(vertexRecords),
                        colour);
}

int __cdecl rlDraw_Face(int count, const float* points, const float* uvs, const uint32_t* colours,
                        int mode, Material* material, uint32_t flags)
{
    if (!rlDevice_state.pDevice || !points || count < 3) return 0;
    rlPass passes[RL_MAX_PASSES];
    const int numPasses = facePasses(mode, material, 0, passes);
    count = std::min<int>(count, RL_FACE_MAX_VERTS);
    const auto* corners = reinterpret_cast<const mathVec3*>(points);
    rlDrawBatch batch;
    if (flags & 1) {   // already on the screen: x, y, z / w as given, rhw 1
        rlBatch_Begin(&batch, passes, numPasses, false);
        uint16_t polygon[RL_CLIP_MAX_POLYGON];
        for (int i = 0; i < count; i++) {
            rlBatch_aVerts[i] = {corners[i].x, corners[i].y, corners[i].z, 1.0f, colours ? colours[i] : 0xFFFFFFFF,
                                uvs ? uvs[2 * i] : 0.0f, uvs ? uvs[2 * i + 1] : 0.0f};
            rlBatch_aCodes[i] = 0;
            polygon[i] = static_cast<uint16_t>(i);
        }
        rlBatch_nVerts = count;
        rlBatch_AddPolygon(polygon, count);
    } else {
        if (!rlCamera_pCurrent) return 0;
        rlBatch_Begin(&batch, passes, numPasses, true);
        addWorldPolygon(&batch, corners, uvs, colours, 0xFFFFFFFF, count);
    }
    rlBatch_Flush(&batch);
    return batch.drawn;
}

// Vertices of the caller's screen records: x, y at the start, u, v at bytes 60 and 64.
int __cdecl rlDraw_ScreenFaceImmediate(int count, const void* vertices, int mode, uint32_t texture,
                                       uint32_t colour)
{
    if (!rlDevice_state.pDevice) return E_FAIL;
    if (!vertices || count < 3) return D3D_OK;   // nothing to draw
    count = std::min<int>(count, RL_BATCH_MAX_VERTS);
    if (texture) rlTexture_SetStage(texture, 0);
    rlMode_SetMode(mode);
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    for (int i = 0; i < count; i++) {
        const auto* record = reinterpret_cast<const float*>(bytes + 80 * i);
        rlBatch_aVerts[i] = {record[0], record[1], 0.0f, 1.0f, colour, record[15], record[16]};
    }
    return rlDevice_state.pDevice->DrawPrimitive(D3DPT_TRIANGLEFAN, FVF_TEX1, rlBatch_aVerts, count, 0);
}

void __cdecl rlDraw_FlushCache(int)
{
    drawDeferredFaces();
}

void __cdecl rlDraw_ShadowFace(int count, const void* records, int mode)
{
    if (!rlDevice_state.pDevice) return;
    const auto* points = static_cast<const rlShadowPoint*>(records);
    count = points ? std::min<int>(count, RL_BATCH_MAX_VERTS) : 0;
    for (int i = 0; i < count; i++)
        shadowVerts[i] = {points[i].x, 128.0f - points[i].y, 0.0f, 1.0f, 0xFFFFFFFF, 0.0f, 0.0f};
    rlMode_SetMode(mode);
}

int __cdecl rlDraw_SpriteList(Material* material, const float* points, int count)
{
    return drawPointSquares(material, reinterpret_cast<const rlPoint*>(points), count, SPRITE, 1.0f, nullptr);
}

int __cdecl rlDraw_HaloList(Material* material, const float* points, int count, uint8_t flag)
{
    return drawPointSquares(material, reinterpret_cast<const rlPoint*>(points), count,
                            (flag & 1) ? HALO_FIXED : HALO, 1.0f, nullptr);
}

int __cdecl rlDraw_PointList(Material* material, const float* points, int count, uint32_t, float size,
                             uint32_t colour)
{
    return drawPointSquares(material, reinterpret_cast<const rlPoint*>(points), count, SPRITE, size, &colour);
}

int __cdecl rlDraw_QuadList(const void* quads, int count, Material* material)
{
    if (!canDraw() || !quads || count <= 0) return 0;
    rlPass passes[RL_MAX_PASSES];
    rlDrawBatch batch;
    rlBatch_Begin(&batch, passes, rlPass_BuildMaterial(material, passes), true);
    const auto* quad = static_cast<const rlQuad*>(quads);
    for (int i = 0; i < count; i++) addWorldPolygon(&batch, quad[i].corners, QUAD_UVS, nullptr, quad[i].colour, 4);
    rlBatch_Flush(&batch);
    return batch.drawn;
}

int __cdecl rlDraw_FanList(const void* records, int count, Material* material)
{
    if (!canDraw() || !records || count <= 0) return 0;
    rlPass passes[RL_MAX_PASSES];
    rlDrawBatch batch;
    rlBatch_Begin(&batch, passes, rlPass_BuildMaterial(material, passes), true);
    const auto* beam = static_cast<const rlBeam*>(records);
    for (int i = 0; i < count; i++) {
        const mathVec3 s = {beam[i].side.x * beam[i].width, beam[i].side.y * beam[i].width,
                            beam[i].side.z * beam[i].width};
        const mathVec3& a = beam[i].start;
        const mathVec3& b = beam[i].end;
        const mathVec3 corners[4] = {{a.x + s.x, a.y + s.y, a.z + s.z}, {a.x - s.x, a.y - s.y, a.z - s.z},
                                     {b.x - s.x, b.y - s.y, b.z - s.z}, {b.x + s.x, b.y + s.y, b.z + s.z}};
        addWorldPolygon(&batch, corners, QUAD_UVS, nullptr, beam[i].colour, 4);
    }
    rlBatch_Flush(&batch);
    return batch.drawn;
}

int __cdecl rlDraw_QuadStrip(const void* record, int)
{
    const auto* strip = static_cast<const rlStrip*>(record);
    if (!canDraw() || !strip || strip->numEdges < 2 || !strip->pLeft || !strip->pRight) return 0;
    rlPass passes[RL_MAX_PASSES];
    rlDrawBatch batch;
    rlBatch_Begin(&batch, passes, rlPass_BuildMaterial(strip->pMaterial, passes), true);
    const float step = 1.0f / static_cast<float>(strip->numEdges - 1);
    for (uint32_t i = 0; i + 1 < strip->numEdges; i++) {
        const mathVec3 corners[4] = {strip->pLeft[i], strip->pRight[i], strip->pRight[i + 1], strip->pLeft[i + 1]};
        const float u0 = step * static_cast<float>(i), u1 = u0 + step;
        const float uvs[8] = {u0, 0, u0, 1, u1, 1, u1, 0};
        addWorldPolygon(&batch, corners, uvs, nullptr, strip->colour, 4);
    }
    rlBatch_Flush(&batch);
    return batch.drawn;
}

// Texture corners from the frame's translation T and its first two rows R0 and R1.
int __cdecl rlDraw_ScreenFace(Material* material, const mathVec2* topLeft, const mathVec2* bottomRight,
                              uint32_t colour, const mathFrame* frame)
{
    if (!rlDevice_state.pDevice || !topLeft || !bottomRight) return 0;
    static const mathFrame identity = {{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}};
    const float* f = (frame ? frame : &identity)->m;
    const float tu = f[9], tv = f[10], r0u = f[0], r0v = f[1], r1u = f[3], r1v = f[4];
    const float x0 = topLeft->x, y0 = topLeft->y, x1 = bottomRight->x, y1 = bottomRight->y;
    const rlClipVertex verts[4] = {
        {x0, y0, 0.0f, 1.0f, colour, tu, tv},
        {x0, y1, 0.0f, 1.0f, colour, tu + r1u, tv + r1v},
        {x1, y1, 0.0f, 1.0f, colour, tu + r0u + r1u, tv + r0v + r1v},
        {x1, y0, 0.0f, 1.0f, colour, tu + r0u, tv + r0v},
    };
    rlPass passes[RL_MAX_PASSES];
    const int numPasses = rlPass_BuildMaterial(material, passes);
    for (int i = 0; i < numPasses; i++) {
        const rlClipVertex* passVerts = rlPass_Apply(&passes[i], verts, 4);
        rlDevice_state.pDevice->DrawPrimitive(D3DPT_TRIANGLEFAN, FVF_TEX1, const_cast<rlClipVertex*>(passVerts), 4, 0);
    }
    return numPasses;
}
