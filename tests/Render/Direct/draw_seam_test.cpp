// Primitive drawing through the DirectDraw double: what each operation hands the device,
// batches that never overrun the work arrays, and the vertex buffer's life.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>
#include "drawTestSupport.h"
#include "fakeDirectDraw.h"
#include "fakeDraw.h"
#include "lightGroupRecord.h"
#include "lightRecord.h"
#include "rasterDrawRecords.h"
#include "rasterTestWindow.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlDraw.h"
#include "rlDrawGroup.h"
#include "rlBatch.h"
#include "rlMain.h"
#include "rlMode.h"
#include "rlTexture.h"

namespace {

class RasterDraws : public ::testing::Test {
protected:
    void SetUp() override { open(FakeDrawConfig()); }
    void TearDown() override
    {
        rlMain_Close();
        EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
        EXPECT_EQ(fakeDraw_LiveBuffers(), 0);
        rlCamera_pCurrent = nullptr;
        fake_Uninstall();
    }
    void open(const FakeDrawConfig& drawConfig)
    {
        rlMain_Close();
        fake_Install(FakeConfig());
        fakeDraw_Reset(drawConfig);
        rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(true);
        ASSERT_EQ(rlMain_Open(&settings), 1);
        rlCamera_SetCurrent(&camera);
        fakeDraw_Draws().clear();
    }
    static std::vector<rlClipVertex> verts(const FakeDrawCall& call)
    {
        std::vector<rlClipVertex> out(call.numVerts);
        memcpy(out.data(), call.verts.data(), out.size() * sizeof(rlClipVertex));
        return out;
    }
    int trianglesDrawn() const
    {
        int triangles = 0;
        for (const FakeDrawCall& call : fakeDraw_Draws()) triangles += int(call.indices.size() / 3);
        return triangles;
    }

    RasterTestWindow window;
    renderSettings settings;
    Camera camera = drawTest_Camera();
};

rlQuad quadAt(float x, float y, float z, float size, uint32_t colour)
{
    return {{{x, y, z}, {x + size, y, z}, {x + size, y + size, z}, {x, y + size, z}}, colour};
}

// A screen record of 80 bytes with x, y at the start and u, v at bytes 60 and 64.
struct ScreenRecord {
    float x, y;
    uint8_t unused[52];
    float u, v;
    uint8_t rest[12];
};
static_assert(sizeof(ScreenRecord) == 80);

}  // namespace

TEST_F(RasterDraws, ScreenFaceImmediateDrawsAFanOfTheCallersVertices)
{
    ScreenRecord records[4] = {};
    const float corners[4][4] = {{10, 20, 0, 0}, {10, 60, 0, 1}, {50, 60, 1, 1}, {50, 20, 1, 0}};
    for (int i = 0; i < 4; i++) {
        records[i].x = corners[i][0];
        records[i].y = corners[i][1];
        records[i].u = corners[i][2];
        records[i].v = corners[i][3];
    }
    EXPECT_EQ(rlDraw_ScreenFaceImmediate(4, records, 11, 0, 0x80FF0000), D3D_OK);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    const FakeDrawCall& call = fakeDraw_Draws()[0];
    EXPECT_EQ(call.type, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(call.fvf, 0x144u);
    const std::vector<rlClipVertex> v = verts(call);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(v[i].x, corners[i][0]);
        EXPECT_EQ(v[i].y, corners[i][1]);
        EXPECT_EQ(v[i].z, 0.0f);
        EXPECT_EQ(v[i].w, 1.0f);
        EXPECT_EQ(v[i].colour, 0x80FF0000u);
        EXPECT_EQ(v[i].u, corners[i][2]);
        EXPECT_EQ(v[i].v, corners[i][3]);
    }
    EXPECT_EQ(rlMode_Cache()->mode, 11);
    // Fewer than three vertices draw nothing; a count past the work array is cut.
    EXPECT_EQ(rlDraw_ScreenFaceImmediate(2, records, 11, 0, 0), D3D_OK);
    std::vector<ScreenRecord> many(9000, records[0]);
    rlDraw_ScreenFaceImmediate(9000, many.data(), 11, 0, 0);
    ASSERT_EQ(fakeDraw_Draws().size(), 2u);
    EXPECT_EQ(fakeDraw_Draws()[1].numVerts, RL_BATCH_MAX_VERTS);
}

TEST_F(RasterDraws, SpritesAreDrawnOnlyForPointsInsideTheView)
{
    Material material = drawTest_Material(19);
    const rlPoint points[] = {
        {{0, 0, 10}, 0xFF00FF00, 0, 2.0f},     // straight ahead
        {{0, 0, -10}, 0xFF00FF00, 0, 2.0f},    // behind the eye
        {{100, 0, 10}, 0xFF00FF00, 0, 2.0f},   // right of the view
        {{5, -5, 20}, 0x80FFFFFF, 0, 4.0f},
    };
    EXPECT_EQ(rlDraw_SpriteList(&material, &points[0].position.x, 4), 4);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    const FakeDrawCall& call = fakeDraw_Draws()[0];
    EXPECT_EQ(call.type, D3DPT_TRIANGLELIST);
    ASSERT_EQ(call.numVerts, 8);
    EXPECT_EQ(call.indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
    const std::vector<rlClipVertex> v = verts(call);
    // Centre (320, 240), half size 2 / 10 x 320 and 2 / 10 x 240.
    EXPECT_FLOAT_EQ(v[0].x, 320 - 64);
    EXPECT_FLOAT_EQ(v[0].y, 240 - 48);
    EXPECT_FLOAT_EQ(v[2].x, 320 + 64);
    EXPECT_FLOAT_EQ(v[2].y, 240 + 48);
    EXPECT_FLOAT_EQ(v[0].w, 0.1f);
    EXPECT_EQ(v[2].u, 1.0f);
    EXPECT_EQ(v[1].v, 1.0f);
    EXPECT_EQ(v[4].colour, 0x80FFFFFFu);
    EXPECT_FLOAT_EQ(v[4].x, 320 + 320 * 5 / 20.0f - 4 / 20.0f * 320);

    // Halos lie at depth 0 with rhw 1; a fixed-size halo keeps its size at any distance.
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlDraw_HaloList(&material, &points[3].position.x, 1, 1), 2);
    const std::vector<rlClipVertex> h = verts(fakeDraw_Draws()[0]);
    EXPECT_EQ(h[0].z, 0.0f);
    EXPECT_EQ(h[0].w, 1.0f);
    EXPECT_FLOAT_EQ(h[2].x - h[0].x, 2 * 4 * 320.0f);

    // Points: one colour and the size scaled.
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlDraw_PointList(&material, &points[0].position.x, 1, 0, 0.5f, 0xFF123456), 2);
    const std::vector<rlClipVertex> p = verts(fakeDraw_Draws()[0]);
    EXPECT_EQ(p[0].colour, 0xFF123456u);
    EXPECT_FLOAT_EQ(p[2].x - p[0].x, 64.0f);

    // No visible point: nothing is drawn.
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlDraw_SpriteList(&material, &points[1].position.x, 2), 0);
    EXPECT_TRUE(fakeDraw_Draws().empty());
}

TEST_F(RasterDraws, ManySpritesAreDrawnInBatchesThatFitTheArrays)
{
    Material material = drawTest_Material(19);
    std::vector<rlPoint> points(5000, rlPoint{{0, 0, 50}, 0xFFFFFFFF, 0, 1.0f});
    EXPECT_EQ(rlDraw_SpriteList(&material, &points[0].position.x, 5000), 10000);
    ASSERT_EQ(fakeDraw_Draws().size(), 3u);   // 2048 sprites fill 8192 vertices
    for (const FakeDrawCall& call : fakeDraw_Draws()) {
        EXPECT_LE(call.numVerts, RL_BATCH_MAX_VERTS);
        for (uint16_t index : call.indices) ASSERT_LT(index, call.numVerts);
    }
    EXPECT_EQ(trianglesDrawn(), 10000);
}

TEST_F(RasterDraws, QuadsAreSkippedFannedOrClipped)
{
    Material material = drawTest_Material(3);
    const rlQuad quads[] = {
        quadAt(-1, -1, 10, 2, 0xFFFF0000),     // inside: two triangles
        quadAt(-1, -1, -5, 2, 0xFFFF0000),     // behind the eye: skipped
        quadAt(50, -1, 10, 2, 0xFFFF0000),     // right of the view: skipped
        quadAt(5, -1, 10, 10, 0xFF00FF00),     // crosses the right plane: clipped
    };
    const int drawn = rlDraw_QuadList(quads, 4, &material);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    const FakeDrawCall& call = fakeDraw_Draws()[0];
    EXPECT_EQ(drawn, int(call.indices.size() / 3));
    EXPECT_EQ(std::vector<uint16_t>(call.indices.begin(), call.indices.begin() + 6),
              (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_GT(drawn, 2);
    const std::vector<rlClipVertex> v = verts(call);
    for (size_t i = 6; i < call.indices.size(); i++) EXPECT_LE(v[call.indices[i]].x, 640.5f);
    EXPECT_EQ(v[0].u, 0.0f);
    EXPECT_EQ(v[2].u, 1.0f);
    EXPECT_EQ(v[2].v, 1.0f);

    // Three thousand quads (12,000 vertices) are drawn in batches.
    fakeDraw_Draws().clear();
    std::vector<rlQuad> many(3000, quadAt(-1, -1, 10, 2, 0xFFFFFFFF));
    EXPECT_EQ(rlDraw_QuadList(many.data(), 3000, &material), 6000);
    EXPECT_EQ(fakeDraw_Draws().size(), 2u);
    for (const FakeDrawCall& call : fakeDraw_Draws()) EXPECT_LE(call.numVerts, RL_BATCH_MAX_VERTS);
}

TEST_F(RasterDraws, BeamsStripsAndFacesOfTheirOwnVertices)
{
    Material material = drawTest_Material(20);
    const rlBeam beam = {{1, 0, 0}, {0, -2, 10}, {0, 2, 10}, 0.5f, 0xFF0000FF};
    EXPECT_EQ(rlDraw_FanList(&beam, 1, &material), 2);
    std::vector<rlClipVertex> v = verts(fakeDraw_Draws()[0]);
    EXPECT_FLOAT_EQ(v[0].x, 320 + 320 * 0.05f);   // start + side x width
    EXPECT_FLOAT_EQ(v[1].x, 320 - 320 * 0.05f);

    const mathVec3 left[3] = {{-1, -1, 10}, {-1, 0, 10}, {-1, 1, 10}};
    const mathVec3 right[3] = {{1, -1, 10}, {1, 0, 10}, {1, 1, 10}};
    const rlStrip strip = {&material, 0xFFFFFFFF, 3, left, right};
    EXPECT_EQ(rlDraw_QuadStrip(&strip, 0), 4);

    // A face: fewer than three vertices draw nothing; more than a clipped face can keep are cut.
    fakeDraw_Draws().clear();
    const float tri[9] = {-1, -1, 10, 1, -1, 10, 0, 1, 10};
    EXPECT_EQ(rlDraw_Face(2, tri, nullptr, nullptr, 3, nullptr, 0), 0);
    EXPECT_EQ(rlDraw_Face(0, tri, nullptr, nullptr, 3, nullptr, 0), 0);
    EXPECT_EQ(rlDraw_Face(-4, tri, nullptr, nullptr, 3, nullptr, 0), 0);
    EXPECT_TRUE(fakeDraw_Draws().empty());
    EXPECT_EQ(rlDraw_Face(3, tri, nullptr, nullptr, 3, nullptr, 0), 1);
    std::vector<float> circle;
    for (int i = 0; i < 100; i++) {
        circle.push_back(std::cos(i * 0.0628f));
        circle.push_back(std::sin(i * 0.0628f));
        circle.push_back(10.0f);
    }
    EXPECT_EQ(rlDraw_Face(100, circle.data(), nullptr, nullptr, 3, nullptr, 0), RL_FACE_MAX_VERTS - 2);
}

TEST_F(RasterDraws, FacesOfTheVertexPool)
{
    std::vector<float> points = {-1, -1, 10, 1, -1, 10, 1, 1, 10, -1, 1, 10, 0, 0, -10};
    EXPECT_EQ(rlDraw_SetVertexPool(points.data(), 5), 5u);
    const uint16_t quad[4] = {0, 1, 2, 3};
    const float uvs[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    EXPECT_EQ(rlDraw_FaceIndexed(4, quad, 3, nullptr, uvs, nullptr, 0xFFAABBCC, 0), 2);
    const std::vector<rlClipVertex> v = verts(fakeDraw_Draws()[0]);
    EXPECT_FLOAT_EQ(v[0].x, 320 - 32);
    EXPECT_EQ(v[2].u, 1.0f);
    EXPECT_EQ(v[1].colour, 0xFFAABBCCu);
    // An index outside the pool draws nothing.
    const uint16_t bad[3] = {0, 1, 7};
    EXPECT_EQ(rlDraw_FaceIndexedSort(3, bad, 3, 0, nullptr, nullptr, 0, 0), 0);
    // A pool larger than its array is cut.
    std::vector<float> many(3 * 9000, 1.0f);
    EXPECT_EQ(rlDraw_SetVertexPool(many.data(), 9000), uint32_t(RL_BATCH_MAX_VERTS));

    // A deferred face waits for the flush.
    rlDraw_SetVertexPool(points.data(), 5);
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlDraw_FaceIndexed(4, quad, 3, nullptr, uvs, nullptr, 0xFFFFFFFF, 1), 0);
    EXPECT_TRUE(fakeDraw_Draws().empty());
    rlDraw_FlushCache(0);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    EXPECT_EQ(fakeDraw_Draws()[0].type, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(fakeDraw_Draws()[0].numVerts, 4);
}

TEST_F(RasterDraws, ScreenFaceTakesTextureCornersFromTheFrame)
{
    Bitmap texture;
    memset(&texture, 0, sizeof texture);
    Material material = drawTest_Material(11, &texture);
    const mathVec2 topLeft = {100, 50}, bottomRight = {200, 150};
    mathFrame frame = {{0.5f, 0, 0, 0, 0.25f, 0, 0, 0, 1, 0.1f, 0.2f, 0}};
    EXPECT_EQ(rlDraw_ScreenFace(&material, &topLeft, &bottomRight, 0xFFFFFFFF, &frame), 1);
    const std::vector<rlClipVertex> v = verts(fakeDraw_Draws()[0]);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[1].x, 100.0f);
    EXPECT_EQ(v[1].y, 150.0f);
    EXPECT_FLOAT_EQ(v[0].u, 0.1f);
    EXPECT_FLOAT_EQ(v[1].v, 0.45f);
    EXPECT_FLOAT_EQ(v[2].u, 0.6f);
    EXPECT_FLOAT_EQ(v[3].u, 0.6f);
    EXPECT_FLOAT_EQ(v[3].v, 0.2f);
}

TEST_F(RasterDraws, ShadowFaceChangesAtMostTheMode)
{
    rlMode_SetMode(3);
    const size_t before = fakeDraw_States().size();
    const rlShadowPoint points[3] = {{1, 2}, {3, 4}, {5, 6}};
    rlDraw_ShadowFace(3, points, 3);
    EXPECT_EQ(fakeDraw_States().size(), before);
    rlDraw_ShadowFace(3, points, 30);
    EXPECT_EQ(rlMode_Cache()->mode, 30);
    EXPECT_TRUE(fakeDraw_Draws().empty());
}

TEST_F(RasterDraws, SurfaceGroupsDrawThroughTheVertexBuffer)
{
    EXPECT_TRUE(rlDrawGroup_HasVertexBuffer());
    DrawTestSquare nearGroup(10), farGroup(20), behindGroup(-10);
    Material material = drawTest_Material(3);
    nearGroup.group.pMaterial = &material;
    nearGroup.group.lightmap = 0;
    EXPECT_EQ(rlDraw_SurfaceGroup(&nearGroup.group, 0), 2);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    EXPECT_TRUE(fakeDraw_Draws()[0].bVertexBuffer);
    EXPECT_EQ(fakeDraw_Draws()[0].fvf, 0x244u);
    EXPECT_EQ(rlDraw_SurfaceGroup(&behindGroup.group, 0), 0);

    // Seen from behind: the face is skipped.
    DrawTestSquare backGroup(10);
    backGroup.faces[0].normal = {0, 0, 1};
    backGroup.faces[0].distance = 10;
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlDraw_SurfaceGroup(&backGroup.group, 0), 0);
    EXPECT_TRUE(fakeDraw_Draws().empty());

    // Deferred groups come back nearest first, once.
    EXPECT_EQ(rlDraw_SurfaceGroup(&farGroup.group, RL_GROUP_DRAW_DEFER), 2);
    EXPECT_EQ(rlDraw_SurfaceGroup(&nearGroup.group, RL_GROUP_DRAW_DEFER), 2);
    EXPECT_TRUE(fakeDraw_Draws().empty());
    EXPECT_EQ(rlDraw_SortedGroups(), 0);
    ASSERT_EQ(fakeDraw_Draws().size(), 2u);
    rlClipVertex2 first;
    memcpy(&first, fakeDraw_Draws()[0].verts.data(), sizeof first);
    EXPECT_FLOAT_EQ(first.w, 0.1f);
    EXPECT_EQ(rlDraw_SortedGroups(), 0);
    EXPECT_EQ(fakeDraw_Draws().size(), 2u);

    // The z-only flag draws the group once more in the z-only mode.
    fakeDraw_Draws().clear();
    rlDraw_SurfaceGroup(&nearGroup.group, RL_GROUP_DRAW_ZONLY);
    EXPECT_EQ(fakeDraw_Draws().size(), 2u);
    EXPECT_EQ(rlMode_Cache()->mode, 31);

    // A face naming a point the group does not have is skipped.
    nearGroup.indices[2] = 40;
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlDraw_SurfaceGroup(&nearGroup.group, 0), 0);
}

TEST_F(RasterDraws, WithoutAVertexBufferGroupsAreDrawnFromMemory)
{
    FakeDrawConfig config;
    config.bVertexBufferFails = true;
    open(config);
    EXPECT_EQ(fakeDraw_Calls("CreateVertexBuffer"), 1);
    EXPECT_FALSE(rlDrawGroup_HasVertexBuffer());
    DrawTestSquare nearGroup(10);
    EXPECT_EQ(rlDraw_SurfaceGroup(&nearGroup.group, 0), 2);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    EXPECT_FALSE(fakeDraw_Draws()[0].bVertexBuffer);
    EXPECT_EQ(fakeDraw_Draws()[0].fvf, 0x244u);
}

TEST_F(RasterDraws, AGroupIsBuiltOncePerFrameAndCamera)
{
    // A build shows in the colour its points had when it was made.
    DrawTestSquare wall(10);
    std::vector<uint32_t> colours(4);
    wall.group.pColours = colours.data();
    int builds = 0;
    uint32_t lastBuilt = 0;
    auto draw = [&](uint32_t colour, int flags) {
        std::fill(colours.begin(), colours.end(), colour);
        fakeDraw_Draws().clear();
        rlDraw_SurfaceGroup(&wall.group, flags);
        if (flags & RL_GROUP_DRAW_DEFER) rlDraw_SortedGroups();
        rlClipVertex2 first;
        memcpy(&first, fakeDraw_Draws().at(0).verts.data(), sizeof first);
        if (first.colour != lastBuilt) builds++;
        lastBuilt = first.colour;
        return first.colour;
    };
    EXPECT_EQ(draw(0xFF000001, 0), 0xFF000001u);
    EXPECT_EQ(draw(0xFF000002, 0), 0xFF000001u) << "the frame's vertices again";
    EXPECT_EQ(wall.group.builtFrame, rlDevice_state.frameNumber);
    EXPECT_EQ(builds, 1);
    rlMain_Swap(0);
    EXPECT_EQ(draw(0xFF000003, 0), 0xFF000003u);
    EXPECT_EQ(builds, 2);

    // Deferred, it is built when it is handed over and drawn from that build; flag 0x40 builds
    // again, and so does a camera that moved within the frame.
    rlMain_Swap(0);
    EXPECT_EQ(draw(0xFF000004, RL_GROUP_DRAW_DEFER), 0xFF000004u);
    EXPECT_EQ(draw(0xFF000005, 0), 0xFF000004u);
    EXPECT_EQ(draw(0xFF000006, RL_GROUP_DRAW_RECODE), 0xFF000006u);
    camera.viewProjection.m[12] = 0.5f;
    EXPECT_EQ(draw(0xFF000007, 0), 0xFF000007u);
    EXPECT_EQ(builds, 5);
}

TEST_F(RasterDraws, EveryClippedFaceOfALargeGroupIsDrawn)
{
    // 1,700 squares (6,800 points) across the left edge of the view: each clipped square adds
    // two vertices, 3,400 in all, more than the work array has room for above the points.
    const int numFaces = 1700;
    std::vector<mathVec3> points;
    std::vector<rlSurfaceFace> faces;
    std::vector<uint16_t> indices;
    for (int f = 0; f < numFaces; f++) {
        const float y = -9 + 18.0f * float(f) / numFaces;
        for (float x : {-12.0f, -8.0f}) points.push_back({x, y, 10});
        for (float x : {-8.0f, -12.0f}) points.push_back({x, y + 0.02f, 10});
        faces.push_back({uint16_t(4 * f), 4, {0, 0, -1}, -10});
        for (int i = 0; i < 4; i++) indices.push_back(uint16_t(4 * f + i));
    }
    rlSurfaceGroup group = {};
    group.box = {{-12, -9, 10}, {-8, 9.02f, 10}};
    group.numPoints = uint32_t(points.size());
    group.pPoints = points.data();
    group.numFaces = numFaces;
    group.pFaces = faces.data();
    group.pIndices = indices.data();
    group.numTriangles = 2 * numFaces;
    EXPECT_EQ(rlDraw_SurfaceGroup(&group, 0), 2 * numFaces);
    EXPECT_EQ(trianglesDrawn(), 2 * numFaces);
    EXPECT_GT(fakeDraw_Draws().size(), 1u);
}

namespace {

// A group with its lightmaps per light group, lights on its face and decals, over textures of
// the double and a light-group table of its own.
class RasterGroupLights : public RasterDraws {
protected:
    void SetUp() override
    {
        RasterDraws::SetUp();
        for (Bitmap& b : bitmaps) {
            b.format = BITMAP_FORMAT_8888;
            b.width = b.height = 4;
            b.pixels = b.levels[0] = reinterpret_cast<uint8_t*>(pixels);
            ASSERT_EQ(rlTexture_PreCacheMipMap(&b), 1);
        }
        groups[3] = {1, 1, 0.5f, 128, nullptr};   // lit at half
        groups[5] = {0, 1, 1.0f, 200, nullptr};   // disabled: left out whatever its level
        groups[7] = {1, 1, 0.0f, 0, nullptr};     // lit at 0: left out
        settings.pLightGroups = groups;
        lightmaps[0] = {3, handle(LIGHTMAP3)};
        lightmaps[1] = {5, handle(LIGHTMAP5)};
        lightmaps[2] = {7, handle(LIGHTMAP7)};
        lightmaps[3] = {0, handle(LIGHTMAP3)};    // a second lightmap of group 0: at full
        wall.group.pMaterial = &material;
        wall.group.lightmap = handle(LIGHTMAP0);
        wall.group.numLightmaps = 4;
        wall.group.pLightmaps = lightmaps;
        fakeDraw_Draws().clear();
    }
    uint32_t handle(int which) const { return bitmaps[which].rasterHandle; }
    std::vector<int> modes() const
    {
        std::vector<int> out;
        for (const FakeDrawCall& call : fakeDraw_Draws()) out.push_back(call.mode);
        return out;
    }
    static Light light(float x, float y, float z, float range, float r, float g, float b)
    {
        Light l = {};
        l.red = r;
        l.green = g;
        l.blue = b;
        l.position[0] = x;
        l.position[1] = y;
        l.position[2] = z;
        l.range = range;
        return l;
    }

    enum { BASE, LIGHTMAP0, LIGHTMAP3, LIGHTMAP5, LIGHTMAP7, BLOB, DETAIL, DECAL, NUM_BITMAPS };
    uint32_t pixels[16] = {};
    Bitmap bitmaps[NUM_BITMAPS] = {};
    LightGroup groups[LIGHTGROUP_COUNT] = {};
    rlGroupLightmap lightmaps[4];
    DrawTestSquare wall{10};
    Material material = drawTest_Material(3, &bitmaps[BASE]);
};

// The blob colour: (range - distance) / 392 of the light colour, each channel at most 255.
uint32_t expectedBlobColour(const Light& light, float distance)
{
    const double k = (double(light.range) - distance) / 392.0;
    uint32_t out = 0xFF000000;
    const float colour[3] = {light.red, light.green, light.blue};
    for (int i = 0; i < 3; i++)
        out |= uint32_t(std::lround(std::min(255.0, k * colour[i]))) << (16 - 8 * i);
    return out;
}

}  // namespace

TEST_F(RasterGroupLights, LightmapsOfLitLightGroupsThenLightBlobsThenDecals)
{
    // Two lights in front of the face (plane z = 10, facing the eye), one behind it, one out
    // of reach, and one attached in an earlier frame.
    const uint32_t now = rlDevice_state.frameNumber;
    const Light nearLight = light(0.3f, -0.2f, 7, 100, 200, 100, 50);
    const Light brightLight = light(-0.5f, 0.4f, 9, 2000, 255, 10, 0);
    const Light behindLight = light(0, 0, 12, 100, 255, 255, 255);
    const Light farLight = light(0, 0, 2, 5, 255, 255, 255);
    Material blobMaterial = drawTest_Material(3, &bitmaps[BLOB]);
    const rlLightNode nodes[5] = {{&nearLight, &blobMaterial, 0, now},     {&behindLight, &blobMaterial, 0, now},
                                  {&farLight, &blobMaterial, 0, now},      {&nearLight, &blobMaterial, 0, now - 1},
                                  {&brightLight, &blobMaterial, 0, now}};
    wall.group.numLightNodes = 5;
    wall.group.pLightNodes = nodes;
    // One decal touched this frame, one not.
    Material decalMaterial = drawTest_Material(12, &bitmaps[DECAL]);
    const mathVec3 decalPoints[3] = {{0, 0, 9.9f}, {0.5f, 0, 9.9f}, {0.5f, 0.5f, 9.9f}};
    const rlDecalNode decals[2] = {{&decalMaterial, 3, decalPoints, nullptr, nullptr, now},
                                   {&decalMaterial, 3, decalPoints, nullptr, nullptr, now - 1}};
    wall.group.numDecals = 2;
    wall.group.pDecals = decals;

    // Base with light group 0's lightmap, group 3 added at half, group 0's second lightmap at
    // full (5 disabled and 7 at level 0 are left out), two blobs, one decal.
    EXPECT_EQ(rlDraw_SurfaceGroup(&wall.group, 0), 2 + 2 + 2 + 2 + 2 + 1);
    ASSERT_EQ(modes(), (std::vector<int>{21, 23, 23, 29, 29, 12}));
    const std::vector<FakeDrawCall>& draws = fakeDraw_Draws();
    EXPECT_EQ(draws[0].texture0, handle(BASE));
    EXPECT_EQ(draws[0].texture1, handle(LIGHTMAP0));
    EXPECT_EQ(draws[1].texture0, handle(LIGHTMAP3));
    EXPECT_EQ(draws[1].factor, 0xFF808080u);
    EXPECT_EQ(draws[2].factor, 0xFFFFFFFFu);
    EXPECT_EQ(draws[5].texture0, handle(DECAL));

    // Each blob: the face once more as a fan of one-texture vertices where the group's
    // vertices are, its texture centred on the light's foot point with the circle of radius
    // r = sqrt(range^2 - distance^2) mapped onto the texture's unit square.
    rlClipVertex2 groupVerts[4];
    memcpy(groupVerts, draws[0].verts.data(), sizeof groupVerts);
    const Light* blobLights[2] = {&nearLight, &brightLight};
    for (int b = 0; b < 2; b++) {
        const FakeDrawCall& call = draws[3 + b];
        const Light& l = *blobLights[b];
        EXPECT_EQ(call.type, D3DPT_TRIANGLEFAN);
        EXPECT_EQ(call.fvf, 0x144u);
        EXPECT_EQ(call.texture0, handle(BLOB));
        const std::vector<rlClipVertex> blob = verts(call);
        ASSERT_EQ(blob.size(), 4u);
        const float distance = 10.0f - l.position[2];
        const double r = std::sqrt(double(l.range) * l.range - double(distance) * distance);
        for (int i = 0; i < 4; i++) {
            const mathVec3& p = wall.points[wall.indices[i]];
            EXPECT_FLOAT_EQ(blob[i].x, groupVerts[i].x);
            EXPECT_FLOAT_EQ(blob[i].y, groupVerts[i].y);
            EXPECT_EQ(blob[i].colour, expectedBlobColour(l, distance)) << b;
            // Distance from the centre of the texture times 2r is the distance from the foot
            // point, and between any two corners likewise: the plane is mapped without
            // stretch, whichever two axes it takes.
            const double fromFoot = std::hypot(p.x - l.position[0], p.y - l.position[1]);
            EXPECT_NEAR(std::hypot(blob[i].u - 0.5, blob[i].v - 0.5) * 2 * r, fromFoot, 1e-3);
            for (int j = 0; j < i; j++) {
                const mathVec3& q = wall.points[wall.indices[j]];
                EXPECT_NEAR(std::hypot(blob[i].u - blob[j].u, blob[i].v - blob[j].v) * 2 * r,
                            std::hypot(p.x - q.x, p.y - q.y), 1e-3);
            }
        }
    }
    EXPECT_EQ(expectedBlobColour(brightLight, 1), 0xFFFF3300u);   // over-brightLight: red at 255

    // A face that runs out of the view on the right: its blob is clipped with it.
    for (mathVec3& p : wall.points)
        if (p.x > 0) p.x = 30;
    wall.group.box.vMax.x = 30;
    wall.group.numDecals = 0;
    fakeDraw_Draws().clear();
    rlDraw_SurfaceGroup(&wall.group, 0);
    ASSERT_EQ(modes(), (std::vector<int>{21, 23, 23, 29, 29}));
    for (int b = 3; b < 5; b++) {
        EXPECT_EQ(fakeDraw_Draws()[b].numVerts, 4);
        for (const rlClipVertex& v : verts(fakeDraw_Draws()[b])) EXPECT_LE(v.x, 640.5f);
    }

    // Without a light-group table only light group 0 is lit; in the next frame nothing is
    // attached any more.
    settings.pLightGroups = nullptr;
    rlMain_Swap(0);
    fakeDraw_Draws().clear();
    rlDraw_SurfaceGroup(&wall.group, 0);
    EXPECT_EQ(modes(), (std::vector<int>{21, 23}));
}

TEST_F(RasterGroupLights, LayersOfTheMaterialPlaceTheLightmapsAndTheBlobs)
{
    const Light nearLight = light(0, 0, 7, 100, 255, 255, 255);
    Material blobMaterial = drawTest_Material(3, &bitmaps[BLOB]);
    const rlLightNode node = {&nearLight, &blobMaterial, 0, rlDevice_state.frameNumber};
    wall.group.numLightNodes = 1;
    wall.group.pLightNodes = &node;
    wall.group.numLightmaps = 1;
    Material layered = drawTest_Material(3, &bitmaps[BASE]);
    layered.flags = MATERIAL_LAYERED;
    layered.numPasses = 4;
    layered.passes[1] = {};
    layered.passes[1].kind = MATERIAL_PASS_LIGHTADD;
    layered.passes[2] = {};
    layered.passes[2].kind = MATERIAL_PASS_LIGHTMAP;
    layered.passes[2].mode = 40;
    layered.passes[3] = layered.passes[0];
    layered.passes[3].mode = 34;
    layered.passes[3].pTexture = &bitmaps[DETAIL];
    wall.group.pMaterial = &layered;

    // Texture, the blob at the "$lightadd" layer, the lightmaps at "$lightmap" (group 0 in the
    // layer's mode, group 3 added at its level), the detail layer.
    EXPECT_EQ(rlDraw_SurfaceGroup(&wall.group, 0), 2 * 5);
    EXPECT_EQ(modes(), (std::vector<int>{3, 29, 40, 23, 34}));
    EXPECT_EQ(fakeDraw_Draws()[2].texture0, handle(LIGHTMAP0));
    EXPECT_EQ(fakeDraw_Draws()[4].texture0, handle(DETAIL));

    // Without a "$lightadd" layer the blobs follow the lightmaps.
    layered.passes[1] = layered.passes[0];
    layered.passes[1].mode = 10;
    fakeDraw_Draws().clear();
    rlDraw_SurfaceGroup(&wall.group, 0);
    EXPECT_EQ(modes(), (std::vector<int>{3, 10, 40, 23, 29, 34}));

    // The fullbright debug drawing is one pass of the group alone.
    settings.debugFlags = RL_DEBUG_FULLBRIGHT;
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlDraw_SurfaceGroup(&wall.group, 0), 2);
    EXPECT_EQ(modes(), (std::vector<int>{9}));
}
