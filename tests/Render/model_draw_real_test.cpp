// The whole road of an animated model on the real raster library: model, material, texture
// and animation read from files the fixtures write, the instance posed by its mixer, lit by a
// light of the frame and drawn through the table; the back buffer shows the lit texture where
// the posed bone puts the model, the background elsewhere, and the next pose moves it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "Render/backBuffer.h"
#include "Render/frontEndDeviceTest.h"
#include "fixtureDaz.h"
#include "fixtureFiles.h"
#include "fixtureJup.h"
#include "fixtureQev.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "lightRecord.h"
#include "mathFrame.h"
#include "render.h"
#include "renderCamera.h"
#include "renderKeyframe.h"
#include "renderMain.h"
#include "renderMaterial.h"
#include "renderMixer.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "stdFile.h"

namespace {

uint32_t White(int, int) { return 0xFFFFFFFFu; }

// A square of side 80 facing the camera (normal -y) on bone 1, the child of bone 0.
fixtures::QevModel Square()
{
    fixtures::QevModel model;
    model.materials = {"skin"};
    model.bones.resize(2);
    model.bones[1].parent = 0;
    const float corners[4][2] = {{-40, -40}, {40, -40}, {40, 40}, {-40, 40}};
    for (int i = 0; i < 4; i++) {
        fixtures::QevVertex v;
        v.position = {corners[i][0], 0, corners[i][1]};
        v.normal = {0, -1, 0};
        v.u = i == 1 || i == 2 ? 1.0f : 0.0f;
        v.v = i >= 2 ? 1.0f : 0.0f;
        v.bone = 1;
        model.vertices.push_back(v);
    }
    model.triangles = {{0, 1, 2}, {0, 2, 3}};
    model.parts = {{0, 2, 4, 4, 0}};
    model.box = {-200, -200, -200, 200, 200, 200};
    return model;
}

class ModelOnRealRaster : public rendertest::FrontEndDeviceTest {
protected:
    void WriteFiles() override
    {
        fixtures::MakeFolders("3D\\Models");
        fixtures::MakeFolders("3D\\Anims");
        fixtures::MakeFolders("Materials");
        ASSERT_TRUE(fixtures::WriteQev("3D\\Models\\square.qev", Square()));
        ASSERT_TRUE(fixtures::DazWriter().Texture("skin").Write("Materials\\skin.daz"));
        ASSERT_TRUE(fixtures::WriteTga("Materials\\skin.tga", fixtures::MakeTga(16, 16, 24, false, White)));
        fixtures::JupFile slide;
        slide.duration = 60;
        fixtures::JupCurve curve;
        curve.bone = 1;
        curve.kind = 1;   // translation: (2t, 4t, 6t) from the rest place
        curve.keys = {fixtures::MakeCubicKey(0, 1, 0, 2, 0, 0)};
        slide.curves = {curve};
        ASSERT_TRUE(fixtures::WriteJup("3D\\Anims\\slide.jup", slide));
    }
    void SetUp() override
    {
        FrontEndDeviceTest::SetUp();
        if (HasFatalFailure()) return;
        viewport = renderViewport_Create(1, 0, 0, 639, 479);
        camera = renderCamera_Create(90, 1, 1, 1000, 1);
        renderCamera_SetViewport(camera, viewport);
        mathFrame eye;
        mathFrame_Identity(&eye);
        eye.m[10] = -300;   // at (0, -300, 0), looking along +y
        renderCamera_SetFrame(camera, &eye);
        ASSERT_EQ(renderCamera_Select(camera), 1);
    }
    void TearDown() override
    {
        renderCamera_Select(nullptr);
        renderCamera_Free(camera);
        renderViewport_Free(viewport);
        FrontEndDeviceTest::TearDown();
    }

    // One frame: clear, the frame's light (its colour on a facing normal), the model drawn.
    void DrawFrame(ModelInstance* instance)
    {
        renderMain_rasterLib.funcMain_Clear(0xFF000040, 0);
        renderMain_rasterLib.funcLight_ClearLights();
        const float ambient[3] = {0, 0, 0};
        renderMain_rasterLib.funcLight_SetAmbient(ambient);
        Light light = {};
        light.kind = 2;   // directional, along +y into the square's face
        light.red = 200;
        light.green = 150;
        light.blue = 100;
        light.intensity = light.baseIntensity = 392;
        light.direction[1] = 1;
        renderMain_rasterLib.funcLight_AddLight(nullptr, &light, 0);
        mathFrame origin;
        mathFrame_Identity(&origin);
        ASSERT_EQ(renderModel_Draw(instance, &origin, 0), 1);
    }

    // Where bone 1's origin lands on the screen.
    void BoneOnScreen(const ModelInstance* instance, int* x, int* y)
    {
        const float* m = instance->pBones[1].clip.m;
        const float w = m[15];
        *x = (int)std::lround(camera->centreX + camera->scaleX * m[12] / w);
        *y = (int)std::lround(camera->centreY - camera->scaleY * m[13] / w);
    }

    static uint32_t Pixel(int x, int y) { return rendertest::BackBufferPixel(x, y); }

    Viewport* viewport = nullptr;
    Camera* camera = nullptr;
};

bool Close(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 10) return false;
    return true;
}

}  // namespace

TEST_F(ModelOnRealRaster, AnAnimatedLitTexturedModelIsDrawnWhereItsBoneIs)
{
    // Freed with its model before the front-end shuts down, also when a check stops the case.
    const std::unique_ptr<ModelInstance, void (*)(ModelInstance*)> owner(
        renderModelInstance_Load("square"), [](ModelInstance* i) { renderModelInstance_Free(i, 1); });
    ModelInstance* instance = owner.get();
    ASSERT_NE(instance, nullptr);
    ASSERT_EQ(renderMixer_Create(instance, 0), 1);
    ASSERT_EQ(instance->pMixer->Play(renderKeyframe_GetTrack("slide", 0), 30.0f, 0), 1);
    instance->pMixer->Advance(0.1f);   // frame 3

    DrawFrame(instance);
    int x0, y0;
    BoneOnScreen(instance, &x0, &y0);
    ASSERT_TRUE(x0 > 60 && x0 < 580 && y0 > 60 && y0 < 420) << x0 << ", " << y0;
    EXPECT_PRED2(Close, Pixel(x0, y0), 0xC89664u) << "lit white texture at the bone";
    EXPECT_PRED2(Close, Pixel(x0 + 30, y0 - 30), 0xC89664u);
    EXPECT_PRED2(Close, Pixel(5, 5), 0x000040u) << "background";
    EXPECT_PRED2(Close, Pixel(634, 474), 0x000040u);
    RasterStats stats = {};
    renderMain_rasterLib.funcMain_GetStats(&stats, 0);
    EXPECT_GE(stats.numTriangles, 2u);

    // Half a second on: the bone has moved, and the square with it.
    renderMain_EndFrame(0);
    instance->pMixer->Advance(0.5f);
    DrawFrame(instance);
    int x1, y1;
    BoneOnScreen(instance, &x1, &y1);
    EXPECT_GT(std::abs(x1 - x0) + std::abs(y1 - y0), 60);
    EXPECT_PRED2(Close, Pixel(x1, y1), 0xC89664u) << x1 << ", " << y1;
    EXPECT_PRED2(Close, Pixel(x0, y0), 0x000040u) << "the old place is background again";
    HoldForScreenshot([&] { DrawFrame(instance); });
}
