// Page control, group box and radio group, combo box, list box, check-list box, up-down,
// track bar and media player on real hidden windows.
#include "CheckListBox.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Form.h"
#include "GroupBox.h"
#include "ListBox.h"
#include "MediaPlayer.h"
#include "PageControl.h"
#include "Timer.h"
#include "TrackBar.h"
#include "UpDown.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <fstream>

namespace {
class Fixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form.CreateForm("lists", 0, 0, 500, 400)); }
    // A notification as the parent of control receives it.
    LRESULT SendCommand(const TControl& control, WORD code)
    {
        return SendMessageA(GetParent(control.Handle()), WM_COMMAND, MAKEWPARAM(0, code),
                            reinterpret_cast<LPARAM>(control.Handle()));
    }
    LRESULT SendNotify(const TControl& control, UINT code)
    {
        NMHDR header = {control.Handle(), 0, code};
        return SendMessageA(GetParent(control.Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }
    std::vector<std::string> Items(const TListBox& box)
    {
        std::vector<std::string> out;
        for (int i = 0; i < box.Count(); ++i)
            out.push_back(box.Item(i));
        return out;
    }
    TForm form;
};
}  // namespace

TEST_F(Fixture, PageControlShowsOnePageAndAsksBeforeTheUserChanges)
{
    TPageControl pages;
    ASSERT_TRUE(pages.Create(&form, 0, 0, 400, 300));
    TTabSheet* mainPage = pages.AddPage("Main");
    TTabSheet* light = pages.AddPage("Light");
    TTabSheet* sound = pages.AddPage("Sound");
    TEdit onLight;
    ASSERT_TRUE(onLight.Create(light, 4, 4, 100, 22));
    EXPECT_EQ(pages.PageCount(), 3);
    EXPECT_EQ(pages.ActivePage(), mainPage);
    EXPECT_TRUE(mainPage->Visible());
    EXPECT_FALSE(light->Visible());
    EXPECT_EQ(sound->Caption(), "Sound");
    EXPECT_EQ(sound->PageIndex(), 2);
    EXPECT_EQ(TabCtrl_GetItemCount(pages.Handle()), 3);
    // Pages fill the area below the tabs.
    EXPECT_GT(mainPage->Top(), 0);

    int changes = 0;
    pages.OnChange = [&] { ++changes; };
    pages.SetActivePage(light);
    EXPECT_EQ(pages.ActivePageIndex(), 1);
    EXPECT_TRUE(light->Visible());
    EXPECT_FALSE(mainPage->Visible());
    EXPECT_EQ(changes, 0);  // by program

    // The user picks the third tab: the control asks, then reports.
    bool allow = false;
    pages.OnChanging = [&](bool& a) { a = allow; };
    EXPECT_EQ(SendNotify(pages, TCN_SELCHANGING), TRUE);
    allow = true;
    EXPECT_EQ(SendNotify(pages, TCN_SELCHANGING), FALSE);
    TabCtrl_SetCurSel(pages.Handle(), 2);
    SendNotify(pages, TCN_SELCHANGE);
    EXPECT_EQ(pages.ActivePage(), sound);
    EXPECT_TRUE(sound->Visible());
    EXPECT_EQ(changes, 1);

    // Hidden tabs: the page fills the whole control.
    pages.SetTabsVisible(false);
    EXPECT_FALSE(pages.TabsVisible());
    EXPECT_EQ(TabCtrl_GetItemCount(pages.Handle()), 0);
    EXPECT_EQ(sound->Top(), 0);
    EXPECT_EQ(sound->Width(), pages.ClientWidth());
    pages.SetActivePageIndex(0);
    EXPECT_TRUE(mainPage->Visible());
    pages.SetTabsVisible(true);
    EXPECT_EQ(TabCtrl_GetCurSel(pages.Handle()), 0);
}

TEST_F(Fixture, RadioGroupChoosesOneOrNone)
{
    TRadioGroup fog;
    ASSERT_TRUE(fog.Create(&form, " Z-Fog ", 0, 0, 200, 110));
    for (const char* mode : {"None", "Linear", "Exponential 1", "Exponential 2"})
        fog.AddItem(mode);
    EXPECT_EQ(fog.Caption(), " Z-Fog ");
    EXPECT_EQ(fog.Count(), 4);
    EXPECT_EQ(fog.Item(2), "Exponential 1");
    EXPECT_EQ(fog.ItemIndex(), -1);
    int clicks = 0;
    fog.OnClick = [&](TControl* sender) {
        EXPECT_EQ(sender, &fog);
        ++clicks;
    };
    fog.SetItemIndex(1);
    EXPECT_EQ(fog.ItemIndex(), 1);
    EXPECT_EQ(clicks, 0);
    // A click on the third button: it becomes the chosen one, then the group reports.
    HWND third = GetWindow(GetWindow(GetWindow(GetWindow(fog.Handle(), GW_CHILD), GW_HWNDNEXT),
                                     GW_HWNDNEXT), GW_HWNDNEXT);
    ASSERT_TRUE(third);
    SendMessageA(third, BM_CLICK, 0, 0);
    EXPECT_EQ(fog.ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    fog.SetItemIndex(-1);
    EXPECT_EQ(fog.ItemIndex(), -1);
    TGroupBox box;
    ASSERT_TRUE(box.Create(&form, "Origin (X, Y, Z)", 0, 120, 200, 60));
    box.SetCaption("Color");
    EXPECT_EQ(box.Caption(), "Color");
}

TEST_F(Fixture, ComboBoxChoosesItemsAndFindsWithoutCase)
{
    TComboBox keys;
    ASSERT_TRUE(keys.Create(&form, 0, 0, 200));
    for (const char* k : {"*AICLASS", "ANGLE", "ANGLES", "ORIGIN"})
        keys.AddItem(k);
    EXPECT_EQ(keys.Count(), 4);
    EXPECT_EQ(keys.Item(2), "ANGLES");  // kept in the order added
    EXPECT_EQ(keys.ItemIndex(), -1);
    EXPECT_EQ(keys.IndexOf("origin"), 3);
    EXPECT_EQ(keys.IndexOf("ORIG"), -1);
    int changes = 0;
    keys.OnChange = [&](TControl*) { ++changes; };
    keys.SetItemIndex(1);
    EXPECT_EQ(keys.ItemIndex(), 1);
    EXPECT_EQ(changes, 0);
    SendCommand(keys, CBN_SELCHANGE);
    EXPECT_EQ(changes, 1);
    keys.SetItemIndex(-1);
    EXPECT_EQ(keys.ItemIndex(), -1);
    keys.Clear();
    EXPECT_EQ(keys.Count(), 0);
}

TEST_F(Fixture, ListBoxSortsOnItsSwitchAndSwapsItems)
{
    TListBox names;
    ASSERT_TRUE(names.Create(&form, 0, 0, 300, 200, true));
    names.SetColumns(3);
    EXPECT_EQ(names.Columns(), 3);
    int a = 1, b = 2;
    names.AddItem("sweep", &a);
    names.AddItem("Sword");
    names.AddItem("Swamp", &b);
    EXPECT_EQ(Items(names), (std::vector<std::string>{"sweep", "Sword", "Swamp"}));
    names.SetSorted(true);
    EXPECT_EQ(Items(names), (std::vector<std::string>{"Swamp", "sweep", "Sword"}));
    EXPECT_EQ(names.ItemData(0), &b);
    names.AddItem("door");
    names.AddItem("Door");
    EXPECT_EQ(Items(names), (std::vector<std::string>{"Door", "door", "Swamp", "sweep", "Sword"}));
    EXPECT_EQ(names.FindExact("SWEEP"), 3);
    EXPECT_EQ(names.FindExact("swee"), -1);
    names.SetSorted(false);
    names.AddItem("aaa");
    EXPECT_EQ(names.Item(5), "aaa");

    names.SetItemIndex(3);
    names.Exchange(3, 2);
    EXPECT_EQ(names.Item(2), "sweep");
    EXPECT_EQ(names.ItemData(2), &a);
    EXPECT_EQ(names.ItemIndex(), 3);
    names.Delete(0);
    EXPECT_EQ(names.Count(), 5);

    int clicks = 0, doubles = 0;
    names.OnClick = [&](TControl*) { ++clicks; };
    names.OnDblClick = [&](TControl*) { ++doubles; };
    SendCommand(names, LBN_SELCHANGE);
    SendCommand(names, LBN_DBLCLK);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    names.UseFixedPitchFont();
    names.Clear();
    EXPECT_EQ(names.Count(), 0);
    EXPECT_EQ(names.ItemIndex(), -1);
}

TEST_F(Fixture, ListBoxWithTabStopsKeepsTabsInItsItems)
{
    TListBox lines, plain;
    ASSERT_TRUE(lines.Create(&form, 0, 0, 300, 100, false, true));
    ASSERT_TRUE(plain.Create(&form, 0, 100, 300, 100));
    EXPECT_TRUE(lines.HasStyle(LBS_USETABSTOPS));
    EXPECT_FALSE(plain.HasStyle(LBS_USETABSTOPS));
    lines.AddItem("\tNAME\ttext");
    EXPECT_EQ(lines.Item(0), "\tNAME\ttext");
}

TEST_F(Fixture, CheckListBoxKeepsTicksAndReportsTheUsersOnes)
{
    TCheckListBox flags;
    ASSERT_TRUE(flags.Create(&form, 0, 0, 200, 200));
    std::vector<int> ticked;
    flags.OnClickCheck = [&](int index) { ticked.push_back(index); };
    flags.AddItem("EXTERIOR");
    for (int i = 1; i < 32; ++i)
        flags.AddItem("-");
    EXPECT_EQ(flags.Count(), 32);
    EXPECT_EQ(flags.Item(0), "EXTERIOR");
    EXPECT_FALSE(flags.Checked(0));
    flags.SetChecked(3, true);
    EXPECT_TRUE(flags.Checked(3));
    EXPECT_TRUE(ticked.empty());
    flags.SetItem(1, "Echo");
    EXPECT_EQ(flags.Item(1), "Echo");

    // Space ticks the focused item as the user would.
    flags.SetItemIndex(5);
    EXPECT_EQ(flags.ItemIndex(), 5);
    SendMessageA(flags.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(flags.Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(flags.Checked(5));
    EXPECT_EQ(ticked, std::vector<int>{5});
    flags.Clear();
    EXPECT_EQ(flags.Count(), 0);
}

TEST_F(Fixture, UpDownDrivesItsBuddyOverA32BitRange)
{
    TEdit zclip;
    TUpDown ud;
    ASSERT_TRUE(zclip.Create(&form, 10, 10, 80, 22));
    ASSERT_TRUE(ud.Create(&form, &zclip));
    ud.SetRange(0, 32767);
    ud.SetIncrement(50);
    EXPECT_EQ(ud.Min(), 0);
    EXPECT_EQ(ud.Max(), 32767);
    EXPECT_EQ(ud.Increment(), 50);
    ud.SetPosition(12000);
    EXPECT_EQ(zclip.Text(), "12000");  // no thousands separator
    EXPECT_EQ(ud.Position(), 12000);
    zclip.SetText("250");
    EXPECT_EQ(ud.Position(), 250);

    ud.SetRange(-3590, 3600);
    EXPECT_EQ(ud.Min(), -3590);
    ud.SetPosition(-100000);
    EXPECT_EQ(ud.Position(), -3590);

    // A click on the up arrow: the position moves by the increment, then the click reports.
    int clicks = 0, positionAtClick = 0;
    ud.OnClick = [&](TControl*) {
        ++clicks;
        positionAtClick = ud.Position();
    };
    ud.SetRange(0, 255);
    ud.SetIncrement(1);
    ud.SetPosition(10);
    SendMessageA(ud.Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(ud.Handle(), WM_KEYUP, VK_UP, 0);
    EXPECT_EQ(ud.Position(), 11);
    EXPECT_EQ(zclip.Text(), "11");
    EXPECT_GE(clicks, 1);
    EXPECT_EQ(positionAtClick, 11);
}

TEST_F(Fixture, TrackBarHoldsItsRangeAndReportsChanges)
{
    TTrackBar pan;
    ASSERT_TRUE(pan.Create(&form, 0, 0, 200));
    pan.SetRange(-100, 100);
    pan.SetFrequency(10);
    pan.SetPageSize(10);
    EXPECT_EQ(pan.Min(), -100);
    EXPECT_EQ(pan.Max(), 100);
    EXPECT_EQ(pan.PageSize(), 10);
    EXPECT_EQ(SendMessageA(pan.Handle(), TBM_GETNUMTICS, 0, 0), 21);
    std::vector<int> seen;
    pan.OnChange = [&](TControl*) { seen.push_back(pan.Position()); };
    pan.SetPosition(250);
    EXPECT_EQ(pan.Position(), 100);
    pan.SetPosition(100);  // no change, no event
    // The user pages left with the keyboard: the bar moves and tells its parent.
    SendMessageA(pan.Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(pan.Position(), 90);
    EXPECT_EQ(seen, (std::vector<int>{100, 90}));
}

TEST_F(Fixture, MediaPlayerRefusingAFileIsClosedAndDisabled)
{
    TMediaPlayer player;
    ASSERT_TRUE(player.Create(&form, 0, 0));
    EXPECT_FALSE(player.IsOpen());
    EXPECT_FALSE(player.Play());
    EXPECT_FALSE(player.Stop());
    player.FileName = "no such folder\\missing.wav";
    EXPECT_FALSE(player.Open());
    EXPECT_FALSE(player.IsOpen());
    EXPECT_FALSE(player.PlayerEnabled());
    EXPECT_FALSE(player.LastError().empty());
    // A name that would break the MCI command is refused before MCI sees it.
    player.FileName = "a\" alias other";
    EXPECT_FALSE(player.Open());
    player.SetPlayerEnabled(true);
    EXPECT_TRUE(player.PlayerEnabled());
    player.Close();  // closing a closed player is harmless
    EXPECT_EQ(player.BNPlay.Text(), "Play");
    EXPECT_EQ(player.BNStop.Text(), "Stop");
}

// A modal form of a panel DLL: the host's windows take no input while it runs, and get it back.
TEST(ModalForm, DisablesTheOtherWindowsWhileItRunsInItsOwnLoop)
{
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(host);
    TForm editor;
    ASSERT_TRUE(editor.CreateForm("Scene Editor", 20, 20, 300, 200, fkPlainTopLevel));
    bool hostEnabledInside = true;
    bool editorEnabledInside = false;
    TTimer quit;
    quit.SetInterval(10);
    quit.OnTimer = [&] {
        quit.SetEnabled(false);
        hostEnabledInside = IsWindowEnabled(host) != FALSE;
        editorEnabledInside = editor.Enabled();
        EXPECT_TRUE(editor.InModalLoop());
        editor.SetModalResult(mrCancel);
    };
    ASSERT_TRUE(quit.SetEnabled(true));
    EXPECT_EQ(editor.ShowModal(), mrCancel);
    EXPECT_FALSE(hostEnabledInside);
    EXPECT_TRUE(editorEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(host));
    EXPECT_FALSE(editor.Visible());
    DestroyWindow(host);
}
