// The panel form itself, linked into the test: its controls are driven as a user drives them,
// questions and dialogs are answered through this module's modal hook, and the host's
// callbacks are plain functions that call back into the panel as a host does.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <memory>
#include <string>
#include "Application.h"
#include "ThingsExports.h"
#include "ThingsPanel.h"
#include "Forms/ScriptedHooks.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"

namespace {

TThingsPanel* live = nullptr;
int applies = 0, doubleClicks = 0, fileChanges = 0;
std::unique_ptr<ThingsInfo> seen;  // what the host fetched inside its last ApplyCallback
std::string seenTemplate;
std::vector<std::string> seenFiles;

void OnApply()
{
    applies++;
    live->GetThingsInfo(*seen);
}
void OnDoubleClick()
{
    doubleClicks++;
    seenTemplate = live->tree.SelectedTemplate();
}
void OnFiles()
{
    fileChanges++;
    struct {
        uint32_t count;
        char name[20][32];
    } info = {};
    live->files.Store(*(TemplateFilesInfo*)&info);
    seenFiles.clear();
    for (uint32_t i = 0; i < info.count; i++)
        seenFiles.push_back(std::string(info.name[i], strnlen(info.name[i], 32)));
}

int Code(const ThingsInfo& info, const char* key)
{
    for (uint32_t i = 0; i < info.pairCount; i++)
        if (!std::strcmp(info.key[i], key))
            return (int)info.flag[i];
    return -1;
}
std::string Value(const ThingsInfo& info, const char* key)
{
    for (uint32_t i = 0; i < info.pairCount; i++)
        if (!std::strcmp(info.key[i], key))
            return info.value[i];
    return "<none>";
}

// An empty 8-bit mono PCM sound, enough for the preview player to open.
fixtures::Bytes SilentWav()
{
    fixtures::Bytes wav = {'R', 'I', 'F', 'F'};
    fixtures::PutU32(wav, 36);
    for (char c : std::string("WAVEfmt "))
        wav.push_back((uint8_t)c);
    fixtures::PutU32(wav, 16);
    fixtures::PutU16(wav, 1);      // PCM
    fixtures::PutU16(wav, 1);      // mono
    fixtures::PutU32(wav, 8000);   // samples per second
    fixtures::PutU32(wav, 8000);   // bytes per second
    fixtures::PutU16(wav, 1);      // block
    fixtures::PutU16(wav, 8);      // bits
    for (char c : std::string("data"))
        wav.push_back((uint8_t)c);
    fixtures::PutU32(wav, 0);
    return wav;
}

// A silent "bell.wav" in the folder, made with its parents.
bool PutBell(const std::string& folder)
{
    return fixtures::MakeFolders(folder) && fixtures::WriteBytes(folder + "\\bell.wav", SilentWav());
}

class ThingsForm : public testing::Test {
protected:
    ScriptedHooks hooks;
    HWND host = nullptr;
    TThingsPanel panel;

    void SetUp() override
    {
        host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                               900, 800, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(panel.Create(host));
        live = &panel;
        applies = doubleClicks = fileChanges = 0;
        seen.reset(new ThingsInfo());
        seenTemplate.clear();
        panel.onApply = OnApply;
        panel.onTemplateDoubleClick = OnDoubleClick;
        panel.onTemplateFiles = OnFiles;
        panel.SetBaseDir("C:\\Game");
    }
    void TearDown() override
    {
        panel.DestroyForm();
        DestroyWindow(host);
        live = nullptr;
    }
    void Load(uint32_t selected, std::initializer_list<std::pair<const char*, const char*>> pairs,
              uint32_t flag = 0)
    {
        std::unique_ptr<ThingsInfo> info(new ThingsInfo());
        info->selectedCount = selected;
        for (auto& p : pairs) {
            std::strcpy(info->key[info->pairCount], p.first);
            std::strcpy(info->value[info->pairCount], p.second);
            info->flag[info->pairCount++] = flag;
        }
        panel.SetThingsInfo(*info);
    }
    int Row(const char* key)
    {
        for (int i = 0; i < panel.LVPairs.Count(); i++)
            if (panel.LVPairs.ItemText(i, 0) == key)
                return i;
        return -1;
    }
    std::string Mark(const char* key)
    {
        int i = Row(key);
        return i < 0 ? "<none>" : panel.LVPairs.ItemText(i, 2);
    }
    void BuildTree()
    {
        panel.BeginAddTemplates("...");
        panel.BeginAddTemplates("global.zul");
        panel.AddTemplate("Sword", 20, "Blades");
        panel.AddTemplate("Swamp", 5, "[-[none]-]");
        panel.AddTemplate("sweep", 5, "[-[none]-]");
        panel.AddTemplate("Axe", 20, "Blades");
        panel.EndAddTemplates("global.zul");
        panel.EndAddTemplates("...");
    }
    TTreeNode* ViewNode(const std::string& text)
    {
        for (TTreeNode* n = panel.TVTemplates.GetFirstNode(); n; n = n->GetNext())
            if (n->Text() == text)
                return n;
        return nullptr;
    }
    // A key as the host's message loop delivers it: our pre-dispatch first, then the control.
    void Key(HWND target, UINT message, WPARAM key)
    {
        MSG msg = {target, message, key, 0, 0, {0, 0}};
        if (!Application().PreDispatch(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
};

}  // namespace

TEST_F(ThingsForm, TabsPagesAndListsAsBuilt)
{
    ASSERT_EQ(panel.PCMain.PageCount(), 3);
    EXPECT_EQ(panel.PCMain.Page(0)->Caption(), "Thing Editor");
    EXPECT_EQ(panel.PCMain.Page(1)->Caption(), "Templates Files");
    EXPECT_EQ(panel.PCMain.Page(2)->Caption(), "Confirm");
    ASSERT_EQ(panel.PCPages.PageCount(), 4);
    EXPECT_EQ(panel.PCPages.Page(3)->Caption(), "Sound");
    EXPECT_EQ(panel.LVPairs.ColumnCaption(0), "Keys");
    EXPECT_EQ(panel.LVPairs.ColumnWidth(1), 230);
    EXPECT_EQ(panel.LVPairs.ColumnWidth(2), 20);
    EXPECT_EQ(panel.CBKeys.Count(), 52);
    EXPECT_EQ(panel.CBKeys.Item(51), "CODEXPVALUE9");
    EXPECT_EQ(panel.CBStyle.Count(), 24);
    EXPECT_EQ(panel.CBStyle.ItemIndex(), -1);
    EXPECT_EQ(panel.UDYaw.Min(), -3590);
    EXPECT_EQ(panel.UDYaw.Increment(), 15);
    EXPECT_EQ(panel.UDIntensity.Max(), 32767);
    EXPECT_EQ(panel.TBPan.Min(), -100);
    EXPECT_TRUE(panel.CBConfirm.Checked());
    EXPECT_TRUE(panel.MISubCategories->Checked());
    EXPECT_EQ(panel.SBThings.PanelText(0), "Selected: 0");
    // Until the host hands in the template-file list, its four buttons wait disabled.
    EXPECT_FALSE(panel.BNAddFile.Enabled());
    EXPECT_FALSE(panel.BNDownFile.Enabled());
}

// Every group of the property pages with its caption, its start and its range.
TEST_F(ThingsForm, PropertyPagesStartAsBuilt)
{
    EXPECT_EQ(panel.Caption(), "Things & Templates");
    const char* pages[] = {"Main", "Overrides", "Light", "Sound"};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(panel.PCPages.Page(i)->Caption(), pages[i]);
    EXPECT_EQ(panel.LBLPairs.Caption(), "Key/Value Pairs");
    EXPECT_EQ(panel.LVPairs.ColumnCaption(1), "Values");
    EXPECT_EQ(panel.LVPairs.ColumnWidth(0), 180);
    EXPECT_EQ(panel.LVPairs.ColumnCaption(2), "Mods");
    EXPECT_TRUE(panel.LVPairs.RowSelect());

    EXPECT_EQ(panel.GBOrigin.Caption(), "Origin (X, Y, Z)");
    EXPECT_EQ(panel.GBOrientation.Caption(), "Orientation (Pch, Yaw, Rol)");
    for (TEdit* e : {&panel.EDOriginX, &panel.EDOriginY, &panel.EDOriginZ, &panel.EDPitch,
                     &panel.EDYaw, &panel.EDRoll, &panel.EDIntensity, &panel.EDColorR,
                     &panel.EDColorG, &panel.EDColorB, &panel.EDMinDist, &panel.EDMaxDist})
        EXPECT_EQ(e->Text(), "0");
    for (TEdit* e : {&panel.EDScript, &panel.EDDescriptionID, &panel.EDFoley, &panel.EDAIClass,
                     &panel.EDTreasureClass, &panel.EDFalloff, &panel.EDSound, &panel.EDValue})
        EXPECT_EQ(e->Text(), "");
    for (TUpDown* ud : {&panel.UDPitch, &panel.UDRoll}) {
        EXPECT_EQ(ud->Min(), -1790);
        EXPECT_EQ(ud->Max(), 1800);
        EXPECT_EQ(ud->Increment(), 15);
        EXPECT_FALSE(GetWindowLongA(ud->Handle(), GWL_STYLE) & UDS_WRAP);
    }
    EXPECT_EQ(panel.UDYaw.Max(), 3600);
    const char* yaws[] = {"0", "45", "90", "135", "180", "225", "270", "315"};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(panel.BNYaw[i].Text(), yaws[i]);

    EXPECT_EQ(panel.GBScript.Caption(), "*Script");
    EXPECT_EQ(panel.GBDescriptionID.Caption(), "*DescriptionID");
    EXPECT_EQ(panel.GBFoley.Caption(), "*Foley");
    EXPECT_EQ(panel.GBAIClass.Caption(), "*AIClass");
    EXPECT_EQ(panel.GBTreasureClass.Caption(), "*TreasureClass");
    EXPECT_EQ(panel.BNDeleteScripts.Text(), "Delete all script key/value pairs");

    EXPECT_EQ(panel.UDIntensity.Min(), 0);
    EXPECT_EQ(panel.UDIntensity.Increment(), 10);
    for (TUpDown* ud : {&panel.UDColorR, &panel.UDColorG, &panel.UDColorB}) {
        EXPECT_EQ(ud->Min(), 0);
        EXPECT_EQ(ud->Max(), 255);
        EXPECT_EQ(ud->Increment(), 1);
    }
    EXPECT_EQ(panel.CBStyle.Item(0), "Always on, constant intensity");
    EXPECT_EQ(panel.CBStyle.Item(15), "(unused)");
    EXPECT_EQ(panel.CBStyle.Item(23), "Constant - User 7");
    EXPECT_EQ(panel.CBEditorOnly.Text(), "Editor Only");
    EXPECT_FALSE(panel.CBEditorOnly.Checked());
    EXPECT_EQ(panel.BNApplyAllLight.Text(), "Apply All Light Changes");

    EXPECT_EQ(panel.GBDists.Caption(), "Distances (min, max)");
    ASSERT_EQ(panel.CLBFlags.Count(), 1);
    EXPECT_EQ(panel.CLBFlags.Item(0), "Stream");
    EXPECT_FALSE(panel.CLBFlags.Checked(0));
    EXPECT_EQ(panel.TBVolume.Min(), 0);
    EXPECT_EQ(panel.TBVolume.Max(), 100);
    EXPECT_EQ(panel.TBPan.Max(), 100);
    EXPECT_EQ(panel.TBPan.Position(), 0);
    EXPECT_EQ(panel.LBLVolume.Caption(), "0");
    EXPECT_EQ(panel.LBLPan.Caption(), "0");
    EXPECT_EQ(panel.MPSound.FileName, "");
    EXPECT_EQ(panel.MPSound.BNPlay.Text(), "Play");
    EXPECT_EQ(panel.MPSound.BNStop.Text(), "Stop");
    EXPECT_EQ(panel.BNDeleteSounds.Text(), "Delete all sound key/value pairs");
}

TEST_F(ThingsForm, SetThingsInfoFillsListStatusAndPages)
{
    BuildTree();
    std::unique_ptr<ThingsInfo> info(new ThingsInfo());
    info->selectedCount = 2;
    const char* pairs[][2] = {{"origin", "128 64 x"}, {"ANGLE", "90"}, {"COLOR", "255 200 120"},
                              {"STYLE", "1"}, {"SOUNDVOLUME", "180"}, {"SOUNDFLAGS", "1"},
                              {"TEMPLATE", "sword"}, {"EDITORONLY", "1"}, {"SOUNDMINDIST", "0.5"}};
    for (auto& p : pairs) {
        std::strcpy(info->key[info->pairCount], p[0]);
        std::strcpy(info->value[info->pairCount], p[1]);
        info->flag[info->pairCount] = info->pairCount % 2;  // no image or image 0
        info->pairCount++;
    }
    info->flag[1] = 3;  // bit 0 and bit 1: image 1
    panel.SetThingsInfo(*info);

    EXPECT_EQ(panel.SBThings.PanelText(0), "Selected: 2");
    ASSERT_EQ(panel.LVPairs.Count(), 9);
    EXPECT_EQ(panel.LVPairs.ItemText(0, 0), "ANGLE");  // sorted by key
    EXPECT_EQ(panel.LVPairs.ItemImage(0), 1);
    EXPECT_EQ(panel.LVPairs.ItemImage(Row("ORIGIN")), -1);
    EXPECT_EQ(panel.LVPairs.ItemImage(Row("STYLE")), 0);
    EXPECT_EQ(Mark("ORIGIN"), "O");
    EXPECT_EQ(panel.LVPairs.Selected(), 0);
    EXPECT_EQ(panel.CBKeys.ItemIndex(), -1);  // the selected row is not copied into the editors
    EXPECT_EQ(panel.EDValue.Text(), "");

    EXPECT_EQ(panel.EDOriginX.Text(), "128");
    EXPECT_EQ(panel.EDOriginZ.Text(), "0");
    EXPECT_EQ(panel.EDYaw.Text(), "90");
    EXPECT_EQ(panel.EDColorB.Text(), "120");
    EXPECT_EQ(panel.CBStyle.ItemIndex(), 1);
    EXPECT_EQ(panel.TBVolume.Position(), 100);
    EXPECT_EQ(panel.LBLVolume.Caption(), "100");
    EXPECT_TRUE(panel.CLBFlags.Checked(0));
    EXPECT_TRUE(panel.CBEditorOnly.Checked());
    EXPECT_EQ(panel.EDMinDist.Text(), "0.5");
    EXPECT_EQ(panel.EDMaxDist.Text(), "");
    ASSERT_NE(panel.TVTemplates.Selected(), nullptr);
    EXPECT_EQ(panel.TVTemplates.Selected()->Text(), "Sword");

    // An empty selection empties list, editors and pages again.
    Load(0, {});
    EXPECT_EQ(panel.LVPairs.Count(), 0);
    EXPECT_EQ(panel.EDOriginX.Text(), "0");
    EXPECT_EQ(panel.CBStyle.ItemIndex(), -1);
    EXPECT_EQ(panel.TBVolume.Position(), 0);
    EXPECT_FALSE(panel.CLBFlags.Checked(0));
    EXPECT_EQ(panel.TVTemplates.Selected(), nullptr);
}

TEST_F(ThingsForm, ConfirmationIsTaskModalAndNoLeavesThePairs)
{
    Load(2, {{"ORIGIN", "1 1 1"}});
    panel.EDOriginX.SetText("7");
    hooks.messageAnswers = {IDNO};
    panel.BNApplyOrigin.Click();
    ASSERT_EQ(hooks.messages.size(), 1u);
    const TMessageBoxRequest& q = hooks.Last();
    EXPECT_EQ(q.caption, "Multiple selection warning");
    EXPECT_EQ(q.text, "You are about to apply this origin to more than one thing. Proceed ?");
    EXPECT_EQ(q.buttons & MB_TYPEMASK, (UINT)MB_YESNO);
    EXPECT_TRUE(q.buttons & MB_TASKMODAL);
    EXPECT_EQ(q.icon, (UINT)MB_ICONQUESTION);
    EXPECT_EQ(q.owner, nullptr);
    EXPECT_EQ(applies, 0);
    EXPECT_EQ(panel.LVPairs.ItemText(0, 1), "1 1 1");

    hooks.messageAnswers = {IDYES};
    panel.BNApplyOrigin.Click();
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(Value(*seen, "ORIGIN"), "7 1 1");
    EXPECT_EQ(Code(*seen, "ORIGIN"), 1);
    EXPECT_EQ(Mark("ORIGIN"), "M");

    // With the option off nothing asks.
    panel.CBConfirm.Click();
    EXPECT_FALSE(panel.CBConfirm.Checked());
    EXPECT_FALSE(panel.editor.confirmMultiple);
    panel.BNApplyOrigin.Click();
    EXPECT_EQ(hooks.messages.size(), 2u);
    EXPECT_EQ(applies, 2);
}

TEST_F(ThingsForm, OrientationRemovesAngleBeforeTheHostLooks)
{
    Load(1, {{"ANGLE", "90"}});
    panel.BNYaw[3].Click();  // "135"
    EXPECT_EQ(panel.EDYaw.Text(), "135");
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(Value(*seen, "ANGLES"), "0 135 0");
    EXPECT_EQ(Code(*seen, "ANGLES"), 2);
    EXPECT_EQ(Code(*seen, "ANGLE"), 3);
    EXPECT_EQ(Row("ANGLE"), -1);
    EXPECT_EQ(Mark("ANGLES"), "N");
}

TEST_F(ThingsForm, AllLightChangesReachTheHostOnceEvenWhenTheStyleIsRefused)
{
    Load(2, {});
    panel.EDColorR.SetText("300");  // taken as typed
    panel.EDIntensity.SetText("500");
    panel.EDFalloff.SetText("2");
    hooks.messageAnswers = {IDYES, IDYES, IDYES, IDYES, IDYES, IDYES};
    panel.BNApplyAllLight.Click();
    EXPECT_EQ(hooks.messages.size(), 6u);
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(Value(*seen, "STYLE"), "-1");
    EXPECT_EQ(Value(*seen, "COLOR"), "300 0 0");

    panel.EDIntensity.SetText("600");
    hooks.messages.clear();
    hooks.messageAnswers = {IDYES, IDYES, IDYES, IDYES, IDYES, IDNO};
    panel.BNApplyAllLight.Click();
    EXPECT_EQ(hooks.messages.back().text,
              "You are about to apply this light style to more than one thing. Proceed ?");
    EXPECT_EQ(applies, 2);
    EXPECT_EQ(Value(*seen, "LIGHT"), "600");
}

TEST_F(ThingsForm, PickColourStartsFromTheBoxesAndApplies)
{
    Load(1, {});
    panel.EDColorR.SetText("300");
    panel.EDColorG.SetText("2");
    panel.EDColorB.SetText("x");
    panel.BNPickColor.Click();  // cancelled
    EXPECT_EQ(panel.CDColor.Color, (COLORREF)(255 + 2 * 256));
    EXPECT_EQ(applies, 0);
    hooks.colorAnswers = {RGB(10, 20, 30)};
    panel.BNPickColor.Click();
    EXPECT_EQ(panel.EDColorG.Text(), "20");
    EXPECT_EQ(Value(*seen, "COLOR"), "10 20 30");
}

TEST_F(ThingsForm, PickDialogsOpenInTheirFoldersAndApply)
{
    Load(1, {});
    hooks.openAnswers = {"C:\\Game\\Codex\\Door.class", "C:\\Game\\Sounds\\Actors\\bell.wav", "",
                         "C:\\Game\\Misc\\AI\\guard.jop"};
    panel.BNPickScript.Click();
    panel.BNPickSound.Click();
    panel.BNPickFoley.Click();
    panel.BNPickAI.Click();
    ASSERT_EQ(hooks.fileDialogs.size(), 4u);
    const TFileDialogRequest& script = hooks.fileDialogs[0];
    EXPECT_EQ(script.title, "Pick a Codex class");
    EXPECT_EQ(script.filter, "Codex Files (*.class)|*.class");
    EXPECT_EQ(script.defaultExt, "*.class");
    EXPECT_EQ(script.initialDir, "C:\\Game\\Codex");
    EXPECT_EQ(script.flags & (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST),
              (DWORD)(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
    EXPECT_EQ(hooks.fileDialogs[1].initialDir, "C:\\Game\\Sounds");
    EXPECT_EQ(hooks.fileDialogs[2].title, "Pick a foley file");
    EXPECT_EQ(hooks.fileDialogs[2].initialDir, "C:\\Game\\Misc\\Foley");
    EXPECT_EQ(hooks.fileDialogs[3].filter, "AI Class Files (*.jop)|*.jop");
    EXPECT_EQ(panel.EDScript.Text(), "Door");
    EXPECT_EQ(panel.EDSound.Text(), "bell.wav");
    EXPECT_EQ(panel.EDFoley.Text(), "");
    EXPECT_EQ(applies, 3);
    EXPECT_EQ(Value(*seen, "*SCRIPT"), "Door");
    EXPECT_EQ(Value(*seen, "SOUND"), "bell.wav");
    EXPECT_EQ(Value(*seen, "*AICLASS"), "guard");
}

TEST_F(ThingsForm, DistsShowTheirCorrectionEvenOnNo)
{
    Load(2, {});
    panel.EDMinDist.SetText("-5");
    panel.EDMaxDist.SetText("-2");
    hooks.messageAnswers = {IDNO};
    panel.BNApplyDists.Click();
    EXPECT_EQ(panel.EDMinDist.Text(), "0");
    EXPECT_EQ(panel.EDMaxDist.Text(), "1");
    EXPECT_EQ(applies, 0);
    panel.EDMinDist.SetText("0.1");
    hooks.messageAnswers = {IDYES};
    panel.BNApplyDists.Click();
    EXPECT_EQ(panel.EDMinDist.Text(), "0.100000001490116");
    EXPECT_EQ(applies, 2);  // one per distance
    EXPECT_EQ(Value(*seen, "SOUNDMINDIST"), "0.100000001490116");
    EXPECT_EQ(Value(*seen, "SOUNDMAXDIST"), "1");
}

TEST_F(ThingsForm, SoundControlsApplyAndDeleteAllResetsThem)
{
    Load(1, {{"SOUND", "none.wav"}, {"SOUNDPAN", "-30"}, {"CLASSNAME", "x"}});
    EXPECT_EQ(panel.soundPreview, "");
    EXPECT_FALSE(panel.MPSound.PlayerEnabled());
    EXPECT_EQ(panel.TBPan.Position(), -30);
    EXPECT_EQ(panel.LBLPan.Caption(), "-30");
    panel.TBVolume.SetPosition(40);
    EXPECT_EQ(panel.LBLVolume.Caption(), "40");
    panel.BNApplyVolume.Click();
    panel.CLBFlags.SetChecked(0, true);
    panel.BNApplyFlags.Click();
    EXPECT_EQ(Value(*seen, "SOUNDVOLUME"), "40");
    EXPECT_EQ(Value(*seen, "SOUNDFLAGS"), "1");

    panel.BNDeleteSounds.Click();
    EXPECT_EQ(applies, 3);
    EXPECT_EQ(Code(*seen, "SOUND"), 3);
    EXPECT_EQ(Code(*seen, "SOUNDVOLUME"), 3);
    EXPECT_EQ(Code(*seen, "CLASSNAME"), 0);
    EXPECT_EQ(panel.EDSound.Text(), "");
    EXPECT_EQ(panel.TBPan.Position(), 0);
    EXPECT_EQ(panel.LBLPan.Caption(), "0");
    EXPECT_FALSE(panel.CLBFlags.Checked(0));
}

TEST_F(ThingsForm, ScriptsDeleteAllEmptiesTheBox)
{
    Load(1, {{"*SCRIPT", "Door"}, {"CODEXPTYPE3", "int"}, {"*FOLEY", "stone"}});
    EXPECT_EQ(panel.EDScript.Text(), "Door");
    panel.BNDeleteScripts.Click();
    EXPECT_EQ(panel.EDScript.Text(), "");
    EXPECT_EQ(panel.LVPairs.Count(), 1);
    EXPECT_EQ(panel.EDFoley.Text(), "stone");
    EXPECT_EQ(applies, 1);
}

TEST_F(ThingsForm, RowClickKeyChooserApplyAndDeleteKey)
{
    Load(1, {{"LIGHT", "300"}, {"MYKEY", "v"}});
    panel.LVPairs.SetSelected(Row("LIGHT"));
    panel.LVPairsClick(&panel.LVPairs);
    EXPECT_EQ(panel.CBKeys.Item(panel.CBKeys.ItemIndex()), "LIGHT");
    EXPECT_EQ(panel.EDValue.Text(), "300");
    panel.EDValue.SetText("400");
    panel.BNApplyKey.Click();
    EXPECT_EQ(Value(*seen, "LIGHT"), "400");
    EXPECT_EQ(Mark("LIGHT"), "M");

    panel.LVPairs.SetSelected(Row("MYKEY"));
    panel.LVPairsClick(&panel.LVPairs);
    EXPECT_EQ(panel.CBKeys.ItemIndex(), -1);
    EXPECT_EQ(panel.EDValue.Text(), "");
    panel.BNApplyKey.Click();  // no key chosen: nothing
    EXPECT_EQ(applies, 1);
    panel.BNDeleteKey.Click();
    EXPECT_EQ(applies, 2);
    EXPECT_EQ(Code(*seen, "MYKEY"), 3);
    EXPECT_EQ(Row("MYKEY"), -1);
}

TEST_F(ThingsForm, TreeShowsTheModelAndReportsLeavesOnly)
{
    BuildTree();
    TTreeNode* root = panel.TVTemplates.GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), "All Placeable Templates");
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(root->ImageIndex(), 2);
    TTreeNode* weapons = ViewNode("Weapons, Melee");
    ASSERT_NE(weapons, nullptr);
    EXPECT_EQ(weapons->ImageIndex(), 1);
    EXPECT_EQ(weapons->Item(0)->Text(), "Blades");
    EXPECT_EQ(weapons->Item(0)->Item(0)->Text(), "Axe");

    // A category is no template: neither the selection nor a double-click reports it.
    panel.TVTemplates.Select(weapons);
    panel.TVTemplatesDblClick();
    EXPECT_EQ(doubleClicks, 0);
    panel.BNApplyTemplate.Click();
    EXPECT_EQ(applies, 0);

    panel.TVTemplates.Select(ViewNode("Sword"));
    EXPECT_EQ(panel.tree.SelectedTemplate(), "Sword");
    panel.TVTemplatesDblClick();
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(seenTemplate, "Sword");
    Load(1, {});
    panel.TVTemplates.Select(ViewNode("Axe"));
    panel.BNApplyTemplate.Click();
    EXPECT_EQ(Value(*seen, "TEMPLATE"), "Axe");
}

TEST_F(ThingsForm, SearchStepsThroughTheMatchesInTheView)
{
    BuildTree();
    panel.EDSearch.SetText("Sw");
    panel.EDSearchEnter();
    ASSERT_NE(panel.TVTemplates.Selected(), nullptr);
    EXPECT_EQ(panel.TVTemplates.Selected()->Text(), "Swamp");
    panel.EDSearchEnter();
    EXPECT_EQ(panel.TVTemplates.Selected()->Text(), "Sword");
    panel.EDSearchEnter();
    EXPECT_EQ(panel.TVTemplates.Selected()->Text(), "Swamp");
    panel.EDSearch.SetText("Zz");
    panel.EDSearchEnter();
    EXPECT_EQ(panel.TVTemplates.Selected()->Text(), "Swamp");
}

TEST_F(ThingsForm, TreeMenuTogglesSubCategoriesAndAsksForARebuild)
{
    BuildTree();
    panel.MIExpandAll->Click();
    EXPECT_TRUE(ViewNode("Blades")->Expanded());
    panel.MICollapseAll->Click();
    EXPECT_TRUE(panel.TVTemplates.GetFirstNode()->Expanded());
    EXPECT_FALSE(ViewNode("global.zul")->Expanded());
    panel.MISubCategories->Click();
    EXPECT_FALSE(panel.MISubCategories->Checked());
    EXPECT_FALSE(panel.tree.subCategories);
    EXPECT_EQ(fileChanges, 1);
    BuildTree();  // the host builds again: leaves now straight under their category
    EXPECT_EQ(ViewNode("Weapons, Melee")->Item(0)->Text(), "Axe");
}

TEST_F(ThingsForm, TemplateFileButtonsFollowTheList)
{
    TemplateFilesInfo none = {};
    panel.SetTemplateFilesInfo(none);
    EXPECT_TRUE(panel.BNAddFile.Enabled());
    EXPECT_FALSE(panel.BNRemoveFile.Enabled());

    hooks.openAnswers = {"C:\\Game\\Templates\\GLOBAL.ZUL", "C:\\Game\\Templates\\Brightwick.zul",
                         "C:\\Game\\Templates\\a.zul", "C:\\Game\\Templates\\b.zul"};
    for (int i = 0; i < 4; i++)
        panel.BNAddFile.Click();
    EXPECT_EQ(hooks.fileDialogs[0].title, "Pick a Template File");
    EXPECT_EQ(hooks.fileDialogs[0].initialDir, "C:\\Game\\Templates");
    EXPECT_EQ(fileChanges, 2);
    ASSERT_EQ(panel.LBFiles.Count(), 2);
    EXPECT_EQ(panel.LBFiles.ItemIndex(), 1);
    EXPECT_FALSE(panel.BNDownFile.Enabled());
    EXPECT_TRUE(panel.BNUpFile.Enabled());
    panel.BNUpFile.Click();
    EXPECT_EQ(seenFiles, (std::vector<std::string>{"b.zul", "a.zul"}));
    EXPECT_EQ(panel.LBFiles.ItemIndex(), 0);
    EXPECT_FALSE(panel.BNUpFile.Enabled());
    panel.BNRemoveFile.Click();
    EXPECT_EQ(seenFiles, (std::vector<std::string>{"a.zul"}));
    EXPECT_EQ(fileChanges, 4);

    for (int i = 0; i < 14; i++)
        hooks.openAnswers.push_back("C:\\T\\f" + std::to_string(i) + ".zul");
    for (int i = 0; i < 14; i++)
        panel.BNAddFile.Click();
    EXPECT_EQ(panel.LBFiles.Count(), 15);
    EXPECT_FALSE(panel.BNAddFile.Enabled());
    panel.BNRemoveFile.Click();
    EXPECT_TRUE(panel.BNAddFile.Enabled());
}

TEST_F(ThingsForm, EnterActsOnReleaseOnlyAfterThePanelSawThePress)
{
    ShowWindow(host, SW_SHOW);
    panel.Show();
    Load(1, {});
    panel.EDOriginX.SetText("5");
    panel.EDOriginX.SetFocus();
    ASSERT_EQ(GetFocus(), panel.EDOriginX.Handle());

    // The release of an Enter that was pressed elsewhere (closing a message box) does nothing.
    Key(panel.EDOriginX.Handle(), WM_KEYUP, VK_RETURN);
    EXPECT_EQ(applies, 0);

    Key(panel.EDOriginX.Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(applies, 0);  // nothing on the press
    Key(panel.EDOriginX.Handle(), WM_KEYUP, VK_RETURN);
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(Value(*seen, "ORIGIN"), "5 0 0");

    // The focused yaw button runs itself.
    panel.BNYaw[2].SetFocus();
    Key(panel.BNYaw[2].Handle(), WM_KEYDOWN, VK_RETURN);
    Key(panel.BNYaw[2].Handle(), WM_KEYUP, VK_RETURN);
    EXPECT_EQ(Value(*seen, "ANGLES"), "0 90 0");
}

TEST_F(ThingsForm, EnterInTheSearchBoxSearchesAndTabMovesOnRelease)
{
    ShowWindow(host, SW_SHOW);
    panel.Show();
    BuildTree();
    panel.EDSearch.SetText("Ax");
    panel.EDSearch.SetFocus();
    Key(panel.EDSearch.Handle(), WM_KEYDOWN, VK_RETURN);
    ASSERT_NE(panel.TVTemplates.Selected(), nullptr);
    EXPECT_EQ(panel.TVTemplates.Selected()->Text(), "Axe");

    panel.EDSearch.SetFocus();
    Key(panel.EDSearch.Handle(), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), panel.EDSearch.Handle());
    Key(panel.EDSearch.Handle(), WM_KEYUP, VK_TAB);
    EXPECT_NE(GetFocus(), panel.EDSearch.Handle());
}

TEST_F(ThingsForm, PositionReportsResizeAndMovesOncePositioned)
{
    static std::vector<RECT> calls;
    calls.clear();
    panel.onPosition = [](int l, int t, int w, int h) { calls.push_back({l, t, w, h}); };
    panel.Position(0, 0, 500, 600);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().right, 500);  // the width
    calls.clear();
    panel.Position(10, 10, 510, 610);
    EXPECT_TRUE(calls.empty());  // a move before the first positioning is not reported
    panel.positioned = true;
    panel.Position(20, 10, 520, 610);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().left, 20);
}

// A SOUND key gives the preview player the first file found; whether the player can then open
// it depends on the machine's audio, so only a missing file is held to a disabled player.
TEST_F(ThingsForm, SoundKeyPicksThePreviewFileInFolderOrder)
{
    fixtures::WorkFolder work(fixtures::TestFolderName());
    const std::string& game = work.Path();
    ASSERT_TRUE(PutBell(game + "\\Sounds\\Music"));
    ASSERT_TRUE(PutBell(game + "\\Sounds\\Actors"));
    panel.SetBaseDir(game);

    Load(1, {{"SOUND", "bell.wav"}});
    EXPECT_EQ(panel.soundPreview, game + "\\Sounds\\Actors\\bell.wav");
    EXPECT_EQ(panel.MPSound.FileName, panel.soundPreview);
    EXPECT_EQ(panel.EDSound.Text(), "bell.wav");
    panel.MPSound.Close();

    // "Apply Sound" leaves the player alone; a missing file closes and disables it.
    panel.EDSound.SetText("gone.wav");
    panel.BNApplySound.Click();
    EXPECT_EQ(panel.MPSound.FileName, game + "\\Sounds\\Actors\\bell.wav");
    Load(1, {{"SOUND", "gone.wav"}});
    EXPECT_EQ(panel.soundPreview, "");
    EXPECT_FALSE(panel.MPSound.PlayerEnabled());
    EXPECT_FALSE(panel.MPSound.IsOpen());
}

// A SOUND key with an empty value names no file: the player of the thing before is closed and
// disabled; a thing without a SOUND key leaves the player as it was.
TEST_F(ThingsForm, EmptySoundKeyClosesThePreviewPlayer)
{
    fixtures::WorkFolder work(fixtures::TestFolderName());
    const std::string& game = work.Path();
    ASSERT_TRUE(PutBell(game + "\\Sounds\\Actors"));
    panel.SetBaseDir(game);

    const std::string bell = game + "\\Sounds\\Actors\\bell.wav";
    Load(1, {{"SOUND", "bell.wav"}});
    ASSERT_EQ(panel.soundPreview, bell);
    Load(1, {{"ORIGIN", "1 2 3"}});
    EXPECT_EQ(panel.soundPreview, bell);
    EXPECT_EQ(panel.MPSound.FileName, bell);

    // Whether or not this machine could open the sound, the player counts as enabled here.
    panel.MPSound.SetPlayerEnabled(true);
    Load(1, {{"SOUND", ""}});
    EXPECT_EQ(panel.soundPreview, "");
    EXPECT_FALSE(panel.MPSound.PlayerEnabled());
    EXPECT_FALSE(panel.MPSound.IsOpen());
}

// The orientation up-downs apply on every step; the other up-downs only change their box.
TEST_F(ThingsForm, OrientationArrowsApplyOtherArrowsDoNot)
{
    Load(1, {});
    panel.UDYaw.SetPosition(30);
    SendMessageA(panel.GBOrientation.Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30),
                 (LPARAM)panel.UDYaw.Handle());
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(Value(*seen, "ANGLES"), "0 30 0");
    panel.UDIntensity.SetPosition(20);
    SendMessageA(panel.GBIntensity.Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20),
                 (LPARAM)panel.UDIntensity.Handle());
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(panel.EDIntensity.Text(), "20");
}

// While a question or a dialog of the panel waits, the host's messages go on and may reach
// _Destroy: the panel then counts as busy, so it is only retired, not deleted under the handler.
namespace {
struct BusyWatch : ScriptedHooks {
    const TThingsPanel* watched = nullptr;
    std::vector<bool> busyAtWait;
    int ShowMessageBox(const TMessageBoxRequest& r) override
    {
        busyAtWait.push_back(watched->Busy());
        return ScriptedHooks::ShowMessageBox(r);
    }
    bool OpenDialog(TFileDialogRequest& r) override
    {
        busyAtWait.push_back(watched->Busy());
        return ScriptedHooks::OpenDialog(r);
    }
    bool ColorDialog(TColorDialogRequest& r) override
    {
        busyAtWait.push_back(watched->Busy());
        return ScriptedHooks::ColorDialog(r);
    }
};
}  // namespace

TEST_F(ThingsForm, ThePanelIsBusyWhileItsQuestionsAndDialogsWait)
{
    BusyWatch watch;
    watch.watched = &panel;
    Load(2, {{"ORIGIN", "1 1 1"}});
    watch.messageAnswers = {IDNO};
    panel.BNApplyOrigin.Click();
    panel.BNPickColor.Click();
    panel.BNPickScript.Click();
    EXPECT_EQ(watch.busyAtWait, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(panel.Busy());
}

namespace {
void DestroyFromCallback() { things_Destroy(); }
}  // namespace

// The panel hooks the host's message loop only while it lives: a destroyed panel, also one
// destroyed from inside its own callback, leaves no hook behind, and the next panel hooks again.
TEST(ThingsExports, TheHostLoopHookLivesFromCreateToDestroy)
{
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_FALSE(Application().HostMessageLoopHooked());
    for (int round = 0; round < 2; round++) {
        SCOPED_TRACE(round);
        HWND panel = things_CreateAsChild(host);
        ASSERT_NE(panel, nullptr);
        EXPECT_TRUE(Application().HostMessageLoopHooked());
        things_Destroy();
        EXPECT_FALSE(Application().HostMessageLoopHooked());
        EXPECT_FALSE(IsWindow(panel));
    }
    ASSERT_NE(things_CreateAsChild(host), nullptr);
    things_RegisterApplyCallback(DestroyFromCallback);
    std::unique_ptr<ThingsInfo> info(new ThingsInfo());
    info->selectedCount = 1;
    info->pairCount = 1;
    std::strcpy(info->key[0], "LIGHT");
    std::strcpy(info->value[0], "5");
    things_SetThingsInfo(info.get());
    ASSERT_TRUE(thingsPanel);
    thingsPanel->BNApplyLight.Click();
    EXPECT_EQ(thingsPanel, nullptr);
    EXPECT_FALSE(Application().HostMessageLoopHooked());
    things_Unload();
    DestroyWindow(host);
}
