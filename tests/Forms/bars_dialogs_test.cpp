// Tool bar, status bar, the file and colour dialogs through the modal hook, and the form's
// key routing (key preview, default and cancel buttons, Tab order).
#include "Application.h"
#include "Button.h"
#include "Dialogs.h"
#include "Edit.h"
#include "Form.h"
#include "Panel.h"
#include "ScriptedHooks.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include <gtest/gtest.h>

namespace {
std::string TooltipText(HWND bar, WORD id)
{
    HWND tooltip = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    char buffer[256] = {};
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = bar;
    info.uId = id;
    info.lpszText = buffer;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&info));
    return buffer;
}

// Posts a key as the keyboard would and lets the message loop handle it.
void PressKey(HWND target, WORD key)
{
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    Application().ProcessMessages();
}
}  // namespace

TEST(TToolBar, ButtonsClickWithSenderAndCarryHints)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("bar", 0, 0, 400, 200));
    TToolBar bar;
    ASSERT_TRUE(bar.Create(&form, 0, 0, 400));
    bar.SetAlign(alTop);
    bar.UseStandardImages();
    std::vector<WORD> clicked;
    auto click = [&](TToolButton* sender) { clicked.push_back(sender->Command()); };
    TToolButton* open = bar.AddButton(STD_FILEOPEN, "Open Template File|Opens a file", click);
    bar.AddSeparator();
    TToolButton* save = bar.AddButton(STD_FILESAVE, "Save Template File", click);
    TToolButton* more = bar.AddButton(STD_FIND, "More", click, true);
    EXPECT_EQ(bar.ButtonCount(), 4);
    EXPECT_EQ(bar.Height(), 28);
    EXPECT_EQ(open->ImageIndex(), STD_FILEOPEN);
    EXPECT_EQ(TooltipText(bar.Handle(), open->Command()), "Open Template File");
    EXPECT_EQ(open->Hint(), "Open Template File|Opens a file");

    // The command that the bar's parent receives reaches the button.
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(save->Command(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(bar.Handle()));
    open->Click();
    save->SetEnabled(false);
    EXPECT_FALSE(save->Enabled());
    save->Click();
    EXPECT_EQ(clicked, (std::vector<WORD>{save->Command(), open->Command()}));
    more->Click();
    EXPECT_TRUE(more->Down());
    more->SetDown(false);
    EXPECT_FALSE(more->Down());

    // The hot button's hint becomes the application's hint; its long part goes to a status line.
    std::string statusLine;
    Application().OnHint = [&] { statusLine = TApplication::GetLongHint(Application().Hint()); };
    NMTBHOTITEM hot = {};
    hot.hdr = {bar.Handle(), 0, static_cast<UINT>(TBN_HOTITEMCHANGE)};
    hot.idNew = open->Command();
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(statusLine, "Opens a file");
    hot.dwFlags = HICF_LEAVING;
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(Application().Hint(), "");
    Application().OnHint = nullptr;
}

TEST(TStatusBar, PanelsSimpleTextAndDoubleClick)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("status", 0, 0, 600, 200));
    TStatusBar bar;
    ASSERT_TRUE(bar.Create(&form));
    bar.SetAlign(alBottom);
    EXPECT_EQ(bar.Top() + bar.Height(), form.ClientHeight());
    bar.SetPanels({60, 40, 80, 160, -1});
    EXPECT_EQ(bar.PanelCount(), 5);
    bar.SetPanelText(0, "Scenes");
    bar.SetPanelText(1, "3");
    EXPECT_EQ(bar.PanelText(0), "Scenes");
    EXPECT_EQ(bar.PanelText(1), "3");
    RECT part = {};
    SendMessageA(bar.Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    EXPECT_EQ(part.right, 100);

    bar.SetSimpleText("Couldn't find scene index!");
    EXPECT_FALSE(bar.SimplePanel());
    EXPECT_EQ(bar.PanelText(0), "Scenes");  // hidden while the panels show
    bar.SetSimplePanel(true);
    EXPECT_TRUE(bar.SimplePanel());
    EXPECT_EQ(bar.SimpleText(), "Couldn't find scene index!");

    int doubles = 0;
    bar.OnDblClick = [&](TControl* sender) { EXPECT_EQ(sender, &bar); ++doubles; };
    NMHDR header = {bar.Handle(), 0, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(doubles, 1);
}

TEST(Dialogs, FileDialogsAskThroughTheHookAndKeepTheAnswer)
{
    ScriptedHooks hooks;
    TOpenDialog open;
    open.Title = "Open Object Templates file";
    open.Filter = "Korbalt Object Templates (*.ZUL)|*.ZUL";
    open.DefaultExt = "zul";
    open.Options = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    hooks.openAnswers = {"c:\\data\\door.zul", ""};
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "c:\\data\\door.zul");
    ASSERT_EQ(hooks.fileDialogs.size(), 1u);
    EXPECT_EQ(hooks.fileDialogs[0].title, "Open Object Templates file");
    EXPECT_EQ(hooks.fileDialogs[0].filter, "Korbalt Object Templates (*.ZUL)|*.ZUL");
    EXPECT_EQ(hooks.fileDialogs[0].defaultExt, "zul");
    // The options as set, and the dialog never moves the program's current folder.
    EXPECT_EQ(hooks.fileDialogs[0].flags,
              static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR));
    EXPECT_FALSE(open.Execute());  // cancelled: the name stays
    EXPECT_EQ(open.FileName, "c:\\data\\door.zul");

    TSaveDialog save;
    save.Title = "Select Music Track";
    save.FilterIndex = 2;
    save.FileName = "c:\\data\\door.zul";
    hooks.saveAnswers = {"c:\\data\\new.zul"};
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(hooks.fileDialogs[2].fileName, "c:\\data\\door.zul");  // preset reached the dialog
    EXPECT_EQ(hooks.fileDialogs[2].filterIndex, 2);
    EXPECT_EQ(save.FileName, "c:\\data\\new.zul");
    EXPECT_EQ(ExtractFileName(save.FileName), "new.zul");
    EXPECT_EQ(ExtractFileNameWithoutExt("c:\\m.dir\\sky"), "sky");
    EXPECT_EQ(ExtractFileNameWithoutExt("c:\\m\\sky.qev"), "sky");
}

TEST(Dialogs, ColourDialogStartsFromItsColourAndKeepsThePick)
{
    ScriptedHooks hooks;
    TColorDialog dialog;
    dialog.Color = RGB(12, 34, 56);
    hooks.colorAnswers = {RGB(255, 0, 128)};
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color, RGB(255, 0, 128));
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Color, RGB(255, 0, 128));
}

namespace {
class TabForm : public TForm {
public:
    TPanel PanelTop;
    TEdit EDFirst;
    TEdit EDSecond;
    TButton BNHidden;
    TButton BNOk;
    TButton BNDisabled;

protected:
    void CreateComponents() override
    {
        PanelTop.Create(this, 0, 0, 300, 40);
        EDFirst.Create(&PanelTop, 4, 4, 100, 22);
        EDSecond.Create(this, 4, 50, 100, 22);
        BNHidden.Create(this, "hidden", 4, 80, 60, 24);
        BNHidden.Hide();
        BNOk.Create(this, "OK", 70, 80, 60, 24);
        BNDisabled.Create(this, "off", 210, 80, 60, 24);
        BNDisabled.SetEnabled(false);
    }
};
}  // namespace

// The tab order that Tab follows (the core hands Tab to the dialog navigation): our controls
// carry tab stops and our panels let it walk into them. Asked directly, as focus itself
// belongs to whichever program of a parallel test run the display made active.
TEST(FormKeys, TabOrderWalksIntoPanelsAndSkipsHiddenAndDisabledControls)
{
    TabForm form;
    ASSERT_TRUE(form.CreateForm("tabs", 100, 100, 320, 200));
    form.Show();
    auto next = [&](const TControl& from, bool forward) {
        return TControl::FromHandle(GetNextDlgTabItem(form.Handle(), from.Handle(), !forward));
    };
    EXPECT_EQ(next(form.EDFirst, true), &form.EDSecond);
    EXPECT_EQ(next(form.EDSecond, true), &form.BNOk);  // the hidden button is skipped
    EXPECT_EQ(next(form.BNOk, true), &form.EDFirst);   // the disabled one too; round into the panel
    EXPECT_EQ(next(form.EDFirst, false), &form.BNOk);
}

TEST(FormKeys, EnterPressesTheDefaultButtonWithItsSender)
{
    TabForm form;
    ASSERT_TRUE(form.CreateForm("enter", 100, 100, 320, 200));
    form.Show();
    form.SetDefaultButton(&form.BNOk);
    TControl* sender = nullptr;
    form.BNOk.OnClick = [&](TControl* s) { sender = s; };
    form.EDSecond.SetFocus();
    PressKey(form.EDSecond.Handle(), VK_RETURN);
    EXPECT_EQ(sender, &form.BNOk);
}
