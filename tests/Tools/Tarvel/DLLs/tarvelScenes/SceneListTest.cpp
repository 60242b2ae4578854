// The scene-list reader over Chronicles\<name>.rix and the picker's list, on files written here.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <fstream>
#include <string>
#include "SceneList.h"
#include "fixtureFiles.h"
#include "fixtures/fixtureMutations.h"

namespace {

class SceneListTest : public testing::Test {
protected:
    TSceneListReader reader;
    std::vector<std::string> asked;
    std::string game;
    std::string buffer;  // one buffer for every answer, as a host may do

    void SetUp() override
    {
        // Cases run side by side in one folder: each writes its own game folder.
        game = std::string("game_") + testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(fixtures::MakeFolders(game + "\\Chronicles"));
        std::ofstream f(game + "\\Chronicles\\act1.rix");
        f << "[Cave]\nSHORTDESC=CAVE_SHORT\nLONGDESC=CAVE_LONG\nMUSIC=x.mp3\n"
             "[Bridge]\nlongdesc=BRIDGE_LONG\n"
             "[Hall]\nShortDesc=HALL_SHORT\n";
        reader.baseDir = game;
        reader.sceneListName = "act1";
    }
    void Translate()
    {
        reader.translate = [this](const char* id) -> const char* {
            asked.push_back(id);
            if (std::string(id) == "HALL_SHORT")
                return nullptr;
            buffer = std::string("text of ") + id;
            return buffer.c_str();
        };
    }
};

}  // namespace

TEST_F(SceneListTest, SceneNamesInFileOrder)
{
    EXPECT_EQ(reader.FileName(), game + "\\Chronicles\\act1.rix");
    EXPECT_EQ(reader.SceneNames(), (std::vector<std::string>{"Cave", "Bridge", "Hall"}));
    reader.sceneListName = "missing";
    EXPECT_TRUE(reader.SceneNames().empty());
}

TEST_F(SceneListTest, DescriptionsGoThroughTheCallbackWithDefaults)
{
    Translate();
    std::string s, l;
    reader.Descriptions("cave", s, l);  // sections are found without regard to case
    EXPECT_EQ(s, "text of CAVE_SHORT");
    EXPECT_EQ(l, "text of CAVE_LONG");
    reader.Descriptions("Bridge", s, l);
    EXPECT_EQ(s, "text of SCENE_ERROR_NOSHORTDESC");
    EXPECT_EQ(l, "text of BRIDGE_LONG");
    reader.Descriptions("Hall", s, l);
    EXPECT_EQ(s, "");  // a null answer shows as empty text
    EXPECT_EQ(l, "text of SCENE_ERROR_NOLONGDESC");
    EXPECT_EQ(asked.size(), 6u);
    reader.sceneListName = "missing";
    reader.Descriptions("Cave", s, l);
    EXPECT_EQ(s, "text of SCENE_ERROR_NOSHORTDESC");
}

TEST_F(SceneListTest, WithoutTheCallbackTheIdentifierShows)
{
    std::string s, l;
    reader.Descriptions("Cave", s, l);
    EXPECT_EQ(s, "CAVE_SHORT");
    EXPECT_EQ(l, "CAVE_LONG");
}

TEST_F(SceneListTest, PickerListsSortedNamesWithShortDescriptions)
{
    Translate();
    TScenePicker picker;
    picker.picked = "";
    picker.Fill(reader);
    ASSERT_EQ(picker.Entries().size(), 3u);
    EXPECT_EQ(picker.Entries()[0].name, "Bridge");
    EXPECT_EQ(picker.Entries()[0].shortDesc, "text of SCENE_ERROR_NOSHORTDESC");
    EXPECT_EQ(picker.Entries()[1].name, "Cave");
    EXPECT_EQ(picker.Entries()[1].shortDesc, "text of CAVE_SHORT");  // copied before the buffer changed
    EXPECT_EQ(picker.Entries()[2].name, "Hall");
    EXPECT_EQ(picker.picked, "");
    EXPECT_FALSE(picker.OkAccepted());

    picker.Select(1);
    EXPECT_EQ(picker.picked, "Cave");
    EXPECT_TRUE(picker.OkAccepted());
    picker.Select(-1);  // nothing selected: the picked name goes too
    EXPECT_EQ(picker.picked, "");
    EXPECT_FALSE(picker.OkAccepted());
}

TEST_F(SceneListTest, MissingFileGivesAnEmptyPicker)
{
    reader.sceneListName = "nothing";
    TScenePicker picker;
    picker.Fill(reader);
    EXPECT_TRUE(picker.Entries().empty());
    picker.Select(0);
    EXPECT_FALSE(picker.OkAccepted());
}

// Every truncation of a small scene list, and each of its bytes set to 0x00, 0xFF and 0x7F: the
// picker lists each section once with its short description, asking the host twice per scene.
TEST_F(SceneListTest, MutatedSceneListsFillThePickerWithinBounds)
{
    const std::string good = "[Cave]\nSHORTDESC=C_S\nLONGDESC=C_L\n[Hall]\nlongdesc=H\n";
    const std::string path = game + "\\Chronicles\\m.rix";
    reader.sceneListName = "m";
    int asks = 0;
    reader.translate = [&asks](const char* id) -> const char* {
        asks++;
        return id;
    };
    auto fill = [&](const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
        asks = 0;
        TScenePicker picker;
        picker.Fill(reader);
        const size_t scenes = picker.Entries().size();
        ASSERT_LE(scenes, (size_t)std::count(text.begin(), text.end(), '['));
        EXPECT_EQ(asks, 2 * (int)scenes);
        for (const TScenePicker::Entry& e : picker.Entries())
            EXPECT_EQ(e.shortDesc.find('\n'), std::string::npos);
        picker.Select((int)scenes);  // one past the end selects nothing
        EXPECT_FALSE(picker.OkAccepted());
    };
    fill(good);
    fixtures::ForEachMutation(good, fill);
}
