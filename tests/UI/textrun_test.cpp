// Floating text runs on the fake raster table and the fake clock: strips of power-of-two
// textures, the text composed into them, drawing where the run floats, fades, drift, the end
// of a run's life and everything freed with the UI.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fakeClock.h"
#include "fakeRaster.h"
#include "fixtureRestore.h"
#include "fixtureYub.h"
#include "renderBitmap.h"
#include "renderModes.h"
#include "renderSettings.h"
#include "renderTimer.h"
#include "screenVertexRecord.h"
#include "ui.h"
#include "uiDialog.h"
#include "uiFont.h"
#include "uiResource.h"
#include "uiTestSupport.h"
#include "uiTextRun.h"
#include "uiTextbox.h"

using namespace uitest;

namespace {

const int kRecache = FAKE_RASTER_SLOT(funcTexture_RecacheHandle);
const int kUncache = FAKE_RASTER_SLOT(funcTexture_UncacheMipMap);

class UiTextRun : public UiTest {
protected:
    void SetUp() override
    {
        saved = renderSettings_current;
        renderSettings_current.optionFlags |= RENDER_OPTION_TRUECOLOR;  // 32-bit strips
        UiTest::SetUp();
        StartUi();
        renderTimer_Reset(&renderTimer_viewer);
        renderTimer_Start(&renderTimer_viewer);
        // Glyphs 10 wide and 8 high on lines of 10 rows; every code advances by 10.
        ASSERT_TRUE(fixtures::WriteYub("Ui\\run.yub",
                                       fixtures::MakeYub(10, 8, 10, {'A', 'B'},
                                                         [](int, int, int) { return (uint8_t)255; },
                                                         10)));
        font = uiResource_LoadFont("run.yub");
        ASSERT_NE(font, nullptr);
        RecordScreenFaces();
    }
    void TearDown() override
    {
        uiTextRun_FreeAll();
        uiResource_FreeFont(font);
        UiTest::TearDown();
        renderSettings_current = saved;
    }
    // Moves the frame clock to ms after the start.
    void At(uint32_t ms)
    {
        clock.Set(1000 + ms);
        renderTimer_Tick(&renderTimer_viewer);
    }

    fakes::FakeClock clock{1000};
    fixtures::Restore<renderTimer> timer{renderTimer_viewer};   // the process's frame clock
    renderSettings saved = {};
    stdFont* font = nullptr;
};

std::vector<int> QuadWidths(const uiDialog* dialog)
{
    std::vector<int> widths;
    for (const uiQuad* q = dialog->pQuads; q; q = q->pNext) widths.insert(widths.begin(), q->width);
    return widths;
}

std::vector<int> TextureWidths(const uiDialog* dialog)
{
    std::vector<int> widths;
    for (const uiQuad* q = dialog->pQuads; q; q = q->pNext) widths.insert(widths.begin(), q->pBitmap->width);
    return widths;
}

}  // namespace

TEST_F(UiTextRun, TextIsCutIntoPowerOfTwoStripsOfAtMost256)
{
    struct Case {
        int letters;  // 10 pixels each
        int maxLines;
        std::vector<int> quads, textures;
        int height, textureHeight;
    };
    const Case cases[] = {
        {1, 0, {10}, {16}, 10, 16},
        {3, 1, {30}, {32}, 20, 32},
        {30, 1, {256, 44}, {256, 64}, 20, 32},
        {100, 2, {256, 256, 128}, {256, 256, 128}, 30, 32},  // cut at 640
        {5, 40, {50}, {64}, 256, 256},                       // no taller than a texture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letters);
        const std::string text(c.letters, 'A');
        uiTextRun* run = uiTextRun_Create(font, text.c_str(), 1000, 0, 0, c.maxLines, 0, 0, 0);
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(uiTextRun_First(), run);
        EXPECT_EQ(QuadWidths(run->dialog), c.quads);
        EXPECT_EQ(TextureWidths(run->dialog), c.textures);
        int x = 0;
        for (const uiQuad* q = run->dialog->pQuads; q; q = q->pNext) {
            EXPECT_EQ(q->height, c.height);
            EXPECT_EQ(q->pBitmap->height, c.textureHeight);
            EXPECT_NE(q->pBitmap->rasterHandle, 0u);  // handed to the raster library
            EXPECT_EQ(q->y, 0);
            x = q->x;
        }
        EXPECT_EQ(x, 0);
        ASSERT_NE(run->textbox, nullptr);
        EXPECT_EQ(run->textbox->lineCount, 1u);
        EXPECT_EQ(run->textbox->maxItems, (uint32_t)c.maxLines);
        EXPECT_EQ(run->textbox->pFont, font);
        EXPECT_EQ(run->textbox->rect.width, c.letters * 10 > 640 ? 640 : c.letters * 10);
    }
    EXPECT_EQ(font->refCount, 1u + 5u);  // one for each run's textbox

    // Refused: no text, an empty text, no font (none given and no default), a text of no width.
    ASSERT_EQ(uiFont_GetDefault(), nullptr);
    EXPECT_EQ(uiTextRun_Create(font, nullptr, 1000, 0, 0, 1, 0, 0, 0), nullptr);
    EXPECT_EQ(uiTextRun_Create(font, "", 1000, 0, 0, 1, 0, 0, 0), nullptr);
    EXPECT_EQ(uiTextRun_Create(nullptr, "A", 1000, 0, 0, 1, 0, 0, 0), nullptr);
    font->glyphs['Z'].advance = 0;
    EXPECT_EQ(uiTextRun_Create(font, "ZZ", 1000, 0, 0, 1, 0, 0, 0), nullptr);

    uiTextRun_FreeAll();
    EXPECT_EQ(uiTextRun_First(), nullptr);
    EXPECT_EQ(font->refCount, 1u);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
}

TEST_F(UiTextRun, TextIsComposedIntoItsStripsAndDrawnWhereTheRunFloats)
{
    uiTextRun* older = uiTextRun_Create(font, "B", 1000, 0, 0, 0, 10, 10, 0);
    uiTextRun* run = uiTextRun_Create(font, std::string(30, 'A').c_str(), 1000, 0, 0, 1, 100, 50, 0);
    ASSERT_TRUE(older && run);
    raster.ClearCalls();
    EXPECT_EQ(ui_Draw(), 0);  // no dialog of a layer; the runs are drawn all the same
    // Newest first; each run's quads in their list order, each texture uploaded once.
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(raster.Count(kRecache), 3);
    uiQuad* narrow = run->dialog->pQuads;
    uiQuad* wide = narrow->pNext;
    EXPECT_EQ(faces[0].texture, narrow->pBitmap->rasterHandle);
    EXPECT_EQ(faces[1].texture, wide->pBitmap->rasterHandle);
    EXPECT_EQ(faces[2].texture, older->dialog->pQuads->pBitmap->rasterHandle);
    // The wide strip spans columns 100 to 355 and rows 50 to 69 of the screen, its texture's
    // top rows (v mirrored to the device) shown, at full alpha.
    const float want[4][4] = {{99.5f, 49.5f, 0, 1}, {355.5f, 49.5f, 1, 1},
                              {355.5f, 69.5f, 1, 1 - 20.0f / 32}, {99.5f, 69.5f, 0, 1 - 20.0f / 32}};
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(faces[1].vertices[i].x, want[i][0]);
        EXPECT_FLOAT_EQ(faces[1].vertices[i].y, want[i][1]);
        EXPECT_FLOAT_EQ(faces[1].vertices[i].u, want[i][2]);
        EXPECT_FLOAT_EQ(faces[1].vertices[i].v, want[i][3]);
    }
    EXPECT_FLOAT_EQ(faces[0].vertices[0].x, 355.5f);
    EXPECT_FLOAT_EQ(faces[0].vertices[1].x, 399.5f);
    EXPECT_EQ(faces[1].Alpha(), 255u);
    // The text's first glyph lies in the wide strip's top line, on a clear background.
    const Bitmap* strip = wide->pBitmap;
    int lit = 0, clear = 0;
    for (int y = 0; y < 20; y++) {
        for (int x = 0; x < 256; x++) {
            const uint32_t p = PixelAt(strip, x, y);
            if (p == 0) clear++;
            else if ((p & 0xFFFFFF) != 0) lit++;
        }
    }
    EXPECT_EQ(lit, 8 * 256) << "25.6 glyphs of 10 x 8 in the first strip";
    EXPECT_EQ(clear, 256 * 20 - lit);

    // Unchanged text is not uploaded again; a moved run is drawn at its new place.
    uiTextRun_SetPos(run, 0, 400);
    faces.clear();
    raster.ClearCalls();
    ui_Draw();
    EXPECT_EQ(raster.Count(kRecache), 0);
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_FLOAT_EQ(faces[1].vertices[0].x, -0.5f);
    EXPECT_FLOAT_EQ(faces[1].vertices[0].y, 399.5f);
}

TEST_F(UiTextRun, FadesDriftAndEndOnTheFrameClock)
{
    struct Step {
        uint32_t ms;
        float alpha;  // of the run's dialog
        float y;
    };
    // A life of 1000 ms fading in over 200 and out over 400, drifting 50 pixels a second down.
    uiTextRun* run = uiTextRun_Create(font, "AB", 1000, 200, 400, 0, 20, 100, 50.0f);
    ASSERT_NE(run, nullptr);
    const Step steps[] = {{0, 0.0f, 100.0f},    {100, 127.5f, 105.0f}, {150, 191.25f, 107.5f},
                          {300, 255.0f, 115.0f}, {700, 191.25f, 135.0f}, {900, 63.75f, 145.0f},
                          {1000, 0.0f, 150.0f}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.ms);
        if (s.ms) At(s.ms);
        faces.clear();
        ui_Draw();
        ASSERT_EQ(uiTextRun_First(), run);
        EXPECT_FLOAT_EQ(run->dialog->alpha, s.alpha);
        EXPECT_FLOAT_EQ(run->y, s.y);
        EXPECT_FLOAT_EQ(run->drawY, s.y);
        ASSERT_EQ(faces.size(), 1u);
        EXPECT_EQ(faces[0].Alpha(), (uint32_t)(s.alpha + 0.5f));
        EXPECT_FLOAT_EQ(faces[0].vertices[0].y, s.y - 0.5f);
    }
    // Past its end the run is freed with its dialog and textures at the next frame.
    raster.ClearCalls();
    At(1001);
    faces.clear();
    ui_Draw();
    EXPECT_EQ(uiTextRun_First(), nullptr);
    EXPECT_TRUE(faces.empty());
    EXPECT_EQ(raster.Count(kUncache), 1);
    EXPECT_EQ(font->refCount, 1u);

    // Without fades the alpha is left as it is; without speed the run stays put.
    run = uiTextRun_Create(font, "A", 500, 0, 0, 0, 20, 100, 0);
    ASSERT_NE(run, nullptr);
    run->dialog->alpha = 99.0f;
    for (uint32_t ms : {1100u, 1300u, 1501u}) {
        At(ms);
        ui_Draw();
        ASSERT_EQ(uiTextRun_First(), run);
        EXPECT_FLOAT_EQ(run->dialog->alpha, 99.0f);
        EXPECT_FLOAT_EQ(run->drawY, 100.0f);
    }
}

TEST_F(UiTextRun, RunsAreUnlinkedAndFreedOneByOneOrWithTheUi)
{
    uiTextRun* a = uiTextRun_Create(font, "A", 1000, 0, 0, 0, 0, 0, 0);
    uiTextRun* b = uiTextRun_Create(font, "B", 1000, 0, 0, 0, 0, 0, 0);
    uiTextRun* c = uiTextRun_Create(font, "AB", 1000, 0, 0, 0, 0, 0, 0);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(uiTextRun_First(), c);
    EXPECT_EQ(c->next, b);
    EXPECT_EQ(b->next, a);
    EXPECT_EQ(a->prev, b);
    uiTextRun_Unlink(b);
    EXPECT_EQ(c->next, a);
    EXPECT_EQ(a->prev, c);
    uiTextRun_Link(b);
    EXPECT_EQ(uiTextRun_First(), b);
    uiTextRun_Destroy(b);  // the record is the caller's
    EXPECT_EQ(b->dialog, nullptr);
    EXPECT_EQ(uiTextRun_First(), c);
    uiTextRun_Unlink(b);  // not linked: nothing happens
    EXPECT_EQ(uiTextRun_First(), c);
    uiTextRun_Clear(b);
    EXPECT_EQ(b->textbox, nullptr);
    free(b);

    // The UI's shutdown takes the remaining runs and the fonts with it.
    uiResource_FreeFont(font);
    font = nullptr;
    EXPECT_EQ(stdFont_GetLoadedCount(), 1);
    EXPECT_EQ(ui_Shutdown(), 1);
    EXPECT_EQ(uiTextRun_First(), nullptr);
    EXPECT_EQ(stdFont_GetLoadedCount(), 0);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
    ASSERT_EQ(ui_Startup(), 1);
}
