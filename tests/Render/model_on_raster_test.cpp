// The whole road on the real raster library: the front-end binds blitvane.dll, opens the
// device, and a model with its materials, read from files the fixtures write, hands its
// textures to the library; the camera is selected on the device.
#include <gtest/gtest.h>

#include <cstring>

#include "Render/Direct/rasterTestWindow.h"
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

}  // namespace

TEST(ModelOnRaster, MaterialsReachTheRasterLibraryWithTheirTextures)
{
    fixtures::WorkFolder work(fixtures::TestFolderName());
    fixtures::MakeFolders("3D\\Models");
    fixtures::MakeFolders("Materials");
    ASSERT_TRUE(fixtures::WriteQev("3D\\Models\\crate.qev",
                                   fixtures::MakeQevModel({"planks", "glow", "dflt"}, 3, 6, true)));
    ASSERT_TRUE(fixtures::DazWriter().Texture("planks").Line("twosided").Write("Materials\\planks.daz"));
    ASSERT_TRUE(fixtures::DazWriter().Pass(0, "planks").Pass(1, "lamp", {"rgb_add"}).Write("Materials\\glow.daz"));
    for (const char* name : {"planks", "lamp", "dflt"})
        ASSERT_TRUE(fixtures::WriteTga(std::string("Materials\\") + name + ".tga",
                                       fixtures::MakeTga(16, 16, 24, false, Checker)));

    RasterTestWindow window{true};
    render_SetWindow(window.hwnd);
    const renderSettings saved = renderSettings_current;
    strcpy(renderSettings_current.driver, "blitvane.dll");
    renderSettings_current.optionFlags |= RENDER_OPTION_WINDOWED;
    renderSettings_current.reqScreenWidth = 640;
    renderSettings_current.reqScreenHeight = 480;
    stdFile_Startup();
    ASSERT_EQ(renderMain_Startup(), 1);

    Model* model = renderModel_Load("crate", 0);
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

    Viewport* viewport = renderViewport_Create(1, 0, 0, 639, 479);
    Camera* camera = renderCamera_Create(90, 1, 1, 1000, 1);
    renderCamera_SetViewport(camera, viewport);
    EXPECT_EQ(renderCamera_Select(camera), 1);
    EXPECT_EQ(renderMain_rasterLib.funcCamera_SetCurrent(camera), 0);  // the device took it

    renderModel_Free(model);
    EXPECT_EQ(renderMain_Shutdown(), 1);
    stdFile_Shutdown();
    renderSettings_current = saved;
}
