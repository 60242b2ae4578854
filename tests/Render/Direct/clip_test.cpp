// Outcodes, the box test, both polygon clippers and the screen mapping, the clippers checked
// against a plain double-precision clipper written here.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "rlClip.h"

namespace {

// Reference: homogeneous points with their attributes, clipped against the six planes by
// their plane equations in doubles.
struct RefVertex {
    double p[4];
    double attr[8];   // colour channels a, r, g, b as numbers, then texture coordinates
};

using RefPolygon = std::vector<RefVertex>;

const double kPlanes[6][4] = {
    {0, 0, 1, 1},    // near: z + w >= 0
    {0, 0, -1, 1},   // far: w - z >= 0
    {1, 0, 0, 1},    // left: x + w >= 0
    {-1, 0, 0, 1},   // right: w - x >= 0
    {0, -1, 0, 1},   // top: w - y >= 0
    {0, 1, 0, 1},    // bottom: y + w >= 0
};

double Dot(const double* plane, const RefVertex& v)
{
    return plane[0] * v.p[0] + plane[1] * v.p[1] + plane[2] * v.p[2] + plane[3] * v.p[3];
}

RefPolygon RefClip(RefPolygon poly)
{
    for (const double* plane : kPlanes) {
        RefPolygon out;
        for (size_t i = 0; i < poly.size(); i++) {
            const RefVertex& a = poly[i];
            const RefVertex& b = poly[(i + 1) % poly.size()];
            const double da = Dot(plane, a), db = Dot(plane, b);
            // The near plane also holds back every point with w not above 0.
            const bool inA = da >= 0 && (plane != kPlanes[0] || a.p[3] > 0);
            const bool inB = db >= 0 && (plane != kPlanes[0] || b.p[3] > 0);
            if (inA) out.push_back(a);
            if (inA != inB) {
                const double t = da / (da - db);
                RefVertex v;
                for (int k = 0; k < 4; k++) v.p[k] = a.p[k] + (b.p[k] - a.p[k]) * t;
                for (int k = 0; k < 8; k++) v.attr[k] = a.attr[k] + (b.attr[k] - a.attr[k]) * t;
                out.push_back(v);
            }
        }
        poly = out;
        if (poly.size() < 3) return {};
    }
    return poly;
}

RefVertex ToRef(const rlClipVertex2& v)
{
    RefVertex r = {{v.x, v.y, v.z, v.w}, {}};
    for (int c = 0; c < 4; c++) r.attr[c] = (v.colour >> (24 - 8 * c)) & 0xFF;
    r.attr[4] = v.u0;
    r.attr[5] = v.v0;
    r.attr[6] = v.u1;
    r.attr[7] = v.v1;
    return r;
}

bool Matches(const RefVertex& ref, const rlClipVertex2& v)
{
    const RefVertex got = ToRef(v);
    for (int k = 0; k < 4; k++) {
        if (std::fabs(got.p[k] - ref.p[k]) > 1e-3 * (1 + std::fabs(ref.p[k]))) return false;
    }
    for (int c = 0; c < 4; c++) {
        // Channels are rounded at each plane crossed, the reference rounds nothing.
        if (std::fabs(got.attr[c] - ref.attr[c]) > 1.5) return false;
    }
    for (int k = 4; k < 8; k++) {
        if (std::fabs(got.attr[k] - ref.attr[k]) > 1e-3) return false;
    }
    return true;
}

// A vertex array with room to spare and its outcodes.
struct Scene {
    std::vector<rlClipVertex2> verts;
    std::vector<uint8_t> codes;
    rlClipArray<rlClipVertex2> array;

    explicit Scene(const std::vector<rlClipVertex2>& input, int room = 64)
        : verts(input), codes(input.size())
    {
        verts.resize(input.size() + room);
        codes.resize(verts.size());
        for (size_t i = 0; i < input.size(); i++) {
            const rlClipVertex2& v = input[i];
            codes[i] = rlClip_Outcode(v.x, v.y, v.z, v.w);
        }
        array = {verts.data(), codes.data(), (int)input.size(), (int)verts.size()};
    }
};

rlClipVertex2 V(float x, float y, float z, float w, uint32_t colour = 0xFF000000, float u = 0, float v = 0)
{
    return {x, y, z, w, colour, u, v, u * 2, v * 2};
}

uint32_t Lcg(uint32_t* state)
{
    *state = *state * 1664525u + 1013904223u;
    return *state >> 8;
}

float Random(uint32_t* state, float low, float high)
{
    return low + (high - low) * (float)(Lcg(state) & 0xFFFF) / 65535.0f;
}

}  // namespace

TEST(RasterClip, OutcodesCompareMagnitudesStrictly)
{
    EXPECT_EQ(rlClip_Outcode(0, 0, 0, 1), 0);
    EXPECT_EQ(rlClip_Outcode(1, -1, 1, 1), 0);  // on the planes: inside
    EXPECT_EQ(rlClip_Outcode(2, 0, 0, 1), RL_CLIP_RIGHT);
    EXPECT_EQ(rlClip_Outcode(-2, 0, 0, 1), RL_CLIP_LEFT);
    EXPECT_EQ(rlClip_Outcode(0, 2, 0, 1), RL_CLIP_TOP);
    EXPECT_EQ(rlClip_Outcode(0, -2, 0, 1), RL_CLIP_BOTTOM);
    EXPECT_EQ(rlClip_Outcode(0, 0, 2, 1), RL_CLIP_FAR);
    EXPECT_EQ(rlClip_Outcode(0, 0, -2, 1), RL_CLIP_NEAR);
    EXPECT_EQ(rlClip_Outcode(5, 5, 5, 1), RL_CLIP_RIGHT | RL_CLIP_TOP | RL_CLIP_FAR);
    EXPECT_EQ(rlClip_Outcode(5, 5, 5, 0), RL_CLIP_NEAR);
    EXPECT_EQ(rlClip_Outcode(5, 5, 5, -1), RL_CLIP_NEAR);
}

TEST(RasterClip, BoxesInsideCrossingAndOutside)
{
    mathMatrix identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    const mathBox inside = {{-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}};
    const mathBox straddling = {{0.5f, -0.5f, -0.5f}, {1.5f, 0.5f, 0.5f}};
    const mathBox beside = {{2, -0.5f, -0.5f}, {3, 0.5f, 0.5f}};
    EXPECT_EQ(rlBounds_Test(&inside, &identity), RL_BOUNDS_INSIDE);
    EXPECT_EQ(rlBounds_Test(&straddling, &identity), RL_BOUNDS_CROSSING);
    EXPECT_EQ(rlBounds_Test(&beside, &identity), RL_BOUNDS_OUTSIDE);
    // w = -z: a box at positive z lies behind the eye.
    mathMatrix behind = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -1, 0, 0, 0, 0}};
    const mathBox back = {{-1, -1, 1}, {1, 1, 2}};
    EXPECT_EQ(rlBounds_Test(&back, &behind), RL_BOUNDS_OUTSIDE);
}

TEST(RasterClip, ATriangleInsideKeepsItsVertices)
{
    Scene s({V(0, 0, 0, 1), V(0.5f, 0, 0, 1), V(0, 0.5f, 0, 1)});
    uint16_t poly[RL_CLIP_MAX_POLYGON] = {0, 1, 2};
    EXPECT_EQ(rlPolygon_ClipTex2(&s.array, poly, 3), 3);
    EXPECT_EQ(s.array.numVerts, 3);
    EXPECT_EQ(poly[0], 0);
    EXPECT_EQ(poly[2], 2);
}

TEST(RasterClip, AVertexBehindTheEyeMakesAQuadrilateralOnTheNearPlane)
{
    // Vertex 0 at w = -1 (behind), colours and coordinates to interpolate.
    Scene s({V(0, 0, -2, -1, 0xFF0000FF, 0, 0), V(0.5f, 0, 0.5f, 1, 0xFFFF0000, 1, 0),
             V(0, 0.5f, 0.5f, 1, 0x80000000, 0, 1)});
    uint16_t poly[RL_CLIP_MAX_POLYGON] = {0, 1, 2};
    const int n = rlPolygon_ClipTex2(&s.array, poly, 3);
    ASSERT_EQ(n, 4);
    EXPECT_EQ(s.array.numVerts, 5);
    // Edge 0 -> 1: z + w goes from -3 to 1.5, so t = 3 / 4.5.
    const rlClipVertex2& a = s.verts[poly[n - 1]];
    const rlClipVertex2& b = s.verts[poly[0]];
    for (const rlClipVertex2* v : {&a, &b}) EXPECT_NEAR(v->z + v->w, 0.0f, 1e-5f);
    const float t = 3.0f / 4.5f;
    const rlClipVertex2& on01 = s.verts[3];  // the first edge's new vertex comes first
    EXPECT_NEAR(on01.x, 0.5f * t, 1e-5f);
    EXPECT_NEAR(on01.u0, t, 1e-5f);
    EXPECT_NEAR(on01.u1, 2 * t, 1e-5f);
    EXPECT_EQ(on01.colour, 0xFF000000u | (uint32_t)lroundf(255 * t) << 16 | (uint32_t)lroundf(255 * (1 - t)));
}

TEST(RasterClip, ATriangleBeyondOnePlaneIsEmpty)
{
    for (float x : {2.0f, -2.0f}) {
        Scene s({V(x, 0, 0, 1), V(x * 1.5f, 0, 0, 1), V(x, 0.5f, 0, 1)});
        uint16_t poly[RL_CLIP_MAX_POLYGON] = {0, 1, 2};
        EXPECT_EQ(rlPolygon_ClipTex2(&s.array, poly, 3), 0);
    }
    Scene behind({V(0, 0, -2, -1), V(1, 0, -2, -1), V(0, 1, -3, -2)});
    uint16_t poly[RL_CLIP_MAX_POLYGON] = {0, 1, 2};
    EXPECT_EQ(rlPolygon_ClipTex2(&behind.array, poly, 3), 0);
    EXPECT_EQ(behind.array.numVerts, 3);
}

TEST(RasterClip, RandomTrianglesMatchTheReferenceClipper)
{
    uint32_t seed = 12345;
    int clipped = 0;
    for (int round = 0; round < 2000; round++) {
        std::vector<rlClipVertex2> tri;
        for (int k = 0; k < 3; k++) {
            // Camera-space points through a projection with near 1 and far 100.
            const float depth = Random(&seed, -5, 120);
            const float x = Random(&seed, -80, 80), y = Random(&seed, -80, 80);
            tri.push_back(V(x, y * 1.25f, depth * 100 / 99 - 100.0f / 99, depth,
                            0xFF000000u | (Lcg(&seed) & 0xFFFFFF), Random(&seed, 0, 1), Random(&seed, 0, 1)));
        }
        RefPolygon expected = RefClip({ToRef(tri[0]), ToRef(tri[1]), ToRef(tri[2])});
        Scene s(tri);
        uint16_t poly[RL_CLIP_MAX_POLYGON] = {0, 1, 2};
        const int n = rlPolygon_ClipTex2(&s.array, poly, 3);
        SCOPED_TRACE(round);
        ASSERT_EQ((size_t)n, expected.size());
        if (n) clipped++;
        // The same polygon, in the same turning order, from some starting vertex.
        int start = -1;
        for (int i = 0; i < n && start < 0; i++) {
            if (Matches(expected[0], s.verts[poly[i]])) start = i;
        }
        ASSERT_TRUE(n == 0 || start >= 0);
        for (int i = 0; i < n; i++) {
            const rlClipVertex2& v = s.verts[poly[(start + i) % n]];
            ASSERT_TRUE(Matches(expected[i], v)) << "vertex " << i;
            EXPECT_LE(s.array.numVerts, s.array.capacity);
        }
    }
    EXPECT_GT(clipped, 100);
}

TEST(RasterClip, TheOneSetClipperAgreesWithTheTwoSetClipper)
{
    std::vector<rlClipVertex> one = {{0, 0, -2, -1, 0xFFFFFFFF, 0, 0},
                                     {1.5f, 0, 0.5f, 1, 0xFF000000, 1, 0},
                                     {0, 1.5f, 0.5f, 1, 0xFF00FF00, 0, 1}};
    std::vector<rlClipVertex2> two;
    for (const rlClipVertex& v : one) two.push_back(V(v.x, v.y, v.z, v.w, v.colour, v.u, v.v));
    Scene s2(two);
    std::vector<rlClipVertex> verts1 = one;
    verts1.resize(64);
    std::vector<uint8_t> codes1(64);
    for (int i = 0; i < 3; i++) codes1[i] = s2.codes[i];
    rlClipArray<rlClipVertex> a1 = {verts1.data(), codes1.data(), 3, 64};
    uint16_t p1[RL_CLIP_MAX_POLYGON] = {0, 1, 2}, p2[RL_CLIP_MAX_POLYGON] = {0, 1, 2};
    const int n = rlPolygon_Clip(&a1, p1, 3);
    ASSERT_EQ(n, rlPolygon_ClipTex2(&s2.array, p2, 3));
    ASSERT_GE(n, 3);
    EXPECT_GT(a1.numVerts, 3);
    for (int i = 0; i < n; i++) {
        EXPECT_EQ(p1[i], p2[i]);
        EXPECT_EQ(verts1[p1[i]].x, s2.verts[p2[i]].x);
        EXPECT_EQ(verts1[p1[i]].colour, s2.verts[p2[i]].colour);
        EXPECT_EQ(verts1[p1[i]].v, s2.verts[p2[i]].v0);
    }
}

TEST(RasterClip, AFullArrayRejectsThePolygonInsteadOfWritingPastIt)
{
    Scene s({V(0, 0, -2, -1), V(0.5f, 0, 0.5f, 1), V(0, 0.5f, 0.5f, 1)}, 1);
    uint16_t poly[RL_CLIP_MAX_POLYGON] = {0, 1, 2};
    EXPECT_EQ(rlPolygon_ClipTex2(&s.array, poly, 3), 0);
    EXPECT_EQ(s.array.numVerts, 4);
    EXPECT_EQ(s.array.capacity, 4);
    uint16_t tooLong[RL_CLIP_MAX_POLYGON] = {};
    EXPECT_EQ(rlPolygon_ClipTex2(&s.array, tooLong, RL_CLIP_MAX_POLYGON), 0);
}

TEST(RasterClip, ScreenMappingUsesTheCameraCentreAndScale)
{
    Camera camera = {};
    camera.centreX = 320.5f;
    camera.centreY = 240.5f;
    camera.scaleX = 320.5f;
    camera.scaleY = 240.5f;
    rlClipVertex2 verts[2] = {V(1, 1, 0.5f, 2), V(1, 1, 1, -1)};
    rlClip_ScreenMapTex2(&camera, verts, 2);
    EXPECT_FLOAT_EQ(verts[0].x, 320.5f + 320.5f * 0.5f);
    EXPECT_FLOAT_EQ(verts[0].y, 240.5f - 240.5f * 0.5f);
    EXPECT_FLOAT_EQ(verts[0].z, 0.25f);
    EXPECT_FLOAT_EQ(verts[0].w, 0.5f);
    EXPECT_EQ(verts[1].x, 1.0f);  // behind the eye: left alone
    EXPECT_EQ(verts[1].w, -1.0f);

    mathMatrix scale = {{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}};
    const mathVec3 points[2] = {{1, 1, 2}, {5, 0, 2}};
    rlClipVertex out[2];
    uint8_t codes[2];
    rlClip_TransformPoints(&scale, points, 2, out, codes);
    EXPECT_EQ(out[0].x, 2.0f);
    EXPECT_EQ(out[0].w, 2.0f);
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(codes[1], RL_CLIP_RIGHT);
}
