#include "rlClip.h"

#include <cmath>
#include <cstring>

namespace {

// The planes after the near plane, in the order they are clipped.
const uint8_t kPlaneOrder[] = {RL_CLIP_FAR, RL_CLIP_LEFT, RL_CLIP_RIGHT, RL_CLIP_TOP, RL_CLIP_BOTTOM};

// Signed distance of a point from a plane: positive inside. The near plane is z = -w, the
// positive planes c = w, the negative ones c = -w.
template <class Vertex>
float PlaneDistance(const Vertex& v, uint8_t plane)
{
    switch (plane) {
    case RL_CLIP_NEAR: return v.z + v.w;
    case RL_CLIP_FAR: return v.w - v.z;
    case RL_CLIP_RIGHT: return v.w - v.x;
    case RL_CLIP_LEFT: return v.x + v.w;
    case RL_CLIP_TOP: return v.w - v.y;
    default: return v.y + v.w;
    }
}

uint32_t LerpColour(uint32_t a, uint32_t b, float t)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float ca = (float)((a >> shift) & 0xFF), cb = (float)((b >> shift) & 0xFF);
        out |= (uint32_t)lroundf(ca + (cb - ca) * t) << shift;
    }
    return out;
}

// Every float of the vertex but the colour word is interpolated.
template <class Vertex>
Vertex Lerp(const Vertex& a, const Vertex& b, float t)
{
    static_assert(offsetof(Vertex, colour) == 16);
    const int numFloats = (int)(sizeof(Vertex) / 4);
    float fa[numFloats], fb[numFloats], out[numFloats];
    memcpy(fa, &a, sizeof a);
    memcpy(fb, &b, sizeof b);
    for (int i = 0; i < numFloats; i++) out[i] = fa[i] + (fb[i] - fa[i]) * t;
    Vertex v;
    memcpy(&v, out, sizeof v);
    v.colour = LerpColour(a.colour, b.colour, t);
    return v;
}

// One plane of the edge walk: inside vertices are kept, each edge that crosses the plane
// adds a vertex where it meets it. Returns the new count, -1 when the array is full.
template <class Vertex>
int ClipPlane(rlClipArray<Vertex>* array, const uint16_t* in, int count, uint16_t* out, uint8_t plane)
{
    int n = 0;
    for (int j = 0; j < count; j++) {
        const uint16_t ia = in[j], ib = in[(j + 1) % count];
        const bool insideA = !(array->codes[ia] & plane);
        const bool insideB = !(array->codes[ib] & plane);
        if (insideA) out[n++] = ia;
        if (insideA == insideB) continue;
        if (array->numVerts >= array->capacity) return -1;
        const Vertex& a = array->verts[ia];
        const Vertex& b = array->verts[ib];
        const float da = PlaneDistance(a, plane), db = PlaneDistance(b, plane);
        float t = da - db != 0.0f ? da / (da - db) : 0.0f;
        t = t < 0.0f ? 0.0f : t > 1.0f ? 1.0f : t;
        const int index = array->numVerts++;
        Vertex& v = array->verts[index];
        v = Lerp(a, b, t);
        // The new vertex lies on this plane: rounding must not put it outside again.
        array->codes[index] = (uint8_t)(rlClip_Outcode(v.x, v.y, v.z, v.w) & ~plane);
        out[n++] = (uint16_t)index;
    }
    return n;
}

template <class Vertex>
uint8_t UnionOfCodes(const rlClipArray<Vertex>* array, const uint16_t* polygon, int count)
{
    uint8_t codes = 0;
    for (int i = 0; i < count; i++) codes |= array->codes[polygon[i]];
    return codes;
}

template <class Vertex>
int ClipPolygon(rlClipArray<Vertex>* array, uint16_t* polygon, int count)
{
    if (count < 3 || count > RL_CLIP_MAX_POLYGON - 6) return 0;
    uint16_t work[RL_CLIP_MAX_POLYGON];
    uint8_t planes = UnionOfCodes(array, polygon, count);
    if (planes & RL_CLIP_NEAR) {
        uint8_t all = 0xFF;
        for (int i = 0; i < count; i++) all &= array->codes[polygon[i]];
        if (all & RL_CLIP_NEAR) return 0;
        count = ClipPlane(array, polygon, count, work, RL_CLIP_NEAR);
        if (count < 3) return 0;
        memcpy(polygon, work, (size_t)count * sizeof *polygon);
        planes = (uint8_t)(UnionOfCodes(array, polygon, count) & ~RL_CLIP_NEAR);
        if (!planes) return count;
    }
    for (uint8_t plane : kPlaneOrder) {
        if (!(planes & plane)) continue;
        count = ClipPlane(array, polygon, count, work, plane);
        if (count < 3) return 0;
        memcpy(polygon, work, (size_t)count * sizeof *polygon);
    }
    return count;
}

template <class Vertex>
void ScreenMap(const Camera* camera, Vertex* verts, int count)
{
    for (int i = 0; i < count; i++) {
        Vertex& v = verts[i];
        if (!(v.w > 0.0f)) continue;
        const float r = 1.0f / v.w;
        v.x = camera->centreX + r * camera->scaleX * v.x;
        v.y = camera->centreY - r * camera->scaleY * v.y;
        v.z = r * v.z;
        v.w = r;
    }
}

}  // namespace

uint8_t rlClip_Outcode(float x, float y, float z, float w)
{
    if (!(w > 0.0f)) return RL_CLIP_NEAR;
    uint8_t code = 0;
    if (fabsf(x) > w) code |= x > 0 ? RL_CLIP_RIGHT : RL_CLIP_LEFT;
    if (fabsf(y) > w) code |= y > 0 ? RL_CLIP_TOP : RL_CLIP_BOTTOM;
    if (fabsf(z) > w) code |= z > 0 ? RL_CLIP_FAR : RL_CLIP_NEAR;
    return code;
}

int rlBounds_Test(const mathBox* box, const mathMatrix* matrix)
{
    const float* m = matrix->m;
    uint8_t all = 0xFF, any = 0;
    for (int corner = 0; corner < 8; corner++) {
        const float x = (corner & 1) ? box->vMax.x : box->vMin.x;
        const float y = (corner & 2) ? box->vMax.y : box->vMin.y;
        const float z = (corner & 4) ? box->vMax.z : box->vMin.z;
        const uint8_t code = rlClip_Outcode(x * m[0] + y * m[4] + z * m[8] + m[12],
                                            x * m[1] + y * m[5] + z * m[9] + m[13],
                                            x * m[2] + y * m[6] + z * m[10] + m[14],
                                            x * m[3] + y * m[7] + z * m[11] + m[15]);
        all &= code;
        any |= code;
        if (!all && any) return RL_BOUNDS_CROSSING;
    }
    if (all) return RL_BOUNDS_OUTSIDE;
    return any ? RL_BOUNDS_CROSSING : RL_BOUNDS_INSIDE;
}

int rlPolygon_Clip(rlClipArray<rlClipVertex>* array, uint16_t* polygon, int count)
{
    return ClipPolygon(array, polygon, count);
}

int rlPolygon_ClipTex2(rlClipArray<rlClipVertex2>* array, uint16_t* polygon, int count)
{
    return ClipPolygon(array, polygon, count);
}

void rlClip_TransformPoints(const mathMatrix* matrix, const mathVec3* points, int count,
                            rlClipVertex* out, uint8_t* codes)
{
    const float* m = matrix->m;
    for (int i = 0; i < count; i++) {
        const mathVec3& p = points[i];
        rlClipVertex& v = out[i];
        v.x = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
        v.y = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
        v.z = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
        v.w = p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15];
        codes[i] = rlClip_Outcode(v.x, v.y, v.z, v.w);
    }
}

void rlClip_ScreenMap(const Camera* camera, rlClipVertex* verts, int count)
{
    ScreenMap(camera, verts, count);
}

void rlClip_ScreenMapTex2(const Camera* camera, rlClipVertex2* verts, int count)
{
    ScreenMap(camera, verts, count);
}
