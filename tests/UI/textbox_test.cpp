// The textbox and the slider that scrolls it: row layout and word wrap, line placement and
// limits, scrolling by code, scrollbar and wheel, drawing through the font, script keys; the
// slider's value, thumb, steps and drag. Fonts are written into the test's folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "renderSettings.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiInputState.h"
#include "uiResource.h"
#include "uiSlider.h"
#include "uiTextbox.h"
#include "uiTestSupport.h"

namespace {

using uitest::kAdvance;
using uitest::kLineHeight;

int g_wheelMove = 0;
int Wheel() { return g_wheelMove; }

std::vector<std::string> g_changes;
void RecordChange(uiSlider*, int value) { g_changes.push_back(std::to_string(value)); }

class Textbox : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        StartRegistryAndCursor();
        renderSettings_current.optionFlags |= 0x2;  // 32-bit widget bitmaps
        uiTextbox_Register();
        g_wheelMove = 0;
        g_changes.clear();
    }
    void TearDown() override
    {
        renderSettings_current.optionFlags &= ~0x2u;
        UiTest::TearDown();
    }

    // A textbox of this size with the test font, its bitmaps loaded.
    static uiTextbox* Make(int width, int height, uint32_t flags = 0)
    {
        uiTextbox* box = new uiTextbox;
        box->rect = {0, 0, width, height};
        box->textboxFlags = flags;
        EXPECT_EQ(box->ParseKeyword("font=Mono", nullptr), 1);
        box->LoadBitmaps();
        return box;
    }

    // The rows of a line, first row first.
    static std::vector<std::string> Rows(const uiTextLine* line)
    {
        std::vector<std::string> rows;
        for (const uiTextPiece* p = line->pPieces; p; p = p->pNext) rows.insert(rows.begin(), p->text);
        return rows;
    }
};

TEST_F(Textbox, LaysLinesOutIntoRows)
{
    struct Case {
        uint32_t flags;
        int width;
        const char* text;
        std::vector<std::string> rows;
    } cases[] = {
        {0, 100, "one line that is far too long for the box", {"one line that is far too long for the box"}},
        {0, 100, "ab\n\ncd", {"ab", "cd"}},
        {0, 100, "\n\nab\n", {"ab"}},
        {UITEXTBOX_WRAP, 100, "aaaa bbbb cccc dddd", {"aaaa bbbb", "cccc dddd"}},
        {UITEXTBOX_WRAP, 100, "aaaa bbbb    cccc", {"aaaa bbbb", "cccc"}},
        {UITEXTBOX_WRAP, 100, "aaaa bbbb\ncc", {"aaaa bbbb", "cc"}},
        {UITEXTBOX_WRAP, 100, "abcdefghijklmnopqrstuvwxy", {"abcdefghij", "klmnopqrst", "uvwxy"}},
        {UITEXTBOX_WRAP, 100, "ab abcdefghijkl", {"ab", "abcdefghij", "kl"}},
        {UITEXTBOX_WRAP, 5, "ab", {"a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        uiTextbox* box = Make(c.width, 200, c.flags);
        uiTextbox_AddLine(box, c.text, 7);
        const uiTextLine* line = box->pFirstLine;
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(Rows(line), c.rows);
        EXPECT_EQ(line->pieceCount, (int)c.rows.size());
        EXPECT_EQ(line->height, kLineHeight * (int)c.rows.size());
        EXPECT_EQ(line->pPieces->width, kAdvance * (int)c.rows.back().size());
        EXPECT_EQ(line->userValue, 7u);
        delete box;
    }
}

TEST_F(Textbox, BlankLinesTakeOneLineAndDrawNothing)
{
    uiTextbox* box = Make(100, 48);
    EXPECT_EQ(uiTextbox_AddLine(box, "", 0), 0);
    EXPECT_EQ(uiTextbox_AddLine(box, nullptr, 0), 1);
    EXPECT_EQ(uiTextbox_Printf(box, nullptr), 2);
    for (const uiTextLine* line = box->pFirstLine; line; line = line->pNext) {
        EXPECT_EQ(line->lineFlags, UITEXTLINE_BLANK);
        EXPECT_EQ(line->height, kLineHeight);
        EXPECT_EQ(line->pPieces, nullptr);
    }
    EXPECT_EQ(uiTextbox_GetLineY(box, 2), 48 - 3 * kLineHeight);
    box->RenderContents();
    const Bitmap* b = box->pBitmap;
    for (int i = 0; i < b->width * b->height; i++) ASSERT_EQ(((uint32_t*)b->pixels)[i], 0u);
    delete box;
}

TEST_F(Textbox, PlacesLinesFromTheTopAndKeepsTheLimit)
{
    uiTextbox* box = Make(100, 60);
    uiTextbox_SetSpacing(box, 2);
    uiTextbox_SetMaxItems(box, 3);
    for (const char* text : {"one", "two", "three"}) uiTextbox_AddLine(box, text, 0);
    EXPECT_EQ(uiTextbox_GetLineY(box, 0), 48);
    EXPECT_EQ(uiTextbox_GetLineY(box, 1), 34);
    EXPECT_EQ(uiTextbox_GetLineY(box, 2), 20);
    EXPECT_EQ(uiTextbox_AddLine(box, "four", 0), 2);
    ASSERT_EQ(box->lineCount, 3u);
    const char* expected[] = {"two", "three", "four"};
    int i = 0;
    for (const uiTextLine* line = box->pFirstLine; line; line = line->pNext, i++) {
        EXPECT_STREQ(line->text, expected[i]);
        EXPECT_EQ(line->index, i);
        EXPECT_EQ(line->y, 48 - 14 * i);
    }
    EXPECT_EQ(uiTextbox_GetLine(box, 3), nullptr);
    EXPECT_EQ(uiTextbox_GetLineY(box, 3), 0);

    // Removing re-places and renumbers the rest.
    box->flags &= ~UIELEMENT_DIRTY;
    EXPECT_EQ(uiTextbox_RemoveLineAt(box, 0), 2u);
    EXPECT_EQ(uiTextbox_RemoveLineAt(box, 5), 2u);
    EXPECT_STREQ(uiTextbox_GetLine(box, 0)->text, "three");
    EXPECT_EQ(uiTextbox_GetLine(box, 1)->index, 1);
    EXPECT_EQ(uiTextbox_GetLineY(box, 1), 34);
    EXPECT_TRUE(box->flags & UIELEMENT_DIRTY);

    uiTextbox_SetSpacing(box, 0);
    EXPECT_EQ(uiTextbox_GetLineY(box, 1), 36);
    box->Clear();
    EXPECT_EQ(box->lineCount, 0u);
    EXPECT_EQ(box->pFirstLine, nullptr);
    EXPECT_EQ(box->pLastLine, nullptr);
    delete box;
}

TEST_F(Textbox, NewestAtTheBottomSitsAQuarterLineUp)
{
    uiTextbox* box = Make(100, 60, UITEXTBOX_FROM_BOTTOM);
    box->itemSpacing = 1;
    uiTextbox_AddLine(box, "old", 0);
    EXPECT_EQ(uiTextbox_GetLineY(box, 0), kLineHeight / 4);
    uiTextbox_AddLine(box, "new", 0);
    EXPECT_EQ(box->pLastLine->y, kLineHeight / 4);
    EXPECT_EQ(box->pLastLine->index, 0);
    EXPECT_EQ(box->pFirstLine->y, kLineHeight / 4 + kLineHeight + 1);
    EXPECT_EQ(box->pFirstLine->index, 1);
    EXPECT_EQ(box->scroll, 0);
    delete box;
}

TEST_F(Textbox, ScrollsTheNewestLineIntoViewAndClamps)
{
    uiTextbox* box = Make(100, 24);
    for (int i = 0; i < 5; i++) uiTextbox_Printf(box, "line %d", i);
    // The last line's y is 24 - 60 = -36; a quarter line of margin below it.
    EXPECT_EQ(box->pLastLine->y, -36);
    EXPECT_EQ(box->scroll, 3 + 36);
    struct Step {
        int by;
        bool absolute;
        int scroll;
    } steps[] = {{-10, false, 29}, {-100, false, 0}, {1000, true, 39}, {5, true, 5}, {-1, true, 0}};
    for (const Step& s : steps) {
        if (s.absolute) uiTextbox_SetScroll(box, s.by);
        else uiTextbox_ScrollBy(box, s.by);
        EXPECT_EQ(box->scroll, s.scroll) << s.by;
    }

    // The wheel pages while the box is hovered.
    uiTextbox_SetScroll(box, 39);
    const uiInputSource source = {Wheel, nullptr, nullptr};
    uiInput_SetSource(&source);
    g_wheelMove = 1;
    box->Update();
    EXPECT_EQ(box->scroll, 39);
    ui_SetHoveredElement(box);
    box->Update();
    EXPECT_EQ(box->scroll, 15);
    uiTextbox_Wheel(box, -1);
    EXPECT_EQ(box->scroll, 39);
    uiTextbox_Wheel(box, 1);
    uiTextbox_Wheel(box, 1);
    EXPECT_EQ(box->scroll, 0);
    delete box;
}

TEST_F(Textbox, ACentredBlockDoesNotScroll)
{
    uiTextbox* box = Make(100, 60, UITEXTBOX_CENTRE_BLOCK);
    uiTextbox_AddLine(box, "a", 0);
    uiTextbox_AddLine(box, "b", 0);
    // Lines at 48 and 36: the block of 24 rows moves down to the middle.
    EXPECT_EQ(box->scroll, (int)((36 - 12 - 48 + 60) * -0.5));
    const int centred = box->scroll;
    uiTextbox_ScrollBy(box, 5);
    uiTextbox_SetScroll(box, 0);
    uiTextbox_Wheel(box, 1);
    EXPECT_EQ(box->scroll, centred);
    delete box;
}

uint32_t Pixel(const Bitmap* b, int x, int yDown)
{
    return ((const uint32_t*)b->pixels)[(b->height - 1 - yDown) * b->width + x];
}

TEST_F(Textbox, DrawsVisibleRowsInTheLineColour)
{
    uiTextbox* box = Make(100, 24, UITEXTBOX_CENTRE_ROWS);
    uiTextbox_SetTextColor(box, 255, 0, 0, 200);  // red
    uiTextbox_AddLine(box, "AA", 0);
    uiTextbox_PrintfColor(box, uiColor{200, 0, 0, 255}, "%s", "B");  // blue
    box->RenderContents();
    const Bitmap* b = box->pBitmap;
    const uint32_t red = 0xFF000000u | (200u * 255 >> 8) << 16;
    const uint32_t blue = 0xFF000000u | (200u * 255 >> 8);
    // "AA" is 20 wide, centred at 40; "B" 10 wide at 45; rows 0-11 and 12-23 from the top.
    EXPECT_EQ(Pixel(b, 41, 5), red);
    EXPECT_EQ(Pixel(b, 39, 5), 0u);
    EXPECT_EQ(Pixel(b, 46, 17), blue);
    EXPECT_EQ(Pixel(b, 44, 17), 0u);

    // A third line scrolls the first out of the box: it is not drawn.
    uiTextbox_AddLine(box, "C", 0);
    memset(b->pixels, 0, (size_t)b->width * b->height * 4);
    box->RenderContents();
    EXPECT_EQ(Pixel(b, 41, 5), 0u);
    delete box;
}

TEST_F(Textbox, WithoutAFontLaysOutNothingAndDrawsNothing)
{
    uiTextbox* box = new uiTextbox;
    box->rect = {0, 0, 50, 20};
    box->textboxFlags = UITEXTBOX_WRAP;
    uiElement_CreateBitmap(box);
    EXPECT_EQ(uiTextbox_AddLine(box, "some words here", 0), 0);
    EXPECT_EQ(box->pFirstLine->height, 0);
    box->RenderContents();
    const Bitmap* b = box->pBitmap;
    for (int i = 0; i < b->width * b->height; i++) ASSERT_EQ(((uint32_t*)b->pixels)[i], 0u);
    // Bitmaps loaded later give it the default font.
    box->LoadBitmaps();
    ASSERT_NE(box->pFont, nullptr);
    EXPECT_STREQ(box->pFont->name, "defaultFont");
    delete box;
}

TEST_F(Textbox, TakesItsScriptKeys)
{
    struct Case {
        const char* pair;
        int result;
    } cases[] = {
        {"name=Status", 1},      {"itemspacing=4", 1},    {"itemspacing=x", 0},
        {"textboxflags=0x5", 1}, {"textboxflags=", 0},    {"maxitems=2", 1},
        {"maxitems=two", 0},     {"tbtextcolor=1,2,3", 1}, {"tbtextcolor=1,2", 0},
        {"font=Missing", 0},     {"font=Mono", 1},         {"vscrollbar=Bar", 0},
        {"hscrollbar=Bar", 0},   {"colour=1", 0},          {"itemspacing", 0},
    };
    uiTextbox* box = new uiTextbox;
    uiTextbox_AddLine(box, "kept until maxitems", 0);
    for (const Case& c : cases) EXPECT_EQ(box->ParseKeyword(c.pair, nullptr), c.result) << c.pair;
    EXPECT_STREQ(box->name, "Status");
    EXPECT_EQ(box->itemSpacing, 4);
    EXPECT_EQ(box->textboxFlags, 5u);
    EXPECT_EQ(box->maxItems, 2u);
    EXPECT_EQ(box->lineCount, 0u);
    EXPECT_EQ(box->textColor.blue, 1);
    EXPECT_EQ(box->textColor.green, 2);
    EXPECT_EQ(box->textColor.red, 3);
    EXPECT_EQ(box->textColor.alpha, 255);
    ASSERT_NE(box->pFont, nullptr);
    EXPECT_EQ(box->pFont->refCount, 1u);
    delete box;
    EXPECT_EQ(uiResource_GetFontCount(), 0);
}

TEST_F(Textbox, HintsGoToTheTargetTextbox)
{
    uiTextbox* box = Make(100, 40);
    uiElement source;
    source.pHint = "Press here";
    uiElement_ShowHint(&source, box, 0);
    ASSERT_EQ(box->lineCount, 1u);
    EXPECT_STREQ(box->pFirstLine->text, "Press here");
    uiElement other;
    uiElement_ShowHint(&source, &other, 0);  // not a textbox: nothing
    delete box;
}

// A slider of 10 x 100 at (5, 20) with a thumb of 10 x 20.
uiSlider* MakeSlider(int vertical)
{
    uiSlider* slider = new uiSlider;
    slider->rect = vertical ? uiRect{5, 20, 10, 100} : uiRect{5, 20, 100, 10};
    slider->vertical = vertical;
    uiSliderPart* thumb = new uiSliderPart;
    thumb->rect = vertical ? uiRect{0, 0, 10, 20} : uiRect{0, 0, 20, 10};
    uiSlider_AttachThumb(slider, thumb);
    return slider;
}

// A vertical slider made the textbox's scrollbar as its bitmaps load.
uiSlider* MakeScrollbar(uiTextbox* box)
{
    uiSlider* bar = MakeSlider(1);
    box->pVScrollbar = bar;
    box->LoadBitmaps();
    return bar;
}

TEST_F(Textbox, SliderPlacesItsThumbByValue)
{
    struct Case {
        int vertical, minimum, maximum, value;
        int thumb;  // offset from the slider's start
        int held;
    } cases[] = {
        {1, 0, 100, 50, 40, 50},    {1, 0, 100, 100, 80, 100}, {1, 0, 100, 150, 80, 100},
        {1, 0, 100, -5, 0, 0},      {0, -40, 0, -10, 60, -10}, {0, 7, 7, 7, 0, 7},
        {0, 7, 7, 30, 0, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        uiSlider* slider = MakeSlider(c.vertical);
        uiSliderPart* thumb = slider->pThumb;
        ASSERT_NE(thumb, nullptr);
        EXPECT_EQ(thumb->pParent, slider);
        EXPECT_EQ(c.vertical ? thumb->travelY : thumb->travelX, 80);
        EXPECT_EQ(thumb->rect.x, 5);
        EXPECT_EQ(thumb->rect.y, 20);
        uiSlider_SetRange(slider, c.minimum, c.maximum);
        uiSlider_SetPos(slider, c.value);
        EXPECT_EQ(slider->value, c.held);
        EXPECT_EQ(c.vertical ? thumb->rect.y - 20 : thumb->rect.x - 5, c.thumb);
        delete slider;
    }
}

TEST_F(Textbox, SliderDragReportsValuesAndAThumbWithoutTravelGivesTheStart)
{
    uiSlider* slider = MakeSlider(1);
    slider->onChange = RecordChange;
    uiSliderPart_DragBy(slider->pThumb, 0, 40);
    uiSliderPart_DragBy(slider->pThumb, 0, 400);
    uiSliderPart_DragBy(slider->pThumb, 0, 0);
    uiSliderPart_DragBy(slider->pThumb, 0, -500);
    EXPECT_EQ(g_changes, (std::vector<std::string>{"50", "100", "0"}));
    EXPECT_EQ(slider->pThumb->rect.y, 20);

    // A thumb as long as the slider has no travel: value at the minimum, no division.
    slider->pThumb->rect.height = 100;
    uiSliderPart_ComputeTravel(slider->pThumb);
    EXPECT_EQ(slider->pThumb->travelY, 0);
    uiSlider_SetRange(slider, 3, 9);
    slider->value = 5;
    uiSlider_ValueFromThumb(slider);
    EXPECT_EQ(slider->value, 3);
    delete slider;
}

TEST_F(Textbox, SliderStepsOnReleaseBesideTheThumb)
{
    // The same steps along either axis: a release beyond the thumb (right of it, or below it
    // on a vertical slider) steps on, one before it steps back, both held within the quanta.
    for (int vertical = 0; vertical < 2; vertical++) {
        SCOPED_TRACE(vertical);
        uiSlider* slider = MakeSlider(vertical);
        ASSERT_EQ(slider->ParseKeyword("quanta=4", nullptr), 1);
        EXPECT_EQ(slider->ParseKeyword("quanta=-1", nullptr), 0);
        EXPECT_EQ(slider->ParseKeyword("vertical=x", nullptr), 0);
        EXPECT_EQ(slider->ParseKeyword("slider=Thumb", nullptr), 0);
        slider->handlers[1] = [](uiElement*, uint32_t) {};
        struct Step {
            int cursor;  // along the slider's axis
            int step, thumb;
        } steps[] = {{50, 1, 20}, {50, 2, 40}, {0, 1, 20}, {99, 2, 40}, {99, 3, 60}, {99, 4, 80}, {99, 4, 80}};
        for (const Step& s : steps) {
            (vertical ? slider->cursorY : slider->cursorX) = s.cursor;
            slider->OnEvent1();
            EXPECT_EQ(slider->step, s.step);
            const uiRect& thumb = slider->pThumb->rect;
            EXPECT_EQ(vertical ? thumb.y - 20 : thumb.x - 5, s.thumb);
            EXPECT_EQ(vertical ? thumb.x : thumb.y, vertical ? 5 : 20);  // across, it stays
        }
        uiSlider_SetPos(slider, -3);
        EXPECT_EQ(slider->step, 0);
        EXPECT_EQ(vertical ? slider->pThumb->rect.y - 20 : slider->pThumb->rect.x - 5, 0);
        delete slider;
    }
}

TEST_F(Textbox, ScrollbarFollowsAndDrivesTheTextbox)
{
    uiTextbox* box = Make(100, 24);
    uiSlider* bar = MakeScrollbar(box);
    EXPECT_EQ(bar->pOwner, box);
    EXPECT_EQ(bar->pHintHandler, nullptr);
    EXPECT_EQ(bar->onChange, uiTextbox_OnScrollbar);
    for (int i = 0; i < 5; i++) uiTextbox_Printf(box, "line %d", i);
    // Range from the last line's y less a quarter line up to 0; the newest line shown.
    EXPECT_EQ(bar->minimum, -36 - 3);
    EXPECT_EQ(bar->maximum, 0);
    EXPECT_EQ(bar->value, -39);
    EXPECT_EQ(bar->pThumb->rect.y - 20, 0);

    // Dragging the thumb to the bottom scrolls back to the first line.
    uiSliderPart_DragBy(bar->pThumb, 0, 80);
    EXPECT_EQ(bar->value, 0);
    EXPECT_EQ(box->scroll, 0);

    // Pressing the track above the thumb pages towards the older lines.
    bar->cursorY = 0;
    bar->OnEvent0();
    EXPECT_EQ(box->scroll, 24);
    bar->cursorY = 99;
    bar->OnEvent0();
    EXPECT_EQ(box->scroll, 0);

    // The thumb grabs the cursor only while there is something to scroll.
    bar->pThumb->OnEvent0();
    EXPECT_EQ(bar->dragging, 1);
    EXPECT_FLOAT_EQ(uiCursor_GetLimit()->maxY, 479 - 20);
    bar->pThumb->OnEvent1();
    EXPECT_EQ(bar->dragging, 0);
    EXPECT_FLOAT_EQ(uiCursor_GetLimit()->maxY, 479);
    box->Clear();
    bar->pThumb->OnEvent0();
    EXPECT_EQ(bar->dragging, 0);

    delete box;
    EXPECT_EQ(bar->pOwner, nullptr);
    uiTextbox_OnScrollbar(bar, 5);  // no owner: nothing
    delete bar;
}

TEST_F(Textbox, AScrollbarDeletedBeforeItsTextboxIsForgottenByIt)
{
    uiTextbox* box = Make(100, 24);
    uiSlider* bar = MakeScrollbar(box);
    ASSERT_EQ(bar->pOwner, box);
    delete bar;
    EXPECT_EQ(box->pVScrollbar, nullptr);
    uiTextbox_ScrollBy(box, 10);  // the textbox scrolls on without its scrollbar
    delete box;
}

}  // namespace
