#include "uiTestSupport.h"

#include <cstdlib>
#include <vector>

#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "fixtureYub.h"
#include "renderBitmap.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiInputState.h"
#include "uiResource.h"

namespace uitest {

uint32_t Opaque(int x, int y)
{
    return 0xFF000000u | (uint32_t)(x * 40) << 16 | (uint32_t)(y * 40) << 8 | 0x80;
}

UiTest::UiTest() : work(fixtures::TestFolderName()) {}

void UiTest::SetUp()
{
    stdFile_Startup();
    ASSERT_NE(stdBitmap_Startup(), nullptr);
    ASSERT_EQ(renderBitmap_Startup(), 1);
    ASSERT_EQ(raster.Bind(), 1);
    ASSERT_TRUE(fixtures::MakeFolders("Ui\\Materials"));
}

void UiTest::StartUi()
{
    ASSERT_EQ(ui_Startup(), 1);
}

void UiTest::StartRegistryAndCursor()
{
    std::vector<int> codes;
    for (int c = 33; c < 127; c++) codes.push_back(c);
    const fixtures::YubFont font = fixtures::MakeYub(
        8, kLineHeight, kAdvance, codes, [](int, int, int) { return (uint8_t)255; }, kLineHeight);
    ASSERT_TRUE(fixtures::WriteYub("Ui\\Mono.yub", font));
    ASSERT_TRUE(fixtures::WriteYub("Ui\\defaultFont.yub", font));
    ASSERT_EQ(uiResource_Startup(), 1);
    uiCursor_Startup();
}

// Each step gives back nothing when its part was not started.
void UiTest::RecordScreenFaces()
{
    raster.SetHandler(FAKE_RASTER_SLOT(funcDraw_ScreenFaceImmediate), [this](const fakes::RasterCall& c) {
        ScreenFace face;
        face.count = (int)c.Word(0);
        const rlScreenVertex* v = c.Arg<const rlScreenVertex*>(1);
        face.vertices.assign(v, v + face.count);
        face.mode = (int)c.Word(2);
        face.texture = c.Word(3);
        face.colour = c.Word(4);
        faces.push_back(face);
        return 1u;
    });
}

void UiTest::TearDown()
{
    uiInput_SetSource(nullptr);
    uiLayer_PopAll();
    uiDialog_FreeQueued();
    ui_Shutdown();
    uiCursor_Shutdown();
    uiResource_Shutdown();
    // A case that drove widgets without the UI started leaves the frame's records to forget.
    ui_SetHoveredDialog(nullptr);
    ui_SetHoveredElement(nullptr);
    ui_SetPressedElement(nullptr);
    ui_SetKeyCapture(nullptr);
    ui_SetScreenSize(UI_WIDTH, UI_HEIGHT);
    renderBitmap_Shutdown();
    stdBitmap_Shutdown();
    stdFile_Shutdown();
    EXPECT_TRUE(asserts.Records().empty()) << asserts.Last();
}

uiDialog* UiTest::NewDialog()
{
    uiDialog* dialog = uiDialog_New();
    EXPECT_NE(dialog, nullptr);
    return dialog;
}

uiQuad* UiTest::AddQuad(uiDialog* dialog, int x, int y, int width, int height)
{
    uiQuad* quad = (uiQuad*)calloc(1, sizeof(uiQuad));
    quad->x = x;
    quad->y = y;
    quad->width = width;
    quad->height = height;
    quad->pBitmap = renderBitmap_CreateBlank(width < 0 ? -width : width, height < 0 ? -height : height,
                                             BITMAP_FORMAT_8888);
    uiDialog_AddQuad(dialog, quad);
    return quad;
}

uiElement* UiTest::Named(const char* name, uiRect rect)
{
    uiElement* e = new uiElement();
    strcpy(e->name, name);
    e->rect = rect;
    return e;
}

void UiTest::PointAt(const uiDialog* dialog, int x, int y)
{
    uiCursor_SetPos((float)(dialog->x + x), (float)(UI_HEIGHT - 1 - dialog->y - y));
}

void UiTest::WritePicture(const std::string& name, int width, int height, bool texture)
{
    const fixtures::TgaImage image = fixtures::MakeTga((uint16_t)width, (uint16_t)height, 32,
                                                       false, [](int, int) { return 0xFF204060u; });
    ASSERT_TRUE(fixtures::WriteTga("Ui\\" + name + ".tga", image));
    if (texture) {
        ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\" + name + ".tga", image));
    }
}

uint32_t PixelAt(const Bitmap* bitmap, int x, int y)
{
    return ((const uint32_t*)bitmap->pixels)[(size_t)(bitmap->height - 1 - y) * bitmap->width + x];
}

void FillBitmap(Bitmap* bitmap, uint32_t pixel)
{
    uint32_t* p = (uint32_t*)bitmap->pixels;
    for (size_t i = 0; i < (size_t)bitmap->width * bitmap->height; i++) p[i] = pixel;
}

}  // namespace uitest
