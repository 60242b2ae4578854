// The template tree model, its name list and search, and the template-file list.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "TemplateTree.h"
#include "ThingsRecords.h"

namespace {

struct T {
    const char* name;
    int category;
    const char* sub;
};

void BuildFile(TTemplateTree& tree, const char* file, std::vector<T> templates)
{
    tree.BeginAdd(file);
    for (const T& t : templates)
        tree.Add(t.name, t.category, t.sub);
    tree.EndAdd(file);
}

std::vector<std::string> Texts(const TTemplateTree& tree, int node)
{
    std::vector<std::string> out;
    for (int c : tree.Node(node).children)
        out.push_back(tree.Node(c).text);
    return out;
}

int Child(const TTemplateTree& tree, int node, const std::string& text)
{
    for (int c : tree.Node(node).children)
        if (tree.Node(c).text == text)
            return c;
    return -1;
}

const char* none = "[-[none]-]";

}  // namespace

TEST(TemplateTree, OnlyUsedCategoriesStayWithSortedLeaves)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    BuildFile(tree, "global.zul", {{"Orc", 5, none}, {"Bat", 5, none}, {"goblin", 5, none}});
    tree.EndAdd("...");
    EXPECT_FALSE(tree.Building());
    EXPECT_EQ(tree.Node(tree.Root()).text, "All Placeable Templates");
    int file = Child(tree, tree.Root(), "global.zul");
    ASSERT_GE(file, 0);
    EXPECT_EQ(tree.Node(file).image, TEMPLATE_IMAGE_FILE);
    EXPECT_EQ(Texts(tree, file), std::vector<std::string>{"Enemies"});
    int enemies = tree.Node(file).children[0];
    EXPECT_EQ(tree.Node(enemies).image, TEMPLATE_IMAGE_CATEGORY);
    EXPECT_EQ(Texts(tree, enemies), (std::vector<std::string>{"Bat", "goblin", "Orc"}));
    EXPECT_EQ(tree.FileCount(), 1);
}

TEST(TemplateTree, CategoriesKeepTheirFixedOrder)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    BuildFile(tree, "f.zul", {{"Z", 24, none}, {"A", 2, none}, {"Q", 11, none}});
    int file = Child(tree, tree.Root(), "f.zul");
    EXPECT_EQ(Texts(tree, file), (std::vector<std::string>{"Armor", "Lights", "Miscellaneous"}));
}

TEST(TemplateTree, SubcategoriesGroupLeavesWhenTheOptionIsOn)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    BuildFile(tree, "f.zul", {{"Sword", 20, "Blades"}, {"Axe", 20, "blades"}, {"Club", 20, none}});
    int melee = Child(tree, Child(tree, tree.Root(), "f.zul"), "Weapons, Melee");
    ASSERT_GE(melee, 0);
    EXPECT_EQ(Texts(tree, melee), (std::vector<std::string>{"Blades", "Club"}));
    int blades = Child(tree, melee, "Blades");
    EXPECT_EQ(Texts(tree, blades), (std::vector<std::string>{"Axe", "Sword"}));
    EXPECT_TRUE(tree.IsLeaf(Child(tree, blades, "Axe")));
    EXPECT_FALSE(tree.IsLeaf(blades));

    tree.subCategories = false;
    tree.BeginAdd("...");
    BuildFile(tree, "f.zul", {{"Sword", 20, "Blades"}, {"Axe", 20, "blades"}});
    melee = Child(tree, Child(tree, tree.Root(), "f.zul"), "Weapons, Melee");
    EXPECT_EQ(Texts(tree, melee), (std::vector<std::string>{"Axe", "Sword"}));
}

TEST(TemplateTree, IgnoredCategoriesAndRemovedLeavesLeaveTheNameList)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    BuildFile(tree, "f.zul", {{"Zero", 0, none}, {"One", 1, none}, {"Neg", -3, none},
                              {"Loose", 31, none}, {"Kept", 5, none}});
    EXPECT_EQ(tree.NameCount(), 1);
    EXPECT_EQ(tree.Name(0), "Kept");
    EXPECT_EQ(tree.FindTemplate("Loose"), -1);
    EXPECT_EQ(tree.Search("Lo"), -1);
}

TEST(TemplateTree, RemovedLeafGivesTheNameBackToAnEarlierFile)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    BuildFile(tree, "a.zul", {{"Door", 15, none}});
    BuildFile(tree, "b.zul", {{"DOOR", 40, none}});  // filed under the file node, then removed
    int leaf = tree.FindTemplate("door");
    ASSERT_GE(leaf, 0);
    EXPECT_TRUE(tree.IsNode(leaf));
    EXPECT_EQ(tree.Node(tree.Node(tree.Node(leaf).parent).parent).text, "a.zul");
}

TEST(TemplateTree, LaterFileWinsTheNameButKeepsTheFirstText)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    BuildFile(tree, "a.zul", {{"Door", 15, none}});
    BuildFile(tree, "b.zul", {{"DOOR", 15, none}});
    ASSERT_EQ(tree.NameCount(), 1);
    EXPECT_EQ(tree.Name(0), "Door");
    int leaf = tree.FindTemplate("door");
    EXPECT_EQ(tree.Node(leaf).text, "DOOR");
    EXPECT_EQ(tree.Search("Do"), leaf);
}

TEST(TemplateTree, SeventeenthFileIsRefusedWithItsTemplates)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    for (int i = 0; i < 17; i++) {
        std::string file = "f" + std::to_string(i) + ".zul";
        BuildFile(tree, file.c_str(), {{("T" + std::to_string(i)).c_str(), 5, none}});
    }
    tree.EndAdd("...");
    EXPECT_EQ(tree.FileCount(), MAX_ZULFILES);
    EXPECT_EQ((int)tree.Node(tree.Root()).children.size(), MAX_ZULFILES);
    EXPECT_EQ(tree.FindTemplate("T16"), -1);
    EXPECT_GE(tree.FindTemplate("T15"), 0);
}

TEST(TemplateTree, CallsOutsideAFileAreIgnored)
{
    TTemplateTree tree;
    tree.BeginAdd("x.zul");  // no tree started
    tree.Add("A", 5, none);
    tree.EndAdd("x.zul");
    EXPECT_EQ(tree.NameCount(), 0);
    tree.BeginAdd("...");
    tree.Add("B", 5, none);
    EXPECT_EQ(tree.NameCount(), 0);
}

TEST(TemplateTree, SearchStepsThroughPrefixMatchesWithCase)
{
    TTemplateTree tree;
    tree.BeginAdd("...");
    BuildFile(tree, "f.zul", {{"Sword", 20, none}, {"Swamp", 17, none}, {"sweep", 24, none}});
    ASSERT_EQ(tree.NameCount(), 3);
    EXPECT_EQ(tree.Name(0), "Swamp");
    EXPECT_EQ(tree.Name(1), "sweep");
    EXPECT_EQ(tree.Name(2), "Sword");
    EXPECT_EQ(tree.Node(tree.Search("Sw")).text, "Swamp");
    EXPECT_EQ(tree.SelectedTemplate(), "Swamp");
    EXPECT_EQ(tree.Node(tree.Search("Sw")).text, "Sword");
    EXPECT_EQ(tree.Node(tree.Search("Sw")).text, "Swamp");
    EXPECT_EQ(tree.Search(""), -1);
    EXPECT_EQ(tree.Search("Zz"), -1);
    EXPECT_EQ(tree.SelectedTemplate(), "Swamp");
}

TEST(TemplateTree, SelectingOtherNodesKeepsTheSelectedTemplate)
{
    TTemplateTree tree;
    EXPECT_EQ(tree.SelectedTemplate(), "");
    tree.BeginAdd("...");
    BuildFile(tree, "f.zul", {{"Sword", 20, none}});
    tree.Select(tree.FindTemplate("Sword"));
    EXPECT_EQ(tree.SelectedTemplate(), "Sword");
    int file = Child(tree, tree.Root(), "f.zul");
    tree.Select(file);
    EXPECT_EQ(tree.SelectedTemplate(), "Sword");
    EXPECT_EQ(tree.SelectedNodeText(), "f.zul");
    tree.BeginAdd("...");  // rebuilding keeps it too
    EXPECT_EQ(tree.SelectedTemplate(), "Sword");
    EXPECT_EQ(tree.SelectedNodeText(), "");
}

TEST(TemplateFileList, AddRefusesDefaultsAndDuplicates)
{
    TTemplateFileList list;
    EXPECT_FALSE(list.Add("C:\\Game\\Templates\\GLOBAL.ZUL"));
    EXPECT_FALSE(list.Add("C:\\Game\\Templates\\Umberfell.zul"));
    EXPECT_FALSE(list.Add("brightwick.zul"));
    EXPECT_TRUE(list.Add("C:\\Game\\Templates\\extra.zul"));
    EXPECT_FALSE(list.Add("EXTRA.zul"));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Name(0), "extra.zul");
    EXPECT_EQ(list.Selected(), 0);
}

TEST(TemplateFileList, ButtonsFollowTheListAndSelection)
{
    TTemplateFileList list;
    TTemplateFileButtons b = list.Buttons();
    EXPECT_TRUE(b.add); EXPECT_FALSE(b.remove); EXPECT_FALSE(b.up); EXPECT_FALSE(b.down);
    for (int i = 0; i < 15; i++)
        ASSERT_TRUE(list.Add("f" + std::to_string(i) + ".zul"));
    EXPECT_FALSE(list.Buttons().add);
    EXPECT_FALSE(list.Add("one-too-many.zul"));
    list.Select(0);
    b = list.Buttons();
    EXPECT_FALSE(b.up); EXPECT_TRUE(b.down); EXPECT_TRUE(b.remove);
    EXPECT_FALSE(list.MoveUp());
    EXPECT_TRUE(list.Remove());
    EXPECT_TRUE(list.Buttons().add);
    EXPECT_EQ(list.Selected(), 0);
    list.Select(13);
    EXPECT_FALSE(list.Buttons().down);
    EXPECT_FALSE(list.MoveDown());
    EXPECT_TRUE(list.MoveUp());
    EXPECT_EQ(list.Selected(), 12);
    EXPECT_EQ(list.Name(12), "f14.zul");
    list.Select(-1);
    EXPECT_FALSE(list.Remove());
}

TEST(TemplateFileList, RecordRoundTripWithinFields)
{
    struct {
        uint32_t count;
        char name[20][32];
    } in = {}, out;
    in.count = 1000;  // more than the list takes from a host
    std::memset(in.name[0], 'n', 32);  // a name that fills its field
    std::strcpy(in.name[1], "b.zul");
    TTemplateFileList list;
    list.Load(*(TemplateFilesInfo*)&in);
    EXPECT_EQ(list.Count(), TEMPLATE_FILES_MAX);
    EXPECT_EQ(list.Name(0), std::string(32, 'n'));
    std::memset(&out, 0x5A, sizeof out);
    list.Store(*(TemplateFilesInfo*)&out);
    EXPECT_EQ(out.count, (uint32_t)TEMPLATE_FILES_MAX);
    EXPECT_EQ(std::string(out.name[0], 32), std::string(32, 'n'));
    EXPECT_STREQ(out.name[1], "b.zul");
    for (int i = 6; i < 32; i++)
        EXPECT_EQ(out.name[1][i], 0);
    EXPECT_EQ(out.name[16][0], 0x5A);  // nothing written past the list
}
