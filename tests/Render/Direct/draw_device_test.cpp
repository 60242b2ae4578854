// Primitive drawing on the real device: screen faces, sprites with alpha and clipped world
// quads drawn, then the back buffer read through the library's lock.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>
#include "drawTestSupport.h"
#include "lightRecord.h"
#include "rasterDrawRecords.h"
#include "rasterReadback.h"
#include "rasterDeviceTest.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlDraw.h"
#include "rlDrawGroup.h"
#include "rlMain.h"
#include "rlTexture.h"

namespace {

class RealDraws : public RasterDeviceTest {
protected:
    void SetUp() override
    {
        RasterDeviceTest::SetUp();
        if (HasFatalFailure()) return;
        rlCamera_SetCurrent(&camera);
        white.assign(16 * 16, 0xFFFFFFFF);
        texture.format = BITMAP_FORMAT_8888;
        texture.width = texture.height = 16;
        texture.pixels = texture.levels[0] = reinterpret_cast<uint8_t*>(white.data());
        ASSERT_EQ(rlTexture_PreCacheMipMap(&texture), 1);
    }
    Camera camera = drawTest_Camera();
    std::vector<uint32_t> white;
    Bitmap texture = {};
};

struct ScreenRecord {
    float x, y;
    uint8_t unused[52];
    float u, v;
    uint8_t rest[12];
};

}  // namespace

class RealDrawsScene : public RealDraws {
public:
    void draw()
    {
        rlMain_Clear(0xFF0000FF, 0);
        // An opaque red screen face in the top-left corner.
        ScreenRecord face[4] = {};
        const float corners[4][2] = {{20, 20}, {20, 120}, {120, 120}, {120, 20}};
        for (int i = 0; i < 4; i++) {
            face[i].x = corners[i][0];
            face[i].y = corners[i][1];
        }
        rlDraw_ScreenFaceImmediate(4, face, 11, texture.rasterHandle, 0xFFFF0000);
        // A half-transparent white sprite in the middle (64 x 48 pixels).
        Material sprite = drawTest_Material(19, &texture);
        const rlPoint point = {{0, 0, 10}, 0x80FFFFFF, 0, 1.0f};
        rlDraw_SpriteList(&sprite, &point.position.x, 1);
        // A green quad that runs out of the view on the right and is clipped there.
        Material quadMaterial = drawTest_Material(3, &texture);
        const rlQuad quad = {{{0.6f, 0.6f, 2}, {3, 0.6f, 2}, {3, 0.9f, 2}, {0.6f, 0.9f, 2}}, 0xFF00FF00};
        rlDraw_QuadList(&quad, 1, &quadMaterial);
    }
};

TEST_F(RealDrawsScene, ScreenFaceSpriteWithAlphaAndClippedQuadReachTheBackBuffer)
{
    draw();
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(70, 70), 0xFF0000u);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(320, 240), 0x8080FFu);   // white at alpha 128 over blue
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(300, 225), 0x8080FFu);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(320 + 40, 240), 0x0000FFu);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(600, 400), 0x0000FFu);
    // The quad spans screen x from 320 + 0.3 x 320 = 416 to the right edge, y 132 to 168.
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(500, 150), 0x00FF00u);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(638, 150), 0x00FF00u);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(410, 150), 0x0000FFu);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(500, 125), 0x0000FFu);
    HoldForScreenshot([this] { draw(); });
}

TEST_F(RealDraws, SurfaceGroupsDrawThroughTheVertexBufferOnTheDevice)
{
    ASSERT_TRUE(rlDrawGroup_HasVertexBuffer());
    rlMain_Clear(0xFF000000, 0);
    Material material = drawTest_Material(9, &texture);   // fullbright: the texture alone
    DrawTestSquare square(5, 1, false);
    square.group.pMaterial = &material;
    EXPECT_EQ(rlDraw_SurfaceGroup(&square.group, 0), 2);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(320, 240), 0xFFFFFFu);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(320 + 60, 240 + 40), 0xFFFFFFu);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(320 + 70, 240), 0x000000u);
}

namespace {

// A wall of level geometry in dark grey with a light close to it: the light's blob brightens
// the wall around the light's foot point and leaves the rest as it was.
class RealGroupLight : public RealDraws {
public:
    RealGroupLight()
    {
        // The blob texture: white in the middle falling to black at the circle's edge.
        blob.assign(32 * 32, 0);
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                const float d = std::hypot(x - 15.5f, y - 15.5f) / 16.0f;
                const auto level = uint32_t(255.0f * std::clamp(1.0f - d, 0.0f, 1.0f));
                blob[size_t(y) * 32 + x] = 0xFF000000 | level * 0x010101u;
            }
        blobTexture.format = BITMAP_FORMAT_8888;
        blobTexture.width = blobTexture.height = 32;
        blobTexture.pixels = blobTexture.levels[0] = reinterpret_cast<uint8_t*>(blob.data());
        colours.assign(4, 0xFF202020);
        wall.group.pMaterial = &material;
        wall.group.pColours = colours.data();
        // 50 units in front of the wall with a range of 450: the blob's radius is
        // sqrt(450^2 - 50^2) = 447 units around the foot point (500, 0), screen (448, 240).
        light.red = light.green = light.blue = 255;
        light.position[0] = 500;
        light.position[2] = 1200;
        light.range = 450;
        node = {&light, &blobMaterial, 0, 0};
        wall.group.numLightNodes = 1;
        wall.group.pLightNodes = &node;
    }
    void draw()
    {
        node.frame = rlDevice_state.frameNumber;
        rlMain_Clear(0xFF000000, 0);
        rlDraw_SurfaceGroup(&wall.group, 0);
    }

    std::vector<uint32_t> blob;
    Bitmap blobTexture = {};
    Material material = drawTest_Material(3, &texture);   // rgb: white texture x the grey points
    Material blobMaterial = drawTest_Material(3, &blobTexture);
    // A wall 2000 units wide at depth 1250: screen x 64 to 576, y 48 to 432.
    DrawTestSquare wall{1250, 1000, false};
    std::vector<uint32_t> colours;
    Light light = {};
    rlLightNode node;
};

}  // namespace

TEST_F(RealGroupLight, TheLightsBlobBrightensTheWallWhereItsRangeMeetsIt)
{
    camera = drawTest_Camera(1.0f, 10000.0f);
    rlCamera_SetCurrent(&camera);
    ASSERT_EQ(rlTexture_PreCacheMipMap(&blobTexture), 1);
    draw();
    // (range - distance) / 392 of white clamps at white: the foot point is lit to white.
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(448, 240), 0xFFFFFFu);
    // Half the radius out (about 57 pixels) the blob adds about half.
    const uint32_t half = rasterTest_BackPixel(448 - 57, 240);
    EXPECT_GT(half & 0xFF, 0x60u);
    EXPECT_LT(half & 0xFF, 0xC0u);
    // Beyond the circle, and on the wall's far side, the wall keeps its own grey.
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(448 - 125, 240), 0x202020u);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(120, 240), 0x202020u);
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(448, 240 + 100), 0x202020u);
    // Off the wall: the background.
    EXPECT_PRED2(rasterTest_CloseRgb, rasterTest_BackPixel(20, 20), 0x000000u);
    HoldForScreenshot([this] { draw(); });
}
