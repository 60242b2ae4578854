#include "Application.h"
#include "Form.h"
#include "TreeView.h"
#include <gtest/gtest.h>

namespace {
class TwoPaneForm : public TForm {
public:
    TTreeView TVLeft;
    TTreeView TVTop;
    TTreeView TVRest;
    int created = 0;

protected:
    void CreateComponents() override
    {
        ++created;
        TVLeft.Create(this, 0, 0, 100, 10);
        TVLeft.SetAlign(alLeft);
        TVTop.Create(this, 0, 0, 10, 30);
        TVTop.SetAlign(alTop);
        TVRest.Create(this, 0, 0, 10, 10);
        TVRest.SetAlign(alClient);
    }
};
}  // namespace

TEST(TForm, CreatesWithCaptionAndBoundsAndRunsItsEvents)
{
    TwoPaneForm form;
    int onCreate = 0, onResize = 0, onShow = 0;
    form.OnCreate = [&] { EXPECT_EQ(form.created, 1); ++onCreate; };
    form.OnResize = [&] { ++onResize; };
    form.OnShow = [&] { ++onShow; };
    ASSERT_TRUE(form.CreateForm("Template Editor", 27, 30, 400, 300));
    EXPECT_EQ(onCreate, 1);
    EXPECT_EQ(form.Caption(), "Template Editor");
    EXPECT_EQ(form.Left(), 27);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(TControl::FromHandle(form.Handle()), &form);
    form.Show();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(onShow, 1);
    const int before = onResize;
    form.SetBounds(27, 30, 500, 350);
    EXPECT_GT(onResize, before);
}

TEST(TForm, AlignedChildrenFillTheClientArea)
{
    TwoPaneForm form;
    ASSERT_TRUE(form.CreateForm("align", 0, 0, 400, 300));
    const int cw = form.ClientWidth();
    const int ch = form.ClientHeight();
    EXPECT_EQ(form.TVTop.Left(), 0);
    EXPECT_EQ(form.TVTop.Width(), cw);
    EXPECT_EQ(form.TVTop.Height(), 30);
    EXPECT_EQ(form.TVLeft.Top(), 30);
    EXPECT_EQ(form.TVLeft.Height(), ch - 30);
    EXPECT_EQ(form.TVLeft.Width(), 100);
    EXPECT_EQ(form.TVRest.Left(), 100);
    EXPECT_EQ(form.TVRest.Width(), cw - 100);
    form.TVLeft.Hide();  // hidden controls give their room back
    EXPECT_EQ(form.TVRest.Left(), 0);
}

TEST(TForm, CloseQueryCanRefuse)
{
    TForm form;
    ASSERT_TRUE(form.CreateForm("close", 0, 0, 200, 100));
    form.Show();
    bool allow = false;
    form.OnCloseQuery = [&](bool& canClose) { canClose = allow; };
    EXPECT_FALSE(form.Close());
    EXPECT_TRUE(form.Visible());
    allow = true;
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Visible());
}

TEST(TForm, DestroyEventAndWrapperLetGoOfTheWindow)
{
    int destroyed = 0;
    HWND hwnd = nullptr;
    {
        TForm form;
        form.OnDestroy = [&] { ++destroyed; };
        ASSERT_TRUE(form.CreateForm("gone", 0, 0, 200, 100));
        hwnd = form.Handle();
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(TForm, ChildOfHostAndPlainTopLevelVariants)
{
    TForm host;
    ASSERT_TRUE(host.CreateForm("host", 0, 0, 400, 300));
    TForm panel;
    ASSERT_TRUE(panel.CreateForm("panel", 5, 6, 100, 100, fkChildOfHost, host.Handle()));
    EXPECT_EQ(GetParent(panel.Handle()), host.Handle());
    EXPECT_EQ(panel.Left(), 5);
    EXPECT_TRUE(GetWindowLongA(panel.Handle(), GWL_STYLE) & WS_CHILD);

    TForm plain;
    ASSERT_TRUE(plain.CreateForm("picker", 0, 0, 200, 100, fkPlainTopLevel));
    const LONG style = GetWindowLongA(plain.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_EQ(GetWindow(plain.Handle(), GW_OWNER), nullptr);
}

TEST(TForm, ChangingByProgramNests)
{
    TForm form;
    EXPECT_FALSE(form.ChangingByProgram());
    {
        TProgramChange outer(form);
        {
            TProgramChange inner(form);
            EXPECT_TRUE(form.ChangingByProgram());
        }
        EXPECT_TRUE(form.ChangingByProgram());
    }
    EXPECT_FALSE(form.ChangingByProgram());
}

TEST(TForm, ClassesBelongToThisModuleAndCanBeUnregistered)
{
    EXPECT_EQ(FormsInstance(), GetModuleHandleA(nullptr));
    {
        TForm form;
        ASSERT_TRUE(form.CreateForm("x", 0, 0, 10, 10));
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        EXPECT_TRUE(GetClassInfoExA(FormsInstance(), "KorbaltForms", &wc));
    }
    UnregisterFormClasses();
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    EXPECT_FALSE(GetClassInfoExA(FormsInstance(), "KorbaltForms", &wc));
    TForm again;  // registered anew on demand
    EXPECT_TRUE(again.CreateForm("y", 0, 0, 10, 10));
}
