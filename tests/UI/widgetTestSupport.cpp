#include "widgetTestSupport.h"

#include <vector>

#include "fixtureTga.h"
#include "fixtureYub.h"
#include "renderBitmap.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiInputState.h"
#include "uiResource.h"

namespace widgettest {

void WidgetTest::SetUp()
{
    stdFile_Startup();
    ASSERT_NE(stdBitmap_Startup(), nullptr);
    ASSERT_EQ(renderBitmap_Startup(), 1);
    ASSERT_EQ(raster.Bind(), 1);
    ASSERT_TRUE(fixtures::MakeFolders("Ui\\Materials"));
    std::vector<int> codes;
    for (int c = 33; c < 127; c++) codes.push_back(c);
    const fixtures::YubFont font = fixtures::MakeYub(
        8, kLineHeight, kAdvance, codes, [](int, int, int) { return (uint8_t)255; }, kLineHeight);
    ASSERT_TRUE(fixtures::WriteYub("Ui\\Mono.yub", font));
    ASSERT_TRUE(fixtures::WriteYub("Ui\\defaultFont.yub", font));
    ASSERT_EQ(uiResource_Startup(), 1);
    uiCursor_Startup();
}

void WidgetTest::TearDown()
{
    uiInput_SetSource(nullptr);
    ui_SetHoveredElement(nullptr);
    uiCursor_Shutdown();
    uiResource_Shutdown();
    renderBitmap_Shutdown();
    stdBitmap_Shutdown();
    stdFile_Shutdown();
}

void WidgetTest::WritePicture(const std::string& name, int width, int height, bool texture)
{
    const fixtures::TgaImage image = fixtures::MakeTga((uint16_t)width, (uint16_t)height, 32,
                                                       false, [](int, int) { return 0xFF204060u; });
    ASSERT_TRUE(fixtures::WriteTga("Ui\\" + name + ".tga", image));
    if (texture) {
        ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\" + name + ".tga", image));
    }
}

}  // namespace widgettest
