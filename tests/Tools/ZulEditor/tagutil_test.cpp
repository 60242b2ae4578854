#include "Form.h"
#include "Forms/ScriptedHooks.h"
#include "TreeView.h"
#include "ZulBuilder.h"
#include "fixtureTestFolder.h"
#include "fixtures/fixtureMutations.h"
#include "tagUtil.h"
#include <gtest/gtest.h>
#include <map>

using namespace zultest;

namespace {
class ChecksFixture : public ::testing::Test {
protected:
    void SetUp() override { InitChecks(); }
    void TearDown() override
    {
        FreeTagDefinitions();
        FreeChecks();
    }
    fixtures::WorkFolder work{fixtures::TestFolderName()};
    ScriptedHooks hooks;
};

// Rows as the tag list would hold them: tag id -> (Value, Inherited).
class FakeRows : public TCheckContext {
public:
    std::map<int, std::pair<std::string, std::string>> rows;
    std::vector<std::string> templates;
    int FindTagRow(int tagId) const override { return rows.count(tagId) ? tagId : -1; }
    std::string RowValue(int row) const override { return rows.at(row).first; }
    std::string RowInherited(int row) const override { return rows.at(row).second; }
    bool TemplateExists(const std::string& name) const override
    {
        for (const std::string& t : templates)
            if (t == name)
                return true;
        return false;
    }
};
}  // namespace

TEST_F(ChecksFixture, ParsesArgumentsBlanksAndQuotes)
{
    TParsedCheck c;
    ASSERT_TRUE(ParseCheck("KEYVALUEINLIST(12, fire, water)", c));
    EXPECT_EQ(c.items, (std::vector<std::string>{"KEYVALUEINLIST", "12", "fire", "water"}));
    EXPECT_TRUE(c.isPreCheck);
    ASSERT_TRUE(ParseCheck("TEMPLATEEXISTS()", c));
    EXPECT_EQ(c.ArgCount(), 0);
    EXPECT_FALSE(c.isPreCheck);
    ASSERT_TRUE(ParseCheck("KEYEXISTS(12)", c));
    EXPECT_EQ(c.items, (std::vector<std::string>{"KEYEXISTS", "12"}));
    ASSERT_TRUE(ParseCheck("VALUEINLIST(\"big door\", small)", c));
    EXPECT_EQ(c.items, (std::vector<std::string>{"VALUEINLIST", "big door", "small"}));
    ASSERT_TRUE(ParseCheck("VALUEINLIST(a b)", c));
    EXPECT_EQ(c.items, (std::vector<std::string>{"VALUEINLIST", "ab"}));
    ASSERT_TRUE(ParseCheck("VALUEINLIST(\"a,(b)\")", c));
    EXPECT_EQ(c.items, (std::vector<std::string>{"VALUEINLIST", "a,(b)"}));
    EXPECT_TRUE(hooks.messages.empty());
}

TEST_F(ChecksFixture, RefusesBadExpressionsWithTheirMessages)
{
    TParsedCheck c;
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"KEYEXISTS 12", "Invalid check syntax, no '(' found!\nKEYEXISTS 12"},
        {"keyexists(12)", "This check is not defined!\nkeyexists(12)"},
        {"KEYEXISTS(1, 2)", "Wrong number of parameters to check function!\nKEYEXISTS(1, 2)"},
        {"KEYVALUEINLIST(12)", "Not enough parameters to check function!\nKEYVALUEINLIST(12)"},
        {"VALUEINRANGE(1)", "Wrong number of parameters to check function!\nVALUEINRANGE(1)"},
        {"VALUEINLIST()", "Not enough parameters to check function!\nVALUEINLIST()"},
    };
    for (const auto& [expression, message] : bad) {
        EXPECT_FALSE(ParseCheck(expression, c)) << expression;
        ASSERT_FALSE(hooks.messages.empty());
        EXPECT_TRUE(hooks.LastIs(message, "Cannot parse check in tags.txt..."));
    }
    EXPECT_EQ(hooks.messages.size(), bad.size());
}

TEST_F(ChecksFixture, ChecksTestRowsValuesAndTemplates)
{
    WriteText("checktags.txt", "[5]\nNAME=Flags\nDATATYPE=FLAGS\n");
    TForm form;
    ASSERT_TRUE(form.CreateForm("t", 0, 0, 100, 100));
    TTreeView tags;
    ASSERT_TRUE(tags.Create(&form, 0, 0, 100, 100));
    LoadTagDefinitions("checktags.txt", tags, nullptr);

    FakeRows rows;
    rows.rows[12] = {"fire", ""};
    rows.rows[5] = {"", "3  [0x3]"};
    rows.templates = {"door"};
    TParsedCheck c;
    ASSERT_TRUE(ParseCheck("KEYEXISTS(12)", c));
    EXPECT_TRUE(c.Run(nullptr, "", "", rows));
    ASSERT_TRUE(ParseCheck("KEYEXISTS(13)", c));
    EXPECT_FALSE(c.Run(nullptr, "", "", rows));
    ASSERT_TRUE(ParseCheck("KEYVALUEINLIST(12, water, fire)", c));
    EXPECT_TRUE(c.Run(nullptr, "", "", rows));
    ASSERT_TRUE(ParseCheck("KEYVALUEINLIST(12, water)", c));
    EXPECT_FALSE(c.Run(nullptr, "", "", rows));
    ASSERT_TRUE(ParseCheck("KEYVALUEINLIST(5, 3)", c));  // FLAGS row: number before the blanks
    EXPECT_TRUE(c.Run(nullptr, "", "", rows));
    ASSERT_TRUE(ParseCheck("KEYVALUEINLIST(99, 3)", c));
    EXPECT_FALSE(c.Run(nullptr, "", "", rows));

    ASSERT_TRUE(ParseCheck("VALUEINLIST(1, 5)", c));
    EXPECT_TRUE(c.Run(nullptr, "5  [0x5]", "FLAGS", rows));
    EXPECT_FALSE(c.Run(nullptr, "5  [0x5]", "STRING", rows));
    EXPECT_FALSE(c.Run(nullptr, "6  [0x6]", "FLAGS", rows));

    ASSERT_TRUE(ParseCheck("TEMPLATEEXISTS()", c));
    EXPECT_TRUE(c.Run(nullptr, "door", "TEMPLATE", rows));
    EXPECT_FALSE(c.Run(nullptr, "chest", "TEMPLATE", rows));
}

TEST_F(ChecksFixture, ValueInRangeTestsNumbersInclusive)
{
    FakeRows rows;
    TParsedCheck c;
    ASSERT_TRUE(ParseCheck("VALUEINRANGE(0, 10)", c));
    EXPECT_TRUE(c.Run(nullptr, "0", "SINT", rows));
    EXPECT_TRUE(c.Run(nullptr, "10.000000", "FLOAT", rows));
    EXPECT_FALSE(c.Run(nullptr, "10.5", "UFLOAT", rows));
    EXPECT_FALSE(c.Run(nullptr, "-1", "SINT", rows));
    EXPECT_TRUE(c.Run(nullptr, "3  [blue]", "ENUM", rows));
    EXPECT_TRUE(c.Run(nullptr, "1 2 3", "VECTOR", rows));
    EXPECT_FALSE(c.Run(nullptr, "1 20 3", "RGB", rows));
    EXPECT_FALSE(c.Run(nullptr, "abc", "SINT", rows));
    EXPECT_TRUE(c.Run(nullptr, "anything", "STRING", rows));  // text has no range
    ASSERT_TRUE(ParseCheck("VALUEINRANGE(low, high)", c));
    EXPECT_TRUE(c.Run(nullptr, "5", "SINT", rows));  // bounds that are no numbers: no test
}

namespace {
const char kTagsFile[] =
    "[Header]\r\nVersion=3\r\n"
    "[0]\r\nNAME=PARENT\r\nDATATYPE=STRING\r\nSORT=0\r\n"
    "[1]\r\nNAME=Health\r\nDESC=Hit points\r\nDATATYPE=SINT\r\nSORT=12\r\nCAT=10\r\n"
    "[2]\r\nNAME=Count\r\nDATATYPE=UINT\r\nCAT=20\r\n"
    "[3]\r\nNAME=Flags\r\nDATATYPE=FLAGS\r\nREF=FLAGNAMES\r\nCAT=35\r\n"  // unknown CAT: Item
    "[4]\r\nNAME=Kind\r\nDATATYPE=ENUM\r\nREF=KINDS\r\nCAT=30\r\nCHECKS=2\r\n"
    "CHECK0=KEYEXISTS(1)\r\nCHECK1=VALUEINLIST(0, 1)\r\n"
    "[5]\r\nNAME=Mass\r\nDATATYPE=FLOAT\r\nCAT=60\r\nCHECKS=0\r\nCHECK0=KEYEXISTS(1)\r\n"
    "[6]\r\nNAME=Speed\r\nDATATYPE=UFLOAT\r\nCAT=40\r\nCHECKS=\r\n"
    "[7]\r\nNAME=Offset\r\nDATATYPE=VECTOR\r\nCAT=50\r\n"
    "[8]\r\nNAME=Tint\r\nDATATYPE=RGB\r\nCAT=70\r\nEDITOR=colour picker\r\n"
    "[9]\r\nNAME=Label\r\nDATATYPE=STRING\r\nCAT=80\r\nCHECKS=5000000\r\nCHECK1=VALUEINLIST(a)\r\n"
    "[10]\r\nNAME=Model\r\nDATATYPE=FILENAME\r\nCAT=99\r\nCHECKS=2\r\nCHECK0=NOSUCH(1)\r\nCHECK1=TEMPLATEEXISTS()\r\n"
    "[11]\r\nNAME=Script\r\nDATATYPE=FILENAMENOEXT\r\n"
    "[12]\r\nNAME=Mood\r\nDATATYPE=STRINGLIST\r\n"
    "[13]\r\nDATATYPE=TEMPLATE\r\n"                 // no NAME: the section name stands in
    "[14]\r\nNAME=health\r\nDATATYPE=Colour\r\n"    // same name as tag 1, unknown type
    "[abc]\r\nNAME=Broken\r\n"                      // not a tag id: skipped
    "[15]\r\nNAME=Many\r\nDATATYPE=SINT\r\nCHECKS=11\r\n"
    "CHECK0=VALUEINLIST(0)\r\nCHECK1=VALUEINLIST(1)\r\nCHECK2=VALUEINLIST(2)\r\nCHECK3=VALUEINLIST(3)\r\n"
    "CHECK4=VALUEINLIST(4)\r\nCHECK5=VALUEINLIST(5)\r\nCHECK6=VALUEINLIST(6)\r\nCHECK7=VALUEINLIST(7)\r\n"
    "CHECK8=VALUEINLIST(8)\r\nCHECK9=VALUEINLIST(9)\r\nCHECK10=VALUEINLIST(10)\r\n"
    "[16]\r\nNAME=Bare\r\n";

class TagFileFixture : public ChecksFixture {
protected:
    void SetUp() override
    {
        ChecksFixture::SetUp();
        ASSERT_TRUE(form.CreateForm("tags", 0, 0, 200, 400));
        ASSERT_TRUE(tree.Create(&form, 0, 0, 200, 400));
    }
    std::vector<std::string> Children(TTreeNode* node)
    {
        std::vector<std::string> out;
        for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
            out.push_back(c->Text());
        return out;
    }
    TTreeNode* CategoryNode(int i)
    {
        TTreeNode* n = tree.GetFirstNode();
        while (n && i-- > 0)
            n = n->GetNextSibling();
        return n;
    }
    TForm form;
    TTreeView tree;
    std::vector<std::string> printed;
};
}  // namespace

TEST_F(TagFileFixture, BuildsCategoriesAndTagNodes)
{
    WriteText("zuleditortags.txt", kTagsFile);
    LoadTagDefinitions("zuleditortags.txt", tree, [this](const std::string& s) { printed.push_back(s); });
    std::vector<std::string> top;
    for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNextSibling())
        top.push_back(n->Text());
    EXPECT_EQ(top, (std::vector<std::string>{"General", "Actor", "Item", "Prop", "Projectile", "Region",
                                             "Physics", "Explosion", "Containers", "Tarvel only"}));
    // A missing CAT is 0: "General", not the category of the tag before.
    EXPECT_EQ(Children(CategoryNode(0)),
              (std::vector<std::string>{"PARENT", "Script", "Mood", "13", "health", "Many", "Bare"}));
    EXPECT_EQ(Children(CategoryNode(2)), (std::vector<std::string>{"Count", "Flags"}));  // CAT=35 follows
    EXPECT_EQ(Children(CategoryNode(9)), (std::vector<std::string>{"Model"}));
    EXPECT_EQ(TagCount(), 17);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], "Skipped tag section [abc]: its name is not a tag id");
    EXPECT_EQ(printed[1], "Opened tags file zuleditortags.txt");

    const TTagInfo* health = FindTagInfo("HEALTH");
    ASSERT_NE(health, nullptr);
    EXPECT_EQ(health->tagId, 1);  // the first of two equal names
    EXPECT_EQ(health->sort, 12);
    EXPECT_EQ(health->dataType, "SINT");
    EXPECT_EQ(Children(health->tagNode),
              (std::vector<std::string>{"TAGID=1", "Hit points", "DATATYPE=SINT", "SORT=12"}));
    EXPECT_EQ(health->tagNode->Data(), health);
    EXPECT_EQ(FindTagInfo("Count")->sort, -1);
    EXPECT_EQ(FindTagInfo("Flags")->ref, "FLAGNAMES");
    EXPECT_EQ(GetTagName(13), "13");
    EXPECT_EQ(FindTagInfo("13")->dataType, "TEMPLATE");
    EXPECT_EQ(GetTagName(14), "health");
    EXPECT_EQ(FindTagInfoById(14)->dataType, "Colour");
    EXPECT_EQ(GetTagName(77), "");
    EXPECT_EQ(FindTagInfo("Broken"), nullptr);
    const TTagInfo* bare = FindTagInfo("bare");  // every optional key missing
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->dataType, "");
    EXPECT_EQ(bare->ref, "");
    EXPECT_EQ(bare->sort, -1);
    EXPECT_EQ(bare->PreCheckCount() + bare->PostCheckCount(), 0);
    EXPECT_EQ(Children(bare->tagNode), (std::vector<std::string>{"TAGID=16"}));
    EXPECT_EQ(Children(FindTagInfo("Tint")->tagNode),
              (std::vector<std::string>{"TAGID=8", "DATATYPE=RGB", "EDITOR=colour picker"}));
}

TEST_F(TagFileFixture, ParsesChecksAndReportsFaults)
{
    WriteText("zuleditortags.txt", kTagsFile);
    LoadTagDefinitions("zuleditortags.txt", tree, nullptr);
    const TTagInfo* kind = FindTagInfo("Kind");
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->PreCheckCount(), 1);
    EXPECT_EQ(kind->PostCheckCount(), 1);
    EXPECT_EQ(Children(kind->tagNode).back(), "CHECKS");
    EXPECT_EQ(Children(kind->tagNode->GetLastChild()),
              (std::vector<std::string>{"KEYEXISTS(1)", "VALUEINLIST(0, 1)"}));
    // CHECKS=0 and an empty CHECKS give no "CHECKS" node.
    EXPECT_NE(Children(FindTagInfo("Mass")->tagNode).back(), "CHECKS");
    EXPECT_NE(Children(FindTagInfo("Speed")->tagNode).back(), "CHECKS");
    // A huge count with few keys is harmless; missing keys are skipped.
    EXPECT_EQ(FindTagInfo("Label")->PostCheckCount(), 1);
    // The undefined check is reported and left out; the rest of the tag stays.
    const TTagInfo* model = FindTagInfo("Model");
    EXPECT_EQ(model->PostCheckCount(), 1);
    EXPECT_EQ(model->postChecks[0].Name(), "TEMPLATEEXISTS");
    // The eleventh post-check is reported and dropped.
    EXPECT_EQ(FindTagInfo("Many")->PostCheckCount(), MAX_CHECKS);
    std::vector<std::string> texts;
    for (const auto& m : hooks.messages) {
        texts.push_back(m.text);
        EXPECT_EQ(m.caption, "Cannot parse check in tags.txt...");
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"This check is not defined!\nNOSUCH(1)", "Out of postchecks!"}));
}

TEST_F(TagFileFixture, MissingFileGivesOnlyCategories)
{
    LoadTagDefinitions("no-such-tags.txt", tree, [this](const std::string& s) { printed.push_back(s); });
    EXPECT_EQ(tree.Count(), 10);
    EXPECT_EQ(TagCount(), 0);
    EXPECT_EQ(printed, (std::vector<std::string>{"Opened tags file no-such-tags.txt"}));
}

TEST_F(TagFileFixture, FirstTagWithUnknownCategoryGoesToGeneral)
{
    WriteText("firstcat.txt", "[1]\nNAME=a\nCAT=33\n[2]\nNAME=b\nCAT=99\n[3]\nNAME=c\nCAT=x\n");
    LoadTagDefinitions("firstcat.txt", tree, nullptr);
    EXPECT_EQ(Children(CategoryNode(0)), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Children(CategoryNode(9)), (std::vector<std::string>{"b", "c"}));
}

TEST_F(TagFileFixture, NegativeCheckCountsTakeNoCheck)
{
    WriteText("negchecks.txt", "[1]\nNAME=a\nCHECKS=-2147483648\nCHECK0=VALUEINLIST(1)\n"
                               "[2]\nNAME=b\nCHECKS=-1\nCHECK0=VALUEINLIST(1)\n"
                               "[3]\nNAME=c\nCHECKS=4294967297\nCHECK0=VALUEINLIST(1)\n");
    LoadTagDefinitions("negchecks.txt", tree, nullptr);
    ASSERT_EQ(TagCount(), 3);
    EXPECT_EQ(FindTagInfo("a")->PostCheckCount(), 0);
    EXPECT_EQ(FindTagInfo("b")->PostCheckCount(), 0);
    EXPECT_EQ(FindTagInfo("c")->PostCheckCount(), 1);  // read with wrap-around: 1
    EXPECT_TRUE(hooks.messages.empty());
}

// Only the CHECKk keys that are there are read: a huge count with a huge k loads at once.
TEST_F(TagFileFixture, HugeCheckKeysCostNothing)
{
    WriteText("hugechecks.txt", "[1]\nNAME=a\nCHECKS=2147483647\nCHECK2147483646=VALUEINLIST(2)\n"
                                "CHECK0=VALUEINLIST(0)\nCHECK2147483647=VALUEINLIST(3)\nCHECK01=VALUEINLIST(9)\n");
    LoadTagDefinitions("hugechecks.txt", tree, nullptr);
    const TTagInfo* a = FindTagInfo("a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->PostCheckCount(), 2);  // CHECK0, then CHECK2147483646; k = n and CHECK01 are not read
    EXPECT_EQ(a->postChecks[0].items[1], "0");
    EXPECT_EQ(a->postChecks[1].items[1], "2");
}

// Every truncation of a small definition file, and each of its bytes set to 0x00, 0xFF and 0x7F:
// the loader never fails in a disorderly way, and every tag it keeps is whole.
TEST_F(TagFileFixture, DamagedDefinitionFilesLoadWithinBounds)
{
    const std::string good =
        "[Header]\n[1]\nNAME=Kind\nCAT=10\nCHECKS=2\nCHECK0=KEYEXISTS(2)\n"
        "CHECK1=VALUEINLIST(\"a b\",1)\n[2]\nREF=K\n";
    auto loadAndCheck = [&](const std::string& text) {
        WriteText("mutated.txt", text);
        LoadTagDefinitions("mutated.txt", tree, nullptr);
        ASSERT_LE(TagCount(), 3);
        for (int i = 0; i < TagCount(); ++i) {
            const TTagInfo* tag = TagAt(i);
            ASSERT_NE(tag, nullptr);
            EXPECT_GE(tag->tagId, 0);
            EXPECT_FALSE(tag->name.empty());
            EXPECT_LE(tag->PreCheckCount(), MAX_CHECKS);
            EXPECT_LE(tag->PostCheckCount(), MAX_CHECKS);
            EXPECT_EQ(tag->tagNode->Data(), tag);
        }
        EXPECT_GE(tree.Count(), 10);
    };
    loadAndCheck(good);
    fixtures::ForEachMutation(good, loadAndCheck);
    loadAndCheck(good + good);  // repeated sections add their lines to the first
}
