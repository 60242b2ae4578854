#include "Application.h"
#include "Form.h"
#include "Hooks.h"
#include "Forms/ScriptedHooks.h"
#include <gtest/gtest.h>
#include <stdexcept>

TEST(ModalHooks, MessageBoxGoesThroughTheHook)
{
    ScriptedHooks hooks;
    hooks.messageAnswers.push_back(IDNO);
    EXPECT_EQ(MessageDlg("Save it ?", "Warning:", MB_YESNOCANCEL, MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageDlg("Refused", "Cannot save..."), IDOK);
    ASSERT_EQ(hooks.messages.size(), 2u);
    EXPECT_EQ(hooks.messages[0].text, "Save it ?");
    EXPECT_EQ(hooks.messages[0].caption, "Warning:");
    EXPECT_EQ(hooks.messages[0].buttons, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(hooks.messages[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(hooks.Last().icon, static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST(ModalHooks, InstallingNestsAndRestores)
{
    TModalHooks* real = &ModalHooks();
    {
        ScriptedHooks outer;
        EXPECT_EQ(&ModalHooks(), &outer);
        {
            ScriptedHooks inner;
            EXPECT_EQ(&ModalHooks(), &inner);
        }
        EXPECT_EQ(&ModalHooks(), &outer);
    }
    EXPECT_EQ(&ModalHooks(), real);
}

TEST(ModalHooks, DialogsAndModalFormsAreAnswered)
{
    ScriptedHooks hooks;
    hooks.openAnswers.push_back("C:\\data\\a.zul");
    TFileDialogRequest open;
    open.title = "Open Object Templates file";
    EXPECT_TRUE(ModalHooks().OpenDialog(open));
    EXPECT_EQ(open.fileName, "C:\\data\\a.zul");
    TFileDialogRequest save;
    EXPECT_FALSE(ModalHooks().SaveDialog(save));  // nothing scripted: cancel
    EXPECT_EQ(hooks.fileDialogs.front().title, "Open Object Templates file");

    hooks.colorAnswers.push_back(RGB(1, 2, 3));
    TColorDialogRequest color;
    EXPECT_TRUE(ModalHooks().ColorDialog(color));
    EXPECT_EQ(color.color, RGB(1, 2, 3));

    TForm form;
    ASSERT_TRUE(form.CreateForm("Value", 0, 0, 200, 100));
    hooks.modalAnswer = [](TForm& f) {
        f.SetModalResult(mrOk);
        return f.Caption() == "Value" ? mrOk : mrCancel;
    };
    EXPECT_EQ(form.ShowModal(), mrOk);
}

TEST(Application, HintSplitsAtBar)
{
    EXPECT_EQ(TApplication::GetShortHint("Open|Open a template file"), "Open");
    EXPECT_EQ(TApplication::GetLongHint("Open|Open a template file"), "Open a template file");
    EXPECT_EQ(TApplication::GetLongHint("Only"), "Only");
    int calls = 0;
    Application().OnHint = [&] { ++calls; };
    Application().SetHint("a|b");
    Application().SetHint("a|b");  // unchanged: no event
    Application().SetHint("");
    Application().OnHint = nullptr;
    EXPECT_EQ(calls, 2);
}

namespace {
TForm* g_timerForm = nullptr;
TForm* g_innerForm = nullptr;
int g_innerResult = -1;

void CALLBACK InnerTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_innerForm->SetModalResult(mrYes);
}

void CALLBACK OuterTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    // A modal form opened from inside another one: the loops nest.
    SetTimer(nullptr, 0, 10, InnerTimer);
    g_innerResult = g_innerForm->ShowModal();
    g_timerForm->SetModalResult(mrOk);
}
}  // namespace

TEST(Application, RealModalLoopsNest)
{
    TForm outer;
    TForm inner;
    ASSERT_TRUE(outer.CreateForm("outer", 0, 0, 200, 100));
    ASSERT_TRUE(inner.CreateForm("inner", 50, 50, 200, 100));
    g_timerForm = &outer;
    g_innerForm = &inner;
    SetTimer(nullptr, 0, 10, OuterTimer);
    EXPECT_EQ(outer.ShowModal(), mrOk);
    EXPECT_EQ(g_innerResult, mrYes);
    EXPECT_FALSE(outer.Visible());
    EXPECT_EQ(Application().ModalLevel(), 0);
}

TEST(Application, RunEndsWhenTheMainFormCloses)
{
    TForm main;
    ASSERT_TRUE(main.CreateForm("main", 0, 0, 200, 100));
    int queries = 0;
    main.OnCloseQuery = [&](bool& canClose) { canClose = ++queries > 1; };  // refuses once
    Application().SetMainForm(&main);
    main.Show();
    PostMessageA(main.Handle(), WM_CLOSE, 0, 0);
    PostMessageA(main.Handle(), WM_CLOSE, 0, 0);
    Application().Run();
    EXPECT_EQ(queries, 2);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(main.Visible());
    Application().SetMainForm(nullptr);
}

TEST(Application, ExceptionInAHandlerIsShownNotFatal)
{
    ScriptedHooks hooks;
    Application().SetTitle("ZUL Editor");
    TForm form;
    ASSERT_TRUE(form.CreateForm("throws", 0, 0, 200, 100));
    form.OnResize = [] { throw std::runtime_error("out of room"); };
    form.SetBounds(0, 0, 300, 150);
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_TRUE(hooks.LastIs("out of room", "ZUL Editor"));
    EXPECT_EQ(form.Width(), 300);
    // Whatever is thrown stops at the window procedure.
    form.OnResize = [] { throw 42; };
    form.SetBounds(0, 0, 320, 150);
    ASSERT_EQ(hooks.messages.size(), 2u);
    EXPECT_EQ(hooks.Last().text, "An unexpected error stopped the last action.");
    EXPECT_EQ(form.Width(), 320);
}
