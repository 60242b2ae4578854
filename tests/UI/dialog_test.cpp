// Dialogs on the fake raster table and the fake clock: UI scripts written by the fixture
// writer, quads and their screen corners, layers, hover and hit testing, visibility groups,
// fades, the free queue, and damaged scripts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fakeClock.h"
#include "fixtureAllocations.h"
#include "fakeRaster.h"
#include "fixtureTga.h"
#include "fixtureWix.h"
#include "renderBitmap.h"
#include "renderTimer.h"
#include "screenVertexRecord.h"
#include "stdBitmap.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiResource.h"
#include "uiTestSupport.h"

using namespace uitest;

namespace {

const int kRecache = FAKE_RASTER_SLOT(funcTexture_RecacheHandle);

std::vector<std::string> g_events;

void Note(uiDialog* d, const char* what)
{
    g_events.push_back(std::string(what) + ":" + d->name);
}

class UiDialog : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        StartUi();
        g_events.clear();
        RecordScreenFaces();
    }
    uiDialog* Make(const char* name, int x, int y, uint32_t flags = 0)
    {
        uiDialog* d = NewDialog();
        strcpy(d->name, name);
        uiDialog_SetPos(d, x, y);
        AddQuad(d, 0, 0, 50, 50);
        d->flags |= flags;
        d->pOnUpdate = [](uiDialog* dd) { Note(dd, "update"); };
        d->pOnDraw = [](uiDialog* dd) { Note(dd, "draw"); };
        d->pOnClose = [](uiDialog* dd) { Note(dd, "close"); };
        d->pMusic = [](uiDialog* dd, const char* m) { Note(dd, m); };
        return d;
    }
};

TEST_F(UiDialog, ScriptBuildsQuadsWidgetsParentsAndNames)
{
    ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\left.tga", fixtures::MakeTga(128, 64, 32, false, Opaque)));
    ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\right.tga", fixtures::MakeTga(64, 64, 32, false, Opaque)));
    fixtures::WixScript script;
    script.dialogLines = {"; a comment dialog=1", "Name=Menu", "pos=100,40 ontop=1", "visgroup=3",
                          "music=Theme", "bogus=1", "ontop=x"};
    script.quads = {{0, 0, 64, 32, "left"}, {64, 0, -32, 48, "RIGHT"}};
    script.elements = {
        {"static", {"name=panel", "pos=0,0", "size=70,32"}},
        {"static", {"name=kid", "parent=panel", "pos=4,4", "size=8,8", "key=1"}},
        {"static", {"parent=panel", "name=late", "pos=2,2", "size=4,4"}},
        {"STATIC", {"name=top", "key=1", "pos=70,4", "size=8,8"}},
        {"slider", {"name=knob"}},  // sliders are made by code, not by scripts: skipped
        {"static", {"name=bad", "pos=1"}},
    };
    ASSERT_TRUE(fixtures::WriteWix("menu.wix", script));
    EXPECT_EQ(uiDialog_LoadScript("missing.wix"), nullptr);
    uiDialog* d = uiDialog_LoadScript("menu.wix");
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->name, "menu");
    EXPECT_STREQ(d->music, "theme");
    EXPECT_EQ(d->x, 100);
    EXPECT_EQ(d->y, 40);
    EXPECT_EQ(d->flags, 0u);
    EXPECT_EQ(d->visGroup, 3);

    // The quad list runs backwards; a negative width mirrors the texture.
    uiQuad* right = d->pQuads;
    ASSERT_NE(right, nullptr);
    uiQuad* left = right->pNext;
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->pNext, nullptr);
    EXPECT_EQ(right->width, 32);
    const float rightUvs[8] = {0.5f, 0, 0, 0, 0, 0.75f, 0.5f, 0.75f};
    const float leftUvs[8] = {0, 0, 0.5f, 0, 0.5f, 0.5f, 0, 0.5f};
    for (int i = 0; i < 8; i++) {
        EXPECT_FLOAT_EQ(right->uvs[i], rightUvs[i]) << i;
        EXPECT_FLOAT_EQ(left->uvs[i], leftUvs[i]) << i;
    }
    EXPECT_EQ(d->left, 0);
    EXPECT_EQ(d->right, 96);
    EXPECT_EQ(d->bottom, 48);
    EXPECT_EQ(d->format, right->pBitmap->format);

    uiElement* panel = (uiElement*)uiResource_Find("panel");
    uiElement* kid = (uiElement*)uiResource_Find("kid");
    uiElement* late = (uiElement*)uiResource_Find("late");
    uiElement* top = (uiElement*)uiResource_Find("top");
    ASSERT_TRUE(panel && kid && late && top);
    EXPECT_EQ(uiResource_Find("bad"), nullptr);
    EXPECT_EQ(uiResource_Find("knob"), nullptr);
    std::vector<uiElement*> order;
    for (uiElement* e = uiDialog_NextElement(d, nullptr); e; e = uiDialog_NextElement(d, e)) order.push_back(e);
    EXPECT_EQ(order, (std::vector<uiElement*>{panel, kid, top, late}));
    // Only the widget placed by its parent pair is in the dialog's table and its focus ring.
    EXPECT_EQ(uiDialog_FindElement(d, "kid"), kid);
    EXPECT_EQ(uiDialog_FindElement(d, "panel"), nullptr);
    EXPECT_EQ(uiDialog_FindElement(d, "late"), nullptr);
    EXPECT_EQ(uiDialog_FindOfKind(d, "kid", UIKIND_STATIC), kid);
    EXPECT_EQ(uiDialog_FindOfKind(d, "kid", UIKIND_BUTTON), nullptr);
    EXPECT_EQ(d->pTabStart, kid);
    EXPECT_EQ(kid->pTabNext, kid);
    EXPECT_EQ(panel->numOverlaps, 2);
    EXPECT_EQ(uiDialog_SetHandlerByKind(d, UIKIND_STATIC, 2, [](uiElement*, uint32_t) {}), 4);
    EXPECT_EQ(uiDialog_SetHandlerByName(d, "kid", 14, [](uiElement*, uint32_t) {}), 0);

    // Drawn: the quad of the later line first, at the dialog's place on the screen (rows
    // counted downwards), textures uploaded again once.
    uiDialog_Open(d);
    EXPECT_EQ(ui_Draw(), 1);
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].texture, right->pBitmap->rasterHandle);
    EXPECT_EQ(faces[1].texture, left->pBitmap->rasterHandle);
    const float corners[4][2] = {{99.5f, 39.5f}, {163.5f, 39.5f}, {163.5f, 71.5f}, {99.5f, 71.5f}};
    for (int i = 0; i < 4; i++) {
        EXPECT_FLOAT_EQ(faces[1].vertices[i].x, corners[i][0]) << i;
        EXPECT_FLOAT_EQ(faces[1].vertices[i].y, corners[i][1]) << i;
        EXPECT_FLOAT_EQ(faces[0].vertices[i].u, rightUvs[i * 2]) << i;
    }
    EXPECT_EQ(faces[0].colour >> 24, 255u);
    EXPECT_EQ(raster.Count(kRecache), 2);
    ui_Draw();
    EXPECT_EQ(raster.Count(kRecache), 2);

    uiDialog_Free(d);
    EXPECT_EQ(uiResource_Find("panel"), nullptr);
    EXPECT_EQ(uiResource_Find("late"), nullptr);
    EXPECT_EQ(uiLayer_FirstDialog(), nullptr);
}

TEST_F(UiDialog, OnTopModalHoverHitTestingAndVisibilityGroups)
{
    uiDialog* a = Make("a", 0, 0);
    uiDialog* b = Make("b", 100, 0, UIDIALOG_ON_TOP);
    uiDialog* c = Make("c", 200, 0, UIDIALOG_ON_TOP);
    uiDialog* bare = NewDialog();  // no quads: hit through its widgets
    strcpy(bare->name, "bare");
    uiDialog_SetPos(bare, 300, 300);
    uiElement* w = new uiElement();
    strcpy(w->name, "w");
    w->rect = {10, 10, 5, 5};
    ASSERT_EQ(uiDialog_AddElement(bare, nullptr, w), 1);
    for (uiDialog* d : {a, b, c, bare}) uiDialog_Open(d);

    EXPECT_EQ(uiDialog_Update(), 3);  // a, bare and the later on-top dialog
    EXPECT_EQ(g_events, (std::vector<std::string>{"update:a", "update:c"}));
    g_events.clear();
    EXPECT_EQ(uiDialog_DrawAll(), 3);
    EXPECT_EQ(g_events, (std::vector<std::string>{"draw:a", "draw:c"}));

    struct Probe {
        int x, y;
        uiDialog* hovered;
    };
    const Probe probes[] = {{0, 0, a},      {50, 50, a},  {51, 50, nullptr}, {150, 20, b},
                            {310, 310, bare}, {315, 315, bare}, {309, 310, nullptr}};
    for (const Probe& p : probes) {
        uiCursor_SetPos((float)p.x, (float)(UI_HEIGHT - 1 - p.y));
        ui_Update();
        EXPECT_EQ(ui_GetHoveredDialog(), p.hovered) << p.x << "," << p.y;
    }
    a->flags |= UIDIALOG_NO_HIT;
    uiCursor_SetPos(10, UI_HEIGHT - 11);
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), nullptr);

    // A modal dialog takes the hover wherever the cursor is, until it closes.
    uiDialog* m = Make("m", 500, 400, UIDIALOG_MODAL);
    uiDialog_Open(m);
    EXPECT_EQ(ui_GetHoveredDialog(), m);
    uiCursor_SetPos(150, UI_HEIGHT - 21);
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), m);
    uiDialog_Close(m);
    EXPECT_EQ(ui_GetHoveredDialog(), nullptr);
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), b);

    // Visibility group 3: opening one closes the first other open one of the group.
    uiDialog* g1 = Make("g1", 0, 100);
    uiDialog* g2 = Make("g2", 0, 200);
    g1->visGroup = g2->visGroup = 3;
    uiDialog_Open(g1);
    g_events.clear();
    uiDialog_Open(g2);
    EXPECT_EQ(g_events, std::vector<std::string>{"close:g1"});
    EXPECT_FALSE(g1->flags & UIDIALOG_OPEN);
    EXPECT_TRUE(a->flags & UIDIALOG_OPEN);

    // A layer above takes the cursor and the drawing; popping it closes its dialogs and
    // plays the music of the last dialog below that has some.
    strcpy(a->music, "below");
    uiLayer_Push();
    uiDialog* up = Make("up", 0, 0);
    uiDialog_Open(up);
    EXPECT_TRUE(uiDialog_IsInTopLayer(up));
    EXPECT_TRUE(uiDialog_IsInLowerLayer(a));
    EXPECT_FALSE(uiDialog_IsInTopLayer(a));
    EXPECT_EQ(uiLayer_FirstDialog(), up);
    g_events.clear();
    EXPECT_EQ(uiDialog_DrawAll(), 1);
    uiLayer_Pop();
    EXPECT_EQ(g_events, (std::vector<std::string>{"draw:up", "close:up", "below:a"}));
    EXPECT_FALSE(up->flags & UIDIALOG_OPEN);
    EXPECT_EQ(uiLayer_FirstDialog(), a);
    for (uiDialog* d : {a, b, c, bare, g1, g2, up}) uiDialog_Free(d);
}

TEST_F(UiDialog, FadesRunOnTheFrameClockAndAFadeOutCloses)
{
    fakes::FakeClock clock(1000);
    renderTimer_Reset(&renderTimer_viewer);
    renderTimer_Start(&renderTimer_viewer);
    auto frame = [&] {
        clock.Advance(250);
        renderTimer_Tick(&renderTimer_viewer);
        faces.clear();
        ui_Update();
        ui_Draw();
    };
    uiDialog* d = Make("d", 0, 0);
    uiDialog_FadeIn(d, 0.0f);
    EXPECT_FALSE(d->flags & UIDIALOG_OPEN);
    uiDialog_FadeIn(d, 1.0f);
    EXPECT_TRUE(d->flags & UIDIALOG_OPEN);
    std::vector<uint32_t> alphas;
    for (int i = 0; i < 5; i++) {
        frame();
        ASSERT_EQ(faces.size(), 1u);
        alphas.push_back(faces[0].colour >> 24);
    }
    EXPECT_EQ(alphas, (std::vector<uint32_t>{0, 64, 128, 191, 255}));
    EXPECT_FALSE(d->flags & (UIDIALOG_FADING_IN | UIDIALOG_FADING_OUT));

    uiDialog_FadeOut(d, 1.0f);
    frame();
    frame();  // current alpha 191.25
    uiDialog_FadeOut(d, 0.25f);  // already fading out: nothing
    EXPECT_FLOAT_EQ(d->fadeSeconds, 1.0f);
    d->alpha = 100.0f;
    uiDialog_FadeIn(d, 1.0f);  // above its alpha: nothing changes
    EXPECT_TRUE(d->flags & UIDIALOG_FADING_OUT);
    d->alpha = 255.0f;
    uiDialog_FadeIn(d, 0.5f);  // turned back from where it is
    EXPECT_TRUE(d->flags & UIDIALOG_FADING_IN);
    EXPECT_FLOAT_EQ(d->fadeStart, 191.25f);
    frame();
    frame();
    frame();
    EXPECT_EQ(faces[0].colour >> 24, 255u);

    uiDialog_FadeOut(d, 0.5f);
    g_events.clear();
    for (int i = 0; i < 3; i++) frame();
    EXPECT_FALSE(d->flags & UIDIALOG_OPEN);
    EXPECT_EQ(g_events.back(), "close:d");
    EXPECT_EQ(uiLayer_FirstDialog(), nullptr);
    uiDialog_Free(d);
    renderTimer_Reset(&renderTimer_viewer);
}

int g_destroyed;
struct Counted : uiElement {
    ~Counted() override { g_destroyed++; }
};

TEST_F(UiDialog, ClosingQueuesOnceAndADestroyedDialogLeavesTheQueue)
{
    g_destroyed = 0;
    uiDialog* d = Make("d", 0, 0);
    uiElement* w = new Counted();
    strcpy(w->name, "w");
    ASSERT_EQ(uiDialog_AddElement(d, nullptr, w), 1);
    uiDialog_Open(d);
    uiDialog_Close(d);
    uiDialog_Close(d);
    EXPECT_EQ(g_events, std::vector<std::string>{"close:d"});
    EXPECT_TRUE(d->flags & UIDIALOG_QUEUED);
    uiDialog_Open(d);  // waiting to be freed: stays closed
    EXPECT_FALSE(d->flags & UIDIALOG_OPEN);
    EXPECT_EQ(uiDialog_Update(), 0);
    EXPECT_EQ(g_destroyed, 1);

    uiDialog* e = Make("e", 0, 0);
    uiDialog* f = Make("f", 0, 0);
    uiDialog_Close(e);
    uiDialog_Close(f);
    uiDialog_Destroy(e);
    EXPECT_FALSE(e->flags & UIDIALOG_QUEUED);
    free(e);
    uiDialog_Update();  // frees f only
    uiDialog* g = Make("g", 0, 0);
    uiDialog_Open(g);
    EXPECT_EQ(uiLayer_FirstDialog(), g);
    uiDialog_Free(g);
    EXPECT_EQ(uiLayer_FirstDialog(), nullptr);
}

TEST_F(UiDialog, DamagedScriptsAreRefusedOrBounded)
{
    ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\back.tga", fixtures::MakeTga(64, 64, 32, false, Opaque)));
    ASSERT_TRUE(fixtures::WriteTga("Ui\\wide.tga", fixtures::MakeTga(32, 32, 32, false, Opaque)));
    ASSERT_TRUE(fixtures::WriteTga("Ui\\tiny.tga", fixtures::MakeTga(3, 2, 32, false, Opaque)));
    const std::vector<fixtures::WixDamage> damaged = fixtures::DamagedWix("back");
    ASSERT_GE(damaged.size(), 9u);
    for (size_t i = 0; i < damaged.size(); i++) {
        SCOPED_TRACE(damaged[i].what);
        ASSERT_TRUE(fixtures::WriteText("damaged.wix", damaged[i].text));
        uiDialog* d = uiDialog_LoadScript("damaged.wix");
        ASSERT_NE(d, nullptr);
        uiDialog_Open(d);
        uiCursor_SetPos(5, UI_HEIGHT - 6);
        ui_Update();
        ui_Draw();
        for (uiElement* e = uiDialog_NextElement(d, nullptr); e; e = uiDialog_NextElement(d, e)) {
            EXPECT_EQ(e->pDialog, d);
            EXPECT_LE(e->numOverlaps, UIELEMENT_MAX_OVERLAPS);
        }
        switch (i) {
        case 0: EXPECT_NE(uiResource_Find(("long" + std::string(27, 'x')).c_str()), nullptr); break;
        case 1:
            EXPECT_EQ(std::string(d->name), std::string(31, 'n'));
            EXPECT_EQ(d->pFirst, nullptr);
            break;
        case 2:
        case 3:
            EXPECT_EQ(d->pFirst, nullptr);
            EXPECT_EQ(d->x, 0);
            EXPECT_EQ(d->visGroup, 0);
            break;
        case 4:
            EXPECT_EQ(d->pFirst, nullptr);
            EXPECT_EQ(d->pQuads->pNext, nullptr);
            break;
        case 5: {
            uiElement* p = (uiElement*)uiResource_Find("p");
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(uiResource_Find("c"), nullptr);
            uiElement* r = (uiElement*)uiResource_Find("r");
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->pParent, nullptr);
            EXPECT_EQ(d->pTabStart, nullptr);
            break;
        }
        case 6:
            EXPECT_EQ(uiResource_Find("q"), nullptr);
            EXPECT_EQ(uiDialog_FindElement(d, "q"), nullptr);
            EXPECT_EQ(d->pTabStart, nullptr);
            EXPECT_EQ(d->pFirst->pChild, nullptr);
            break;
        case 7: {
            uiElement* big = (uiElement*)uiResource_Find("big");
            ASSERT_NE(big, nullptr);
            EXPECT_EQ(big->numOverlaps, UIELEMENT_MAX_OVERLAPS);
            break;
        }
        case 8: {
            uiElement* small = (uiElement*)uiResource_Find("small");
            ASSERT_NE(small, nullptr);
            ASSERT_NE(small->pRestore, nullptr);
            EXPECT_EQ(small->pRestore->width, 3);
            break;
        }
        default: break;
        }
        uiDialog_Free(d);
        EXPECT_EQ(ui_GetHoveredElement(), nullptr);
        EXPECT_EQ(uiLayer_FirstDialog(), nullptr);
    }
}

// Loads a script of one quad over "back" and the given lines; the caller frees the dialog.
uiDialog* LoadLines(const std::string& lines)
{
    EXPECT_TRUE(fixtures::WriteText("lines.wix", "quad pos=0,0 size=64,64 mat=back\n" + lines + "\n"));
    return uiDialog_LoadScript("lines.wix");
}

// One frame of a script with a textbox, and a refused one, so that what the UI, the runtime
// and the fakes make once (the first layer, a lock, the fakes' records) is there before a test
// counts what stays after a load.
void WarmUp()
{
    uiDialog* d = LoadLines("element textbox name=w size=8,8\nelement textbox name=x size=9999,1");
    ASSERT_NE(d, nullptr);
    uiDialog_Open(d);
    ui_Update();
    ui_Draw();
    uiDialog_Free(d);
}

TEST_F(UiDialog, AScriptMakesNoWidgetLargerThanTheScreen)
{
    // A widget is at most the 640 x 480 the screen shows: a larger size fails its pair and the
    // widget is dropped, so that no script makes the UI allocate a picture it cannot show (a
    // blank work bitmap, or the background captured under the widget).
    ASSERT_TRUE(fixtures::AllocationsCounted());
    ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\back.tga", fixtures::MakeTga(64, 64, 32, false, Opaque)));
    struct Case {
        const char* line;
        bool made;
    };
    const Case cases[] = {
        {"element textbox name=w size=16384,16384", false},
        {"element icongrid name=w size=16384,16384", false},
        {"element static name=w size=16384,16384 flags=0xA", false},
        {"element textbox name=w size=641,480", false},
        {"element textbox name=w size=640,481", false},
        {"element textbox name=w size=-1,10", false},
        {"element textbox name=w size=2147483647,1", false},
        {"element textbox name=w size=640,480", true},
        {"element icongrid name=w size=640,480 gridsize=4,4", true},
        {"element static name=w size=640,480 flags=0xA", true},
    };
    const size_t screen = sizeof(Bitmap) + (size_t)UI_WIDTH * UI_HEIGHT * 4;
    WarmUp();
    fixtures::AllocationWatch watch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(fixtures::WriteText("lines.wix", std::string("quad pos=0,0 size=64,64 mat=back\n") + c.line));
        // Nothing of the test framework runs while the watch counts: its first check on a
        // thread makes what it keeps.
        watch.Reset();
        uiDialog* d = uiDialog_LoadScript("lines.wix");
        const uiElement* w = (const uiElement*)uiResource_Find("w");
        const int width = w && w->pBitmap ? w->pBitmap->width : -1;
        const bool made = w != nullptr, ownBitmap = w && w->kind != UIKIND_STATIC;
        uiDialog_Open(d);
        ui_Update();
        ui_Draw();
        uiDialog_Free(d);
        // What the fake raster table and this fixture recorded of the frame.
        raster.ClearCalls();
        std::vector<ScreenFace>().swap(faces);
        const size_t largest = watch.Largest(), live = watch.LiveBlocks();
        const std::string sizes = watch.LiveSizes();
        EXPECT_NE(d, nullptr);
        EXPECT_EQ(made, c.made);
        if (ownBitmap) {
            EXPECT_EQ(width, UI_WIDTH);
        }
        EXPECT_LE(largest, screen);
        EXPECT_EQ(live, 0u) << sizes;
    }
}

TEST_F(UiDialog, AScriptsFlagsSetTheWidgetsOwnBitsButNeverTheLibrarys)
{
    // "In dialog" (0x10000) from a script once kept the widget from being placed and freed:
    // each load leaked it, a reference to its bitmap and its registered name.
    ASSERT_TRUE(fixtures::AllocationsCounted());
    ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\back.tga", fixtures::MakeTga(64, 64, 32, false, Opaque)));
    ASSERT_TRUE(fixtures::WriteTga("Ui\\pic.tga", fixtures::MakeTga(8, 8, 32, false, Opaque)));
    WarmUp();
    fixtures::AllocationWatch watch;
    for (const char* flags : {"0x10000", "0x33F800", "0xFFFFFFFF", "0x80201"}) {
        SCOPED_TRACE(flags);
        for (int load = 0; load < 10; load++) {
            watch.Reset();
            uiDialog* d = LoadLines(std::string("element static name=w pos=4,4 size=8,8 bitmap=pic flags=") + flags);
            ASSERT_NE(d, nullptr);
            uiElement* w = (uiElement*)uiResource_Find("w");
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(d->pFirst, w);
            EXPECT_EQ(w->pDialog, d);
            EXPECT_EQ(w->pBitmap->refCount, 1);
            // What the loader did, and nothing else of the library's own bits.
            EXPECT_EQ(w->flags & UIELEMENT_LIBRARY_FLAGS,
                      UIELEMENT_DIRTY | UIELEMENT_IN_RESOURCES | UIELEMENT_ATTACHED);
            EXPECT_EQ(w->flags & ~UIELEMENT_LIBRARY_FLAGS,
                      (uint32_t)strtoul(flags, nullptr, 0) & ~UIELEMENT_LIBRARY_FLAGS);
            uiDialog_Free(d);
            EXPECT_EQ(uiResource_Find("w"), nullptr);
            EXPECT_EQ(stdBitmap_Find("pic.TGA"), nullptr);
            raster.ClearCalls();
            const size_t live = watch.LiveBlocks();
            const std::string sizes = watch.LiveSizes();
            ASSERT_EQ(live, 0u) << load << ": " << sizes;
        }
    }
}

TEST_F(UiDialog, ScriptNumbersBeyondTheCoordinateRangeFailTheirPair)
{
    // Positions, sizes and spacings keep within +-32767, so that every sum and difference the UI
    // makes of them stays exact; a number beyond fails its pair like a number that does not scan.
    ASSERT_TRUE(fixtures::WriteTga("Ui\\Materials\\back.tga", fixtures::MakeTga(64, 64, 32, false, Opaque)));
    struct Case {
        const char* line;
        int quads;  // besides the script's first one
        bool widget;
        int dialogX;
    };
    const Case cases[] = {
        {"quad pos=2147483647,0 size=64,64 mat=back", 0, false, 0},
        {"quad pos=0,0 size=-2147483648,64 mat=back", 0, false, 0},
        {"quad pos=32768,0 size=64,64 mat=back", 0, false, 0},
        {"quad pos=0,-99999999999 mat=back", 0, false, 0},
        {"quad pos=32767,-32767 size=-32767,32767 mat=back", 1, false, 0},
        {"element static name=w pos=2147483647,0 size=8,8", 0, false, 0},
        {"element static name=w pos=0,-32768 size=8,8", 0, false, 0},
        {"element static name=w pos=-32767,32767 size=8,8", 0, true, 0},
        {"element textbox name=w size=8,8 itemspacing=2147483647", 0, false, 0},
        {"element textbox name=w size=8,8 itemspacing=-32767", 0, true, 0},
        {"element icongrid name=w size=8,8 gridsize=-2147483648,1", 0, false, 0},
        {"element icongrid name=w size=8,8 gridsize=32767,32767", 0, true, 0},
        {"pos=2147483647,5", 0, false, 0},
        {"pos=-32767,5", 0, false, -32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        uiDialog* d = LoadLines(c.line);
        ASSERT_NE(d, nullptr);
        int quads = -1;
        for (const uiQuad* q = d->pQuads; q; q = q->pNext) quads++;
        EXPECT_EQ(quads, c.quads);
        EXPECT_EQ(uiResource_Find("w") != nullptr, c.widget);
        EXPECT_EQ(d->x, c.dialogX);
        uiDialog_Open(d);
        for (float x : {0.0f, 639.0f}) {
            uiCursor_SetPos(x, 0);
            ui_Update();
            ui_Draw();
        }
        uiDialog_Free(d);
    }
}

}  // namespace
