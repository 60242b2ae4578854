// The "Scene Editor" and "ScenePicker" windows driven as a user drives them, inside the real
// modal runs, through the panel's exports as the host calls them. The panel's code is linked into
// this test, so its message boxes and dialogs reach the scripted hook.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include "FormInput.h"
#include "Forms/ScriptedHooks.h"
#include "ScenePickerForm.h"
#include "ScenesExports.h"
#include "ScenesPanel.h"
#include "fixtureFiles.h"

namespace {

// ---- the host's side ----

struct THostSide {
    int closes = 0, saves = 0, renames = 0, descriptions = 0;
    bool editorHiddenAtClose = false;
    ScenesInfo lastSaved = {};
    LayersInfo lastLayers = {};
};
THostSide hostSide;

void OnClose()
{
    hostSide.closes++;
    hostSide.editorHiddenAtClose = !IsWindowVisible(scenesPanel->Handle());
}
void OnSave()
{
    hostSide.saves++;
    scenes_GetScenesInfo(&hostSide.lastSaved);
}
void OnRename()
{
    hostSide.renames++;
    std::memset(hostSide.lastLayers.host, 0x5A, sizeof hostSide.lastLayers.host);
    scenes_GetLayersInfo(&hostSide.lastLayers);
}
// One buffer for every answer, as a host may keep it.
const char* OnGLS(const char* id)
{
    static char text[64];
    hostSide.descriptions++;
    std::snprintf(text, sizeof text, "T:%s", id);
    return text;
}

void SetName(char* field, const char* text)
{
    std::memset(field, 0, 32);
    std::memcpy(field, text, strnlen(text, 32));
}

SceneInfo Scene(const char* name, uint32_t layers)
{
    SceneInfo s = {.name = {}, .layerMask = layers, .flags = 0, .music = "drip.wav", .musicVolume = 30,
                   .ambient = "wind.wav", .ambientVolume = 70, .soundEffects = 0, .eaxPreset = 8, .fogMode = 1,
                   .fogR = 12.7f, .fogG = 20, .fogB = 30, .fogDist1 = 100.5f, .fogDist2 = 2000, .zClipDist = 4000,
                   .atmEffects = 0, .skyModel = "night.qev", .skyAnim = "clouds.jup"};
    SetName(s.name, name);
    return s;
}

std::string Field(const char* field) { return std::string(field, strnlen(field, 32)); }

// Every field of a scene as "name=value": a case compares whole records, and a difference
// names its field.
std::vector<std::string> SceneFields(const SceneInfo& s)
{
    using std::to_string;
    return {"name=" + Field(s.name), "layerMask=" + to_string(s.layerMask), "flags=" + to_string(s.flags),
            "music=" + Field(s.music), "musicVolume=" + to_string(s.musicVolume), "ambient=" + Field(s.ambient),
            "ambientVolume=" + to_string(s.ambientVolume), "soundEffects=" + to_string(s.soundEffects),
            "eaxPreset=" + to_string(s.eaxPreset), "fogMode=" + to_string(s.fogMode),
            "fog=" + to_string(s.fogR) + " " + to_string(s.fogG) + " " + to_string(s.fogB),
            "fogDists=" + to_string(s.fogDist1) + " " + to_string(s.fogDist2),
            "zClipDist=" + to_string(s.zClipDist), "atmEffects=" + to_string(s.atmEffects),
            "skyModel=" + Field(s.skyModel), "skyAnim=" + Field(s.skyAnim)};
}

class SceneEditorForm : public testing::Test {
protected:
    ScriptedHooks hooks;
    TFormScript script;
    std::string game;
    HWND hostWindow = nullptr;
    TScenePickerForm* picker = nullptr;
    std::unique_ptr<ScenesInfo> block{new ScenesInfo()};

    void SetUp() override
    {
        hostSide = THostSide();
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        game = std::string(cwd) + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(fixtures::MakeFolders(game + "\\Chronicles"));
        std::ofstream(game + "\\Chronicles\\act1.rix")
            << "[Cave]\nSHORTDESC=CAVE_SHORT\nLONGDESC=CAVE_LONG\n"
               "[Bridge]\nSHORTDESC=BRIDGE_SHORT\n"
               "[Hall]\nSHORTDESC=HALL_SHORT\nLONGDESC=HALL_LONG\n";

        // Modal forms run their real loops; the script's steps run inside them.
        hooks.modalAnswer = [this](TForm& form) {
            TScenePickerForm* outer = picker;
            if (scenesPanel && &form != &scenesPanel->form)
                picker = static_cast<TScenePickerForm*>(&form);
            int result = form.RunModalLoop();
            picker = outer;
            return result;
        };

        hostWindow = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(hostWindow, SW_SHOW);
        ASSERT_NE(scenes_CreateAsChild(hostWindow), nullptr);
        scenes_SetBaseDir(game.c_str());
        scenes_SetChronicle("act1");
        scenes_RegisterCloseCallback(OnClose);
        scenes_RegisterSaveCallback(OnSave);
        scenes_RegisterRenameCallback(OnRename);
        scenes_RegisterGLSCallback(OnGLS);
        LayersInfo layers = {};
        for (int i = 0; i < SCENES_LAYERS; i++)
            std::snprintf(layers.layerName[i], 32, "Layer %d", i);
        scenes_SetLayersInfo(&layers);

        SetName(block->sceneListName, "act1");
        block->scene[block->sceneCount++] = Scene("Cave", 0x1);
        block->scene[block->sceneCount++] = Scene("Bridge", 0x2);
        block->staticScene = Scene("__STATIC SCENE__", 0xF0);
        scenes_SetScenesInfo(block.get());
    }
    void TearDown() override
    {
        scenes_Destroy();
        DestroyWindow(hostWindow);
    }

    TSceneEditorForm& Form() { return scenesPanel->form; }
    TSceneEditor& Editor() { return scenesPanel->editor; }
    int Row(const std::string& name) { return Form().LVScenes.FindText(0, name); }
    // A user's click on the scene's row of the list.
    void ClickScene(const std::string& name) { FormInput_ClickRow(Form().LVScenes.Handle(), Row(name)); }
    std::string Selected()
    {
        int row = Form().LVScenes.Selected();
        return row < 0 ? "" : Form().LVScenes.ItemText(row, 0);
    }
    void Click(TToolButton* button) { FormInput_ClickToolButton(Form().TBMain.Handle(), button->Command()); }
    void Click(TControl& button) { SendMessageA(button.Handle(), BM_CLICK, 0, 0); }
    // The two steps of New: the toolbar button, then a double click on a row of the picker.
    void AddNewFromPicker(int row)
    {
        script.steps.push_back([this] { Click(Form().TBNew); });
        script.steps.push_back([this, row] {
            ASSERT_NE(picker, nullptr);
            FormInput_DoubleClickRow(picker->LVScenes.Handle(), row);
        });
    }
    // Runs the editor with the script, which must end with Quit; answers _ShowModal's result.
    int RunSession()
    {
        script.Start();
        int result = scenes_ShowModal();
        EXPECT_TRUE(script.Done()) << script.steps.size() << " steps left";
        return result;
    }
    ScenesInfo Block()
    {
        ScenesInfo out = {};
        scenes_GetScenesInfo(&out);
        return out;
    }
};

}  // namespace

TEST_F(SceneEditorForm, SelectEditSaveDeleteNewRenameAndQuit)
{
    auto& s = script.steps;
    // The static scene is selected first; it has no layers page.
    s.push_back([&] {
        EXPECT_TRUE(IsWindowVisible(Form().Handle()));
        EXPECT_FALSE(IsWindowEnabled(hostWindow));
        EXPECT_EQ(Selected(), "__STATIC SCENE__");
        EXPECT_EQ(Form().EDShortDesc.Text(), "STATIC SCENE");
        EXPECT_EQ(Form().SBMain.PanelText(0), "Scenes");
        EXPECT_EQ(Form().SBMain.PanelText(1), "3");
        EXPECT_EQ(Form().SBMain.PanelText(2), "Scene List");
        EXPECT_EQ(Form().SBMain.PanelText(3), "act1");
        EXPECT_EQ(Form().TBNew->Hint(), "Pick a new scene from the Chronicle file...");
        EXPECT_EQ(Form().TBSave->Hint(), "Save the Scene changes");
        EXPECT_EQ(Form().TBSceneList->Hint(), "Select the current scene list");
        EXPECT_EQ(Form().TBDelete->Hint(), "Delete the currently selected scene");
        EXPECT_EQ(Form().TBQuit->Hint(), "Exit the Scene Editor");
        FormInput_ClickTab(Form().PCPages.Handle(), 1);
    });
    // Select: a click on "Cave" loads it.
    s.push_back([&] {
        EXPECT_EQ(Form().PCPages.ActivePage(), Form().TSDescription);
        ClickScene("Cave");
    });
    // Edit: a layer tick, the music, its volume, the fog mode, a fog colour arrow, the EAX
    // preset and an unreadable fog distance.
    s.push_back([&] {
        TSceneEditorForm& f = Form();
        EXPECT_EQ(Selected(), "Cave");
        EXPECT_EQ(f.EDShortDesc.Text(), "T:CAVE_SHORT");
        EXPECT_EQ(f.MMLongDesc.Lines(), std::vector<std::string>{"T:CAVE_LONG"});
        EXPECT_EQ(f.EDMusic.Text(), "drip.wav");
        EXPECT_EQ(f.LAMusicVolumeValue.Caption(), "30");
        EXPECT_EQ(f.CBEAX.ItemIndex(), 8);
        EXPECT_EQ(f.RGFog.ItemIndex(), 1);
        EXPECT_EQ(f.EDFogR.Text(), "12");
        EXPECT_EQ(f.EDFogDist1.Text(), "100.5");
        EXPECT_EQ(f.EDZClip.Text(), "4000");
        EXPECT_EQ(f.EDSkyModel.Text(), "night.qev");
        EXPECT_TRUE(f.CLBLayers.Checked(0));
        EXPECT_FALSE(Editor().Modified());
        FormInput_Tick(f.CLBLayers.Handle(), 3, true);
        f.EDMusic.SetText("theme.mp3");
        f.TRMusicVolume.SetPosition(55);
        FormInput_ClickButton(f.RGFog.Handle(), "Exponential 1");
        FormInput_ClickUp(f.UDFogR.Handle());
        FormInput_ChooseComboItem(f.CBEAX.Handle(), 22);
        f.EDFogDist1.SetText("far");
        EXPECT_EQ(f.LAMusicVolumeValue.Caption(), "55");
        EXPECT_TRUE(Editor().Modified());
        Click(f.TBSave);
    });
    // Save: the host hears of it and reads the scene back.
    s.push_back([&] {
        EXPECT_EQ(hostSide.saves, 1);
        const SceneInfo& cave = hostSide.lastSaved.scene[0];
        SceneInfo edited = Scene("Cave", 0x9);
        SetName(edited.music, "theme.mp3");
        edited.musicVolume = 55;
        edited.fogMode = 2;
        edited.fogR = 13;  // the arrow steps from the whole part of 12.7
        edited.eaxPreset = 22;
        edited.fogDist1 = 0;  // "far" reads as no number
        EXPECT_EQ(SceneFields(cave), SceneFields(edited));
        EXPECT_EQ(cave.music[31], '\0');
        EXPECT_FALSE(Editor().Modified());
        // A change, then another scene: the question's Yes saves into the block, as Save does,
        // without telling the host.
        Form().EDAmbient.SetText("rain.wav");
        hooks.messageAnswers.push_back(IDYES);
        ClickScene("Bridge");
    });
    s.push_back([&] {
        ASSERT_EQ(hooks.messages.size(), 1u);
        EXPECT_TRUE(hooks.LastIs("The current scene has been modified, do you want to save it ?", "Warning:"));
        EXPECT_EQ(hooks.Last().buttons, (UINT)MB_YESNOCANCEL);
        EXPECT_EQ(hooks.Last().icon, (UINT)MB_ICONQUESTION);
        EXPECT_EQ(hostSide.saves, 1);
        EXPECT_EQ(Field(Block().scene[0].ambient), "rain.wav");
        EXPECT_EQ(Selected(), "Bridge");
        EXPECT_EQ(Form().EDShortDesc.Text(), "T:BRIDGE_SHORT");
        EXPECT_EQ(Form().MMLongDesc.Text(), "T:SCENE_ERROR_NOLONGDESC\r\n");
        // Delete.
        Click(Form().TBDelete);
    });
    s.push_back([&] {
        EXPECT_EQ(hostSide.saves, 2);
        EXPECT_EQ(hostSide.lastSaved.sceneCount, 1u);
        EXPECT_EQ(Field(hostSide.lastSaved.scene[0].name), "Cave");
        EXPECT_EQ(Field(hostSide.lastSaved.scene[0].ambient), "rain.wav");  // the host has it now
        EXPECT_EQ(Row("Bridge"), -1);
        EXPECT_EQ(Form().LVScenes.Count(), 2);
        EXPECT_EQ(Form().SBMain.PanelText(1), "2");
        // New: the picker opens; the steps below run inside it.
        Click(Form().TBNew);
    });
    s.push_back([&] {
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->Caption(), "ScenePicker");
        TListView& list = picker->LVScenes;
        EXPECT_EQ(list.ColumnCaption(0), "Scene Name");
        EXPECT_EQ(list.ColumnWidth(0), 140);
        EXPECT_EQ(list.ColumnCaption(1), "Scene Description");
        EXPECT_EQ(list.ColumnWidth(1), 260);
        ASSERT_EQ(list.Count(), 3);
        EXPECT_EQ(list.ItemText(0, 0), "Bridge");
        EXPECT_EQ(list.ItemText(0, 1), "T:BRIDGE_SHORT");
        EXPECT_EQ(list.ItemText(1, 0), "Cave");
        EXPECT_EQ(list.ItemText(1, 1), "T:CAVE_SHORT");
        EXPECT_EQ(list.ItemText(2, 0), "Hall");
        EXPECT_EQ(list.ItemText(2, 1), "T:HALL_SHORT");
        // A scene that the list holds already is refused.
        FormInput_ClickRow(list.Handle(), 1);
        EXPECT_EQ(picker->picker.picked, "Cave");
        Click(picker->BNOk);
    });
    s.push_back([&] {
        EXPECT_EQ(picker, nullptr);
        ASSERT_EQ(hooks.messages.size(), 2u);
        EXPECT_TRUE(hooks.LastIs("A scene with this name already exists!", "Cannot create New Scene..."));
        EXPECT_EQ(hooks.Last().icon, (UINT)MB_ICONEXCLAMATION);
        EXPECT_EQ(Form().LVScenes.Count(), 2);
        Click(Form().TBNew);
    });
    // OK without a selected row ends like Cancel.
    s.push_back([&] {
        ASSERT_NE(picker, nullptr);
        Click(picker->BNOk);
    });
    s.push_back([&] {
        EXPECT_EQ(picker, nullptr);
        EXPECT_EQ(hooks.messages.size(), 2u);
        Click(Form().TBNew);
    });
    // A row chosen and given up again leaves no name behind: the double-click beside the rows
    // ends as OK and the editor refuses the empty name.
    s.push_back([&] {
        ASSERT_NE(picker, nullptr);
        HWND list = picker->LVScenes.Handle();
        FormInput_ClickRow(list, 2);
        EXPECT_EQ(picker->picker.picked, "Hall");
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        EXPECT_EQ(picker->picker.picked, "");
        RECT r = {};
        GetClientRect(list, &r);
        FormInput_DoubleClickAt(list, r.right / 2, r.bottom - 5);
    });
    s.push_back([&] {
        EXPECT_EQ(picker, nullptr);
        ASSERT_EQ(hooks.messages.size(), 3u);
        EXPECT_TRUE(hooks.LastIs("Null scene name!", "Cannot create New Scene..."));
        EXPECT_EQ(Form().LVScenes.Count(), 2);
        Click(Form().TBNew);
    });
    s.push_back([&] {
        ASSERT_NE(picker, nullptr);
        FormInput_DoubleClickRow(picker->LVScenes.Handle(), 2);
    });
    // The new scene shows with its descriptions; it reaches the block when saved.
    s.push_back([&] {
        EXPECT_EQ(picker, nullptr);
        EXPECT_EQ(Selected(), "Hall");
        EXPECT_EQ(Form().PCPages.ActivePage(), Form().TSDescription);
        EXPECT_EQ(Form().EDShortDesc.Text(), "T:HALL_SHORT");
        EXPECT_EQ(Form().MMLongDesc.Text(), "T:HALL_LONG\r\n");
        EXPECT_TRUE(Editor().NewUnsaved());
        EXPECT_EQ(Block().sceneCount, 1u);
        hooks.openAnswers.push_back("C:\\game\\Sounds\\march.mp3");
        SendMessageA(Form().EDMusic.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        ASSERT_EQ(hooks.fileDialogs.size(), 1u);
        const TFileDialogRequest& d = hooks.fileDialogs.back();
        EXPECT_EQ(d.title, "Select Music Track");
        EXPECT_EQ(d.filter, "Music Files (*.WAV)|*.WAV|MP3 Music Files (*.MP3)|*.MP3");
        EXPECT_EQ(d.filterIndex, 2);
        EXPECT_EQ(d.initialDir, game + "\\Sounds");
        EXPECT_EQ(Form().EDMusic.Text(), "march.mp3");
        Click(Form().TBSave);
    });
    s.push_back([&] {
        EXPECT_EQ(hostSide.saves, 3);
        EXPECT_EQ(hostSide.lastSaved.sceneCount, 2u);
        EXPECT_EQ(Field(hostSide.lastSaved.scene[1].name), "Hall");
        EXPECT_EQ(Field(hostSide.lastSaved.scene[1].music), "march.mp3");
        EXPECT_EQ(hostSide.lastSaved.scene[1].eaxPreset, 0);
        EXPECT_FALSE(Editor().NewUnsaved());
        EXPECT_EQ(Form().SBMain.PanelText(1), "3");
        // A new scene left with No is taken off the list and never reaches the block.
        Click(Form().TBNew);
    });
    s.push_back([&] {
        ASSERT_NE(picker, nullptr);
        FormInput_DoubleClickRow(picker->LVScenes.Handle(), 0);
    });
    s.push_back([&] {
        EXPECT_EQ(Selected(), "Bridge");
        hooks.messageAnswers.push_back(IDNO);
        ClickScene("Cave");
    });
    s.push_back([&] {
        EXPECT_EQ(hooks.Last().caption, "Warning:");
        EXPECT_EQ(Selected(), "Cave");
        EXPECT_EQ(Row("Bridge"), -1);
        EXPECT_EQ(hostSide.saves, 3);  // No removed the new scene without a word to the host
        EXPECT_EQ(Block().sceneCount, 2u);
        // Rename a layer.
        FormInput_ClickTab(Form().PCPages.Handle(), 1);
    });
    s.push_back([&] {
        EXPECT_EQ(Form().PCPages.ActivePage(), Form().TSLayers);
        FormInput_ClickRow(Form().CLBLayers.Handle(), 3);
        EXPECT_EQ(Form().EDLayerName.Text(), "Layer 3");
        Form().EDLayerName.SetText("Bridge deck");
        Click(Form().BNRename);
        EXPECT_EQ(hostSide.renames, 1);
        EXPECT_STREQ(hostSide.lastLayers.layerName[3], "Bridge deck");
        EXPECT_STREQ(hostSide.lastLayers.layerName[4], "Layer 4");
        EXPECT_EQ(hostSide.lastLayers.host[0], 0x5A);
        EXPECT_EQ(Form().CLBLayers.Item(3), "Bridge deck");
        EXPECT_TRUE(Form().CLBLayers.Checked(3));  // Cave's tick stays
        // Another scene list, through the status bar.
        hooks.openAnswers.push_back("C:\\game\\Chronicles\\act2.rix");
        SendMessageA(Form().SBMain.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        ASSERT_EQ(hooks.fileDialogs.size(), 2u);
        const TFileDialogRequest& d = hooks.fileDialogs.back();
        EXPECT_EQ(d.title, "Chose an Tarvel Chronicle");
        EXPECT_EQ(d.filter, "Tarvel Scene Lists (*.rix)|*.rix");
        EXPECT_EQ(d.defaultExt, "qob");
        EXPECT_EQ(d.initialDir, game + "\\Chronicles");
        EXPECT_EQ(Form().SBMain.PanelText(3), "act2");
        EXPECT_EQ(Field(Block().sceneListName), "act2");
        // Quit with a change that was not saved: nothing is asked.
        Form().EDMusic.SetText("unsaved.wav");
        EXPECT_TRUE(Editor().Modified());
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
    EXPECT_EQ(hooks.messages.size(), 4u);  // Quit asked nothing
    EXPECT_EQ(hostSide.closes, 1);
    EXPECT_TRUE(hostSide.editorHiddenAtClose);
    EXPECT_TRUE(IsWindowEnabled(hostWindow));
    EXPECT_EQ(Field(Block().scene[0].music), "theme.mp3");
    EXPECT_GT(hostSide.descriptions, 0);
    // The shown scene is the stored one again.
    EXPECT_EQ(Form().EDMusic.Text(), "theme.mp3");
}

// With 16 stored scenes a new one cannot be saved: Yes to the question then keeps the user on it.
TEST_F(SceneEditorForm, RefusedSaveInTheQuestionKeepsTheNewScene)
{
    for (uint32_t i = block->sceneCount; i < SCENES_MAX; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "Extra %02u", i);
        block->scene[block->sceneCount++] = Scene(name, 0);
    }
    scenes_SetScenesInfo(block.get());
    auto& s = script.steps;
    AddNewFromPicker(2);  // Hall
    s.push_back([&] {
        EXPECT_EQ(Selected(), "Hall");
        hooks.messageAnswers.push_back(IDYES);
        ClickScene("Cave");
    });
    s.push_back([&] {
        ASSERT_EQ(hooks.messages.size(), 2u);
        EXPECT_EQ(hooks.messages[0].caption, "Warning:");
        EXPECT_EQ(hooks.messages[1].caption, "Cannot save Scene...");
        EXPECT_EQ(hooks.messages[1].icon, (UINT)MB_ICONEXCLAMATION);
        EXPECT_EQ(Selected(), "Hall");
        EXPECT_TRUE(Editor().NewUnsaved());
        EXPECT_TRUE(Editor().Modified());
        EXPECT_EQ(hostSide.saves, 0);
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
    EXPECT_EQ(Block().sceneCount, 16u);
    EXPECT_EQ(Row("Hall"), -1);  // quit dropped the scene that was never stored
    EXPECT_EQ(hostSide.closes, 1);
}

// A scene that leaves the list, a new one dropped by Quit or a stored one deleted, leaves
// nothing selected: the pages then show nothing of it, in this run and in the next.
TEST_F(SceneEditorForm, PagesShowNothingOnceTheSelectedSceneLeavesTheList)
{
    auto pagesAreEmpty = [this] {
        TSceneEditorForm& f = Form();
        EXPECT_EQ(Selected(), "");
        EXPECT_EQ(f.EDShortDesc.Text(), "");
        EXPECT_EQ(f.MMLongDesc.Text(), "\r\n");
        EXPECT_EQ(f.EDMusic.Text(), "");
        EXPECT_EQ(f.LAMusicVolumeValue.Caption(), "0");
        EXPECT_FALSE(f.CLBLayers.Checked(0));
        EXPECT_EQ(f.EDFogDist1.Text(), "0");
        EXPECT_EQ(f.EDSkyModel.Text(), "sky.qev");
        EXPECT_EQ(f.EDSkyAnim.Text(), "sky.jup");
    };
    auto& s = script.steps;
    s.push_back([&] { FormInput_ClickRow(Form().LVScenes.Handle(), Row("Cave")); });
    AddNewFromPicker(2);  // Hall
    s.push_back([&] {
        EXPECT_EQ(Selected(), "Hall");
        EXPECT_EQ(Form().EDShortDesc.Text(), "T:HALL_SHORT");
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
    EXPECT_EQ(Row("Hall"), -1);

    s.push_back([&] {
        pagesAreEmpty();
        FormInput_ClickRow(Form().LVScenes.Handle(), Row("Bridge"));
    });
    s.push_back([&] {
        EXPECT_EQ(Form().EDShortDesc.Text(), "T:BRIDGE_SHORT");
        Click(Form().TBDelete);
    });
    s.push_back([&] {
        EXPECT_EQ(Row("Bridge"), -1);
        pagesAreEmpty();
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
    EXPECT_EQ(Block().sceneCount, 1u);
    EXPECT_EQ(hostSide.closes, 2);
}

// A save of the static scene keeps its layers and the count; Save without changes still tells
// the host.
TEST_F(SceneEditorForm, SavingTheStaticSceneKeepsItsLayers)
{
    auto& s = script.steps;
    s.push_back([&] {
        EXPECT_EQ(Selected(), "__STATIC SCENE__");
        Click(Form().TBSave);
        EXPECT_EQ(hostSide.saves, 1);
        EXPECT_EQ(std::memcmp(&hostSide.lastSaved, block.get(), sizeof(ScenesInfo)), 0);
        Form().EDFogDist2.SetText("750");
        Click(Form().TBSave);
        EXPECT_EQ(hostSide.saves, 2);
        EXPECT_EQ(hostSide.lastSaved.staticScene.fogDist2, 750.0f);
        EXPECT_EQ(hostSide.lastSaved.staticScene.layerMask, 0xF0u);
        EXPECT_EQ(hostSide.lastSaved.sceneCount, 2u);
        // Deleting the static scene does nothing but tell the host.
        Click(Form().TBDelete);
        EXPECT_EQ(hostSide.saves, 3);
        EXPECT_EQ(Form().LVScenes.Count(), 3);
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
}

TEST_F(SceneEditorForm, SkyPickersAndDefaults)
{
    auto& s = script.steps;
    s.push_back([&] {
        ClickScene("Cave");
    });
    s.push_back([&] {
        hooks.openAnswers.push_back("C:\\game\\Models\\dome.qev");
        SendMessageA(Form().EDSkyModel.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(Form().EDSkyAnim.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(Form().EDAmbient.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        ASSERT_EQ(hooks.fileDialogs.size(), 3u);
        const DWORD mustExist = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        EXPECT_EQ(hooks.fileDialogs[0].title, "Pick Sky Model");
        EXPECT_EQ(hooks.fileDialogs[0].filter, "Models (*.qev)|*.qev");
        EXPECT_EQ(hooks.fileDialogs[0].initialDir, game + "\\Models");
        EXPECT_EQ(hooks.fileDialogs[0].flags & mustExist, mustExist);
        EXPECT_EQ(hooks.fileDialogs[1].title, "Pick Sky Animation");
        EXPECT_EQ(hooks.fileDialogs[1].filter, "Animations (*.jup)|*.jup");
        EXPECT_EQ(hooks.fileDialogs[1].initialDir, game + "\\Anims");
        EXPECT_EQ(hooks.fileDialogs[2].title, "Select Ambient");
        EXPECT_EQ(hooks.fileDialogs[2].filterIndex, 1);
        EXPECT_EQ(Form().EDSkyModel.Text(), "dome.qev");
        EXPECT_EQ(Form().EDSkyAnim.Text(), "clouds.jup");  // cancelled
        Click(Form().BNSetDefaultSkies);
        EXPECT_EQ(Form().EDSkyModel.Text(), "sky.qev");
        EXPECT_EQ(Form().EDSkyAnim.Text(), "sky.jup");
        Click(Form().TBSave);
        EXPECT_EQ(Field(hostSide.lastSaved.scene[0].skyModel), "sky.qev");
        EXPECT_EQ(Field(hostSide.lastSaved.scene[0].skyAnim), "sky.jup");
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
}

// The scene list's panel keeps to 120..300 pixels; its column follows it.
TEST_F(SceneEditorForm, SplitterKeepsTheListBetween120And300)
{
    auto& s = script.steps;
    s.push_back([&] {
        HWND bar = Form().SPScenes.Handle();
        auto drag = [bar](int dx) {
            SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
            SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + dx, 10));
            SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(1 + dx, 10));
        };
        drag(400);
        EXPECT_EQ(Form().PNScenes.Width(), 300);
        EXPECT_EQ(Form().LVScenes.ColumnWidth(0), 296);
        drag(-400);
        EXPECT_EQ(Form().PNScenes.Width(), 120);
        EXPECT_EQ(Form().LVScenes.ColumnWidth(0), 116);
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
}

// Cancel in the question keeps the scene, its selection and what was typed.
TEST_F(SceneEditorForm, CancelInTheQuestionKeepsTheSelection)
{
    auto& s = script.steps;
    s.push_back([&] { ClickScene("Cave"); });
    s.push_back([&] {
        Form().EDMusic.SetText("typed.wav");
        hooks.messageAnswers.push_back(IDCANCEL);
        ClickScene("Bridge");
    });
    s.push_back([&] {
        ASSERT_EQ(hooks.messages.size(), 1u);
        EXPECT_EQ(Selected(), "Cave");
        EXPECT_FALSE(Form().LVScenes.IsSelected(Row("Bridge")));
        EXPECT_EQ(Form().EDMusic.Text(), "typed.wav");
        EXPECT_TRUE(Editor().Modified());
        EXPECT_EQ(hostSide.saves, 0);
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
}

// The layer name box belongs to the controls that loading a scene resets; naming a layer is no
// change of the scene, and the typed name stays while the scene does.
TEST_F(SceneEditorForm, LoadingASceneEmptiesTheLayerName)
{
    auto& s = script.steps;
    s.push_back([&] { ClickScene("Cave"); });
    s.push_back([&] {
        FormInput_ClickTab(Form().PCPages.Handle(), 1);
        FormInput_ClickRow(Form().CLBLayers.Handle(), 2);
    });
    s.push_back([&] {
        EXPECT_EQ(Form().EDLayerName.Text(), "Layer 2");
        Form().EDLayerName.SetText("Road");
        Form().EDMusic.SetText("typed.wav");
        Click(Form().TBSave);
    });
    s.push_back([&] {
        EXPECT_EQ(hostSide.saves, 1);
        EXPECT_EQ(Form().EDLayerName.Text(), "Road");
        EXPECT_FALSE(Editor().Modified());
        ClickScene("Bridge");
    });
    s.push_back([&] {
        EXPECT_EQ(Selected(), "Bridge");
        EXPECT_TRUE(hooks.messages.empty());
        EXPECT_EQ(Form().EDLayerName.Text(), "");
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
}

// A name longer than the record's field is refused: cut, it would no longer match its entry.
TEST_F(SceneEditorForm, APickedNameLongerThanItsFieldIsRefused)
{
    const std::string longName(40, 'L');
    std::ofstream(game + "\\Chronicles\\act1.rix") << "[" << longName << "]\nSHORTDESC=LONG\n";
    auto& s = script.steps;
    s.push_back([&] { Click(Form().TBNew); });
    s.push_back([&] {
        ASSERT_NE(picker, nullptr);
        ASSERT_EQ(picker->LVScenes.Count(), 1);
        FormInput_DoubleClickRow(picker->LVScenes.Handle(), 0);
    });
    s.push_back([&] {
        ASSERT_EQ(hooks.messages.size(), 1u);
        EXPECT_EQ(hooks.Last().caption, "Cannot create New Scene...");
        EXPECT_EQ(Row(longName), -1);
        Click(Form().TBQuit);
    });
    EXPECT_EQ(RunSession(), 2);
}

// A host that destroys the panel from a callback inside the modal run gets the run ended.
void DestroyOnSave()
{
    hostSide.saves++;
    scenes_Destroy();
}

TEST_F(SceneEditorForm, DestroyFromACallbackEndsTheRun)
{
    scenes_RegisterSaveCallback(DestroyOnSave);
    HWND editor = scenesPanel->Handle();
    script.steps.push_back([&] { Click(Form().TBSave); });
    EXPECT_EQ(RunSession(), 2);
    EXPECT_EQ(hostSide.saves, 1);
    EXPECT_EQ(scenesPanel, nullptr);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(hostSide.closes, 0);
    EXPECT_TRUE(IsWindowEnabled(hostWindow));
}

// A scene of the list that the block does not hold shows the status text and loads nothing.
TEST_F(SceneEditorForm, OtherStaticNameCannotBeFound)
{
    SetName(block->staticScene.name, "Aardvark");
    scenes_SetScenesInfo(block.get());
    EXPECT_EQ(Form().SBMain.SimpleText(), "Couldn't find scene index!");
    EXPECT_EQ(Form().EDShortDesc.Text(), "");
}

// The pages and their controls as the editor offers them: captions, lists, ranges and steps.
TEST_F(SceneEditorForm, PagesAndControlsAsBuilt)
{
    TSceneEditorForm& f = Form();
    EXPECT_EQ(f.Caption(), "Scene Editor");
    EXPECT_EQ(f.LVScenes.ColumnCaption(0), "Scenes");
    const char* pages[] = {"Description", "Layers", "Flags", "Sound", "Render", "Sky"};
    ASSERT_EQ(f.PCPages.PageCount(), 6);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(f.PCPages.Page(i)->Caption(), pages[i]);
    EXPECT_TRUE(f.EDShortDesc.ReadOnly());
    EXPECT_TRUE(f.MMLongDesc.ReadOnly());

    ASSERT_EQ(f.CLBLayers.Count(), 32);
    EXPECT_EQ(f.CLBLayers.Item(31), "Layer 31");
    ASSERT_EQ(f.CLBFlags.Count(), 32);
    EXPECT_EQ(f.CLBFlags.Item(0), "EXTERIOR");
    EXPECT_EQ(f.CLBFlags.Item(31), "-");

    for (TTrackBar* bar : {&f.TRMusicVolume, &f.TRAmbientVolume}) {
        EXPECT_EQ(bar->Min(), 0);
        EXPECT_EQ(bar->Max(), 100);
        EXPECT_EQ(bar->PageSize(), 10);
    }
    ASSERT_EQ(f.CBEAX.Count(), 26);
    EXPECT_EQ(f.CBEAX.Item(0), "GENERIC");
    EXPECT_EQ(f.CBEAX.Item(7), "CONCERT HALL");
    EXPECT_EQ(f.CBEAX.Item(25), "PSYCHOTIC");
    EXPECT_EQ(f.CLBSoundEffects.Item(0), "Echo");
    EXPECT_FALSE(f.CLBSoundEffects.Visible());

    EXPECT_EQ(f.RGFog.Caption(), " Z-Fog ");
    ASSERT_EQ(f.RGFog.Count(), 4);
    EXPECT_EQ(f.RGFog.Item(3), "Exponential 2");
    EXPECT_EQ(f.UDZClip.Min(), 0);
    EXPECT_EQ(f.UDZClip.Max(), 32767);
    EXPECT_EQ(f.UDZClip.Increment(), 50);
    EXPECT_TRUE(GetWindowLongA(f.UDZClip.Handle(), GWL_STYLE) & UDS_NOTHOUSANDS);
    for (TUpDown* ud : {&f.UDFogR, &f.UDFogG, &f.UDFogB}) {
        EXPECT_EQ(ud->Min(), 0);
        EXPECT_EQ(ud->Max(), 255);
    }
    ASSERT_EQ(f.CLBAtmEffects.Count(), 3);
    EXPECT_EQ(f.CLBAtmEffects.Item(1), "Lighning");
    EXPECT_FALSE(f.CLBAtmEffects.Visible());

    EXPECT_EQ(f.EDSkyModel.MaxLength(), 31);
    EXPECT_EQ(f.EDSkyAnim.MaxLength(), 31);
    EXPECT_EQ(f.BNSetDefaultSkies.Text(), "Set Default Skies");
}
