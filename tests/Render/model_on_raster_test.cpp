// The whole road on the real raster library: the front-end binds blitvane.dll, opens the
// device, and a model with its materials, read from files the fixtures write, hands its
// textures to the library; the camera is selected on the device.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "Render/frontEndDeviceTest.h"
#include "fixtureDaz.h"
#include "fixtureFiles.h"
#include "fixtureQev.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "render.h"
#include "renderCamera.h"
#include "renderMain.h"
#include "renderMaterial.h"
#include "renderModel.h"
#include "renderSettings.h"
#include "stdFile.h"

namespace {

uint32_t Checker(int x, int y) { return ((x ^ y) & 1) ? 0xFFFF8000u : 0xFF0040FFu; }

class ModelOnRaster : public rendertest::FrontEndDeviceTest {
protected:
    void WriteFiles() override
    {
        fixtures::MakeFolders("3D\\Models");
        fixtures::MakeFolders("Materials");
        ASSERT_TRUE(fixtures::WriteQev("3D\\Models\\crate.qev",
                                       fixtures::MakeQevModel({"planks", "glow", "dflt"}, 3, 6, true)));
        ASSERT_TRUE(fixtures::DazWriter().Texture("planks").Line("twosided").Write("Materials\\planks.daz"));
        ASSERT_TRUE(fixtures::DazWriter().Pass(0, "planks").Pass(1, "lamp", {"rgb_add"}).Write("Materials\\glow.daz"));
        for (const char* name : {"planks", "lamp", "dflt"})
            ASSERT_TRUE(fixtures::WriteTga(std::string("Materials\\") + name + ".tga",
                                           fixtures::MakeTga(16, 16, 24, false, Checker)));
    }
    void TearDown() override
    {
        renderCamera_Free(camera);
        renderViewport_Free(viewport);
        FrontEndDeviceTest::TearDown();
    }

    Viewport* viewport = nullptr;
    Camera* camera = nullptr;
};

}  // namespace

TEST_F(ModelOnRaster, MaterialsReachTheRasterLibraryWithTheirTextures)
{
    // Freed before the front-end shuts down, also when a check below stops the case.
    std::unique_ptr<Model, void (*)(Model*)> model(renderModel_Load("crate", 0), renderModel_Free);
    ASSERT_NE(model, nullptr);
    for (int i = 0; i < 3; i++) {
        const Material* m = model->ppMaterials[i];
        ASSERT_NE(m, nullptr);
        for (int pass = 0; pass < m->numPasses; pass++) {
            SCOPED_TRACE(testing::Message() << m->name << " pass " << pass);
            ASSERT_NE(m->passes[pass].pTexture, nullptr);
            EXPECT_GE(m->passes[pass].pTexture->rasterHandle, 1u);
            EXPECT_LE(m->passes[pass].pTexture->rasterHandle, 2047u);
        }
    }
    EXPECT_EQ(model->ppMaterials[1]->numPasses, 2);
    EXPECT_EQ(model->ppMaterials[0]->passes[0].pTexture, model->ppMaterials[1]->passes[0].pTexture);

    viewport = renderViewport_Create(1, 0, 0, 639, 479);
    camera = renderCamera_Create(90, 1, 1, 1000, 1);
    renderCamera_SetViewport(camera, viewport);
    EXPECT_EQ(renderCamera_Select(camera), 1);
    EXPECT_EQ(renderMain_rasterLib.funcCamera_SetCurrent(camera), 0);  // the device took it

    model.reset();
    EXPECT_EQ(renderMain_Shutdown(), 1);
}
