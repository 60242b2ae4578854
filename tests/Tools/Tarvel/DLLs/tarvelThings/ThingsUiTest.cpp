// tarvelThings.dll loaded for real: its controls are worked through their windows, as a user's
// clicks arrive, and the host's callbacks fetch what changed through the exports.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <memory>
#include <string>
#include "Forms/TreeItems.h"
#include "ThingsRecords.h"
#include "ThingsLibrary.h"

namespace {


struct HostFiles {
    uint32_t count;
    char name[8][32];
};

Things* dll = nullptr;
int applies = 0, doubleClicks = 0, fileChanges = 0;
std::unique_ptr<ThingsInfo> fetched;
std::string fetchedTemplate;
HostFiles fetchedFiles;

void FetchThings()
{
    applies++;
    dll->GetThingsInfo(fetched.get());
}
void DestroyInside()
{
    applies++;
    dll->Destroy();
}
void FetchTemplate()
{
    doubleClicks++;
    fetchedTemplate = dll->GetSelectedTemplate();
}
void FetchFiles()
{
    fileChanges++;
    std::memset(&fetchedFiles, 0, sizeof fetchedFiles);
    dll->GetTemplateFilesInfo(&fetchedFiles);
}

int Code(const char* key)
{
    for (uint32_t i = 0; i < fetched->pairCount; i++)
        if (!std::strcmp(fetched->key[i], key))
            return (int)fetched->flag[i];
    return -1;
}

struct ChildSearch {
    const char *cls, *text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND w, LPARAM lp)
{
    auto* s = (ChildSearch*)lp;
    char c[64] = {}, t[128] = {};
    GetClassNameA(w, c, sizeof c);
    GetWindowTextA(w, t, sizeof t);
    if (!lstrcmpiA(c, s->cls) && (!*s->text || !std::strcmp(t, s->text))) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// The first window below `parent` of that class whose text is `text` ("" for any text).
HWND FindChild(HWND parent, const char* cls, const char* text)
{
    ChildSearch s = {cls, text, nullptr};
    EnumChildWindows(parent, MatchChild, (LPARAM)&s);
    return s.found;
}

// What a click on a button sends its parent.
void Click(HWND button)
{
    ASSERT_NE(button, nullptr);
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 (LPARAM)button);
}

class ThingsDllUi : public testing::Test {
public:
    Things things;
    HWND host = nullptr;
    HWND panel = nullptr;

    void SetUp() override
    {
        ASSERT_NE(things.lib.Module(), nullptr);
        dll = &things;
        applies = doubleClicks = fileChanges = 0;
        fetched.reset(new ThingsInfo());
        host = PanelLibrary_HostWindow();
        panel = things.CreateAsChild(host);
        ASSERT_NE(panel, nullptr);
        ShowWindow(host, SW_SHOW);
        things.Show();
        things.RegisterApply(FetchThings);
        things.RegisterDoubleClick(FetchTemplate);
        things.RegisterFiles(FetchFiles);
    }
    void TearDown() override
    {
        things.Destroy();
        DestroyWindow(host);
        dll = nullptr;
    }
    void Select(uint32_t selected, const char* key, const char* value)
    {
        std::unique_ptr<ThingsInfo> info(new ThingsInfo());
        info->selectedCount = selected;
        info->pairCount = 1;
        std::strcpy(info->key[0], key);
        std::strcpy(info->value[0], value);
        things.SetThingsInfo(info.get());
    }
};

}  // namespace

TEST_F(ThingsDllUi, ButtonsReachTheHostThroughApplyCallback)
{
    Select(1, "origin", "1 2 3");
    Click(FindChild(panel, "Button", "Apply Origin"));
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(Code("ORIGIN"), 1);
    EXPECT_STREQ(fetched->value[0], "1 2 3");

    // The first row is selected after _SetThingsInfo; Delete Key removes it.
    Click(FindChild(panel, "Button", "Delete Key"));
    EXPECT_EQ(applies, 2);
    EXPECT_EQ(Code("ORIGIN"), 3);
    EXPECT_EQ(fetched->pairCount, 1u);
}

TEST_F(ThingsDllUi, DoubleClickOnALeafHandsTheTemplateToTheHost)
{
    things.BeginAddTemplates("...");
    things.BeginAddTemplates("global.zul");
    things.AddTemplate("Sword", 20, "Blades");
    things.EndAddTemplates("global.zul");
    things.EndAddTemplates("...");
    HWND tree = FindChild(panel, WC_TREEVIEWA, "");
    ASSERT_NE(tree, nullptr);
    HTREEITEM root = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    NMHDR dbl = {tree, (UINT_PTR)GetDlgCtrlID(tree), (UINT)NM_DBLCLK};

    // As a person does, everything below the root is unfolded (the * key) to reach the leaf.
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)root);
    SendMessageA(tree, WM_KEYDOWN, VK_MULTIPLY, 0);
    HTREEITEM blades = TreeItem_Find(tree, root, "Blades");
    ASSERT_NE(blades, nullptr);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)blades);
    SendMessageA(GetParent(tree), WM_NOTIFY, dbl.idFrom, (LPARAM)&dbl);
    EXPECT_EQ(doubleClicks, 0);

    HTREEITEM sword = TreeItem_Find(tree, root, "Sword");
    ASSERT_NE(sword, nullptr);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)sword);
    SendMessageA(GetParent(tree), WM_NOTIFY, dbl.idFrom, (LPARAM)&dbl);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(fetchedTemplate, "Sword");

    // "Apply Template" writes the leaf as the TEMPLATE key.
    Select(1, "CLASSNAME", "x");
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)sword);
    Click(FindChild(panel, "Button", "Apply Template"));
    EXPECT_EQ(Code("TEMPLATE"), 2);
}

TEST_F(ThingsDllUi, MovingATemplateFileTellsTheHost)
{
    HostFiles files = {};
    files.count = 2;
    std::strcpy(files.name[0], "a.zul");
    std::strcpy(files.name[1], "b.zul");
    things.SetTemplateFilesInfo(&files);
    HWND list = FindChild(panel, "ListBox", "");
    ASSERT_NE(list, nullptr);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    Click(FindChild(panel, "Button", "Up"));
    EXPECT_EQ(fileChanges, 1);
    EXPECT_EQ(fetchedFiles.count, 2u);
    EXPECT_STREQ(fetchedFiles.name[0], "b.zul");
    EXPECT_STREQ(fetchedFiles.name[1], "a.zul");
}

// The question box as it came up on this thread, answered No at once.
struct QuestionSeen {
    HHOOK hook = nullptr;
    HWND owner = (HWND)1;
    std::string text;
};
QuestionSeen question;

LRESULT CALLBACK AnswerQuestion(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = (const CWPRETSTRUCT*)lParam;
    char caption[64] = {};
    if (code == HC_ACTION && call->message == WM_INITDIALOG &&
        GetWindowTextA(call->hwnd, caption, sizeof caption) &&
        !std::strcmp(caption, "Multiple selection warning")) {
        question.owner = GetWindow(call->hwnd, GW_OWNER);
        char t[256] = {};
        for (HWND c = GetWindow(call->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            GetWindowTextA(c, t, sizeof t);
            if (std::strstr(t, "Proceed"))
                question.text = t;
        }
        PostMessageA(call->hwnd, WM_COMMAND, IDNO, 0);
    }
    return CallNextHookEx(question.hook, code, wParam, lParam);
}

TEST_F(ThingsDllUi, TheDllsQuestionIsATaskModalBoxWithoutOwner)
{
    Select(2, "ORIGIN", "1 2 3");
    // The box is made on this thread inside the click: its dialog set-up is the moment to read
    // and answer it.
    question = QuestionSeen();
    question.hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AnswerQuestion, nullptr, GetCurrentThreadId());
    ASSERT_NE(question.hook, nullptr);
    Click(FindChild(panel, "Button", "Apply Origin"));
    UnhookWindowsHookEx(question.hook);
    EXPECT_EQ(question.text, "You are about to apply this origin to more than one thing. Proceed ?");
    EXPECT_EQ(question.owner, nullptr);
    EXPECT_EQ(applies, 0);
    things.GetThingsInfo(fetched.get());
    EXPECT_EQ(Code("ORIGIN"), 0);
}

TEST_F(ThingsDllUi, ACallbackThatDestroysThePanelIsSurvived)
{
    things.RegisterApply(DestroyInside);
    Select(1, "LIGHT", "5");
    Click(FindChild(panel, "Button", "Apply Light"));
    EXPECT_EQ(applies, 1);
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_FALSE(things.Show());
    // The panel can be made again; the old window goes with it.
    HWND again = things.CreateAsChild(host);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(IsWindow(panel));
}

// Keys reach the panel through the host's own message loop: the DLL hooks it.
void ExpectEnterInTheHostsLoopApplies(ThingsDllUi& ui)
{
    ui.Select(1, "origin", "7 8 9");
    HWND box = FindChild(ui.panel, "Edit", "7");
    ASSERT_NE(box, nullptr);
    SetFocus(box);
    auto pump = [] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    };
    PostMessageA(box, WM_KEYUP, VK_RETURN, 0);  // a release without a press seen here
    pump();
    EXPECT_EQ(applies, 0);
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(box, WM_KEYUP, VK_RETURN, 0);
    pump();
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(Code("ORIGIN"), 1);
}

TEST_F(ThingsDllUi, EnterInTheHostsLoopRunsTheFocusedBoxsAction)
{
    ExpectEnterInTheHostsLoopApplies(*this);
}

// _Destroy takes the hook away with the panel; the next _CreateAsChild puts it back.
TEST_F(ThingsDllUi, APanelMadeAgainGetsItsKeysFromTheHostsLoop)
{
    things.Destroy();
    panel = things.CreateAsChild(host);
    ASSERT_NE(panel, nullptr);
    things.Show();
    things.RegisterApply(FetchThings);
    ExpectEnterInTheHostsLoopApplies(*this);
}
