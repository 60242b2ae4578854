// The scene editor's block, scene list and actions, tested without its window.
#include <gtest/gtest.h>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>
#include "SceneEditor.h"

namespace {

void SetName(char* field, const char* name) { std::strncpy(field, name, 32); }

std::unique_ptr<ScenesInfo> Block(std::initializer_list<const char*> names)
{
    std::unique_ptr<ScenesInfo> b(new ScenesInfo());
    SetName(b->sceneListName, "chron1");
    for (const char* n : names) {
        SceneInfo& s = b->scene[b->sceneCount++];
        SetName(s.name, n);
        SetName(s.skyModel, "sky.qev");
        SetName(s.skyAnim, "sky.jup");
        s.layerMask = 0x5;
        s.musicVolume = 40;
    }
    SetName(b->staticScene.name, "__STATIC SCENE__");
    b->staticScene.layerMask = 0xF0;
    return b;
}

class SceneEditorTest : public testing::Test {
protected:
    TSceneEditor editor;
    int saves = 0, renames = 0;
    std::vector<std::string> asked, refused;
    TSceneAnswer answer = saYes;

    void SetUp() override
    {
        editor.onSave = [this] { saves++; };
        editor.onRename = [this] { renames++; };
        editor.ask = [this](const char* text, const char* caption) {
            asked.push_back(std::string(caption) + " " + text);
            return answer;
        };
        editor.refuse = [this](const char* text, const char* caption) {
            refused.push_back(std::string(caption) + " " + text);
        };
        editor.describe = [](const std::string& scene, std::string& s, std::string& l) {
            s = "short of " + scene;
            l = "long of " + scene;
        };
    }
    int Entry(const std::string& name)
    {
        for (size_t i = 0; i < editor.Entries().size(); i++)
            if (editor.Entries()[i] == name)
                return (int)i;
        return -1;
    }
    ScenesInfo Out()
    {
        ScenesInfo out;
        editor.GetScenes(out);
        return out;
    }
};

}  // namespace

TEST_F(SceneEditorTest, SetThenGetGivesTheSameBytes)
{
    auto b = Block({"Cave", "Bridge"});
    unsigned char* raw = (unsigned char*)b.get();
    for (size_t i = 0; i < sizeof(ScenesInfo); i++)  // every byte, padding of names included
        if (i % 7 == 3)
            raw[i] ^= 0x5A;
    b->sceneCount = 2;
    editor.SetScenes(*b);
    ScenesInfo out = Out();
    EXPECT_EQ(std::memcmp(&out, b.get(), sizeof out), 0);
}

TEST_F(SceneEditorTest, SceneListHoldsTheStaticSceneAndSortedNames)
{
    auto b = Block({"Hall", "bridge", "Cave"});
    editor.SetScenes(*b);
    EXPECT_EQ(editor.Entries(), (std::vector<std::string>{"__STATIC SCENE__", "bridge", "Cave", "Hall"}));
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_TRUE(editor.StaticSelected());
    EXPECT_EQ(editor.controls.shortDesc, "STATIC SCENE");
    EXPECT_EQ(editor.controls.layerTicks, 0xF0u);
    EXPECT_EQ(editor.SceneListName(), "chron1");
    EXPECT_FALSE(editor.Modified());
}

TEST_F(SceneEditorTest, SceneCountAboveSixteenIsClamped)
{
    auto b = Block({"A"});
    b->sceneCount = 1000;
    editor.SetScenes(*b);
    EXPECT_EQ(editor.SceneCount(), 16u);
    EXPECT_EQ(editor.Entries().size(), 17u);
    EXPECT_EQ(Out().sceneCount, 16u);
}

TEST_F(SceneEditorTest, NamesThatFillTheirFieldAreReadWithinIt)
{
    auto b = Block({});
    std::memset(b->scene[0].name, 'N', 32);
    b->scene[0].layerMask = 0x58585858;  // the bytes after the name are not a NUL
    b->sceneCount = 1;
    editor.SetScenes(*b);
    EXPECT_GE(Entry(std::string(32, 'N')), 0);
    EXPECT_EQ(editor.FindScene(std::string(32, 'N')), 0);
}

TEST_F(SceneEditorTest, LoadingAStoredSceneFillsTheControls)
{
    auto b = Block({"Cave"});
    SceneInfo& s = b->scene[0];
    s.fogR = 12.7f;
    s.fogG = 300.0f;
    s.fogB = -1;
    s.fogDist1 = 0.1f;
    s.fogMode = 7;
    s.eaxPreset = 8;
    s.zClipDist = 1e9f;
    SetName(s.music, "theme.mp3");
    editor.SetScenes(*b);
    ASSERT_TRUE(editor.Select(Entry("Cave")));
    EXPECT_FALSE(editor.StaticSelected());
    const TSceneControls& c = editor.controls;
    EXPECT_EQ(c.shortDesc, "short of Cave");
    EXPECT_EQ(c.longDesc, "long of Cave");
    EXPECT_EQ(c.fogColour[0], 12);
    EXPECT_EQ(c.fogColour[1], 255);
    EXPECT_EQ(c.fogColour[2], 0);
    EXPECT_EQ(c.fogDist1, "0.100000001490116");
    EXPECT_EQ(c.fogMode, -1);
    EXPECT_EQ(c.eaxRow, 8);
    EXPECT_EQ(c.zClip, 32767);
    EXPECT_EQ(c.music, "theme.mp3");
    EXPECT_EQ(c.musicVolume, 40);
    EXPECT_EQ(c.layerTicks, 0x5u);
}

TEST_F(SceneEditorTest, FogColourSavesWithoutItsFraction)
{
    auto b = Block({"Cave"});
    b->scene[0].fogR = 12.7f;
    editor.SetScenes(*b);
    editor.Select(Entry("Cave"));
    editor.MarkModified();
    EXPECT_TRUE(editor.Save());
    EXPECT_EQ(Out().scene[0].fogR, 12.0f);
    EXPECT_EQ(saves, 1);
}

TEST_F(SceneEditorTest, SaveWithoutChangesStillCallsBack)
{
    auto b = Block({"Cave"});
    editor.SetScenes(*b);
    editor.Select(Entry("Cave"));
    EXPECT_FALSE(editor.Save());
    EXPECT_EQ(saves, 1);
    ScenesInfo out = Out();
    EXPECT_EQ(std::memcmp(&out, b.get(), sizeof out), 0);
}

TEST_F(SceneEditorTest, SavingTheStaticSceneKeepsItsLayersAndTheCount)
{
    auto b = Block({"Cave"});
    editor.SetScenes(*b);
    ASSERT_TRUE(editor.StaticSelected());
    editor.controls.layerTicks = 0x1;
    editor.controls.music = std::string(40, 'm');  // fills the field without a NUL
    editor.MarkModified();
    EXPECT_TRUE(editor.Save());
    ScenesInfo out = Out();
    EXPECT_EQ(out.staticScene.layerMask, 0xF0u);
    EXPECT_EQ(out.sceneCount, 1u);
    EXPECT_EQ(std::string(out.staticScene.music, 32), std::string(32, 'm'));
    EXPECT_EQ(out.staticScene.musicVolume, 0);
}

TEST_F(SceneEditorTest, DeletingTheSecondOfThreeMovesTheThirdDown)
{
    auto b = Block({"A", "B", "C"});
    editor.SetScenes(*b);
    editor.Select(Entry("B"));
    editor.Delete();
    ScenesInfo out = Out();
    EXPECT_EQ(out.sceneCount, 2u);
    EXPECT_STREQ(out.scene[1].name, "C");
    EXPECT_EQ(out.scene[2].name[0], 0);  // the freed place carries no scene
    EXPECT_EQ(Entry("B"), -1);
    EXPECT_EQ(saves, 1);
    // The static scene is never deleted.
    editor.Select(Entry("__STATIC SCENE__"));
    editor.Delete();
    EXPECT_EQ(Out().sceneCount, 2u);
    EXPECT_EQ(saves, 2);
}

TEST_F(SceneEditorTest, OtherStaticNameIsAnOrdinarySceneThatCannotBeFound)
{
    auto b = Block({"A"});
    SetName(b->staticScene.name, "Outdoors");
    editor.SetScenes(*b);
    ASSERT_TRUE(editor.Select(Entry("Outdoors")));
    EXPECT_FALSE(editor.StaticSelected());
    EXPECT_EQ(editor.StatusText(), "Couldn't find scene index!");
    editor.Delete();
    EXPECT_EQ(Out().sceneCount, 1u);
}

TEST_F(SceneEditorTest, NewSceneIsStoredOnlyWhenSaved)
{
    auto b = Block({"Cave"});
    editor.SetScenes(*b);
    ASSERT_TRUE(editor.BeforeNewScene());
    ASSERT_TRUE(editor.AddNewScene("Bridge"));
    EXPECT_TRUE(editor.NewUnsaved());
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(editor.Entries()[editor.Selected()], "Bridge");
    EXPECT_EQ(editor.controls.shortDesc, "short of Bridge");
    EXPECT_EQ(Out().sceneCount, 1u);
    editor.controls.layerTicks = 0x3;
    EXPECT_TRUE(editor.Save());
    ScenesInfo out = Out();
    EXPECT_EQ(out.sceneCount, 2u);
    EXPECT_STREQ(out.scene[1].name, "Bridge");
    EXPECT_EQ(out.scene[1].layerMask, 0x3u);
    EXPECT_FALSE(editor.NewUnsaved());
}

TEST_F(SceneEditorTest, NewSceneRefusals)
{
    auto b = Block({"Cave"});
    editor.SetScenes(*b);
    EXPECT_FALSE(editor.AddNewScene(""));
    EXPECT_FALSE(editor.AddNewScene("CAVE"));
    EXPECT_FALSE(editor.AddNewScene(std::string(33, 'x')));
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_EQ(refused[0], "Cannot create New Scene... Null scene name!");
    EXPECT_EQ(refused[1], "Cannot create New Scene... A scene with this name already exists!");
    EXPECT_EQ(editor.Entries().size(), 2u);
    EXPECT_TRUE(editor.AddNewScene(std::string(32, 'x')));  // fills its field exactly
}

TEST_F(SceneEditorTest, SeventeenthSceneIsRefusedAndStaysNew)
{
    auto b = Block({});
    for (int i = 0; i < 16; i++) {
        SetName(b->scene[i].name, ("S" + std::to_string(10 + i)).c_str());
    }
    b->sceneCount = 16;
    editor.SetScenes(*b);
    ASSERT_TRUE(editor.AddNewScene("Extra"));
    EXPECT_FALSE(editor.Save());
    EXPECT_EQ(refused.size(), 1u);
    EXPECT_EQ(Out().sceneCount, 16u);
    EXPECT_TRUE(editor.NewUnsaved());
    EXPECT_TRUE(editor.Modified());
    // Leaving it: Yes tries to save, is refused, and so keeps the scene in hand.
    answer = saYes;
    EXPECT_FALSE(editor.Select(0));
    EXPECT_EQ(editor.Entries()[editor.Selected()], "Extra");
}

TEST_F(SceneEditorTest, ModifiedPromptAnswers)
{
    auto b = Block({"A", "B"});
    editor.SetScenes(*b);
    editor.Select(Entry("A"));
    editor.controls.musicVolume = 77;
    editor.MarkModified();

    answer = saCancel;
    EXPECT_FALSE(editor.Select(Entry("B")));
    EXPECT_EQ(editor.Entries()[editor.Selected()], "A");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Warning: The current scene has been modified, do you want to save it ?");

    answer = saYes;  // saves as Save does, without the host's save callback
    EXPECT_TRUE(editor.Select(Entry("B")));
    EXPECT_EQ(Out().scene[0].musicVolume, 77);
    EXPECT_EQ(saves, 0);

    editor.MarkModified();
    editor.controls.musicVolume = 5;
    answer = saNo;
    EXPECT_TRUE(editor.Select(Entry("A")));
    EXPECT_EQ(Out().scene[1].musicVolume, 40);
    EXPECT_EQ(saves, 0);
}

TEST_F(SceneEditorTest, NoForANewSceneRemovesItsEntry)
{
    auto b = Block({"Cave"});
    editor.SetScenes(*b);
    editor.AddNewScene("Bridge");
    answer = saNo;
    EXPECT_TRUE(editor.Select(Entry("Cave")));
    EXPECT_EQ(Entry("Bridge"), -1);
    EXPECT_EQ(editor.Entries()[editor.Selected()], "Cave");
    EXPECT_EQ(Out().sceneCount, 1u);
}

TEST_F(SceneEditorTest, SetScenesClearsTheNewFlagSoDeleteReachesTheBlock)
{
    auto b = Block({"Cave"});
    editor.SetScenes(*b);
    editor.AddNewScene("Bridge");
    editor.Save();
    ScenesInfo stored = Out();
    editor.SetScenes(stored);  // the host hands the saved block back
    EXPECT_FALSE(editor.NewUnsaved());
    editor.Select(Entry("Bridge"));
    editor.Delete();
    EXPECT_EQ(Out().sceneCount, 1u);
}

TEST_F(SceneEditorTest, LayersAreReadWithinTheirFieldsAndRenamedToThirtyOne)
{
    LayersInfo in = {}, out;
    for (int i = 0; i < 32; i++)
        SetName(in.layerName[i], ("Layer" + std::to_string(i)).c_str());
    std::memset(in.layerName[3], 'L', 32);
    editor.SetLayers(in);
    EXPECT_EQ(editor.Layer(3), std::string(32, 'L'));
    EXPECT_TRUE(editor.RenameLayer(5, std::string(50, 'r')));
    EXPECT_EQ(renames, 1);
    EXPECT_FALSE(editor.RenameLayer(32, "x"));
    EXPECT_FALSE(editor.RenameLayer(-1, "x"));
    std::memset(&out, 0x44, sizeof out);
    editor.GetLayers(out);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(out.host[i], 0x44);
    EXPECT_EQ(std::string(out.layerName[5]), std::string(31, 'r'));
    EXPECT_EQ(std::string(out.layerName[3]), std::string(31, 'L'));
    EXPECT_STREQ(out.layerName[31], "Layer31");
}

TEST_F(SceneEditorTest, ChoosingASceneListNamesTheBlock)
{
    auto b = Block({"Cave"});
    editor.SetScenes(*b);
    editor.ChooseSceneList("C:\\Game\\Chronicles\\act2.rix");
    EXPECT_EQ(editor.SceneListName(), "act2");
    EXPECT_STREQ(Out().sceneListName, "act2");
    EXPECT_EQ(Entry("Cave"), 1);  // the scene list is not refilled
}

TEST(SceneControls, ResetKeepsTheSkyNames)
{
    TSceneControls c;
    c.skyModel = "night.qev";
    c.music = "x";
    c.eaxRow = 5;
    SceneControls_Reset(c);
    EXPECT_EQ(c.skyModel, "night.qev");
    EXPECT_EQ(c.skyAnim, "sky.jup");
    EXPECT_EQ(c.music, "");
    EXPECT_EQ(c.eaxRow, 0);
    EXPECT_EQ(c.fogDist1, "0");
    EXPECT_STREQ(SceneEaxPresets[25], "PSYCHOTIC");
}

// NaN, infinities and out-of-range numbers from the host are held inside the controls' ranges,
// and distances typed beyond what a float holds, or not finite, reach the host as 0.
TEST_F(SceneEditorTest, HostileNumbersStayInRangeAndOnlyFiniteDistancesGoBack)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto b = Block({"Cave"});
    SceneInfo& s = b->scene[0];
    s.fogR = nan;
    s.fogG = inf;
    s.fogB = -inf;
    s.zClipDist = nan;
    s.musicVolume = INT32_MIN;
    s.ambientVolume = INT32_MAX;
    s.eaxPreset = INT32_MIN;
    s.fogMode = -1;
    s.fogDist1 = nan;
    s.fogDist2 = -inf;
    editor.SetScenes(*b);
    ASSERT_TRUE(editor.Select(Entry("Cave")));
    const TSceneControls& c = editor.controls;
    EXPECT_EQ(c.fogColour[0], 0);
    EXPECT_EQ(c.fogColour[1], 255);
    EXPECT_EQ(c.fogColour[2], 0);
    EXPECT_EQ(c.zClip, 0);
    EXPECT_EQ(c.musicVolume, 0);
    EXPECT_EQ(c.ambientVolume, 100);
    EXPECT_EQ(c.eaxRow, -1);
    EXPECT_EQ(c.fogMode, -1);

    const char* typed[][2] = {{"1e39", "0"}, {"-1e300", "0"}, {"nan", "0"}, {"inf", "0"},
                              {"12.5", "12.5"}, {"-3e38", "-3e38"}};
    for (const auto& t : typed) {
        editor.controls.fogDist1 = t[0];
        editor.controls.fogDist2 = t[0];
        editor.MarkModified();
        ASSERT_TRUE(editor.Save());
        const float expected = std::strtof(t[1], nullptr);
        EXPECT_EQ(Out().scene[0].fogDist1, expected) << t[0];
        EXPECT_EQ(Out().scene[0].fogDist2, expected) << t[0];
    }
}
