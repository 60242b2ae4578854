// The page values and the actions of the things panel, tested without its window.
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <set>
#include "ThingsEdit.h"
#include "ThingsPairs.h"

namespace {

class ThingsEditorTest : public testing::Test {
protected:
    TThingsEditor editor;
    int applies = 0;
    std::vector<std::string> questions;
    bool answer = true;

    void SetUp() override
    {
        editor.onApply = [this] { applies++; };
        editor.askProceed = [this](const char* text) {
            questions.push_back(text);
            return answer;
        };
    }
    void Load(uint32_t selected, std::initializer_list<std::pair<const char*, const char*>> pairs)
    {
        std::unique_ptr<ThingsInfo> info(new ThingsInfo());
        info->selectedCount = selected;
        for (auto& p : pairs) {
            std::strcpy(info->key[info->pairCount], p.first);
            std::strcpy(info->value[info->pairCount], p.second);
            info->pairCount++;
        }
        editor.pairs.Load(*info);
    }
    std::string Value(const char* key)
    {
        int i = editor.pairs.Find(key);
        return i < 0 ? "<none>" : editor.pairs.Row(i).value;
    }
};

}  // namespace

TEST_F(ThingsEditorTest, SingleSelectionNeverAsks)
{
    Load(1, {});
    TThingPages p;
    p.origin[0] = "5";
    EXPECT_TRUE(editor.ApplyOrigin(p));
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(Value("ORIGIN"), "5 0 0");
    EXPECT_EQ(applies, 1);
}

TEST_F(ThingsEditorTest, MultipleSelectionAsksAndNoLeavesThePairs)
{
    Load(2, {{"ORIGIN", "1 1 1"}});
    answer = false;
    TThingPages p;
    EXPECT_FALSE(editor.ApplyOrigin(p));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_STREQ(questions[0].c_str(), "You are about to apply this origin to more than one thing. Proceed ?");
    EXPECT_EQ(Value("ORIGIN"), "1 1 1");
    EXPECT_EQ(applies, 0);

    editor.confirmMultiple = false;
    EXPECT_TRUE(editor.ApplyOrigin(p));
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(Value("ORIGIN"), "0 0 0");
}

TEST_F(ThingsEditorTest, OrientationReplacesAngleWithOneCallbackAfterTheRemoval)
{
    Load(1, {{"ANGLE", "90"}});
    int rowsSeenByHost = -1;
    editor.onApply = [&] {
        applies++;
        rowsSeenByHost = editor.pairs.Find("ANGLE");
    };
    TThingPages p;
    p.angles[1] = "45";
    EXPECT_TRUE(editor.ApplyOrientation(p));
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(rowsSeenByHost, -1);  // the host fetched a record without ANGLE
    std::unique_ptr<ThingsInfo> out(new ThingsInfo());
    editor.pairs.Store(*out, "");
    EXPECT_EQ(ThingsPairs(*out), (std::vector<std::string>{"ANGLES=0 45 0/2", "ANGLE=/3"}));
}

TEST_F(ThingsEditorTest, AllLightChangesMakeOneCallback)
{
    Load(2, {});
    TThingPages p;
    p.colour[0] = "255";
    p.intensity = "300";
    p.falloff = "2";
    p.editorOnly = true;
    p.style = 4;
    EXPECT_TRUE(editor.ApplyAllLightChanges(p));
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(questions.size(), 6u);  // its own question, then one per key
    EXPECT_EQ(Value("COLOR"), "255 0 0");
    EXPECT_EQ(Value("LIGHT"), "300");
    EXPECT_EQ(Value("FALLOFF"), "2");
    EXPECT_EQ(Value("EDITORONLY"), "1");
    EXPECT_EQ(Value("STYLE"), "4");
    EXPECT_TRUE(editor.autoApply);
}

TEST_F(ThingsEditorTest, AllLightChangesStillAnnounceWhenTheStyleIsRefused)
{
    Load(2, {});
    TThingPages p;
    editor.askProceed = [&](const char* text) {
        questions.push_back(text);
        return std::strstr(text, "light style") == nullptr;
    };
    EXPECT_TRUE(editor.ApplyAllLightChanges(p));
    EXPECT_EQ(Value("STYLE"), "<none>");
    EXPECT_EQ(Value("COLOR"), "0 0 0");
    EXPECT_EQ(applies, 1);
}

TEST_F(ThingsEditorTest, AllLightChangesAnswerNoFirstChangesNothing)
{
    Load(2, {});
    answer = false;
    EXPECT_FALSE(editor.ApplyAllLightChanges(TThingPages()));
    EXPECT_EQ(editor.pairs.Count(), 0);
    EXPECT_EQ(applies, 0);
}

TEST_F(ThingsEditorTest, DistsAreCorrected)
{
    Load(1, {});
    TThingPages p;
    p.minDist = "-5";
    p.maxDist = "-2";
    EXPECT_TRUE(editor.ApplyDists(p));
    EXPECT_EQ(Value("SOUNDMINDIST"), "0");
    EXPECT_EQ(Value("SOUNDMAXDIST"), "1");
    EXPECT_EQ(applies, 2);
    p.minDist = "10";
    p.maxDist = "10";
    editor.ApplyDists(p);
    EXPECT_EQ(Value("SOUNDMINDIST"), "10");
    EXPECT_EQ(Value("SOUNDMAXDIST"), "11");
    p.minDist = "0.1";
    p.maxDist = "junk";
    editor.ApplyDists(p);
    EXPECT_EQ(p.minDist, "0.100000001490116");
    EXPECT_EQ(p.maxDist, "1.10000002384186");
}

// Infinite, NaN or beyond-float distances would reach the host as "inf" or "nan": they count as 0.
TEST_F(ThingsEditorTest, DistsThatNoFloatHoldsCountAsZero)
{
    Load(1, {});
    const std::string cases[][4] = {{"1e39", "inf", "0", "1"},
                                    {"5", "nan", "5", "6"},
                                    {"-1e300", "3e38", "0", Things_FormatNumber(3e38f)}};  // the nearest float
    for (const auto& c : cases) {
        TThingPages p;
        p.minDist = c[0];
        p.maxDist = c[1];
        EXPECT_TRUE(editor.ApplyDists(p));
        EXPECT_EQ(Value("SOUNDMINDIST"), c[2]) << c[0];
        EXPECT_EQ(Value("SOUNDMAXDIST"), c[3]) << c[1];
    }
}

TEST_F(ThingsEditorTest, DistsRefusedKeepTheCorrectedBoxes)
{
    Load(3, {});
    answer = false;
    TThingPages p;
    p.minDist = "-1";
    p.maxDist = "";
    EXPECT_FALSE(editor.ApplyDists(p));
    EXPECT_EQ(p.minDist, "0");
    EXPECT_EQ(p.maxDist, "1");
    EXPECT_EQ(editor.pairs.Count(), 0);
}

TEST_F(ThingsEditorTest, FlagsStyleAndEditorOnlyTexts)
{
    Load(1, {});
    TThingPages p;
    p.soundFlags = 1;
    editor.ApplyFlags(p);
    EXPECT_EQ(Value("SOUNDFLAGS"), "1");
    p.soundFlags = 0;
    editor.ApplyFlags(p);
    EXPECT_EQ(Value("SOUNDFLAGS"), "0");
    editor.ApplyStyle(p);
    EXPECT_EQ(Value("STYLE"), "-1");
    editor.ApplyEditorOnly(p);
    EXPECT_EQ(Value("EDITORONLY"), "0");
}

TEST_F(ThingsEditorTest, DeleteAllScriptsKeepsFoleyAndAI)
{
    Load(1, {{"*SCRIPT", "door"}, {"CODEXCLASSNAME", "x"}, {"CODEXPTYPE3", "int"},
             {"*FOLEY", "steps"}, {"*AICLASS", "guard"}});
    EXPECT_TRUE(editor.DeleteAllScripts());
    EXPECT_EQ(editor.pairs.Count(), 2);
    EXPECT_EQ(Value("*FOLEY"), "steps");
    EXPECT_EQ(Value("*AICLASS"), "guard");
    EXPECT_EQ(editor.pairs.DeletedKeys().size(), 3u);
    EXPECT_EQ(applies, 1);
    EXPECT_TRUE(editor.DeleteAllScripts());  // nothing left: still announced
    EXPECT_EQ(applies, 2);
}

TEST_F(ThingsEditorTest, DeleteAllSoundsAndDeleteKey)
{
    Load(1, {{"SOUND", "a.wav"}, {"SOUNDVOLUME", "50"}, {"ORIGIN", "0 0 0"}});
    EXPECT_TRUE(editor.DeleteAllSounds());
    EXPECT_EQ(editor.pairs.Count(), 1);
    EXPECT_EQ(applies, 1);
    EXPECT_TRUE(editor.DeleteKey(0));
    EXPECT_EQ(editor.pairs.Count(), 0);
    EXPECT_EQ(applies, 2);
    EXPECT_FALSE(editor.DeleteKey(0));
    EXPECT_EQ(applies, 2);
}

TEST(ThingsNumbers, ThreeIntsStopAtTheFirstUnreadable)
{
    int v[3];
    Things_ReadThreeInts("1 -2 3", v);
    EXPECT_EQ(v[0], 1); EXPECT_EQ(v[1], -2); EXPECT_EQ(v[2], 3);
    Things_ReadThreeInts("4 x 6", v);
    EXPECT_EQ(v[0], 4); EXPECT_EQ(v[1], 0); EXPECT_EQ(v[2], 0);
    Things_ReadThreeInts("", v);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(Things_ReadInt("12", -9), 12);
    EXPECT_EQ(Things_ReadInt("12a", -9), -9);
    EXPECT_EQ(Things_ReadInt("99999999999", -9), -9);
}

TEST(ThingsNumbers, ColourComponentsAreHeldToAByte)
{
    EXPECT_EQ(Things_ColourFromTexts("1", "2", "3"), 1u + 2u * 256 + 3u * 65536);
    EXPECT_EQ(Things_ColourFromTexts("300", "0", "0"), 255u);
    EXPECT_EQ(Things_ColourFromTexts("-4", "256", "x"), 255u * 256);
}

TEST(ThingsPages, KnownKeysFillThePages)
{
    std::unique_ptr<ThingsInfo> info(new ThingsInfo());
    const char* pairs[][2] = {
        {"ANGLES", "10 20 30"}, {"ANGLE", "90"}, {"ORIGIN", "1 2"}, {"COLOR", "9 8 7"},
        {"STYLE", "24"}, {"EDITORONLY", "1"}, {"SOUNDVOLUME", "250"}, {"SOUNDPAN", "-300"},
        {"SOUNDMINDIST", "2.5"}, {"SOUND", "bell.wav"}, {"TEMPLATE", "Sword"}, {"*SCRIPT", "door"},
        {"SOUNDFLAGS", "1"}, {"LIGHT", "300"}, {"UNKNOWN", "x"},
    };
    for (auto& p : pairs) {
        std::strcpy(info->key[info->pairCount], p[0]);
        std::strcpy(info->value[info->pairCount], p[1]);
        info->pairCount++;
    }
    TPairList list;
    list.Load(*info);
    TThingPages pages;
    std::string templateName, sound;
    ThingsPages_Read(list, pages, templateName, sound);
    // ANGLES sorts after ANGLE and wins.
    EXPECT_EQ(pages.angles[0], "10"); EXPECT_EQ(pages.angles[1], "20"); EXPECT_EQ(pages.angles[2], "30");
    EXPECT_EQ(pages.origin[0], "1"); EXPECT_EQ(pages.origin[1], "2"); EXPECT_EQ(pages.origin[2], "0");
    EXPECT_EQ(pages.colour[2], "7");
    EXPECT_EQ(pages.style, -1);
    EXPECT_TRUE(pages.editorOnly);
    EXPECT_EQ(pages.volume, 100);
    EXPECT_EQ(pages.pan, -100);
    EXPECT_EQ(pages.minDist, "2.5");
    EXPECT_EQ(pages.maxDist, "");
    EXPECT_EQ(pages.soundFlags, 1u);
    EXPECT_EQ(pages.intensity, "300");
    EXPECT_EQ(pages.script, "door");
    EXPECT_EQ(templateName, "Sword");
    EXPECT_EQ(sound, "bell.wav");

    ThingsPages_ResetSound(pages);
    EXPECT_EQ(pages.sound, "");
    EXPECT_EQ(pages.volume, 0);
    EXPECT_EQ(pages.script, "door");
}

TEST(ThingsPages, AngleAloneSetsYawOnly)
{
    std::unique_ptr<ThingsInfo> info(new ThingsInfo());
    std::strcpy(info->key[0], "ANGLE");
    std::strcpy(info->value[0], "135");
    info->pairCount = 1;
    TPairList list;
    list.Load(*info);
    TThingPages pages;
    pages.angles[0] = "7";
    std::string t, s;
    ThingsPages_Read(list, pages, t, s);
    EXPECT_EQ(pages.angles[0], "0");
    EXPECT_EQ(pages.angles[1], "135");
}

TEST(ThingsSound, SearchPrefersTheFoldersInOrder)
{
    std::set<std::string> files = {"G\\Sounds\\Music\\bell.wav", "G\\Sounds\\Actors\\bell.wav",
                                   "G\\Sounds\\Placeholder\\hum.wav"};
    auto exists = [&](const std::string& p) { return files.count(p) != 0; };
    EXPECT_EQ(ThingsSound_Find("G\\Sounds", "bell.wav", exists), "G\\Sounds\\Actors\\bell.wav");
    EXPECT_EQ(ThingsSound_Find("G\\Sounds", "hum.wav", exists), "G\\Sounds\\Placeholder\\hum.wav");
    EXPECT_EQ(ThingsSound_Find("G\\Sounds", "none.wav", exists), "");
}

TEST(ThingsVocabulary, KnownKeysIgnoreCase)
{
    EXPECT_TRUE(Things_IsKnownKey("codexpvalue9"));
    EXPECT_TRUE(Things_IsKnownKey("*AICLASS"));
    EXPECT_FALSE(Things_IsKnownKey("CODEXPVALUE10"));
    EXPECT_STREQ(ThingsKeyVocabulary[THINGS_KEY_VOCABULARY - 1], "CODEXPVALUE9");
    EXPECT_STREQ(ThingsLightStyles[23], "Constant - User 7");
}

TEST_F(ThingsEditorTest, TemplateAndKeyApplyOnlyWithAChoice)
{
    Load(2, {});
    TTemplateTree tree;
    tree.BeginAdd("...");
    tree.BeginAdd("f.zul");
    tree.Add("Sword", 20, "[-[none]-]");
    tree.EndAdd("f.zul");
    tree.EndAdd("...");
    EXPECT_FALSE(editor.ApplyTemplate(tree));  // nothing selected: no question either
    tree.Select(tree.Node(tree.Root()).children[0]);  // a file node
    EXPECT_FALSE(editor.ApplyTemplate(tree));
    EXPECT_FALSE(editor.ApplyKey("", "x"));
    EXPECT_TRUE(questions.empty());

    tree.Select(tree.FindTemplate("sword"));
    EXPECT_TRUE(editor.ApplyTemplate(tree));
    EXPECT_EQ(Value("TEMPLATE"), "Sword");
    EXPECT_STREQ(questions.back().c_str(), "You are about to apply this template to more than one thing. Proceed ?");
    EXPECT_TRUE(editor.ApplyKey("TARGETNAME", "gate"));
    EXPECT_EQ(Value("TARGETNAME"), "gate");
    EXPECT_EQ(applies, 2);
}

TEST(ThingsPages, RowClickChoosesOnlyKnownKeys)
{
    std::string key = "old", value = "old";
    EXPECT_TRUE(Things_RowChoice(TPairRow{"soundpan", "-20", pmNew, 2}, key, value));
    EXPECT_EQ(key, "SOUNDPAN");
    EXPECT_EQ(value, "-20");
    EXPECT_FALSE(Things_RowChoice(TPairRow{"MYKEY", "1", pmOriginal, -1}, key, value));
    EXPECT_EQ(key, "");
    EXPECT_EQ(value, "");
}

TEST(ThingsPages, ColourDialogAnswerFillsTheBoxes)
{
    TThingPages pages;
    Things_ColourToTexts(0x00123456, pages);
    EXPECT_EQ(pages.colour[0], "86");
    EXPECT_EQ(pages.colour[1], "52");
    EXPECT_EQ(pages.colour[2], "18");
    EXPECT_EQ(Things_ColourFromTexts(pages.colour[0], pages.colour[1], pages.colour[2]), 0x00123456u);
}
