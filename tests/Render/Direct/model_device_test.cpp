// A lit, textured model on a posed bone drawn on the real device and read back: the model's
// pixels carry the lit colour times the texture, the background stays, and a new pose moves
// the pixels with the bone.
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>
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
        rlMain_Clear(0xFF000040, 0);
        rlLight_ClearLights();
        const float ambient[3] = {0, 0, 0};
        rlLight_SetAmbient(ambient);
        Light light = {};
        light.kind = RL_LIGHT_DIRECTIONAL;
        light.red = 200;
        light.green = 150;
        light.blue = 100;
        light.intensity = light.baseIntensity = 392;   // the colour itself on a facing normal
        light.direction[2] = 1.0f;
        rlLight_AddLight(nullptr, &light, 0);
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
