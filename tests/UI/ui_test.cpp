// The UI library on the fake raster table: the resource registry with its one name space,
// UI bitmaps, textures and fonts; the cursor's limits, hot spots, icons and drawing; start-up,
// the per-frame update, the screen scales and quads; the layout rectangles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fakeRaster.h"
#include "fixtureAllocations.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "fixtureYub.h"
#include "renderAssert.h"
#include "renderBitmap.h"
#include "renderMain.h"
#include "renderModes.h"
#include "screenVertexRecord.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiElement.h"
#include "uiFont.h"
#include "uiIcon.h"
#include "uiRect.h"
#include "uiResource.h"
#include "uiTestSupport.h"

namespace {

const int kScreenFace = FAKE_RASTER_SLOT(funcDraw_ScreenFaceImmediate);
const int kFlushCache = FAKE_RASTER_SLOT(funcDraw_FlushCache);
const int kFlushFrames = FAKE_RASTER_SLOT(funcMain_FlushFrames);
const int kUncache = FAKE_RASTER_SLOT(funcTexture_UncacheMipMap);

uint32_t Grey(int x, int y)
{
    return 0xFF000000u | (uint32_t)(x * 20) << 16 | (uint32_t)(y * 20) << 8 | 0x40;
}

class Ui : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        RecordScreenFaces();
    }

    static void WriteFont(const std::string& name)
    {
        ASSERT_TRUE(fixtures::WriteYub("Ui\\" + name,
                                       fixtures::MakeYub(2, 2, 3, {'A'}, [](int, int, int) {
                                           return (uint8_t)255;
                                       })));
    }
    static void WriteTexture(const std::string& name, int width, int height)
    {
        ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\" + name,
                                       fixtures::MakeTga((uint16_t)width, (uint16_t)height, 32,
                                                         false, Grey)));
    }

    // An assertion of the cursor module with this expression was reported; the recorder is
    // cleared for the next one.
    bool CursorAsserted(const char* expression)
    {
        const bool reported = asserts.Has(expression, "UI\\uiCursor");
        asserts.Clear();
        return reported;
    }

};

}  // namespace

TEST_F(Ui, RegistryHoldsOneNameSpaceAndOnlyAFontIsAFont)
{
    ASSERT_EQ(uiResource_Startup(), 1);
    EXPECT_EQ(uiResource_Startup(), 0);
    int widget = 0, dialog = 0, other = 0;
    EXPECT_EQ(uiResource_AddNamed("Panel", &widget, UIRESOURCE_ELEMENT), 1);
    EXPECT_EQ(uiResource_AddNamed("PANEL", &dialog, UIRESOURCE_DIALOG), 0);
    EXPECT_EQ(uiResource_AddNamed("Menu", &dialog, UIRESOURCE_DIALOG), 1);
    EXPECT_EQ(uiResource_AddNamed("", &other, UIRESOURCE_ELEMENT), 0);
    EXPECT_EQ(uiResource_AddNamed("Nothing", nullptr, UIRESOURCE_ELEMENT), 0);
    EXPECT_EQ(uiResource_Find("panel"), &widget);
    EXPECT_EQ(uiResource_Find("menu"), &dialog);
    EXPECT_EQ(uiResource_FindOfKind("panel", UIRESOURCE_ELEMENT), &widget);
    EXPECT_EQ(uiResource_FindOfKind("panel", UIRESOURCE_FONT), nullptr);
    EXPECT_EQ(uiResource_RemoveNamed("panel", &dialog), 0);  // not the object of that name
    EXPECT_EQ(uiResource_Find("panel"), &widget);

    // A font file of a widget's name is not loaded under that name, and the widget is left
    // alone; a font's name cannot be taken by a widget either.
    WriteFont("Panel.yub");
    WriteFont("defaultFont15.yub");
    EXPECT_EQ(uiResource_LoadFont("Panel"), nullptr);
    EXPECT_EQ(uiResource_LoadFont("menu"), nullptr);
    EXPECT_EQ(uiResource_Find("panel"), &widget);
    EXPECT_EQ(widget, 0);
    EXPECT_EQ(stdFont_GetLoadedCount(), 0);
    stdFont* font = uiResource_LoadFont("defaultFont15.yub");
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->name, "defaultFont15.yub");
    EXPECT_EQ(font->refCount, 1u);
    EXPECT_EQ(uiResource_AddNamed("DEFAULTFONT15.YUB", &other, UIRESOURCE_ELEMENT), 0);
    EXPECT_EQ(uiResource_LoadFont("DefaultFont15.yub"), font);
    EXPECT_EQ(font->refCount, 2u);
    EXPECT_EQ(uiResource_GetFontCount(), 1);
    EXPECT_EQ(stdFont_GetLoadedCount(), 1);
    EXPECT_EQ(uiResource_FreeFont(font), 1);
    EXPECT_EQ(uiResource_Find("defaultfont15.yub"), font);
    EXPECT_EQ(uiResource_FreeFont(font), 0);
    EXPECT_EQ(uiResource_Find("defaultfont15.yub"), nullptr);
    EXPECT_EQ(uiResource_GetFontCount(), 0);
    EXPECT_EQ(stdFont_GetLoadedCount(), 0);
    EXPECT_EQ(uiResource_FreeFont(nullptr), 0);
    EXPECT_EQ(uiResource_LoadFont("missing"), nullptr);

    // A name longer than the 31 characters a font keeps is found again all the same.
    const std::string longName(40, 'L');
    WriteFont(longName + ".yub");
    stdFont* first = uiResource_LoadFont(longName.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(uiResource_LoadFont(longName.c_str()), first);
    EXPECT_EQ(first->refCount, 2u);
    uiResource_FreeFont(first);
    uiResource_FreeFont(first);

    EXPECT_EQ(uiResource_RemoveNamed("Panel", &widget), 1);
    EXPECT_EQ(uiResource_Find("panel"), nullptr);
    EXPECT_EQ(uiResource_Shutdown(), 1);
    EXPECT_EQ(uiResource_Find("menu"), nullptr);
    EXPECT_EQ(uiResource_AddNamed("Menu", &dialog, UIRESOURCE_DIALOG), 0);
    EXPECT_EQ(uiResource_LoadFont("defaultFont15.yub"), nullptr);
}

TEST_F(Ui, BitmapsComeFromTheBitmapCacheAndTexturesFromTheTextureCache)
{
    ASSERT_TRUE(fixtures::WriteTga("Ui\\panel.tga", fixtures::MakeTga(4, 2, 32, false, Grey)));
    Bitmap* panel = uiResource_LoadBitmap("panel", BITMAP_FORMAT_8888);
    ASSERT_NE(panel, nullptr);
    EXPECT_STREQ(panel->name, "panel.TGA");
    EXPECT_EQ(uiResource_LoadBitmap("Panel.tga", BITMAP_FORMAT_8888), panel);
    EXPECT_EQ(panel->refCount, 2);
    Bitmap* copy = uiResource_BitmapData("panel.TGA");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, panel);
    EXPECT_EQ(copy->width, 4);
    EXPECT_EQ(memcmp(copy->pixels, panel->pixels, 4 * 2 * 4), 0);
    Bitmap* again = uiResource_BitmapData((const char*)panel);  // a bitmap starts with its name
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(uiResource_BitmapData("nothing.tga"), nullptr);
    EXPECT_EQ(uiResource_LoadBitmap("missing", BITMAP_FORMAT_8888), nullptr);
    uiResource_FreeBitmap(panel);
    uiResource_FreeBitmap(panel);
    EXPECT_EQ(uiResource_FreeBitmap(nullptr), 0);
    free(copy);
    free(again);

    // 123 characters take ".TGA" in the 128-character buffer; 124 are refused, not overrun.
    const std::string fits = "Ui\\" + std::string(120, 'p');
    ASSERT_TRUE(fixtures::WriteTga(fits + ".TGA", fixtures::MakeTga(2, 2, 32, false, Grey)));
    Bitmap* longName = uiResource_LoadBitmap(fits.c_str(), BITMAP_FORMAT_1555);
    EXPECT_NE(longName, nullptr);
    uiResource_FreeBitmap(longName);
    EXPECT_EQ(uiResource_LoadBitmap((fits + "p").c_str(), BITMAP_FORMAT_1555), nullptr);
    EXPECT_EQ(uiResource_LoadBitmap(std::string(5000, 'p').c_str(), BITMAP_FORMAT_1555), nullptr);

    WriteTexture("arrow.tga", 16, 16);
    Bitmap* texture = uiResource_LoadMaterial("arrow");
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(texture->rasterHandle, 0u);
    EXPECT_TRUE(texture->textureFlags & BITMAP_TEX_SINGLE_LEVEL);
    EXPECT_EQ(uiResource_LoadMaterial("arrow"), texture);
    EXPECT_EQ(uiResource_FreeMaterial(texture), 0);
    EXPECT_EQ(raster.Count(kUncache), 0);
    EXPECT_EQ(uiResource_FreeMaterial(texture), 0);
    EXPECT_EQ(raster.Count(kUncache), 1);
    EXPECT_EQ(uiResource_FreeMaterial(nullptr), 0);
    EXPECT_EQ(uiResource_LoadMaterial("missing"), nullptr);
    EXPECT_EQ(uiResource_LoadMaterial(""), nullptr);

    // Textures come from the UI folders, the UI folder itself first; not from the material
    // folders of models.
    ASSERT_TRUE(fixtures::MakeFolders("Ui\\Icons"));
    ASSERT_TRUE(fixtures::MakeFolders("Materials"));
    struct Place {
        const char* path;
        bool found;
    };
    const Place places[] = {{"Ui\\inui.tga", true}, {"Ui\\Icons\\inicons.tga", true},
                            {"Ui\\Materials\\inuimat.tga", true}, {"Materials\\inmat.tga", false}};
    for (const Place& p : places) {
        ASSERT_TRUE(fixtures::WriteTga(p.path, fixtures::MakeTga(4, 4, 32, false, Grey)));
        std::string name = strrchr(p.path, '\\') + 1;
        Bitmap* found = uiResource_LoadMaterial(name.c_str());
        EXPECT_EQ(found != nullptr, p.found) << p.path;
        uiResource_FreeMaterial(found);
    }
}

TEST_F(Ui, NoTgaLoaderAllocatesPixelsTheFileDoesNotHold)
{
    // Headers claiming more pixels than follow them, down to an 18-byte file claiming 512 MB,
    // through each reader of TGA images: refused with no request larger than the file (and the
    // texture record), and nothing left behind.
    ASSERT_TRUE(fixtures::AllocationsCounted());
    ASSERT_TRUE(fixtures::MakeFolders("Materials"));
    struct Claim {
        uint16_t width, height;
        uint8_t depth;
        size_t pixelBytes;  // bytes of pixels the file holds
    };
    const Claim claims[] = {{8192, 16384, 32, 0}, {16384, 16384, 32, 0}, {65535, 65535, 24, 3},
                            {64, 64, 32, 64 * 64 * 4 - 1}, {7, 3, 24, 7 * 3 * 3 - 1}};
    struct Loader {
        const char* what;
        const char* folder;
        std::function<void(const char* name)> load;  // fails the case when something loads
    };
    const Loader loaders[] = {
        {"stdBitmap_Load", "Ui\\",
         [](const char* n) { EXPECT_EQ(stdBitmap_Load((std::string(n) + ".tga").c_str(), BITMAP_FORMAT_8888, STDFILE_TYPE_UI), nullptr); }},
        {"renderBitmap_Load", "Materials\\",
         [](const char* n) { EXPECT_EQ(renderBitmap_Load(n, 0), nullptr); }},
        {"uiResource_LoadBitmap", "Ui\\",
         [](const char* n) { EXPECT_EQ(uiResource_LoadBitmap(n, BITMAP_FORMAT_1555), nullptr); }},
        {"uiResource_LoadMaterial", "Ui\\",
         [](const char* n) { EXPECT_EQ(uiResource_LoadMaterial(n), nullptr); }},
    };
    const int live = stdBitmap_GetLiveCount();
    fixtures::AllocationWatch watch;
    for (const Loader& loader : loaders) {
        for (const Claim& c : claims) {
            SCOPED_TRACE(testing::Message() << loader.what << " " << c.width << " x " << c.height
                                            << " x " << (int)c.depth);
            fixtures::TgaImage image;
            image.depth = c.depth;
            image.pixels.assign(c.pixelBytes, 0x7F);
            const fixtures::Bytes file = fixtures::TgaWithClaimedSize(image, c.width, c.height);
            ASSERT_TRUE(fixtures::WriteBytes(std::string(loader.folder) + "claim.tga", file));
            watch.Reset();
            loader.load("claim");
            const size_t largest = watch.Largest(), blocks = watch.LiveBlocks();
            EXPECT_LE(largest, file.size() + sizeof(Bitmap));
            EXPECT_EQ(blocks, 0u);
            EXPECT_EQ(stdBitmap_GetLiveCount(), live);
        }
    }
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
    EXPECT_TRUE(asserts.Records().empty());
}

TEST_F(Ui, AFontsMetricsAreTakenWithinTheCoordinateRange)
{
    // A font file may hold any line height and pen steps; the text layout adds them up, so it
    // takes them within +-32767.
    fixtures::YubFont yub = fixtures::MakeYub(2, 2, 3, {'A'}, [](int, int, int) { return (uint8_t)255; });
    yub.lineHeight = 0xFFFFFFFF;
    yub.glyphs['A'].advance = INT32_MAX;
    yub.glyphs['B'].advance = INT32_MIN;
    yub.glyphs['C'].advance = 7;
    ASSERT_TRUE(fixtures::WriteYub("Ui\\huge.yub", yub));
    stdFont* font = stdFont_Load("huge");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(uiFont_LineHeight(font), UI_COORD_LIMIT);
    EXPECT_EQ(uiFont_CharWidth(font, 'A'), UI_COORD_LIMIT);
    EXPECT_EQ(uiFont_CharWidth(font, 'B'), -UI_COORD_LIMIT);
    EXPECT_EQ(uiFont_CharWidth(font, 'C'), 7);
    EXPECT_EQ(uiFont_TextWidth(font, "AAAA"), UI_COORD_LIMIT);
    EXPECT_EQ(uiFont_TextWidth(font, "BB"), -UI_COORD_LIMIT);
    EXPECT_EQ(uiFont_TextWidth(font, "CC"), 14);
    stdFont_Free(font);
    yub.lineHeight = 15;
    ASSERT_TRUE(fixtures::WriteYub("Ui\\small.yub", yub));
    font = stdFont_Load("small");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(uiFont_LineHeight(font), 15);
    stdFont_Free(font);
    EXPECT_EQ(uiFont_LineHeight(nullptr), 0);
    EXPECT_EQ(uiFont_TextWidth(nullptr, "A"), 0);
}

TEST_F(Ui, WidgetsAndDialogsRegisterUnderTheirNamesWithTheirFlags)
{
    ASSERT_EQ(uiResource_Startup(), 1);
    uiElement panel, twin;
    strcpy(panel.name, "Panel");
    strcpy(twin.name, "PANEL");
    uiDialog* menu = uiDialog_New();
    uiDialog* clash = uiDialog_New();
    uiDialog* unnamed = uiDialog_New();
    strcpy(menu->name, "Menu");
    strcpy(clash->name, "panel");
    EXPECT_EQ(uiResource_AddElement(&panel), 1);
    EXPECT_EQ(panel.flags, (uint32_t)UIELEMENT_FLAG_REGISTERED);
    EXPECT_EQ(uiResource_AddElement(&twin), 0);
    EXPECT_EQ(twin.flags, 0u);
    EXPECT_EQ(uiResource_AddDialog(menu), 1);
    EXPECT_EQ(menu->flags, (uint32_t)UIDIALOG_FLAG_REGISTERED);
    EXPECT_EQ(uiResource_AddDialog(clash), 0);
    EXPECT_EQ(uiResource_AddDialog(unnamed), 0);
    EXPECT_EQ(clash->flags | unnamed->flags, 0u);
    EXPECT_EQ(uiResource_AddElement(nullptr), 0);
    EXPECT_EQ(uiResource_AddDialog(nullptr), 0);
    EXPECT_EQ(uiResource_FindOfKind("panel", UIRESOURCE_ELEMENT), &panel);
    EXPECT_EQ(uiResource_FindOfKind("menu", UIRESOURCE_DIALOG), menu);

    // Removal takes only the object's own entry, and only from a registered object.
    uiResource_RemoveElement(&twin);
    uiResource_RemoveDialog(clash);
    EXPECT_EQ(uiResource_Find("panel"), &panel);
    uiResource_RemoveElement(&panel);
    EXPECT_EQ(panel.flags, 0u);
    EXPECT_EQ(uiResource_Find("panel"), nullptr);
    uiResource_RemoveDialog(menu);
    EXPECT_EQ(menu->flags, 0u);
    EXPECT_EQ(uiResource_Find("menu"), nullptr);
    // A registered dialog leaves the table when it is freed.
    EXPECT_EQ(uiResource_AddDialog(menu), 1);
    uiDialog_Delete(menu, UIDIALOG_DELETE_FREE);
    EXPECT_EQ(uiResource_Find("menu"), nullptr);
    uiDialog_Delete(clash, 0);  // destroyed, the record left to its owner
    free(clash);
    uiDialog_Delete(unnamed, UIDIALOG_DELETE_FREE);
}

TEST_F(Ui, CursorStaysWithinItsLimits)
{
    uiCursor_Startup();
    EXPECT_EQ(uiCursor_GetX(), 320.0f);
    EXPECT_EQ(uiCursor_GetY(), 240.0f);
    struct Step {
        float x, y;            // asked for
        float wantX, wantY;    // under the default limit 0, 0, 639, 479
    };
    const Step steps[] = {
        {700, -20, 639, 0}, {-5, 500, 0, 479}, {639, 479, 639, 479}, {0, 0, 0, 0},
        {0.5f, 478.5f, 0.5f, 478.5f}, {-1e9f, 1e9f, 0, 479}, {320, 240, 320, 240},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.x) + "," + std::to_string(s.y));
        float prevX = uiCursor_GetX(), prevY = uiCursor_GetY();
        uiCursor_SetPos(s.x, s.y);
        EXPECT_EQ(uiCursor_GetX(), s.wantX);
        EXPECT_EQ(uiCursor_GetY(), s.wantY);
        EXPECT_EQ(uiCursor_GetPrevX(), prevX);
        EXPECT_EQ(uiCursor_GetPrevY(), prevY);
        EXPECT_EQ(uiCursor_GetDeltaX(), s.wantX - prevX);
        EXPECT_EQ(uiCursor_GetDeltaY(), s.wantY - prevY);
    }

    // A pushed limit clamps at once; moves stay inside it; popping restores the one below.
    uiCursor_SetPos(639, 0);
    uiCursor_PushLimit(100, 50, 200, 150);
    EXPECT_EQ(uiCursor_GetX(), 200.0f);
    EXPECT_EQ(uiCursor_GetY(), 50.0f);
    uiCursor_SetPos(0, 1000);
    EXPECT_EQ(uiCursor_GetX(), 100.0f);
    EXPECT_EQ(uiCursor_GetY(), 150.0f);
    uiCursor_Move(500, -500);
    EXPECT_EQ(uiCursor_GetX(), 200.0f);
    EXPECT_EQ(uiCursor_GetY(), 50.0f);
    EXPECT_EQ(uiCursor_GetDeltaX(), 100.0f);
    EXPECT_EQ(uiCursor_GetDeltaY(), -100.0f);
    uiCursor_PushLimit(0, 0, 10, 10);
    EXPECT_EQ(uiCursor_GetX(), 10.0f);
    uiCursor_PopLimit();
    EXPECT_EQ(uiCursor_GetLimit()->minX, 100.0f);
    uiCursor_Move(1000, 1000);
    EXPECT_EQ(uiCursor_GetX(), 200.0f);
    EXPECT_EQ(uiCursor_GetY(), 150.0f);
    uiCursor_PopLimit();
    uiCursor_Move(1000, 1000);
    EXPECT_EQ(uiCursor_GetX(), 639.0f);
    EXPECT_EQ(uiCursor_GetY(), 479.0f);

    // Popping the only limit leaves the default limit in force.
    uiCursor_PopLimit();
    uiCursor_PopLimit();
    const uiCursorLimit* limit = uiCursor_GetLimit();
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->pNext, nullptr);
    EXPECT_EQ(limit->minX, 0.0f);
    EXPECT_EQ(limit->minY, 0.0f);
    EXPECT_EQ(limit->maxX, 639.0f);
    EXPECT_EQ(limit->maxY, 479.0f);
    EXPECT_TRUE(asserts.Records().empty());

    // The screen position follows the scales.
    ui_SetScreenSize(1280, 960);
    uiCursor_SetPos(100, 50);
    EXPECT_FLOAT_EQ(uiCursor_GetScreenX(), 200.0f);
    EXPECT_FLOAT_EQ(uiCursor_GetScreenY(), 100.0f);

    // Without a limit stack the position is taken as it comes and the fault is reported.
    uiCursor_Shutdown();
    uiCursor_SetPos(5000, 5000);
    EXPECT_EQ(uiCursor_GetX(), 5000.0f);
    EXPECT_TRUE(CursorAsserted("pLimitStack"));
}

TEST_F(Ui, CursorRecordsTakeTheirHotSpotAndTextureCoordinates)
{
    WriteTexture("hand.tga", 32, 16);
    Bitmap* texture = uiResource_LoadMaterial("hand");
    ASSERT_NE(texture, nullptr);
    struct Hot {
        int mode;
        float x, y;
    };
    const Hot hots[] = {{0, 16, 8}, {1, 0, 0}, {2, 32, 0}, {3, 0, 16}, {4, 32, 16}, {9, 0, 0}};
    for (const Hot& h : hots) {
        SCOPED_TRACE(h.mode);
        uiCursor* cursor = uiCursor_Create(texture, 0, 0, h.mode);
        ASSERT_NE(cursor, nullptr);
        EXPECT_EQ(cursor->pBitmap, texture);
        EXPECT_EQ(cursor->width, 32.0f);
        EXPECT_EQ(cursor->height, 16.0f);
        EXPECT_EQ(cursor->hotX, h.x);
        EXPECT_EQ(cursor->hotY, h.y);
        const float uvs[8] = {0, 0, 1, 0, 1, 1, 0, 1};
        for (int i = 0; i < 8; i++) EXPECT_EQ(cursor->uvs[i], uvs[i]) << i;
        free(cursor);  // the record only: the texture is the test's
    }
    uiCursor* part = uiCursor_Create(texture, 24, 4, UICURSOR_HOT_CENTRE);
    ASSERT_NE(part, nullptr);
    const float partUvs[8] = {0, 0, 0.75f, 0, 0.75f, 0.25f, 0, 0.25f};
    for (int i = 0; i < 8; i++) EXPECT_EQ(part->uvs[i], partUvs[i]) << i;
    EXPECT_EQ(part->hotX, 12.0f);
    EXPECT_EQ(part->hotY, 2.0f);
    free(part);
    uiResource_FreeMaterial(texture);

    EXPECT_EQ(uiCursor_Create(nullptr, 0, 0, 0), nullptr);
    EXPECT_TRUE(CursorAsserted("pBitmap"));
    EXPECT_EQ(uiCursor_Load("missing", 0, 0, 0), nullptr);
    uiCursor* loaded = uiCursor_Load("hand.tga", 0, 0, UICURSOR_HOT_TOP_LEFT);
    ASSERT_NE(loaded, nullptr);
    uiCursor_Free(loaded);
    EXPECT_EQ(raster.Count(kUncache), 2);  // each texture went with its last reference
}

TEST_F(Ui, CursorIsDrawnAtItsHotSpotThroughTheRasterTable)
{
    ASSERT_EQ(ui_Startup(), 1);
    WriteTexture("arrow.tga", 16, 16);
    uiCursor* arrow = uiCursor_Load("arrow", 0, 0, UICURSOR_HOT_TOP_LEFT);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(uiCursor_Draw(), 0);  // no current cursor
    uiCursor_Set(arrow);
    uiCursor_SetPos(100, 200);
    ui_SetScreenSize(1280, 960);
    raster.ClearCalls();
    EXPECT_EQ(uiCursor_Draw(), 1);
    ASSERT_EQ(raster.Slots(), (std::vector<int>{kFlushFrames, kScreenFace}));
    EXPECT_EQ(raster.Last(kFlushFrames)->Word(0), 0u);
    ASSERT_EQ(faces.size(), 1u);
    const uitest::ScreenFace& face = faces[0];
    EXPECT_EQ(face.count, 4);
    EXPECT_EQ(face.mode, RENDERMODE_SCREENPOLY);
    EXPECT_EQ(face.texture, arrow->pBitmap->rasterHandle);
    EXPECT_EQ(face.colour, 0xFFFFFFFFu);
    // Top-left hot spot: the picture hangs below and right of the position, which lies on
    // screen row (479 - 200) x 2; the image's top row (the texture's last) at its upper edge.
    const float want[4][4] = {{199, 559, 0, 1}, {231, 559, 1, 1}, {231, 591, 1, 0}, {199, 591, 0, 0}};
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(face.vertices[i].x, want[i][0]);
        EXPECT_FLOAT_EQ(face.vertices[i].y, want[i][1]);
        EXPECT_FLOAT_EQ(face.vertices[i].u, want[i][2]);
        EXPECT_FLOAT_EQ(face.vertices[i].v, want[i][3]);
    }

    // Moving the mouse moves the drawn picture by the scaled movement, within the limits:
    // down the screen when the mouse moves towards the user, up when it moves away.
    struct MouseStep {
        float dx, dy;
        float cursorY;  // UI space, y upwards
        float top;      // the picture's upper edge on the screen
    };
    const MouseStep mouse[] = {{10, 300, 0, 959}, {0, -100, 100, 759}, {0, -1000, 479, 1}};
    float x = 219.0f;
    for (const MouseStep& m : mouse) {
        SCOPED_TRACE(m.dy);
        uiCursor_MoveByMouse(m.dx, m.dy);
        EXPECT_EQ(uiCursor_GetY(), m.cursorY);
        faces.clear();
        uiCursor_Draw();
        ASSERT_EQ(faces.size(), 1u);
        EXPECT_FLOAT_EQ(faces[0].vertices[0].x, x);
        EXPECT_FLOAT_EQ(faces[0].vertices[0].y, m.top);
        EXPECT_FLOAT_EQ(faces[0].vertices[3].y, m.top + 32);
    }

    uiCursor_Hide();
    EXPECT_EQ(uiCursor_IsShown(), 0);
    raster.ClearCalls();
    EXPECT_EQ(uiCursor_Draw(), 0);
    EXPECT_TRUE(raster.Calls().empty());
    uiCursor_Show();
    EXPECT_EQ(uiCursor_IsShown(), 1);
    uiCursor_Free(arrow);
    EXPECT_EQ(uiCursor_Get(), nullptr);  // a freed cursor is current no more
    EXPECT_EQ(uiCursor_Draw(), 0);
}

TEST_F(Ui, IconsRideOnTheCursorAndGiveItBack)
{
    WriteTexture("arrow.tga", 8, 8);
    uiCursor* arrow = uiCursor_Load("arrow", 0, 0, 0);
    uiCursor* held = uiCursor_Load("arrow", 4, 4, 0);
    ASSERT_TRUE(arrow && held);
    uiIcon sword, shield, bare;
    sword.pIconCursor = held;  // the icons' own cursors
    shield.pIconCursor = arrow;
    uiCursor_Set(arrow);
    uiCursor_SetDefault(arrow);
    EXPECT_EQ(uiCursor_GetDefault(), arrow);
    EXPECT_EQ(uiCursor_TryAttachIcon(&sword), 1);
    EXPECT_EQ(uiCursor_GetIcon(), &sword);
    EXPECT_EQ(uiCursor_Get(), held);
    EXPECT_EQ(uiCursor_GetPrevious(), arrow);
    EXPECT_EQ(uiCursor_TryAttachIcon(&shield), 0);
    EXPECT_EQ(uiCursor_GetIcon(), &sword);
    uiCursor_DetachIcon();
    EXPECT_EQ(uiCursor_GetIcon(), nullptr);
    EXPECT_EQ(uiCursor_Get(), arrow);
    EXPECT_TRUE(asserts.Records().empty());

    // Null icons and cursors are refused and reported; nothing changes.
    struct Refusal {
        const char* expression;
        std::function<void()> call;
    };
    const Refusal refusals[] = {
        {"pIcon", [&] { uiCursor_AttachIcon(nullptr); }},
        {"pCursor", [&] { uiCursor_AttachIcon(&bare); }},  // an icon without a cursor
        {"pCursor", [] { uiCursor_Set(nullptr); }},
        {"pCursor", [] { uiCursor_SetDefault(nullptr); }},
    };
    for (const Refusal& r : refusals) {
        asserts.Clear();
        r.call();
        EXPECT_TRUE(CursorAsserted(r.expression)) << r.expression;
        EXPECT_EQ(uiCursor_Get(), arrow);
        EXPECT_EQ(uiCursor_GetIcon(), nullptr);
        EXPECT_EQ(uiCursor_GetDefault(), arrow);
    }
    EXPECT_EQ(uiCursor_TryAttachIcon(nullptr), 0);
    EXPECT_TRUE(CursorAsserted("pIcon"));
    sword.pIconCursor = shield.pIconCursor = nullptr;  // freed here, not by the icons
    uiCursor_Free(held);
    uiCursor_Free(arrow);
    EXPECT_EQ(uiCursor_GetDefault(), nullptr);
    EXPECT_EQ(uiCursor_GetPrevious(), nullptr);
}

TEST_F(Ui, StartupLoadsTheDefaultFontAndShutdownGivesItBack)
{
    WriteFont("defaultFont15.yub");
    ASSERT_EQ(ui_Startup(), 1);
    EXPECT_EQ(ui_IsStarted(), 1);
    stdFont* font = uiFont_GetDefault();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(uiResource_Find(UIFONT_DEFAULT_NAME), font);
    EXPECT_EQ(uiCursor_IsStarted(), 1);
    EXPECT_EQ(uiCursor_GetX(), 320.0f);
    EXPECT_EQ(ui_GetScaleX(), 1.0f);
    EXPECT_EQ(ui_GetScaleY(), 1.0f);
    EXPECT_EQ(ui_Shutdown(), 1);
    EXPECT_EQ(uiFont_GetDefault(), nullptr);
    EXPECT_EQ(stdFont_GetLoadedCount(), 0);
    EXPECT_EQ(uiResource_IsStarted(), 0);
    EXPECT_EQ(uiCursor_IsStarted(), 0);
    EXPECT_EQ(ui_Shutdown(), 0);

    // Without the font file the UI still starts, with no default font.
    ASSERT_TRUE(DeleteFileA("Ui\\defaultFont15.yub"));
    ASSERT_EQ(ui_Startup(), 1);
    EXPECT_EQ(uiFont_GetDefault(), nullptr);
    EXPECT_EQ(ui_Shutdown(), 1);
}

TEST_F(Ui, QuadsAreScaledToTheScreenWithTheirAlpha)
{
    struct Size {
        int width, height;
        float scaleX, scaleY;
    };
    const Size sizes[] = {{640, 480, 1.0f, 1.0f}, {800, 600, 1.25f, 1.25f}, {1024, 768, 1.6f, 1.6f},
                          {320, 240, 0.5f, 0.5f}, {1920, 1080, 3.0f, 2.25f}};
    // UI corners (y upwards) and where they land on a 640 x 480 screen (rows downwards), the
    // texture coordinates mirrored in v with them.
    const float corners[12] = {10, 20, 99, 110, 20, 99, 110, 5, 99, 10, 5, 99};
    const float rows[4] = {459, 459, 474, 474};
    const float uvs[8] = {0, 0, 0.5f, 0, 0.5f, 0.75f, 0, 0.75f};
    const float deviceV[4] = {1, 1, 0.25f, 0.25f};
    Bitmap texture = {};
    texture.rasterHandle = 77;
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.width);
        ui_SetScreenSize(s.width, s.height);
        EXPECT_FLOAT_EQ(ui_GetScaleX(), s.scaleX);
        EXPECT_FLOAT_EQ(ui_GetScaleY(), s.scaleY);
        faces.clear();
        EXPECT_EQ(ui_DrawQuad(corners, uvs, 99, &texture, RENDERMODE_SCREENPOLY, 255.0f), 1);
        ASSERT_EQ(faces.size(), 1u);
        ASSERT_EQ(faces[0].count, 4);
        for (int i = 0; i < 4; i++) {
            EXPECT_FLOAT_EQ(faces[0].vertices[i].x, corners[i * 3] * s.scaleX);
            EXPECT_FLOAT_EQ(faces[0].vertices[i].y, rows[i] * s.scaleY);
            EXPECT_EQ(faces[0].vertices[i].u, uvs[i * 2]);
            EXPECT_FLOAT_EQ(faces[0].vertices[i].v, deviceV[i]);
        }
        EXPECT_EQ(faces[0].texture, 77u);
    }
    struct Alpha {
        float alpha;
        uint32_t colour;
    };
    const Alpha alphas[] = {{255.0f, 0xFFFFFFFF}, {127.5f, 0x80FFFFFF}, {127.4f, 0x7FFFFFFF},
                            {0.4f, 0x00FFFFFF}, {300.0f, 0x2CFFFFFF}};
    for (const Alpha& a : alphas) {
        faces.clear();
        ui_DrawScreenQuads(corners, uvs, 4, nullptr, RENDERMODE_RGBA, a.alpha);
        ASSERT_EQ(faces.size(), 1u);
        EXPECT_EQ(faces[0].colour, a.colour) << a.alpha;
        EXPECT_EQ(faces[0].texture, 0u);
        EXPECT_EQ(faces[0].mode, RENDERMODE_RGBA);
    }
    // At most 8 points make a face.
    float points[9 * 3] = {};
    float pointUvs[9 * 2] = {};
    faces.clear();
    EXPECT_EQ(ui_DrawScreenQuads(points, pointUvs, 9, &texture, 11, 255.0f), 0);
    EXPECT_EQ(ui_DrawScreenQuads(points, pointUvs, 0, &texture, 11, 255.0f), 0);
    EXPECT_TRUE(faces.empty());
    EXPECT_EQ(ui_DrawScreenQuads(points, pointUvs, 8, &texture, 11, 255.0f), 1);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].count, 8);
}

TEST_F(Ui, UpdateFlushesTheDrawCacheAndForgetsTheFramesHover)
{
    ASSERT_EQ(ui_Startup(), 1);
    uiElement* button = (uiElement*)&faces;  // only the address is kept
    raster.ClearCalls();
    ui_SetHoveredElement(button);
    EXPECT_EQ(ui_GetHoveredElement(), button);
    EXPECT_EQ(ui_GetLastHoveredElement(), button);
    ui_Update();
    EXPECT_EQ(raster.Count(kFlushCache), 1);
    EXPECT_EQ(raster.Last(kFlushCache)->Word(0), 1u);
    EXPECT_EQ(ui_GetHoveredElement(), nullptr);
    EXPECT_EQ(ui_GetHoveredDialog(), nullptr);
    EXPECT_EQ(ui_GetLastHoveredElement(), button);
    ui_SetHoveredElement(nullptr);
    EXPECT_EQ(ui_GetLastHoveredElement(), button);
}

TEST(UiRect, OverlapIntersectionAndUnionWithInclusiveEnds)
{
    struct Case {
        uiRect a, b;
        int overlaps;
        uiRect intersection;  // when they overlap
        uiRect hull;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {10, 10, 5, 5}, 1, {10, 10, 0, 0}, {0, 0, 15, 15}},
        {{0, 0, 10, 10}, {11, 0, 5, 5}, 0, {}, {0, 0, 16, 10}},
        {{0, 0, 10, 10}, {0, 11, 5, 5}, 0, {}, {0, 0, 10, 16}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, 1, {2, 3, 4, 5}, {0, 0, 10, 10}},
        {{-5, -5, 10, 10}, {0, 0, 10, 10}, 1, {0, 0, 5, 5}, {-5, -5, 15, 15}},
        {{5, 5, 0, 0}, {5, 5, 0, 0}, 1, {5, 5, 0, 0}, {5, 5, 0, 0}},
        {{0, 0, 2147483647, 10}, {100, 0, 2147483647, 10}, 1, {100, 0, 2147483547, 10},
         {0, 0, 2147483647, 10}},
    };
    uiElement alone;
    EXPECT_EQ(uiElement_Overlaps(&alone, nullptr), 0);
    EXPECT_EQ(uiElement_Overlaps(nullptr, &alone), 0);
    for (const Case& c : cases) {
        for (bool swapped : {false, true}) {
            const uiRect& a = swapped ? c.b : c.a;
            const uiRect& b = swapped ? c.a : c.b;
            SCOPED_TRACE(std::to_string(a.x) + "," + std::to_string(a.y) + " with " +
                         std::to_string(b.x) + "," + std::to_string(b.y));
            EXPECT_EQ(uiRect_Overlaps(&a, &b), c.overlaps);
            uiElement first, second;
            first.rect = a;
            second.rect = b;
            EXPECT_EQ(uiElement_Overlaps(&first, &second), c.overlaps);
            uiRect out = {7, 7, 7, 7};
            EXPECT_EQ(uiRect_Intersect(&out, &a, &b), c.overlaps);
            const uiRect want = c.overlaps ? c.intersection : uiRect{7, 7, 7, 7};
            EXPECT_EQ(memcmp(&out, &want, sizeof out), 0);
            uiRect hull;
            EXPECT_EQ(uiRect_Union(&hull, &a, &b), &hull);
            EXPECT_EQ(memcmp(&hull, &c.hull, sizeof hull), 0);
        }
    }
}
