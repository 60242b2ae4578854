// tarvelScenes.dll loaded for real and driven through its exports, as the host does.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <vector>
#include "ScenesRecords.h"
#include "Tools/Tarvel/DLLs/PanelLibrary.h"

namespace {

const char* const exportNames[] = {
    "_Version", "_CreateAsChild", "_Destroy", "_SetChronicle", "_ShowModal", "_SetLayersInfo",
    "_GetLayersInfo", "_SetScenesInfo", "_GetScenesInfo", "_SetBaseDir",
    "_RegisterCloseCallback", "_RegisterSaveCallback", "_RegisterRenameCallback",
    "_RegisterGLSCallback",
};

struct Scenes {
    TPanelLibrary lib{"tarvelScenes.dll"};
    int (*Version)() = lib.Get<int (*)()>("_Version");
    HWND (*CreateAsChild)(HWND) = lib.Get<HWND (*)(HWND)>("_CreateAsChild");
    void (*Destroy)() = lib.Get<void (*)()>("_Destroy");
    void (*SetChronicle)(const char*) = lib.Get<void (*)(const char*)>("_SetChronicle");
    int (*ShowModal)() = lib.Get<int (*)()>("_ShowModal");
    void (*SetLayersInfo)(const LayersInfo*) = lib.Get<void (*)(const LayersInfo*)>("_SetLayersInfo");
    void (*GetLayersInfo)(LayersInfo*) = lib.Get<void (*)(LayersInfo*)>("_GetLayersInfo");
    void (*SetScenesInfo)(const ScenesInfo*) = lib.Get<void (*)(const ScenesInfo*)>("_SetScenesInfo");
    void (*GetScenesInfo)(ScenesInfo*) = lib.Get<void (*)(ScenesInfo*)>("_GetScenesInfo");
    void (*SetBaseDir)(const char*) = lib.Get<void (*)(const char*)>("_SetBaseDir");
    void (*RegisterClose)(void (*)()) = lib.Get<void (*)(void (*)())>("_RegisterCloseCallback");
    void (*RegisterSave)(void (*)()) = lib.Get<void (*)(void (*)())>("_RegisterSaveCallback");
    void (*RegisterRename)(void (*)()) = lib.Get<void (*)(void (*)())>("_RegisterRenameCallback");
    void (*RegisterGLS)(ScenesGLSCallback) = lib.Get<void (*)(ScenesGLSCallback)>("_RegisterGLSCallback");
};

template <class R> using Guarded = TGuarded<R>;

void FillScenes(ScenesInfo* s, uint32_t count)
{
    unsigned char* raw = (unsigned char*)s;
    for (size_t i = 0; i < sizeof(ScenesInfo); i++)
        raw[i] = (unsigned char)(i * 31 + 7);
    std::strcpy(s->sceneListName, "act1");
    s->sceneCount = count;
    for (uint32_t i = 0; i < count; i++)
        std::snprintf(s->scene[i].name, 32, "Scene%u", i);
    std::strcpy(s->staticScene.name, "__STATIC SCENE__");
}

HWND hostWindow = nullptr;
HWND editorWindow = nullptr;
bool hostDisabledDuringModal = false;
bool editorShownDuringModal = false;
int closes = 0;
bool editorHiddenAtClose = false;

void OnClose()
{
    closes++;
    editorHiddenAtClose = !IsWindowVisible(editorWindow);
}

// The editor's tool bar; Quit is its last button.
BOOL CALLBACK FindToolBar(HWND hwnd, LPARAM found)
{
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::strcmp(cls, TOOLBARCLASSNAMEA) != 0)
        return TRUE;
    *(HWND*)found = hwnd;
    return FALSE;
}

void CALLBACK QuitSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    hostDisabledDuringModal = !IsWindowEnabled(hostWindow);
    editorShownDuringModal = IsWindowVisible(editorWindow);
    HWND bar = nullptr;
    EnumChildWindows(editorWindow, FindToolBar, (LPARAM)&bar);
    int last = (int)SendMessageA(bar, TB_BUTTONCOUNT, 0, 0) - 1;
    RECT r = {};
    SendMessageA(bar, TB_GETITEMRECT, last, (LPARAM)&r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar, WM_LBUTTONUP, 0, at);
}

class ScenesBoundary : public testing::Test {
protected:
    Scenes scenes;
    void SetUp() override
    {
        ASSERT_NE(scenes.lib.Module(), nullptr) << PanelLibrary_Path("tarvelScenes.dll");
        hostWindow = PanelLibrary_HostWindow();
        closes = 0;
    }
    void TearDown() override
    {
        if (scenes.Destroy)
            scenes.Destroy();
        DestroyWindow(hostWindow);
    }
};

}  // namespace

TEST_F(ScenesBoundary, EveryExportByNameAndOrdinal)
{
    PanelLibrary_ExpectExports(scenes.lib, exportNames, 14);
}

TEST_F(ScenesBoundary, CallsBeforeCreateAndAfterDestroyDoNothing)
{
    EXPECT_EQ(scenes.Version(), 1);
    Guarded<ScenesInfo> s;
    std::memset(s.rec(), 0x21, sizeof(ScenesInfo));
    Guarded<LayersInfo> l;
    std::memset(l.rec(), 0x22, sizeof(LayersInfo));
    for (int round = 0; round < 2; round++) {
        scenes.SetScenesInfo(s.rec());
        scenes.GetScenesInfo(s.rec());
        scenes.SetLayersInfo(l.rec());
        scenes.GetLayersInfo(l.rec());
        scenes.SetChronicle("act1");
        scenes.SetBaseDir("C:\\Game");
        scenes.RegisterClose(OnClose);
        EXPECT_EQ(scenes.ShowModal(), 0);
        scenes.Destroy();
        EXPECT_EQ(s.rec()->sceneCount, 0x21212121u);
        EXPECT_EQ((unsigned char)l.rec()->layerName[0][0], 0x22);
        if (round == 0) {  // then the same after a life of the panel
            ASSERT_NE(scenes.CreateAsChild(hostWindow), nullptr);
            scenes.Destroy();
        }
    }
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(s.GuardsIntact());
}

TEST_F(ScenesBoundary, NullPointersDoNothing)
{
    ASSERT_NE(scenes.CreateAsChild(hostWindow), nullptr);
    scenes.SetScenesInfo(nullptr);
    scenes.GetScenesInfo(nullptr);
    scenes.SetLayersInfo(nullptr);
    scenes.GetLayersInfo(nullptr);
    scenes.SetChronicle(nullptr);
    scenes.SetBaseDir(nullptr);
    scenes.RegisterGLS(nullptr);
    Guarded<ScenesInfo> s;
    scenes.GetScenesInfo(s.rec());
    EXPECT_EQ(s.rec()->sceneCount, 0u);  // the editor's empty block
    EXPECT_TRUE(s.GuardsIntact());
}

TEST_F(ScenesBoundary, EditorIsATopLevelWindowWithoutOwner)
{
    HWND editor = scenes.CreateAsChild(hostWindow);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetParent(editor), nullptr);
    EXPECT_EQ(GetWindow(editor, GW_OWNER), nullptr);
    EXPECT_FALSE(GetWindowLongA(editor, GWL_STYLE) & WS_SYSMENU);
    char caption[64] = {};
    GetWindowTextA(editor, caption, sizeof caption);
    EXPECT_STREQ(caption, "Scene Editor");
    EXPECT_EQ(scenes.CreateAsChild(hostWindow), editor);
}

TEST_F(ScenesBoundary, ScenesRoundTripGivesTheSameBytes)
{
    ASSERT_NE(scenes.CreateAsChild(hostWindow), nullptr);
    Guarded<ScenesInfo> in, out;
    FillScenes(in.rec(), 3);
    scenes.SetScenesInfo(in.rec());
    scenes.GetScenesInfo(out.rec());
    EXPECT_EQ(std::memcmp(in.rec(), out.rec(), sizeof(ScenesInfo)), 0);
    EXPECT_TRUE(out.GuardsIntact());
}

TEST_F(ScenesBoundary, SceneCountAboveSixteenIsClamped)
{
    ASSERT_NE(scenes.CreateAsChild(hostWindow), nullptr);
    Guarded<ScenesInfo> in, out;
    FillScenes(in.rec(), 16);
    in.rec()->sceneCount = 0xFFFFFFFF;
    scenes.SetScenesInfo(in.rec());
    scenes.GetScenesInfo(out.rec());
    EXPECT_EQ(out.rec()->sceneCount, 16u);
    EXPECT_TRUE(out.GuardsIntact());
}

TEST_F(ScenesBoundary, LayersLeaveTheHostBytesAndEndInsideTheirFields)
{
    ASSERT_NE(scenes.CreateAsChild(hostWindow), nullptr);
    Guarded<LayersInfo> in, out;
    std::memset(in.rec(), 0, sizeof(LayersInfo));
    for (int i = 0; i < 32; i++)
        std::snprintf(in.rec()->layerName[i], 32, "Layer %d", i);
    std::memset(in.rec()->layerName[31], 'z', 32);  // the last name fills its field
    scenes.SetLayersInfo(in.rec());
    std::memset(out.rec(), 0x66, sizeof(LayersInfo));
    scenes.GetLayersInfo(out.rec());
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(out.rec()->host[i], 0x66);
    EXPECT_STREQ(out.rec()->layerName[0], "Layer 0");
    EXPECT_EQ(std::string(out.rec()->layerName[31]), std::string(31, 'z'));
    EXPECT_TRUE(out.GuardsIntact());
}

TEST_F(ScenesBoundary, ShowModalRunsUntilQuitThenCallsClose)
{
    editorWindow = scenes.CreateAsChild(hostWindow);
    ASSERT_NE(editorWindow, nullptr);
    ShowWindow(hostWindow, SW_SHOW);
    scenes.RegisterClose(OnClose);
    SetTimer(nullptr, 0, 50, QuitSoon);
    EXPECT_EQ(scenes.ShowModal(), 2);
    EXPECT_TRUE(hostDisabledDuringModal);
    EXPECT_TRUE(editorShownDuringModal);
    EXPECT_TRUE(IsWindowEnabled(hostWindow));
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(editorHiddenAtClose);

    // The editor keeps its block between runs.
    Guarded<ScenesInfo> in, out;
    FillScenes(in.rec(), 2);
    scenes.SetScenesInfo(in.rec());
    SetTimer(nullptr, 0, 50, QuitSoon);
    EXPECT_EQ(scenes.ShowModal(), 2);
    EXPECT_EQ(closes, 2);
    scenes.GetScenesInfo(out.rec());
    EXPECT_EQ(std::memcmp(in.rec(), out.rec(), sizeof(ScenesInfo)), 0);
}

// Records of nothing but 0xFF bytes and of nothing but 0x7F bytes: no NUL anywhere, counts far
// beyond the record, every float NaN or huge. The panel reads within the records, writes only
// inside them and keeps every name inside its field.
TEST_F(ScenesBoundary, RecordsWithoutAnyNulStayInsideTheirBytes)
{
    ASSERT_NE(scenes.CreateAsChild(hostWindow), nullptr);
    scenes.SetBaseDir("C:\\NoSuchGame");
    for (unsigned char fill : {0xFF, 0x7F}) {
        Guarded<ScenesInfo> in, out;
        Guarded<LayersInfo> layers, layersOut;
        std::memset(in.rec(), fill, sizeof(ScenesInfo));
        std::memset(layers.rec(), fill, sizeof(LayersInfo));
        scenes.SetLayersInfo(layers.rec());
        scenes.SetScenesInfo(in.rec());
        scenes.GetScenesInfo(out.rec());
        scenes.GetLayersInfo(layersOut.rec());
        EXPECT_TRUE(out.GuardsIntact() && layersOut.GuardsIntact());
        EXPECT_EQ(out.rec()->sceneCount, 16u);
        EXPECT_EQ(std::memcmp(out.rec()->scene, in.rec()->scene, sizeof in.rec()->scene), 0);
        for (int i = 0; i < 32; i++)
            EXPECT_EQ(std::string(layersOut.rec()->layerName[i]), std::string(31, (char)fill));
        EXPECT_TRUE(in.GuardsIntact() && layers.GuardsIntact());
    }
}

// A host that destroys the panel from inside GLSCallback while _SetScenesInfo still loads the
// first scene: the panel must outlive the export that called out.
void (*destroyFromCallback)() = nullptr;
HWND editorAtCallback = nullptr;
int glsCalls = 0;
bool editorAliveAfterDestroy = false;

const char* DestroyingGLS(const char*)
{
    glsCalls++;
    if (destroyFromCallback) {
        void (*destroy)() = destroyFromCallback;
        destroyFromCallback = nullptr;
        destroy();
        editorAliveAfterDestroy = IsWindow(editorAtCallback) != FALSE;
    }
    return "text";
}

TEST_F(ScenesBoundary, DestroyFromACallbackOutsideTheEditorWaitsForTheExport)
{
    for (int round = 0; round < 2; round++) {
        editorAtCallback = scenes.CreateAsChild(hostWindow);
        ASSERT_NE(editorAtCallback, nullptr);
        scenes.SetBaseDir("C:\\NoSuchGame");
        Guarded<ScenesInfo> in;
        FillScenes(in.rec(), 1);
        std::strcpy(in.rec()->scene[0].name, "0Cave");  // sorts before the static scene: loaded first
        scenes.RegisterGLS(DestroyingGLS);
        glsCalls = 0;
        editorAliveAfterDestroy = false;
        destroyFromCallback = scenes.Destroy;
        scenes.SetScenesInfo(in.rec());
        EXPECT_EQ(glsCalls, 1);  // the callbacks go with the panel
        EXPECT_TRUE(editorAliveAfterDestroy);
        EXPECT_FALSE(IsWindow(editorAtCallback));
        EXPECT_EQ(scenes.ShowModal(), 0);  // no panel any more; a new one can be made
    }
}

TEST(ScenesUnload, UnloadingWithoutDestroyTakesTheEditorWindowAlong)
{
    HWND editor = nullptr;
    {
        Scenes scenes;
        ASSERT_NE(scenes.lib.Module(), nullptr);
        editor = scenes.CreateAsChild(nullptr);
        ASSERT_NE(editor, nullptr);
    }
    EXPECT_FALSE(IsWindow(editor));
}
