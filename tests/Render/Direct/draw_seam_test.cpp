// Primitive drawing through the DirectDraw double: what each operation hands the device,
// batches that never overrun the work arrays, and the vertex buffer's life.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <vector>
#include "drawTestSupport.h"
#include "fakeDirectDraw.h"
#include "fakeDraw.h"
#include "rasterDrawRecords.h"
#include "rasterTestWindow.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlDraw.h"
#include "rlDrawBatch.h"
#include "rlMain.h"
#include "rlMode.h"

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

namespace {

struct GroupFixture {
    std::vector<mathVec3> points;
    std::vector<mathVec2> uvs;
    std::vector<rlSurfaceFace> faces;
    std::vector<uint16_t> indices;
    rlSurfaceGroup group = {};

    // A square at depth z facing the eye (normal towards -z).
    explicit GroupFixture(float z, float size = 1.0f)
    {
        points = {{-size, -size, z}, {size, -size, z}, {size, size, z}, {-size, size, z}};
        uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        indices = {0, 1, 2, 3};
        faces = {{0, 4, {0, 0, -1}, -z}};
        group.box = {{-size, -size, z}, {size, size, z}};
        group.numPoints = 4;
        group.pPoints = points.data();
        group.pUV0 = uvs.data();
        group.pUV1 = uvs.data();
        group.numFaces = 1;
        group.pFaces = faces.data();
        group.pIndices = indices.data();
        group.numTriangles = 2;
    }
};

}  // namespace

TEST_F(RasterDraws, SurfaceGroupsDrawThroughTheVertexBuffer)
{
    EXPECT_TRUE(rlDraw_HasVertexBuffer());
    GroupFixture nearGroup(10), farGroup(20), behindGroup(-10);
    Material material = drawTest_Material(3);
    nearGroup.group.pMaterial = &material;
    nearGroup.group.lightmap = 0;
    EXPECT_EQ(rlDraw_SurfaceGroup(&nearGroup.group, 0), 2);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    EXPECT_TRUE(fakeDraw_Draws()[0].bVertexBuffer);
    EXPECT_EQ(fakeDraw_Draws()[0].fvf, 0x244u);
    EXPECT_EQ(rlDraw_SurfaceGroup(&behindGroup.group, 0), 0);

    // Seen from behind: the face is skipped.
    GroupFixture backGroup(10);
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
    EXPECT_FALSE(rlDraw_HasVertexBuffer());
    GroupFixture nearGroup(10);
    EXPECT_EQ(rlDraw_SurfaceGroup(&nearGroup.group, 0), 2);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    EXPECT_FALSE(fakeDraw_Draws()[0].bVertexBuffer);
    EXPECT_EQ(fakeDraw_Draws()[0].fvf, 0x244u);
}
