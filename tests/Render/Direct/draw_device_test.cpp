// Primitive drawing on the real device: screen faces, sprites with alpha and clipped world
// quads drawn, then the back buffer read through the library's lock.
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>
#include "drawTestSupport.h"
#include "rasterDrawRecords.h"
#include "rasterTestWindow.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlDraw.h"
#include "rlMain.h"
#include "rlTexture.h"

namespace {

class RealDraws : public ::testing::Test {
protected:
    void SetUp() override
    {
        rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(true);
        ASSERT_EQ(rlMain_Open(&settings), 1);
        rlCamera_SetCurrent(&camera);
        white.assign(16 * 16, 0xFFFFFFFF);
        texture.format = BITMAP_FORMAT_8888;
        texture.width = texture.height = 16;
        texture.pixels = texture.levels[0] = reinterpret_cast<uint8_t*>(white.data());
        ASSERT_EQ(rlTexture_PreCacheMipMap(&texture), 1);
    }
    void TearDown() override
    {
        rlCamera_pCurrent = nullptr;
        rlMain_Close();
    }

    // Keeps presenting for RASTER_SHOT_WAIT seconds, for a screenshot by hand.
    void holdForScreenshot(void (*draw)(RealDraws*))
    {
        const char* wait = getenv("RASTER_SHOT_WAIT");
        if (!wait) return;
        SetWindowPos(window.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        const DWORD end = GetTickCount() + atoi(wait) * 1000;
        while (GetTickCount() < end) {
            draw(this);
            rlMain_Swap(0);
            RasterTestWindow::pumpMessages();
            Sleep(30);
        }
    }

    RasterTestWindow window{true};
    renderSettings settings;
    Camera camera = drawTest_Camera();
    std::vector<uint32_t> white;
    Bitmap texture = {};
};

// The back buffer pixel at (x, y) as 0xRRGGBB.
uint32_t pixelAt(int x, int y)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    rlDev.pBackBuffer->GetSurfaceDesc(&desc);
    int pitch = 0;
    auto* pixels = static_cast<uint8_t*>(rlMain_LockBuffer(&pitch));
    if (!pixels) {
        ADD_FAILURE() << "the back buffer cannot be locked";
        return 0;
    }
    const uint8_t* row = pixels + y * pitch;
    uint32_t rgb;
    if (desc.ddpfPixelFormat.dwRGBBitCount == 32) {
        rgb = reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    } else {
        const uint16_t p = reinterpret_cast<const uint16_t*>(row)[x];
        rgb = ((p >> 11) & 0x1F) * 255 / 31 << 16 | ((p >> 5) & 0x3F) * 255 / 63 << 8 | (p & 0x1F) * 255 / 31;
    }
    rlMain_UnlockBuffer();
    return rgb;
}

bool near8(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 10) return false;
    return true;
}

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
    EXPECT_PRED2(near8, pixelAt(70, 70), 0xFF0000u);
    EXPECT_PRED2(near8, pixelAt(320, 240), 0x8080FFu);   // white at alpha 128 over blue
    EXPECT_PRED2(near8, pixelAt(300, 225), 0x8080FFu);
    EXPECT_PRED2(near8, pixelAt(320 + 40, 240), 0x0000FFu);
    EXPECT_PRED2(near8, pixelAt(600, 400), 0x0000FFu);
    // The quad spans screen x from 320 + 0.3 x 320 = 416 to the right edge, y 132 to 168.
    EXPECT_PRED2(near8, pixelAt(500, 150), 0x00FF00u);
    EXPECT_PRED2(near8, pixelAt(638, 150), 0x00FF00u);
    EXPECT_PRED2(near8, pixelAt(410, 150), 0x0000FFu);
    EXPECT_PRED2(near8, pixelAt(500, 125), 0x0000FFu);
    holdForScreenshot([](RealDraws* test) { static_cast<RealDrawsScene*>(test)->draw(); });
}

TEST_F(RealDraws, SurfaceGroupsDrawThroughTheVertexBufferOnTheDevice)
{
    ASSERT_TRUE(rlDraw_HasVertexBuffer());
    rlMain_Clear(0xFF000000, 0);
    Material material = drawTest_Material(9, &texture);   // fullbright: the texture alone
    std::vector<mathVec3> points = {{-1, -1, 5}, {1, -1, 5}, {1, 1, 5}, {-1, 1, 5}};
    std::vector<mathVec2> uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    std::vector<uint16_t> indices = {0, 1, 2, 3};
    rlSurfaceFace face = {0, 4, {0, 0, -1}, -5};
    rlSurfaceGroup group = {};
    group.box = {{-1, -1, 5}, {1, 1, 5}};
    group.pMaterial = &material;
    group.numPoints = 4;
    group.pPoints = points.data();
    group.pUV0 = uvs.data();
    group.numFaces = 1;
    group.pFaces = &face;
    group.pIndices = indices.data();
    group.numTriangles = 2;
    EXPECT_EQ(rlDraw_SurfaceGroup(&group, 0), 2);
    EXPECT_PRED2(near8, pixelAt(320, 240), 0xFFFFFFu);
    EXPECT_PRED2(near8, pixelAt(320 + 60, 240 + 40), 0xFFFFFFu);
    EXPECT_PRED2(near8, pixelAt(320 + 70, 240), 0x000000u);
}
