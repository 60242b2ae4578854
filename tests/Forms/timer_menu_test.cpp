// Timers run from the message loop; menus hold their items in real Windows menus and dispatch
// the commands that a window receives.
#include "Application.h"
#include "Form.h"
#include "Menu.h"
#include "Timer.h"
#include <gtest/gtest.h>

TEST(TTimer, TicksFromTheMessageLoopUntilStopped)
{
    TTimer timer;
    timer.SetInterval(20);
    EXPECT_EQ(timer.Interval(), 20u);
    EXPECT_FALSE(timer.Enabled());
    int ticks = 0;
    timer.OnTimer = [&] {
        if (++ticks == 2)
            timer.SetEnabled(false);
    };
    ASSERT_TRUE(timer.SetEnabled(true));
    EXPECT_TRUE(timer.Enabled());
    Application().RunModalLoop([&] { return ticks >= 2; });
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(timer.Enabled());
    // No more ticks after it was switched off: a probe of three times the interval ticks only
    // after the first timer, were it still running, would have ticked again.
    TTimer probe;
    probe.SetInterval(60);
    bool probed = false;
    probe.OnTimer = [&] {
        probed = true;
        probe.SetEnabled(false);
    };
    ASSERT_TRUE(probe.SetEnabled(true));
    Application().RunModalLoop([&] { return probed; });
    EXPECT_EQ(ticks, 2);
}

TEST(TMainMenu, ItemsCarryCaptionStateAndCommand)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("menu", 0, 0, 400, 300));
    TMainMenu menu;
    TMenuItem* file = menu.Add("&File");
    std::vector<std::string> clicked;
    auto click = [&](TMenuItem* sender) { clicked.push_back(sender->Caption()); };
    TMenuItem* open = file->Add("&Open...", click);
    TMenuItem* reopen = file->Add("&Reopen");
    file->AddSeparator();
    TMenuItem* project = file->Add("New Project...", click);
    project->SetEnabled(false);
    ASSERT_TRUE(menu.AttachTo(form.Handle()));
    EXPECT_EQ(GetMenu(form.Handle()), menu.SubMenu());
    EXPECT_EQ(file->Count(), 4);
    EXPECT_TRUE(file->Item(2)->IsSeparator());
    EXPECT_EQ(GetMenuItemCount(file->SubMenu()), 4);
    EXPECT_EQ(open->Caption(), "&Open...");
    EXPECT_FALSE(project->Enabled());

    // The command that the window receives reaches the item.
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(project->Command(), 0), 0);  // disabled
    EXPECT_EQ(clicked, (std::vector<std::string>{"&Open..."}));

    // A submenu filled at run time, most recent first.
    reopen->OnPopup = [&](TMenuItem* sender) { sender->Insert(0, "c:\\b.zul", click); };
    reopen->Add("c:\\a.zul", click);
    SendMessageA(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(reopen->SubMenu()), 1);
    ASSERT_EQ(reopen->Count(), 2);
    EXPECT_EQ(reopen->Item(0)->Caption(), "c:\\b.zul");
    EXPECT_EQ(reopen->Item(1)->Caption(), "c:\\a.zul");
    reopen->Item(1)->Click();
    EXPECT_EQ(clicked.back(), "c:\\a.zul");
    reopen->Delete(0);
    EXPECT_EQ(reopen->Count(), 1);
    EXPECT_EQ(GetMenuItemCount(reopen->SubMenu()), 1);
    const WORD gone = reopen->Item(0)->Command();
    reopen->Clear();
    EXPECT_FALSE(DispatchMenuCommand(gone));
}

TEST(TPopupMenu, CheckedItemsAndTheReturnedCommand)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("popup", 100, 100, 300, 200));
    form.Show();
    TPopupMenu popup;
    int toggles = 0;
    TMenuItem* tracking = popup.Add("AutoTracking", [&](TMenuItem* sender) {
        sender->SetChecked(!sender->Checked());
        ++toggles;
    });
    tracking->SetChecked(true);
    EXPECT_TRUE(tracking->Checked());
    tracking->Click();
    EXPECT_FALSE(tracking->Checked());

    // Choose the first item with the keyboard while the menu tracks.
    int popups = 0;
    popup.OnPopup = [&](TMenuItem*) {
        ++popups;
        PostMessageA(form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    };
    SetForegroundWindow(form.Handle());
    TMenuItem* chosen = popup.Popup(form.Handle(), 150, 150);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(chosen, tracking);
    EXPECT_EQ(toggles, 2);
    EXPECT_TRUE(tracking->Checked());
}
