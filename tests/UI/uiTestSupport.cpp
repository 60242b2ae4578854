#include "uiTestSupport.h"

#include <cstdlib>

#include "fixtureTestFolder.h"
#include "renderBitmap.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiResource.h"

void renderMain_AssertHook(const char* expression, const char*, int)
{
    uitest::g_asserts.push_back(expression);
}

namespace uitest {

std::vector<std::string> g_asserts;

uint32_t Opaque(int x, int y)
{
    return 0xFF000000u | (uint32_t)(x * 40) << 16 | (uint32_t)(y * 40) << 8 | 0x80;
}

UiTest::UiTest() : work(fixtures::TestFolderName()) {}

void UiTest::SetUp()
{
    g_asserts.clear();
    stdFile_Startup();
    ASSERT_NE(stdBitmap_Startup(), nullptr);
    ASSERT_EQ(renderBitmap_Startup(), 1);
    ASSERT_EQ(raster.Bind(), 1);
    ASSERT_TRUE(fixtures::MakeFolders("Ui\\Materials"));
    ASSERT_EQ(ui_Startup(), 1);
}

void UiTest::TearDown()
{
    uiLayer_PopAll();
    uiDialog_FreeQueued();
    ui_Shutdown();
    renderBitmap_Shutdown();
    stdBitmap_Shutdown();
    stdFile_Shutdown();
    EXPECT_TRUE(g_asserts.empty()) << g_asserts.front();
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
