#include "ZulFixture.h"

using namespace zultest;

TEST_F(ZulFixture, ThirtyTwoSlotsThenRefusal)
{
    for (int i = 0; i < MAX_ZULFILES; ++i)
        ASSERT_NE(model.NewZULFile(), nullptr);
    EXPECT_EQ(model.FindFreeZULSlot(), -1);
    EXPECT_EQ(model.NewZULFile(), nullptr);
    EXPECT_TRUE(hooks.LastIs("MAX_ZULFILES reached, ask Orvel to bump that value up!", "Cannot Open ZUL..."));
    WriteBytes("late.zul", BuildZul({}));
    EXPECT_EQ(model.OpenZULFile("late.zul", false), nullptr);

    model.CloseZULFile(model.GetZULFile(5));
    EXPECT_EQ(model.FindFreeZULSlot(), 5);
    TZULFile* file = model.OpenZULFile("late.zul", false);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetSlot(), 5);
    EXPECT_EQ(model.GetZULFile(5), file);
    EXPECT_EQ(tree.Count(), MAX_ZULFILES);
}

TEST_F(ZulFixture, SamePathIsFoundExactlyOnly)
{
    TZULFile* file = Open("same.zul", BuildZul({Tpl("a", "")}));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(model.FindZULFile("same.zul"), file->GetSlot());
    EXPECT_EQ(model.OpenZULFile("same.zul", false), nullptr);
    EXPECT_EQ(hooks.Last().text, "This ZUL file is already open!");
    EXPECT_EQ(model.FindZULFile("SAME.zul"), -1);
    // Other letter case: a second copy (the file system itself ignores case).
    TZULFile* copy = model.OpenZULFile("SAME.zul", false);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->GetSlot(), file->GetSlot());
}

TEST_F(ZulFixture, TableMismatchesAreReportedAndChangeNothing)
{
    TZULFile* file = model.NewZULFile();
    ASSERT_NE(file, nullptr);
    const int slot = file->GetSlot();
    model.RegisterZULFile(slot, nullptr);
    EXPECT_TRUE(hooks.LastIs("This ZUL file index was already in use!", "Bug!!!"));
    EXPECT_EQ(model.GetZULFile(slot), file);
    model.UnregisterZULFile(slot + 1, file);
    EXPECT_EQ(hooks.Last().text, "Trying to remove invalid ZUL file index!");
    EXPECT_EQ(model.GetZULFile(slot), file);
    EXPECT_EQ(hooks.messages.size(), 2u);
}

TEST_F(ZulFixture, FindTemplateSkipsTheExceptedNodeAndPrefersLowSlots)
{
    TZULFile* a = Open("fa.zul", BuildZul({Tpl("door", ""), Tpl("chest", "")}));
    ASSERT_NE(a, nullptr);
    TTreeNode* door = model.FindTemplate("DOOR", nullptr);
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(model.FileOfNode(door), a);
    EXPECT_EQ(model.FindTemplate("door", door), nullptr);  // alone with its name
    TZULFile* b = Open("fb.zul", BuildZul({Tpl("door", "")}));
    ASSERT_NE(b, nullptr);
    TTreeNode* other = model.FindTemplate("door", door);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(model.FileOfNode(other), b);
    EXPECT_EQ(model.FindTemplate("door", nullptr), door);  // lower slot first
    EXPECT_EQ(model.FindTemplateInFile(b->GetRootNode(), "chest", nullptr), nullptr);
    EXPECT_EQ(model.FindTemplate("nothing", nullptr), nullptr);
}

TEST_F(ZulFixture, UniqueNamesTryBaseUnderscoreThenCounters)
{
    ASSERT_NE(Open("names.zul", BuildZul({Tpl("door", ""), Tpl("door_", ""), Tpl("DOOR_1", "")})), nullptr);
    EXPECT_EQ(model.MakeUniqueName("chest"), "chest_");
    EXPECT_EQ(model.MakeUniqueName("door"), "door_0");
    ASSERT_NE(Open("names2.zul", BuildZul({Tpl("door_0", "")})), nullptr);
    EXPECT_EQ(model.MakeUniqueName("door"), "door_2");
    EXPECT_TRUE(hooks.messages.empty());
}

TEST_F(ZulFixture, UniqueNamesNeverExceed31Characters)
{
    const std::string base(31, 'b');
    const std::string made = model.MakeUniqueName(base);
    EXPECT_EQ(made, std::string(30, 'b') + "_");
    ASSERT_NE(Open("long.zul", BuildZul({Tpl(made, "")})), nullptr);
    const std::string next = model.MakeUniqueName(base);
    EXPECT_EQ(next, std::string(29, 'b') + "_0");
    EXPECT_LE(next.size(), 31u);
}

TEST_F(ZulFixture, UniqueNamesGiveUpAfter100)
{
    std::vector<Template> taken = {Tpl("x_", "")};
    for (int i = 0; i <= 100; ++i)
        taken.push_back(Tpl("x_" + std::to_string(i), ""));
    ASSERT_NE(Open("full.zul", BuildZul(taken)), nullptr);
    EXPECT_EQ(model.MakeUniqueName("x"), "bogus_name");
    EXPECT_TRUE(hooks.LastIs("Reached originalname_100, try some better naming maybe ?",
                                "Cannot generate unique name..."));
}

TEST_F(ZulFixture, CountAndDeleteTemplateNodes)
{
    TZULFile* file = Open("count.zul", BuildZul({Tpl("a", ""), Tpl("b", "a"), Tpl("c", "")}));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(model.CountNodes(file->GetRootNode()), 4);
    TTreeNode* a = model.FindTemplate("a", nullptr);
    EXPECT_EQ(model.CountNodes(a), 2);
    model.DeleteTemplateNodes(a);
    EXPECT_EQ(Shape(file), (std::vector<std::string>{"c"}));
    model.DeleteTemplateNodes(file->GetRootNode());  // the root itself stays
    EXPECT_EQ(model.CountNodes(file->GetRootNode()), 1);
    EXPECT_EQ(tree.Count(), 1);
}

TEST_F(ZulFixture, SortAndRebuildTheNameList)
{
    TZULFile* file = Open("list.zul", BuildZul({Tpl("m", ""), Tpl("b", "m"), Tpl("a", "m")}));
    ASSERT_NE(file, nullptr);
    TTreeNode* m = model.FindTemplate("m", nullptr);
    TTreeNode* b = model.FindTemplate("b", nullptr);
    b->SetText("z");  // a renamed node: the list still knows it as "b"
    model.SortTemplateTree(file->GetRootNode());
    EXPECT_EQ(Shape(file), (std::vector<std::string>{"m", ".a", ".z"}));
    EXPECT_EQ(model.FindTemplate("b", nullptr), b);
    model.RebuildTemplateList(file->GetRootNode());
    EXPECT_EQ(model.FindTemplate("b", nullptr), nullptr);
    EXPECT_EQ(model.FindTemplate("Z", nullptr), b);
    EXPECT_EQ(file->GetTemplateList().Count(), 3);
    EXPECT_EQ(model.FindTemplate("m", nullptr), m);
}

TEST_F(ZulFixture, DuplicateNameIsRemovedOnlyForItsOwnNode)
{
    TZULFile* file = Open("dup.zul", BuildZul({Tpl("door", ""), Tpl("DOOR", "")}));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetTemplateList().Count(), 1);  // one entry per name
    TTreeNode* listed = model.FindTemplate("door", nullptr);
    TTreeNode* first = file->GetRootNode()->GetFirstChild();
    TTreeNode* other = first == listed ? first->GetNextSibling() : first;
    file->RemoveTemplateName("door", other);
    EXPECT_EQ(model.FindTemplate("door", nullptr), listed);
    file->RemoveTemplateName("door", listed);
    EXPECT_EQ(model.FindTemplate("door", nullptr), nullptr);
}

TEST_F(ZulFixture, EditStateFollowsItsTemplate)
{
    TZULFile* file = Open("tpl.zul", BuildZul({Tpl("door", "")}));
    ASSERT_NE(file, nullptr);
    TTreeNode* door = model.FindTemplate("door", nullptr);
    TTPL none(file, nullptr);
    EXPECT_EQ(none.GetName(), "unnamed");
    model.SetTPL(new TTPL(file, door));
    TTPL* tpl = model.GetTPL();
    EXPECT_EQ(tpl->GetName(), "door");
    EXPECT_TRUE(tpl->IsModified());
    EXPECT_FALSE(tpl->IsNew());
    EXPECT_EQ(tpl->GetFile(), file);
    EXPECT_EQ(tpl->GetNode(), door);
    model.CloseZULFile(file);  // the edit state of a closed file ends with it
    EXPECT_EQ(model.GetTPL(), nullptr);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(UsedSlots(), 0);
}

TEST_F(ZulFixture, ParentInAnotherOpenFileIsFoundByName)
{
    TZULFile* base = Open("base.zul", BuildZul({Tpl("creature", "", {IntTag(1, 100)})}));
    TZULFile* mods = Open("mods.zul", BuildZul({Tpl("wolf", "Creature", {IntTag(2, 4)}), Tpl("pup", "wolf")}));
    ASSERT_NE(base, nullptr);
    ASSERT_NE(mods, nullptr);
    EXPECT_EQ(Shape(mods), (std::vector<std::string>{"wolf", ".pup"}));
    TZULTemplate* wolf = TemplateOf(mods, "wolf");
    EXPECT_FALSE(wolf->parentInFile);
    TTreeNode* parent = model.FindTemplate(wolf->parentName, nullptr);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(model.FileOfNode(parent), base);
    EXPECT_TRUE(TemplateOf(mods, "pup")->parentInFile);
}
