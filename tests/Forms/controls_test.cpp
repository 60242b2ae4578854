// Panels, splitters, labels, buttons, text boxes and memos on real hidden windows; events are
// driven by the messages the controls really send.
#include "Application.h"
#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "Panel.h"
#include "Splitter.h"
#include <gtest/gtest.h>

namespace {
class EditorLikeForm : public TForm {
public:
    TPanel PanelLeft;
    TSplitter TemplatesSplitter;
    TPanel PanelBottom;
    TPanel PanelMiddle;
    TLabel LabelName;
    TButton BNRed;
    TButton BNGreen;

protected:
    void CreateComponents() override
    {
        PanelLeft.Create(this, 0, 0, 282, 10);
        PanelLeft.SetAlign(alLeft);
        TemplatesSplitter.Create(this, &PanelLeft);
        PanelBottom.Create(this, 0, 0, 10, 107, true);
        PanelBottom.SetAlign(alBottom);
        PanelMiddle.Create(this, 0, 0, 10, 10);
        PanelMiddle.SetAlign(alClient);
        LabelName.Create(&PanelMiddle, "Name", 4, 4, 60, 16);
        BNRed.Create(&PanelMiddle, "Red", 4, 30, 60, 24);
        BNGreen.Create(&PanelMiddle, "Green", 70, 30, 60, 24);
    }
};

LPARAM Point(int x, int y)
{
    return MAKELPARAM(x, y);
}
}  // namespace

TEST(TPanel, AlignsAndReportsItsResize)
{
    EditorLikeForm form;
    ASSERT_TRUE(form.CreateForm("panels", 0, 0, 800, 600));
    const int cw = form.ClientWidth();
    const int ch = form.ClientHeight();
    EXPECT_EQ(form.PanelBottom.Top(), ch - 107);
    EXPECT_EQ(form.PanelBottom.Width(), cw);
    EXPECT_EQ(form.PanelLeft.Left(), 0);
    EXPECT_EQ(form.PanelLeft.Width(), 282);
    EXPECT_EQ(form.PanelLeft.Height(), ch - 107);
    EXPECT_EQ(form.TemplatesSplitter.Left(), 282);
    EXPECT_EQ(form.PanelMiddle.Left(), 282 + form.TemplatesSplitter.Width());
    EXPECT_EQ(form.PanelMiddle.Width(), cw - 282 - form.TemplatesSplitter.Width());

    int resized = 0;
    form.PanelMiddle.OnResize = [&] { ++resized; };
    form.SetBounds(0, 0, 900, 600);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(form.PanelMiddle.Width(), form.ClientWidth() - 282 - form.TemplatesSplitter.Width());

    form.PanelBottom.Hide();
    EXPECT_EQ(form.PanelLeft.Height(), form.ClientHeight());
}

TEST(TSplitter, DragResizesItsControlWithinLimitsAndAsksFirst)
{
    EditorLikeForm form;
    ASSERT_TRUE(form.CreateForm("splitter", 0, 0, 800, 600));
    TSplitter& s = form.TemplatesSplitter;
    s.SetMinSize(282);
    s.SetMaxSize(400);
    int moved = 0;
    s.OnMoved = [&] { ++moved; };
    HWND bar = s.Handle();

    // Drag 50 pixels to the right: the left pane grows.
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 5));
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, Point(51, 5));
    SendMessageA(bar, WM_LBUTTONUP, 0, Point(1, 5));  // the bar moved with the pane
    EXPECT_EQ(form.PanelLeft.Width(), 332);
    EXPECT_EQ(s.Left(), 332);
    EXPECT_EQ(moved, 1);

    // Narrower than the minimum stops at it; wider than the maximum stops there.
    EXPECT_TRUE(s.MoveTo(100));
    EXPECT_EQ(form.PanelLeft.Width(), 282);
    EXPECT_TRUE(s.MoveTo(1000));
    EXPECT_EQ(form.PanelLeft.Width(), 400);

    // The question can refuse or correct.
    s.OnCanResize = [](int& size, bool& accept) {
        if (size == 300)
            accept = false;
        if (size == 310)
            size = 320;
    };
    EXPECT_FALSE(s.MoveTo(300));
    EXPECT_EQ(form.PanelLeft.Width(), 400);
    EXPECT_TRUE(s.MoveTo(310));
    EXPECT_EQ(form.PanelLeft.Width(), 320);
}

TEST(TSplitter, ABottomSplitterGrowsItsPaneUpwards)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("bottom", 0, 0, 400, 400));
    TPanel console, rest;
    TSplitter bar;
    ASSERT_TRUE(console.Create(&form, 0, 0, 10, 107));
    console.SetAlign(alBottom);
    ASSERT_TRUE(bar.Create(&form, &console));
    rest.Create(&form, 0, 0, 10, 10);
    rest.SetAlign(alClient);
    form.AlignControls();
    EXPECT_EQ(bar.Top() + bar.Height(), console.Top());
    SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 1));
    SendMessageA(bar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(5, -19));
    SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, Point(5, 1));
    EXPECT_EQ(console.Height(), 127);
    EXPECT_EQ(console.Top() + console.Height(), form.ClientHeight());
}

TEST(TButton, OneHandlerServesSeveralButtonsThroughTheSender)
{
    EditorLikeForm form;
    ASSERT_TRUE(form.CreateForm("buttons", 0, 0, 400, 300));
    std::vector<std::string> pressed;
    auto handler = [&](TControl* sender) { pressed.push_back(sender->Text()); };
    form.BNRed.OnClick = handler;
    form.BNGreen.OnClick = handler;
    form.BNGreen.Click();
    form.BNRed.Click();
    // The real notification, as the parent receives it.
    SendMessageA(form.PanelMiddle.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.BNGreen.Handle()));
    EXPECT_EQ(pressed, (std::vector<std::string>{"Green", "Red", "Green"}));
    form.BNRed.SetEnabled(false);
    form.BNRed.Click();
    EXPECT_EQ(pressed.size(), 3u);
    EXPECT_EQ(form.LabelName.Caption(), "Name");
}

TEST(TCheckBox, StateFlipsOnClickAndSetsByProgramWithoutEvent)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("checks", 0, 0, 300, 200));
    TCheckBox box;
    TSpeedButton more;
    ASSERT_TRUE(box.Create(&form, "Editor Only", 4, 4, 120, 20));
    ASSERT_TRUE(more.Create(&form, "More Info...", 4, 30, 100, 24));
    int clicks = 0;
    box.OnClick = [&](TControl*) { ++clicks; };
    box.SetChecked(true);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 0);
    box.Click();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 1);

    bool downInHandler = false;
    more.OnClick = [&](TControl* sender) { downInHandler = static_cast<TSpeedButton*>(sender)->Down(); };
    more.Click();
    EXPECT_TRUE(more.Down());
    EXPECT_TRUE(downInHandler);
    more.Click();
    EXPECT_FALSE(more.Down());
    EXPECT_FALSE(downInHandler);
}

TEST(TEdit, TextChangeLimitReadOnlyAndDoubleClick)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("edit", 0, 0, 300, 200));
    TEdit name;
    ASSERT_TRUE(name.Create(&form, 4, 4, 200, 22));
    int changes = 0;
    name.OnChange = [&] { ++changes; };
    name.SetText("door");
    EXPECT_EQ(name.Text(), "door");
    EXPECT_EQ(changes, 1);

    // Typing stops at the maximum length.
    name.SetMaxLength(5);
    EXPECT_EQ(name.MaxLength(), 5);
    name.SetSelection(4, 4);
    for (char c : std::string("_01"))
        SendMessageA(name.Handle(), WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(name.Text(), "door_");
    EXPECT_GE(changes, 2);  // Wine also notifies the refused keys

    name.SetReadOnly(true);
    EXPECT_TRUE(name.ReadOnly());
    SendMessageA(name.Handle(), WM_CHAR, 'x', 0);
    EXPECT_EQ(name.Text(), "door_");
    name.SetReadOnly(false);
    EXPECT_FALSE(name.ReadOnly());
    EXPECT_FALSE(name.MultiLine());

    int doubleClicks = 0;
    name.OnDblClick = [&](TControl* sender) { EXPECT_EQ(sender, &name); ++doubleClicks; };
    SendMessageA(name.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(doubleClicks, 1);
}

TEST(TEdit, TextColourIsHandedToTheControlWhenItPaints)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("colour", 0, 0, 300, 200));
    TEdit name;
    ASSERT_TRUE(name.Create(&form, 4, 4, 200, 22));
    HDC dc = GetDC(name.Handle());
    // No colour set: the parent answers as usual (no brush of ours).
    SendMessageA(form.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(name.Handle()));
    name.SetTextColor(RGB(255, 0, 0));
    EXPECT_EQ(name.TextColor(), RGB(255, 0, 0));
    const LRESULT brush = SendMessageA(form.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(name.Handle()));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    ReleaseDC(name.Handle(), dc);
}

TEST(TEdit, MultiLineBoxKeepsLineBreaks)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("multi", 0, 0, 300, 200));
    TEdit longDesc;
    ASSERT_TRUE(longDesc.Create(&form, 4, 4, 200, 80, true));
    EXPECT_TRUE(longDesc.MultiLine());
    longDesc.SetText("one\r\ntwo");
    EXPECT_EQ(longDesc.Text(), "one\r\ntwo");
}

TEST(TMemo, LinesAddDeleteFirstAndLimit)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("memo", 0, 0, 400, 300));
    TMemo console;
    ASSERT_TRUE(console.Create(&form, 0, 0, 380, 200, false));
    console.UseFixedPitchFont();
    EXPECT_EQ(console.LineCount(), 0);
    console.AddLine("Opened data file c:\\zuleditordata.txt");
    console.AddLine("");
    console.AddLine("Saved x.zul");
    EXPECT_EQ(console.LineCount(), 3);
    EXPECT_EQ(console.Line(0), "Opened data file c:\\zuleditordata.txt");
    EXPECT_EQ(console.Line(1), "");
    EXPECT_EQ(console.Line(2), "Saved x.zul");
    console.DeleteFirstLine();
    EXPECT_EQ(console.Lines(), (std::vector<std::string>{"", "Saved x.zul"}));

    // A console of 301 lines: more than the edit box's own 32K limit of text.
    console.BeginUpdate();
    console.Clear();
    const std::string wide(200, 'x');
    for (int i = 0; i < 301; ++i)
        console.AddLine(std::to_string(i) + wide);
    console.EndUpdate();
    EXPECT_EQ(console.LineCount(), 301);
    console.DeleteFirstLine();
    EXPECT_EQ(console.Line(0), "1" + wide);
    console.CaretToEnd();
    EXPECT_EQ(console.SelStart(), GetWindowTextLengthA(console.Handle()));

    console.SetLines({"a", "b"});
    EXPECT_EQ(console.Text(), "a\r\nb\r\n");
    TMemo desc;
    ASSERT_TRUE(desc.Create(&form, 0, 0, 100, 50));
    desc.SetMaxLength(4095);
    EXPECT_EQ(desc.MaxLength(), 4095);
    desc.SetText("typed without break");
    EXPECT_EQ(desc.Lines(), (std::vector<std::string>{"typed without break"}));
}
