// A lit, textured model on a posed bone drawn on the real device and read back: the model's
// pixels carry the lit colour times the texture, the background stays, and a new pose moves
// the pixels with the bone. A part larger than the work arrays draws as the same model split
// into parts would.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <vector>
#include "fixtureAllocations.h"
#include "drawTestSupport.h"
#include "modelTestSupport.h"
#include "rasterReadback.h"
#include "rasterDeviceTest.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlLight.h"
#include "rlMain.h"
#include "rlModel.h"
#include "rlTexture.h"

namespace {

Light makeLight(uint32_t kind, float red, float green, float blue, float intensity)
{
    Light light = {};
    light.kind = kind;
    light.red = red;
    light.green = green;
    light.blue = blue;
    light.intensity = light.baseIntensity = intensity;
    return light;
}

// Clears the frame and lights it with one light over a grey ambient level.
void startFrame(const Light& light, float ambient)
{
    rlMain_Clear(0xFF000040, 0);
    rlLight_ClearLights();
    const float colour[3] = {ambient, ambient, ambient};
    rlLight_SetAmbient(colour);
    rlLight_AddLight(nullptr, &light, 0);
}

class RealModel : public RasterDeviceTest {
protected:
    void SetUp() override
    {
        RasterDeviceTest::SetUp();
        if (HasFatalFailure()) return;
        rlCamera_SetCurrent(&camera);
        // Left half white, right half green.
        pixels.resize(16 * 16);
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++) pixels[y * 16 + x] = x < 8 ? 0xFFFFFFFF : 0xFF00FF00;
        texture.format = BITMAP_FORMAT_8888;
        texture.width = texture.height = 16;
        texture.pixels = texture.levels[0] = reinterpret_cast<uint8_t*>(pixels.data());
        ASSERT_EQ(rlTexture_PreCacheMipMap(&texture), 1);
        material = drawTest_Material(3, &texture);
    }
    // One frame: clear, the frame's light, the model on its bone posed at x.
    void drawFrame(TestModel& model, float x)
    {
        // The colour itself on a facing normal.
        Light light = makeLight(RL_LIGHT_DIRECTIONAL, 200, 150, 100, 392);
        light.direction[2] = 1.0f;
        startFrame(light, 0);
        model.pose(1, camera, {x, 0, 4});
        rlLight_NewModel(&model.instance);
        rlModel_Draw(&model.instance, &model.instance, 0);
    }

    Camera camera = drawTest_Camera();
    std::vector<uint32_t> pixels;
    Bitmap texture = {};
    Material material;
};

}  // namespace

TEST_F(RealModel, ALitTexturedModelFollowsItsBone)
{
    TestModel model(camera, 2, {{0, 0, 0}, {-1.5f, 0, 4}});
    model.verts = {TestModel::vertex(-1, -1, 0, 1), TestModel::vertex(1, -1, 0, 1), TestModel::vertex(1, 1, 0, 1),
                   TestModel::vertex(-1, 1, 0, 1)};
    const float uvs[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int i = 0; i < 4; i++) {
        model.verts[i].u = uvs[i][0];
        model.verts[i].v = uvs[i][1];
    }
    model.tris = {{{0, 1, 2}}, {{0, 2, 3}}};
    model.finish(&material);

    // Bone at x -1.5, depth 4: the quad covers screen x 120 to 280, y 180 to 300.
    drawFrame(model, -1.5f);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(150, 240), 0xC89664u);   // lit white: the light's colour
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(250, 240), 0x009600u);   // lit green
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(400, 240), 0x000040u);   // background
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(200, 100), 0x000040u);

    // The next pose moves the bone to x 1.5: the quad follows to x 360 to 520.
    rlMain_Swap(0);
    drawFrame(model, 1.5f);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(150, 240), 0x000040u);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(390, 240), 0xC89664u);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(490, 240), 0x009600u);

    float x = -2;
    HoldForScreenshot([&] {
        drawFrame(model, x);
        x = x > 2 ? -2 : x + 0.02f;
    });
}

namespace {

// The back buffer after drawing a grid model under a point light that shades it unevenly;
// the draw's triangles and allocations.
std::vector<uint32_t> drawGrid(GridModel& grid, int flags, int* drawn, int* allocations)
{
    Light light = makeLight(RL_LIGHT_POINT, 255, 220, 160, 500);
    light.position[0] = 1;
    light.position[1] = 1;
    light.falloff = 60;
    light.range = 1000;
    startFrame(light, 392 * 40);
    rlLight_NewModel(&grid.instance);
    {
        fixtures::AllocationWatch watch;
        *drawn = rlModel_Draw(&grid.instance, &grid.instance, flags);
        *allocations = (int)watch.Requests();
    }
    return rasterTest_BackRect(0, 0, 640, 480);
}

}  // namespace

TEST_F(RealModel, APartOfMoreVerticesThanABatchDrawsAsTheSameModelInParts)
{
    // 160 x 140 = 22,400 vertices and 44,202 triangles in one part, against parts of at most
    // 6,000 vertices. Wholly inside the view; then spread past every side of it and tilted
    // through the near plane, so that the clipping path cuts triangles on all planes.
    struct Case {
        const char* what;
        mathVec3 from, to;
        int flags;
    } cases[] = {
        {"inside", {-1.8f, -1.3f, 3}, {1.8f, 1.3f, 3}, RL_MODEL_INSIDE},
        {"clipped", {-6, -4, 0.4f}, {6, 4, 6}, 0},
    };
    ASSERT_TRUE(fixtures::AllocationsCounted());
    rlMain_Clear(0xFF000040, 0);
    const uint32_t background = rasterTest_BackPixel(0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GridModel whole(camera, 160, 140, c.from, c.to, &material);
        GridModel split(camera, 160, 140, c.from, c.to, &material, 6000);
        ASSERT_EQ(whole.model.numParts, 1);
        ASSERT_GT(split.model.numParts, 3);
        ASSERT_EQ(whole.numTris(), 44202);
        int drawnWhole = 0, drawnSplit = 0, allocations = 0;
        const std::vector<uint32_t> one = drawGrid(whole, c.flags, &drawnWhole, &allocations);
        EXPECT_EQ(allocations, 0) << "drawing the one part";
        const std::vector<uint32_t> parts = drawGrid(split, c.flags, &drawnSplit, &allocations);
        ASSERT_EQ(one.size(), size_t(640 * 480));
        ASSERT_EQ(parts.size(), one.size());
        EXPECT_EQ(drawnWhole, drawnSplit);
        if (c.flags & RL_MODEL_INSIDE) {
            EXPECT_EQ(drawnWhole, 44202);
        }
        const auto covered = std::count_if(one.begin(), one.end(), [&](uint32_t p) { return p != background; });
        EXPECT_GT(covered, 640 * 480 / 4) << "the grid is drawn";
        size_t differing = 0, first = 0;
        for (size_t i = 0; i < one.size(); i++)
            if (one[i] != parts[i] && differing++ == 0) first = i;
        EXPECT_EQ(differing, 0u) << "first at x " << first % 640 << ", y " << first / 640 << ": one part "
                                 << std::hex << one[first] << ", parts " << parts[first];
    }
}
