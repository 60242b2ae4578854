// Buttons, checkboxes with radio groups and edit fields: their state machines through the
// event operations, hover and the frame clock; the edit field's filter, length, password,
// caret, focus ring and clipboard paste.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "fixtureWix.h"
#include "renderTimer.h"
#include "stdBitmap.h"
#include "ui.h"
#include "uiButton.h"
#include "uiDialog.h"
#include "uiEditBox.h"
#include "uiInputState.h"
#include "uiIcon.h"
#include "uiResource.h"
#include "uiWidgets.h"
#include "uiTestSupport.h"

namespace {

std::vector<std::string> g_calls;
// name:handler, and the argument of a key.
void RecordPress(uiElement* e, uint32_t) { g_calls.push_back(std::string(e->name) + ":0"); }
void RecordRelease(uiElement* e, uint32_t) { g_calls.push_back(std::string(e->name) + ":1"); }
void RecordKey(uiElement* e, uint32_t key)
{
    g_calls.push_back(std::string(e->name) + ":key " + std::to_string(key));
}
int g_left = 0, g_shift = 0;
int Left() { return g_left; }
int Shift() { return g_shift; }
std::string g_entered;
void Entered(const char* text) { g_entered = text; }

class Widgets : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        StartRegistryAndCursor();
        for (const char* name : {"Up", "Roll", "Down", "Grey", "Tick"}) WritePicture(name, 8, 8, false);
        uiWidgets_Register();
        const uiInputSource source = {nullptr, Left, Shift};
        uiInput_SetSource(&source);
        g_calls.clear();
        g_left = g_shift = 0;
        g_entered.clear();
        dialog = uiDialog_New();
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override
    {
        uiDialog_Free(dialog);
        UiTest::TearDown();
    }

    // Writes the script as "menu.wix" and loads it.
    static uiDialog* LoadMenu(const fixtures::WixScript& script)
    {
        return fixtures::WriteWix("menu.wix", script) ? uiDialog_LoadScript("menu.wix") : nullptr;
    }
    // The same for a script of these element lines alone.
    static uiDialog* LoadMenuOf(const std::vector<fixtures::WixElement>& elements)
    {
        fixtures::WixScript script;
        script.elements = elements;
        return LoadMenu(script);
    }

    // A widget named name in the dialog, given the pairs, with its bitmaps loaded.
    template <class W>
    W* Add(const char* name, std::vector<const char*> pairs = {})
    {
        W* w = new W;
        strcpy(w->name, name);
        w->rect = {0, 0, 50, 14};
        for (const char* p : pairs) EXPECT_EQ(w->ParseKeyword(p, dialog), 1) << p;
        EXPECT_EQ(uiDialog_AddElement(dialog, nullptr, w), 1);
        w->LoadBitmaps();
        uiElement_SetHandler(w, 0, RecordPress);
        uiElement_SetHandler(w, 1, RecordRelease);
        uiElement_SetHandler(w, UIHANDLER_KEY, RecordKey);
        return w;
    }

    uiDialog* dialog = nullptr;
};

TEST_F(Widgets, ButtonClicksOnlyOnAReleaseAfterItsPress)
{
    uiButton* b = Add<uiButton>("Ok", {"bitmap=Up", "rollover=Roll", "depressed=Down",
                                       "greyed=Grey", "buttonvalue=7"});
    EXPECT_EQ(b->buttonValue, 7);
    EXPECT_EQ(b->ParseKeyword("rollover=Missing", dialog), 0);
    EXPECT_EQ(b->ParseKeyword("buttonvalue=x", dialog), 0);
    ASSERT_NE(b->normalBitmap, nullptr);
    EXPECT_EQ(b->pBitmap, b->normalBitmap);
    struct Step {
        const char* action;  // h hover, l left held, u update, p press, r release, n no hover
        int state;
        Bitmap* shown;
        const char* calls;
    } steps[] = {
        {"hu", UIBUTTON_ROLLOVER, b->rolloverBitmap, ""},
        {"lpu", UIBUTTON_DEPRESSED, b->depressedBitmap, "Ok:0 "},
        {"r", UIBUTTON_NORMAL, b->depressedBitmap, "Ok:1 "},
        {"u", UIBUTTON_ROLLOVER, b->rolloverBitmap, ""},
        // Pressed, dragged off and released elsewhere: no click.
        {"pnu", UIBUTTON_NORMAL, b->normalBitmap, "Ok:0 "},
        {"r", UIBUTTON_NORMAL, b->normalBitmap, ""},
    };
    for (const Step& s : steps) {
        g_calls.clear();
        for (const char* a = s.action; *a; a++) {
            if (*a == 'h') ui_SetHoveredElement(b);
            if (*a == 'n') ui_SetHoveredElement(nullptr);
            if (*a == 'l') g_left = 1;
            if (*a == 'u') b->Update();
            if (*a == 'p') b->OnEvent0();
            if (*a == 'r') b->OnEvent1();
        }
        std::string events;
        for (const std::string& c : g_calls) events += c + " ";
        EXPECT_EQ(b->state, s.state) << s.action;
        EXPECT_EQ(b->pBitmap, s.shown) << s.action;
        EXPECT_EQ(events, s.calls) << s.action;
    }

    // Greyed stays greyed until ungreyed.
    b->state = UIBUTTON_GREYED;
    b->flags |= UIELEMENT_DISABLED;
    ui_SetHoveredElement(b);
    b->Update();
    b->OnEvent0();
    EXPECT_EQ(b->state, UIBUTTON_GREYED);
    uiButton_Ungrey(b);
    EXPECT_EQ(b->state, UIBUTTON_NORMAL);
    EXPECT_FALSE(b->flags & UIELEMENT_DISABLED);
}

TEST_F(Widgets, RadioGroupsKeepOneChecked)
{
    uiCheckbox* a = Add<uiCheckbox>("A", {"bitmap=Up", "checkedbitmap=Tick", "radiogroup=1"});
    uiCheckbox* b = Add<uiCheckbox>("B", {"bitmap=Up", "checkedbitmap=Tick", "radiogroup=1"});
    uiCheckbox* c = Add<uiCheckbox>("C", {"bitmap=Up", "checkedbitmap=Tick", "radiogroup=2"});
    uiCheckbox* free = Add<uiCheckbox>("F", {"bitmap=Up", "checkedbitmap=Tick"});
    EXPECT_EQ(a->ParseKeyword("radiogroup=x", dialog), 0);
    EXPECT_EQ(a->ParseKeyword("checkedbitmap=Missing", dialog), 0);
    uiCheckbox* boxes[] = {a, b, c, free};
    struct Step {
        uiCheckbox* pressed;
        const char* checked;
    } steps[] = {{a, "1000"}, {a, "1000"}, {b, "0100"}, {c, "0110"},
                 {free, "0111"}, {free, "0110"}, {a, "1010"}};
    for (const Step& s : steps) {
        s.pressed->OnEvent0();
        std::string state;
        for (uiCheckbox* x : boxes) {
            state += x->checked ? '1' : '0';
            EXPECT_EQ(x->pBitmap, x->checked ? x->checkedBitmap : x->uncheckedBitmap);
        }
        EXPECT_EQ(state, s.checked) << s.pressed->name;
    }
    EXPECT_EQ(g_calls.size(), 7u);  // handler 0 on every press
}

TEST_F(Widgets, EditFieldFiltersAndLimitsWhatIsTyped)
{
    struct Case {
        uint32_t filter;
        int maxLength;
        const char* typed;
        const char* text;
    } cases[] = {
        {UIEDIT_ANY, 511, "a1 ;Z", "a1 ;Z"},
        {UIEDIT_DIGITS, 511, "a1b2", "12"},
        {UIEDIT_LETTERS, 511, "a1b2 ", "ab"},
        {UIEDIT_LETTERS_DIGITS, 511, "a1-b2 ", "a1b2"},
        {UIEDIT_ANY, 10, "abcdefghijkl", "abcdefgh"},
        {UIEDIT_ANY, 0, "abc", ""},
        {UIEDIT_ANY, -5, "abc", ""},
        {UIEDIT_ANY, 3, "abc", "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        uiEditBox* edit = Add<uiEditBox>("Edit");
        uiEditBox_SetFilter(edit, c.filter);
        uiEditBox_SetMaxLength(edit, c.maxLength);
        EXPECT_GE(edit->maxLength, 2u);
        g_calls.clear();
        for (const char* k = c.typed; *k; k++) edit->OnKey((unsigned char)*k);
        EXPECT_STREQ(uiEditBox_GetText(edit), c.text);
        // The key handler runs for every key, taken or not.
        EXPECT_EQ(g_calls.size(), strlen(c.typed));
        delete edit;
    }
    uiEditBox* edit = Add<uiEditBox>("Long");
    uiEditBox_SetMaxLength(edit, 100000);
    EXPECT_EQ(edit->maxLength, 511u);
    for (int i = 0; i < 600; i++) uiEditBox_AddChar(edit, 'x');
    EXPECT_EQ(strlen(edit->text), 509u);
    EXPECT_EQ(uiEditBox_AddChar(edit, '\t'), 0);
    uiEditBox_SetMaxLength(edit, 5);
    EXPECT_STREQ(edit->text, "xxxxx");
    edit->OnKey(UIEDIT_KEY_BACKSPACE);
    EXPECT_STREQ(edit->text, "xxxx");
    uiEditBox_SetFilter(edit, 9);
    EXPECT_STREQ(edit->text, "");
    EXPECT_EQ(edit->filter, (uint32_t)UIEDIT_ANY);
    EXPECT_EQ(edit->ParseKeyword("anything=at all", dialog), 1);
    EXPECT_EQ(edit->ParseKeyword("nothing", dialog), 0);
}

TEST_F(Widgets, EditFieldShowsPasswordCaretAndSlidesLongText)
{
    uiEditBox* edit = Add<uiEditBox>("Pass");
    edit->editFlags = UIEDIT_PASSWORD;
    for (char ch : std::string("abc")) uiEditBox_AddChar(edit, ch);
    edit->caretShown = 1;
    edit->RenderContents();
    ASSERT_EQ(edit->lineCount, 1u);
    EXPECT_STREQ(edit->pFirstLine->text, "***|");
    EXPECT_EQ(edit->xOffset, 0);
    edit->caretShown = 0;
    edit->RenderContents();
    EXPECT_STREQ(edit->pFirstLine->text, "***");
    EXPECT_STREQ(edit->text, "abc");

    // 50 wide, 10 a character and the caret: 4 characters fit, then the text slides left.
    uiEditBox_AddChar(edit, 'd');
    EXPECT_EQ(edit->xOffset, 0);
    uiEditBox_AddChar(edit, 'e');
    EXPECT_EQ(edit->xOffset, -10);
    edit->OnKey(UIEDIT_KEY_BACKSPACE);
    EXPECT_EQ(edit->xOffset, 0);
}

TEST_F(Widgets, EditFieldBlinksWhileFocusedAndMovesTheFocus)
{
    uiEditBox* first = Add<uiEditBox>("First");
    uiEditBox* second = Add<uiEditBox>("Second");
    uiEditBox* quiet = Add<uiEditBox>("Quiet");
    quiet->editFlags = UIEDIT_NO_FOCUS_ON_PRESS;
    uiEditBox_SetOnEnter(first, Entered);
    first->OnEvent0();
    EXPECT_EQ(dialog->pFocus, first);
    quiet->OnEvent0();
    EXPECT_EQ(dialog->pFocus, first);

    struct Tick {
        uint32_t now;
        uint32_t shown;
    } ticks[] = {{100, 1}, {400, 1}, {601, 0}, {1101, 0}, {1102, 1}};
    for (const Tick& t : ticks) {
        renderTimer_viewer.clocks[0].totalMs = t.now;
        first->Update();
        second->Update();
        EXPECT_EQ(first->caretShown, t.shown) << t.now;
        EXPECT_EQ(second->caretShown, 0u);
    }
    uiEditBox_AddChar(first, 'h');
    first->OnKey(UIEDIT_KEY_RETURN);
    EXPECT_EQ(g_entered, "h");

    first->OnKey(UIEDIT_KEY_TAB);
    EXPECT_EQ(dialog->pFocus, second);
    EXPECT_EQ(first->caretShown, 0u);  // the edit ended with the focus
    g_shift = 1;
    second->OnKey(UIEDIT_KEY_TAB);
    EXPECT_EQ(dialog->pFocus, first);
    renderTimer_viewer.clocks[0].totalMs = 0;
}

TEST_F(Widgets, EditFieldPastesTheClipboardUpToALineFeed)
{
    const char text[] = "pa st\u00e9\ned";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    memcpy(GlobalLock(memory), text, sizeof text);
    GlobalUnlock(memory);
    ASSERT_NE(SetClipboardData(CF_TEXT, memory), nullptr);
    CloseClipboard();

    uiEditBox* edit = Add<uiEditBox>("Paste");
    uiEditBox_AddChar(edit, '>');
    edit->OnKey(UIEDIT_KEY_PASTE);
    EXPECT_STREQ(edit->text, ">pa st");
    edit->Clear();
    uiEditBox_SetMaxLength(edit, 6);
    EXPECT_EQ(uiEditBox_Paste(edit), 1);
    EXPECT_STREQ(edit->text, "pa s");
}

// Each key that names a picture holds a reference of its own, also when one picture serves
// several states, and the dialog's end releases every one; a script's icon shows the picture its
// "bitmap" key names.
TEST_F(Widgets, ScriptWidgetsReleaseEveryPictureTheyNameWithTheDialog)
{
    uiDialog* menu = LoadMenuOf({
        {"button", {"name=Ok", "bitmap=Up", "rollover=Up", "depressed=Up", "greyed=Roll"}},
        {"checkbox", {"name=Opt", "pos=0,20", "bitmap=Tick", "checkedbitmap=Tick"}},
        {"icon", {"name=Loose", "pos=0,40", "size=8,8", "bitmap=Down"}},
    });
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(stdBitmap_Find("Up.TGA"), nullptr);
    EXPECT_EQ(stdBitmap_Find("Up.TGA")->refCount, 3);
    EXPECT_EQ(stdBitmap_Find("Tick.TGA")->refCount, 2);
    uiIcon* loose = dynamic_cast<uiIcon*>((uiElement*)uiResource_Find("loose"));
    ASSERT_NE(loose, nullptr);
    for (uiElement* hovered : {(uiElement*)loose, (uiElement*)nullptr, (uiElement*)loose}) {
        ui_SetHoveredElement(hovered);
        loose->Update();
        EXPECT_EQ(loose->pBitmap, stdBitmap_Find("Down.TGA"));
    }
    ui_SetHoveredElement(nullptr);
    uiDialog_Free(menu);
    for (const char* name : {"Up.TGA", "Roll.TGA", "Tick.TGA", "Down.TGA"})
        EXPECT_EQ(stdBitmap_Find(name), nullptr) << name;
}

// A widget whose line names one picture for two states and then holds a key its class does not
// know is refused; it gives back every reference it took, the "bitmap" key's included.
TEST_F(Widgets, AWidgetRefusedLaterInItsLineReleasesEveryPictureItNamed)
{
    uiDialog* menu = LoadMenuOf({
        {"button", {"name=Ok", "bitmap=Up", "depressed=Up", "class"}},
        {"button", {"name=Ok2", "bitmap=Roll", "rollover=Roll", "greyed=Roll", "class"}},
        {"checkbox", {"name=Opt", "bitmap=Tick", "checkedbitmap=Tick", "class"}},
        {"button", {"name=Kept", "pos=0,20", "bitmap=Down", "depressed=Down"}},
    });
    ASSERT_NE(menu, nullptr);
    for (const char* name : {"ok", "ok2", "opt"}) EXPECT_EQ(uiResource_Find(name), nullptr) << name;
    for (const char* name : {"Up.TGA", "Roll.TGA", "Tick.TGA"})
        EXPECT_EQ(stdBitmap_Find(name), nullptr) << name;
    ASSERT_NE(stdBitmap_Find("Down.TGA"), nullptr);
    EXPECT_EQ(stdBitmap_Find("Down.TGA")->refCount, 2);
    uiDialog_Free(menu);
    EXPECT_EQ(stdBitmap_Find("Down.TGA"), nullptr);
}

TEST_F(Widgets, ScriptsMakeEveryWidgetClassAndDropBadLines)
{
    fixtures::WixScript script;
    script.dialogLines = {"name=menu"};
    script.elements = {
        {"textbox", {"name=Status", "pos=10,20", "size=200,40", "font=defaultFont",
                     "textboxflags=0x4", "tbtextcolor=10,20,30", "maxitems=5", "itemspacing=2"}},
        {"button", {"name=Ok", "bitmap=Up", "rollover=Roll", "buttonvalue=3"}},
        {"checkbox", {"name=Opt", "bitmap=Up", "checkedbitmap=Tick", "radiogroup=2"}},
        {"icongrid", {"name=Bag", "size=40,20", "gridsize=4,2", "gridid=1"}},
        {"icon", {"name=Loose"}},
        {"textbox", {"name=Bad", "maxitems=many"}},
        {"button", {"name=Broken", "depressed=Missing"}},
    };
    uiDialog* menu = LoadMenu(script);
    ASSERT_NE(menu, nullptr);

    uiTextbox* status = dynamic_cast<uiTextbox*>((uiElement*)uiResource_Find("status"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->rect.width, 200);
    EXPECT_EQ(status->textboxFlags, 4u);
    EXPECT_EQ(status->maxItems, 5u);
    EXPECT_EQ(status->itemSpacing, 2);
    EXPECT_EQ(status->textColor.red, 30);
    ASSERT_NE(status->pFont, nullptr);
    ASSERT_NE(status->pBitmap, nullptr);
    EXPECT_EQ(uiTextbox_Printf(status, "Framerate: %3.2f", 59.5), 0);
    EXPECT_STREQ(status->pFirstLine->text, "Framerate: 59.50");

    uiButton* ok = dynamic_cast<uiButton*>((uiElement*)uiResource_Find("ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->buttonValue, 3);
    EXPECT_NE(ok->rolloverBitmap, nullptr);
    EXPECT_EQ(ok->normalBitmap, ok->pBitmap);
    uiCheckbox* opt = dynamic_cast<uiCheckbox*>((uiElement*)uiResource_Find("opt"));
    ASSERT_NE(opt, nullptr);
    EXPECT_EQ(opt->radioGroup, 2);
    EXPECT_NE(opt->checkedBitmap, nullptr);
    uiIconGrid* bag = dynamic_cast<uiIconGrid*>((uiElement*)uiResource_Find("bag"));
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(bag->cellWidth, 10);
    EXPECT_EQ(bag->cellHeight, 10);
    EXPECT_NE(dynamic_cast<uiIcon*>((uiElement*)uiResource_Find("loose")), nullptr);
    EXPECT_EQ(uiResource_Find("bad"), nullptr);
    EXPECT_EQ(uiResource_Find("broken"), nullptr);
    uiDialog_Free(menu);
    EXPECT_EQ(uiResource_Find("status"), nullptr);
}

}  // namespace
