// Keys, hints and subclassing go through the application's message loop, so these tests post
// real messages and let the loop handle them.
#include "Application.h"
#include "Form.h"
#include "TreeView.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
class ProbeTree : public TTreeView {
public:
    int clicks = 0;
    std::vector<WPARAM> keysSeen;
    void Click() override { ++clicks; }

protected:
    bool ControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == WM_KEYDOWN)
            keysSeen.push_back(wParam);
        if (msg == WM_APP + 1) {
            result = 42;
            return true;
        }
        return TTreeView::ControlMessage(msg, wParam, lParam, result);
    }
};

class KeysFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.CreateForm("keys", 0, 0, 300, 200));
        ASSERT_TRUE(tree.Create(&form, 0, 0, 150, 200));
        ASSERT_TRUE(other.Create(&form, 150, 0, 150, 200));  // a tree view subclasses its window itself
    }
    void Post(HWND hwnd, UINT msg, WPARAM wParam)
    {
        PostMessageA(hwnd, msg, wParam, 0);
        Application().ProcessMessages();
    }
    TForm form;
    ProbeTree tree;
    ProbeTree other;
};
}  // namespace

TEST_F(KeysFixture, SubclassedControlSeesItsMessagesFirst)
{
    tree.Add("a");
    EXPECT_EQ(SendMessageA(tree.Handle(), WM_APP + 1, 0, 0), 42);
    EXPECT_EQ(tree.Count(), 1);  // the control's own procedure still runs
}

TEST_F(KeysFixture, KeyPreviewSeesAndCanSwallowKeys)
{
    std::vector<WORD> previewed;
    form.OnKeyDown = [&](WORD& key) {
        previewed.push_back(key);
        if (key == 'A')
            key = 0;
    };
    Post(tree.Handle(), WM_KEYDOWN, 'B');
    EXPECT_TRUE(previewed.empty());  // preview is off
    form.SetKeyPreview(true);
    Post(tree.Handle(), WM_KEYDOWN, 'A');
    Post(tree.Handle(), WM_KEYDOWN, 'C');
    EXPECT_EQ(previewed, (std::vector<WORD>{'A', 'C'}));
    EXPECT_EQ(tree.keysSeen, (std::vector<WPARAM>{'B', 'C'}));
}

TEST_F(KeysFixture, EnterAndEscapeClickDefaultAndCancelButtons)
{
    form.SetDefaultButton(&tree);
    form.SetCancelButton(&other);
    Post(tree.Handle(), WM_KEYDOWN, VK_RETURN);
    Post(tree.Handle(), WM_KEYDOWN, VK_ESCAPE);
    Post(tree.Handle(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(tree.clicks, 1);
    EXPECT_EQ(other.clicks, 2);
    other.SetEnabled(false);  // a disabled button is not clicked
    Post(tree.Handle(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(other.clicks, 2);
}

TEST_F(KeysFixture, HintFollowsTheControlUnderTheMouse)
{
    tree.SetHint("Open|Open a template file");
    Post(tree.Handle(), WM_MOUSEMOVE, 0);
    EXPECT_EQ(Application().Hint(), "Open|Open a template file");
    form.SetHint("Form hint");
    Post(other.Handle(), WM_MOUSEMOVE, 0);  // no hint of its own: its form's
    EXPECT_EQ(Application().Hint(), "Form hint");
    form.SetHint("");
    Post(other.Handle(), WM_MOUSEMOVE, 0);
    EXPECT_EQ(Application().Hint(), "");
}

TEST_F(KeysFixture, FormOfWindowFindsTheNearestForm)
{
    EXPECT_EQ(TForm::FormOfWindow(tree.Handle()), &form);
    EXPECT_EQ(TForm::FormOfWindow(form.Handle()), &form);
    EXPECT_EQ(TForm::FormOfWindow(nullptr), nullptr);
}

TEST_F(KeysFixture, HostLoopGetsTheSameKeyHandlingThroughTheHook)
{
    int previewed = 0;
    form.SetKeyPreview(true);
    form.OnKeyDown = [&](WORD& key) {
        ++previewed;
        key = 0;
    };
    ASSERT_TRUE(Application().HookHostMessageLoop());
    // A host's plain loop, as a DLL's panel meets it.
    PostMessageA(tree.Handle(), WM_KEYDOWN, 'K', 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(previewed, 1);
    EXPECT_TRUE(tree.keysSeen.empty());  // swallowed before the host dispatched it
    // Our own loop with the hook in place handles a key once, not twice.
    Post(tree.Handle(), WM_KEYDOWN, 'L');
    EXPECT_EQ(previewed, 2);
    Application().UnhookHostMessageLoop();
    Post(tree.Handle(), WM_KEYDOWN, 'M');
    EXPECT_EQ(previewed, 3);
}

TEST_F(KeysFixture, KeyHandlersKnowTheControlTheKeyIsFor)
{
    std::vector<HWND> targets;
    form.SetKeyPreview(true);
    form.OnKeyUp = [&](WORD&) { targets.push_back(form.KeyWindow()); };
    Post(other.Handle(), WM_KEYUP, VK_RETURN);
    Post(tree.Handle(), WM_KEYUP, VK_RETURN);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0], other.Handle());
    EXPECT_EQ(targets[1], tree.Handle());
}
