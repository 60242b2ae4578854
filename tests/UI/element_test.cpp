// Widgets on the fake raster table and the fake clock: script keys, handlers and events, the
// tree and its layout over quads, composition into bitmaps, flashing, hiding, the focus ring
// and destruction that leaves nothing pointing at a freed widget.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fakeClock.h"
#include "fakeRaster.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "renderBitmap.h"
#include "renderSettings.h"
#include "renderTimer.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiElement.h"
#include "uiIcon.h"
#include "uiResource.h"
#include "uiTestSupport.h"

using namespace uitest;

namespace {

std::vector<std::pair<uiElement*, uint32_t>> g_calls[UIELEMENT_NUM_HANDLERS];

template <int N> void Record(uiElement* e, uint32_t argument)
{
    g_calls[N].push_back({e, argument});
}

const uiElementHandler kRecorders[UIELEMENT_NUM_HANDLERS] = {
    Record<0>, Record<1>, Record<2>, Record<3>, Record<4>,  Record<5>,  Record<6>,
    Record<7>, Record<8>, Record<9>, Record<10>, Record<11>, Record<12>, Record<13>};

class UiElement : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        StartUi();
        for (auto& c : g_calls) c.clear();
    }
};

TEST_F(UiElement, ScriptKeysAreTakenOrRefusedWithoutOverrun)
{
    uiDialog* dialog = NewDialog();
    ASSERT_TRUE(fixtures::WriteTga("Ui\\pic.tga", fixtures::MakeTga(4, 4, 32, false, Opaque)));
    struct Case {
        const char* pair;
        int taken;
    };
    const Case cases[] = {
        {"pos=3,4", 1},        {"size=10,20", 1},      {"pos=7", 0},          {"size=a,b", 0},
        {"color=200,255,0,0", 1}, {"color=1,2,3", 0},  {"flags=0x10", 1},     {"flags=010", 1},
        {"flags=5", 1},        {"flags=x", 0},         {"bitmap=pic", 1},     {"bitmap=none", 0},
        {"restore=pic", 1},    {"hide=missing", 0},    {"flash=pic", 1},      {"parent=nobody", 0},
        {"key=x", 0},          {"key=0", 1},           {"hintstring=tip", 1}, {"colour=1,2,3,4", 0},
        {"name", 0},           {"=value", 0},          {"name=", 0},          {"", 0},
    };
    uiElement e;
    for (const Case& c : cases) EXPECT_EQ(e.ParseKeyword(c.pair, dialog), c.taken) << c.pair;
    EXPECT_EQ(e.rect.x, 3);
    EXPECT_EQ(e.rect.y, 4);
    EXPECT_EQ(e.rect.width, 10);
    EXPECT_EQ(e.rect.height, 20);
    EXPECT_EQ(e.color, 0xFC00);  // alpha bit, red 31
    EXPECT_EQ(e.flags, 0x10u | 010u | 5u);
    ASSERT_NE(e.pBitmap, nullptr);
    EXPECT_EQ(e.pBitmap->format, dialog->format);
    EXPECT_NE(e.pRestore, nullptr);
    EXPECT_NE(e.pFlash, nullptr);
    EXPECT_EQ(e.pHide, nullptr);
    EXPECT_STREQ(e.pHint, "tip");
    EXPECT_EQ(uiElement_PackColor(100, 255, 0, 0), 0x7C00);
    EXPECT_EQ(uiElement_PackColor(255, 8, 16, 255), 0x8000 | 1 << 10 | 2 << 5 | 31);

    // Keys and values as long as a script line are split whole; the name keeps 31 characters.
    const std::string longName = "name=" + std::string(480, 'n');
    EXPECT_EQ(e.ParseKeyword(longName.c_str(), dialog), 1);
    EXPECT_EQ(std::string(e.name), std::string(31, 'n'));
    const std::string longKey = std::string(500, 'k') + "=1";
    EXPECT_EQ(e.ParseKeyword(longKey.c_str(), dialog), 0);
    EXPECT_EQ(e.ParseKeyword("pos=1,2=3", dialog), 1);  // the value ends at a second "="
    EXPECT_EQ(e.rect.x, 1);
    uiDialog_Free(dialog);
}

TEST_F(UiElement, HandlersAreBoundedAndEventsStopAtTheDisabledFlag)
{
    uiElement e;
    for (int i = 0; i < UIELEMENT_NUM_HANDLERS; i++) EXPECT_EQ(uiElement_SetHandler(&e, i, kRecorders[i]), 1);
    EXPECT_EQ(uiElement_SetHandler(&e, -1, Record<0>), 0);
    EXPECT_EQ(uiElement_SetHandler(&e, 14, Record<0>), 0);
    EXPECT_EQ(uiElement_SetHandler(&e, 1000, Record<0>), 0);
    EXPECT_EQ(uiElement_SetHandler(&e, 3, nullptr), 0);
    EXPECT_EQ(e.handlers[3], kRecorders[3]);  // unchanged
    uiElement_CallHandler(&e, 14, 0);          // outside the table: nothing
    uiElement_CallHandler(&e, -5, 0);

    e.OnEvent0();
    e.OnEvent1();
    e.OnEvent2();
    e.OnSpare();
    e.OnEvent5();
    e.OnEvent6();
    e.OnEvent7();
    e.OnKey(0x1C);
    const int reached[] = {0, 1, 2, 3, 5, 6, 7, 9};
    for (int h : reached) ASSERT_EQ(g_calls[h].size(), 1u) << h;
    EXPECT_EQ(g_calls[9][0].second, 0x1Cu);
    for (int h : {4, 8, 10, 11, 12, 13}) EXPECT_TRUE(g_calls[h].empty()) << h;

    // Disabled: no event handler, but the frame, redraw and composition handlers still run.
    for (auto& c : g_calls) c.clear();
    uiDialog* dialog = NewDialog();
    AddQuad(dialog, 0, 0, 32, 32);
    ASSERT_EQ(e.ParseKeyword("flags=0x80000", dialog), 1);
    e.rect = {0, 0, 8, 8};
    e.pBitmap = stdBitmap_CreateSolid(8, 8, 0, 0, 0, 255, BITMAP_FORMAT_8888);
    uiElement_SetDialog(&e, dialog);
    e.OnEvent0();
    e.OnEvent7();
    e.OnKey(1);
    e.Update();
    uiElement_Compose(&e);
    for (int h : reached) EXPECT_TRUE(g_calls[h].empty()) << h;
    EXPECT_EQ(g_calls[8].size(), 1u);
    EXPECT_EQ(g_calls[10].size(), 1u);
    EXPECT_EQ(g_calls[11].size(), 1u);
    e.Detach();
    uiDialog_Free(dialog);
}

TEST_F(UiElement, TreeLinksLayoutAndMoves)
{
    uiDialog* dialog = NewDialog();
    uiElement* parent = Named("parent", {10, 10, 50, 50});
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, parent), 1);
    uiElement* kids[4];
    for (int i = 0; i < 4; i++) {
        kids[i] = Named(("kid" + std::to_string(i)).c_str(), {20 + i, 20, 5, 5});
        ASSERT_EQ(uiDialog_AddElement(dialog, parent, kids[i]), 1);
    }
    // Later children go directly after the first: kid0, kid3, kid2, kid1.
    std::vector<uiElement*> order;
    for (uiElement* e = uiDialog_NextElement(dialog, nullptr); e; e = uiDialog_NextElement(dialog, e))
        order.push_back(e);
    EXPECT_EQ(order, (std::vector<uiElement*>{parent, kids[0], kids[3], kids[2], kids[1]}));
    for (uiElement* k : kids) {
        EXPECT_EQ(k->pParent, parent);
        EXPECT_EQ(k->pDialog, dialog);
        EXPECT_TRUE(k->flags & UIELEMENT_ATTACHED);
        EXPECT_TRUE(k->flags & UIELEMENT_OVERLAPS_PARENT);
    }

    // A child half outside its parent sees only the common part.
    uiElement* edge = Named("edge", {50, 55, 20, 20});
    ASSERT_EQ(uiDialog_AddElement(dialog, parent, edge), 1);
    EXPECT_EQ(edge->visible.x, 40);
    EXPECT_EQ(edge->visible.y, 45);
    EXPECT_EQ(edge->visible.width, 10);
    EXPECT_EQ(edge->visible.height, 5);
    EXPECT_EQ(edge->sourceX, 0);
    EXPECT_EQ(edge->sourceY, 0);
    uiElement_SetPos(edge, 100, 100);
    EXPECT_FALSE(edge->flags & UIELEMENT_OVERLAPS_PARENT);

    // Moving the parent moves its subtree and marks every part dirty.
    for (uiElement* e = parent; e; e = uiDialog_NextElement(dialog, e)) e->flags &= ~UIELEMENT_DIRTY;
    uiElement_SetPos(parent, 0, 5);
    EXPECT_EQ(kids[2]->rect.x, 12);
    EXPECT_EQ(kids[2]->rect.y, 15);
    EXPECT_TRUE(kids[2]->flags & UIELEMENT_DIRTY);
    EXPECT_TRUE(parent->flags & UIELEMENT_DIRTY);

    // Detaching the first child makes the next one first.
    kids[0]->Detach();
    EXPECT_EQ(parent->pChild, edge);
    EXPECT_EQ(kids[0]->pParent, nullptr);
    EXPECT_EQ(kids[0]->pDialog, dialog);  // still registered in the dialog
    uiDialog_Free(dialog);
    delete kids[0];
}

TEST_F(UiElement, OverlapRecordsSkipTouchingQuadsAndStopAtTwelve)
{
    uiDialog* dialog = NewDialog();
    AddQuad(dialog, 0, 0, 16, 16);
    AddQuad(dialog, 16, 0, 16, 16);  // only touches a widget whose right edge is 16
    uiElement* w = Named("w", {4, 4, 12, 8});
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, w), 1);
    ASSERT_EQ(w->numOverlaps, 1);
    EXPECT_EQ(w->overlaps[0].pQuad->x, 0);
    uiElement_SetPos(w, 10, 4);
    ASSERT_EQ(w->numOverlaps, 2);
    const uiOverlap& second = w->overlaps[0];  // the quad added last heads the list
    EXPECT_EQ(second.pQuad->x, 16);
    EXPECT_EQ(second.quadRect.x, 0);
    EXPECT_EQ(second.quadRect.width, 6);
    EXPECT_EQ(second.elementRect.x, 6);

    // Twenty quads under one widget: twelve records, the rest ignored.
    for (int i = 0; i < 20; i++) AddQuad(dialog, i, 0, 8, 8);
    uiElement_SetPos(w, 0, 0);
    EXPECT_EQ(w->numOverlaps, UIELEMENT_MAX_OVERLAPS);
    uiDialog_Free(dialog);
}

TEST_F(UiElement, ComposeCopiesChildrenIntoParentsAndParentsIntoQuads)
{
    uiDialog* dialog = NewDialog();
    uiQuad* quad = AddQuad(dialog, 0, 0, 32, 32);
    quad->flags = 0;
    uiElement* panel = Named("panel", {4, 2, 16, 16});
    panel->pBitmap = stdBitmap_CreateSolid(16, 16, 0, 0, 255, 255, BITMAP_FORMAT_8888);
    panel->pRestore = stdBitmap_CreateSolid(16, 16, 0, 0, 255, 255, BITMAP_FORMAT_8888);
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, panel), 1);
    uiElement* dot = Named("dot", {6, 3, 2, 2});
    dot->pBitmap = stdBitmap_CreateSolid(2, 2, 255, 0, 0, 255, BITMAP_FORMAT_8888);
    ASSERT_EQ(uiDialog_AddElement(dialog, panel, dot), 1);
    uiElement* clear = Named("clear", {10, 10, 2, 2});
    clear->pBitmap = stdBitmap_CreateSolid(2, 2, 0, 255, 0, 0, BITMAP_FORMAT_8888);
    clear->flags |= UIELEMENT_KEYED;
    ASSERT_EQ(uiDialog_AddElement(dialog, panel, clear), 1);
    for (uiElement* e : {panel, dot, clear}) uiElement_SetHandler(e, UIHANDLER_COMPOSED, Record<11>);

    uiElement_Compose(panel);
    // Quad coordinates grow downwards from the quad's top-left corner.
    EXPECT_EQ(PixelAt(quad->pBitmap, 3, 1), 0u);            // outside the panel
    EXPECT_EQ(PixelAt(quad->pBitmap, 4, 2), 0xFF0000FFu);   // panel
    EXPECT_EQ(PixelAt(quad->pBitmap, 6, 3), 0xFFFF0000u);   // dot
    EXPECT_EQ(PixelAt(quad->pBitmap, 7, 4), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(quad->pBitmap, 10, 10), 0xFF0000FFu); // keyed away: transparent
    EXPECT_TRUE(quad->flags & UIQUAD_CHANGED);
    EXPECT_EQ(g_calls[11].size(), 3u);
    EXPECT_FALSE(panel->flags & (UIELEMENT_DIRTY | UIELEMENT_COMPOSE));

    // Nothing dirty: nothing copied again. A hidden child is skipped, and the parent refreshed
    // from its restore image no longer shows it.
    g_calls[11].clear();
    quad->flags = 0;
    uiElement_Compose(panel);
    EXPECT_TRUE(g_calls[11].empty());
    EXPECT_EQ(quad->flags, 0u);
    uiElement_Hide(dot);
    uiElement_Compose(panel);
    EXPECT_EQ(PixelAt(quad->pBitmap, 6, 3), 0xFF0000FFu);
    EXPECT_EQ(g_calls[11].size(), 2u);  // panel and the keyed child
    uiDialog_Free(dialog);
}

TEST_F(UiElement, RefreshNeverReadsPastASmallerRestoreImage)
{
    uiDialog* dialog = NewDialog();
    uiQuad* quad = AddQuad(dialog, 0, 0, 16, 16);
    uiElement* w = Named("w", {0, 0, 8, 8});
    w->pBitmap = stdBitmap_CreateSolid(8, 8, 0, 0, 255, 255, BITMAP_FORMAT_8888);
    w->pRestore = stdBitmap_CreateSolid(2, 3, 255, 255, 255, 255, BITMAP_FORMAT_8888);
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, w), 1);
    uiElement_Compose(w);
    EXPECT_EQ(PixelAt(quad->pBitmap, 1, 2), 0xFFFFFFFFu);  // the restore image, top-left
    EXPECT_EQ(PixelAt(quad->pBitmap, 2, 2), 0xFF0000FFu);  // the rest stays
    EXPECT_EQ(PixelAt(quad->pBitmap, 1, 3), 0xFF0000FFu);

    // A blank work bitmap of the 32-bit settings fills with opaque black.
    const uint32_t savedOptions = renderSettings_current.optionFlags;
    renderSettings_current.optionFlags |= 2;
    ASSERT_EQ(uiElement_CreateBitmap(w), 1);
    renderSettings_current.optionFlags = savedOptions;
    EXPECT_EQ(w->pBitmap->format, BITMAP_FORMAT_8888);
    EXPECT_TRUE(w->flags & UIELEMENT_FILL);
    uiResource_FreeBitmap(w->pRestore);
    w->pRestore = nullptr;
    w->flags |= UIELEMENT_DIRTY;
    uiElement_Compose(w);
    EXPECT_EQ(PixelAt(quad->pBitmap, 5, 5), 0xFF000000u);
    uiDialog_Free(dialog);
}

TEST_F(UiElement, CapturedBackgroundsRestoreWhatLayUnderAHiddenWidget)
{
    uiDialog* dialog = NewDialog();
    uiQuad* quad = AddQuad(dialog, 0, 0, 16, 16);
    FillBitmap(quad->pBitmap, 0xFF00FF00u);
    uiElement* w = Named("w", {2, 2, 4, 4});
    w->flags |= UIELEMENT_CAPTURE_HIDE | UIELEMENT_CAPTURE_RESTORE;
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, w), 1);
    w->LoadBitmaps();
    ASSERT_NE(w->pHide, nullptr);
    ASSERT_NE(w->pRestore, nullptr);
    ASSERT_NE(w->pBitmap, nullptr);
    EXPECT_EQ(PixelAt(w->pBitmap, 0, 0), 0xFF00FF00u);
    FillBitmap(w->pBitmap, 0xFFFF0000u);
    uiElement_ComposeIntoParent(w);
    EXPECT_EQ(PixelAt(quad->pBitmap, 3, 3), 0xFFFF0000u);
    quad->flags = 0;
    uiElement_HideRestore(w);
    EXPECT_EQ(PixelAt(quad->pBitmap, 3, 3), 0xFF00FF00u);
    EXPECT_TRUE(quad->flags & UIQUAD_CHANGED);
    EXPECT_TRUE(w->flags & UIELEMENT_HIDDEN);
    uiDialog_Free(dialog);
}

TEST_F(UiElement, FlashAlternatesOnTheFrameClockAndEnds)
{
    fakes::FakeClock clock(1000);
    renderTimer_Reset(&renderTimer_viewer);
    renderTimer_Start(&renderTimer_viewer);
    uiDialog* dialog = NewDialog();
    uiQuad* quad = AddQuad(dialog, 0, 0, 8, 8);
    uiElement* w = Named("w", {0, 0, 4, 4});
    EXPECT_EQ(uiElement_Flash(w, 100, 500), 0);  // no bitmaps
    w->pBitmap = stdBitmap_CreateSolid(4, 4, 0, 0, 255, 255, BITMAP_FORMAT_8888);
    w->pFlash = stdBitmap_CreateSolid(4, 4, 255, 255, 0, 255, BITMAP_FORMAT_8888);
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, w), 1);
    EXPECT_EQ(uiElement_Flash(w, 100, 0), 0);
    ASSERT_EQ(uiElement_Flash(w, 100, 500), 1);
    EXPECT_TRUE(w->flags & UIELEMENT_FLASHING);
    std::vector<int> phases;
    for (int frame = 0; frame < 12; frame++) {
        clock.Advance(60);
        renderTimer_Tick(&renderTimer_viewer);
        w->Update();
        uiElement_Compose(w);
        phases.push_back((int)w->flashPhase);
        if (frame == 0) {
            EXPECT_EQ(PixelAt(quad->pBitmap, 1, 1), 0xFFFFFF00u);
        }
    }
    // 60 ms frames over a 100 ms period: the phase turns every second frame until 500 ms.
    EXPECT_EQ(phases, (std::vector<int>{1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(w->flags & UIELEMENT_FLASHING);
    EXPECT_EQ(PixelAt(quad->pBitmap, 1, 1), 0xFF0000FFu);
    ASSERT_EQ(uiElement_Flash(w, 100, 500), 1);
    uiElement_StopFlash(w);
    EXPECT_EQ(w->flashPhase, 0u);
    EXPECT_FALSE(w->flags & UIELEMENT_FLASHING);
    uiDialog_Free(dialog);
    renderTimer_Reset(&renderTimer_viewer);
}

TEST_F(UiElement, FocusRingSkipsHiddenWidgetsAndRefusesStrangers)
{
    static std::vector<uiElement*> ended;
    ended.clear();
    uiElement_SetEndEdit([](uiElement* e) { ended.push_back(e); });
    uiDialog* dialog = NewDialog();
    uiElement* a = Named("a", {0, 0, 4, 4});
    uiElement* b = Named("b", {0, 0, 4, 4});
    uiElement* c = Named("c", {0, 0, 4, 4});
    uiElement stranger;
    EXPECT_EQ(uiDialog_AddTabStop(dialog, a), 0);  // not yet in the dialog
    for (uiElement* e : {a, b, c}) ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, e), 1);
    for (uiElement* e : {a, b, c}) EXPECT_EQ(uiDialog_AddTabStop(dialog, e), 1);
    EXPECT_EQ(uiDialog_AddTabStop(dialog, b), 0);
    EXPECT_EQ(uiDialog_AddTabStop(dialog, &stranger), 0);
    EXPECT_EQ(dialog->pTabStart, a);
    EXPECT_EQ(a->pTabNext, b);
    EXPECT_EQ(c->pTabNext, a);
    EXPECT_EQ(a->pTabPrev, c);

    a->kind = UIKIND_EDITBOX;
    uiDialog_SetFocus(dialog, a);
    uiDialog_SetFocus(dialog, &stranger);
    EXPECT_EQ(dialog->pFocus, a);
    uiElement_Hide(b);
    uiDialog_FocusNext(dialog);
    EXPECT_EQ(dialog->pFocus, c);
    EXPECT_EQ(ended, std::vector<uiElement*>{a});
    uiDialog_FocusPrev(dialog);
    EXPECT_EQ(dialog->pFocus, a);
    uiElement_Hide(a);  // focus moves on to the next shown widget
    EXPECT_EQ(dialog->pFocus, c);

    uiElement_RemoveTabStop(a);
    EXPECT_EQ(dialog->pTabStart, b);
    EXPECT_FALSE(a->flags & UIELEMENT_TAB_STOP);
    EXPECT_EQ(b->pTabPrev, c);
    delete c;  // the focus and the ring forget it
    EXPECT_EQ(dialog->pFocus, nullptr);
    EXPECT_EQ(b->pTabNext, b);
    delete b;
    EXPECT_EQ(dialog->pTabStart, nullptr);
    uiElement_SetEndEdit(nullptr);
    uiDialog_Free(dialog);
}

TEST_F(UiElement, DestroyClearsEveryPointerAndOnlyItsOwnNames)
{
    uiDialog* dialog = NewDialog();
    // An icon, which can ride on the cursor with its own cursor record.
    uiIcon* w = new uiIcon;
    strcpy(w->name, "twin");
    w->rect = {0, 0, 4, 4};
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, w), 1);
    uiElement* child = Named("child", {0, 0, 2, 2});
    ASSERT_EQ(uiDialog_AddElement(dialog, w, child), 1);
    ASSERT_EQ(uiResource_AddElement(w), 1);
    EXPECT_TRUE(w->flags & UIELEMENT_IN_RESOURCES);
    ui_SetHoveredElement(child);
    ui_SetPressedElement(w);
    ui_SetKeyCapture(child);
    uiCursor* arrow = uiCursor_Create(renderBitmap_CreateBlank(1, 1, BITMAP_FORMAT_8888), 1, 1, 0);
    uiCursor* iconCursor = uiCursor_Create(renderBitmap_CreateBlank(1, 1, BITMAP_FORMAT_8888), 1, 1, 0);
    uiCursor_Set(arrow);
    w->pIconCursor = iconCursor;  // the icon frees it with itself
    uiCursor_AttachIcon(w);
    EXPECT_EQ(uiCursor_Get(), iconCursor);
    delete w;
    EXPECT_EQ(ui_GetHoveredElement(), nullptr);
    EXPECT_EQ(ui_GetLastHoveredElement(), nullptr);
    EXPECT_EQ(ui_GetPressedElement(), nullptr);
    EXPECT_EQ(ui_GetKeyCapture(), nullptr);
    EXPECT_EQ(uiCursor_GetIcon(), nullptr);
    EXPECT_EQ(uiCursor_Get(), arrow);
    EXPECT_EQ(dialog->pFirst, nullptr);
    EXPECT_EQ(uiDialog_FindElement(dialog, "twin"), nullptr);
    EXPECT_EQ(uiDialog_FindElement(dialog, "child"), nullptr);
    EXPECT_EQ(uiResource_Find("twin"), nullptr);
    uiCursor_Free(arrow);

    // A widget whose name another object holds leaves that entry alone.
    int other = 0;
    ASSERT_EQ(uiResource_AddNamed("twin", &other, UIRESOURCE_ELEMENT), 1);
    uiElement* impostor = Named("twin", {0, 0, 1, 1});
    impostor->flags |= UIELEMENT_IN_RESOURCES;
    uiElement* holder = Named("held", {0, 0, 1, 1});
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, holder), 1);
    uiElement* sameName = Named("held", {0, 0, 1, 1});
    EXPECT_EQ(uiDialog_AddElement(dialog, nullptr, sameName), 0);
    sameName->flags |= UIELEMENT_IN_DIALOG;  // as if it believed itself registered
    sameName->pDialog = dialog;
    delete impostor;
    delete sameName;
    EXPECT_EQ(uiResource_Find("twin"), &other);
    EXPECT_EQ(uiDialog_FindElement(dialog, "held"), holder);
    uiDialog_Free(dialog);
}

TEST_F(UiElement, HoverNamesTheLastWidgetUnderTheCursorAndSetsItsCursor)
{
    uiDialog* dialog = NewDialog();
    uiDialog_SetPos(dialog, 100, 50);
    AddQuad(dialog, 0, 0, 64, 64);
    uiElement* back = Named("back", {0, 0, 40, 40});
    uiElement* front = Named("front", {10, 10, 10, 10});
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, back), 1);
    ASSERT_EQ(uiDialog_AddElement(dialog, back, front), 1);
    uiCursor* hand = uiCursor_Create(renderBitmap_CreateBlank(4, 4, BITMAP_FORMAT_8888), 4, 4, 0);
    front->pCursor = hand;
    uiDialog_Open(dialog);

    PointAt(dialog, 20, 20);  // the corner of front, edges inclusive
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), dialog);
    EXPECT_EQ(ui_GetHoveredElement(), front);
    EXPECT_EQ(uiCursor_Get(), hand);
    EXPECT_EQ(front->cursorX, 10);
    EXPECT_EQ(front->cursorY, 10);
    PointAt(dialog, 30, 5);
    ui_Update();
    EXPECT_EQ(ui_GetHoveredElement(), back);
    EXPECT_EQ(ui_GetLastHoveredElement(), back);
    dialog->flags |= UIDIALOG_NO_HOVER;
    ui_Update();
    EXPECT_EQ(ui_GetHoveredElement(), nullptr);
    EXPECT_EQ(ui_GetLastHoveredElement(), back);
    EXPECT_EQ(back->cursorX, 30);  // still follows the cursor

    // Hints go to the handler, else to the installed line sink.
    static std::string sunk;
    uiElement_SetHintSink([](uiElement*, const char* text, uint32_t) { sunk = text; });
    back->pHint = "over the back";
    uiElement_ShowHint(back, nullptr, 0);
    EXPECT_EQ(sunk, "");
    uiElement_ShowHint(back, front, 0);
    EXPECT_EQ(sunk, "over the back");
    static uiElement* hinted;
    back->pHintHandler = [](uiElement*, uiElement* target, uint32_t) { hinted = target; };
    uiElement_ShowHint(back, back, 0);
    EXPECT_EQ(hinted, back);
    uiElement_SetHintSink(nullptr);
    uiCursor_Free(hand);
    uiDialog_Free(dialog);
}

}  // namespace
