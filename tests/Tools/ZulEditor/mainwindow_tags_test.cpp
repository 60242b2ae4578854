// The tag list: own and inherited rows along the parent chain across files, adding and deleting
// tags, the tags tree's fold block, auto-tracking and the row hint.
#include "Application.h"
#include "MainWindowFixture.h"

using zultest::IntTag;
using zultest::TextTag;
using zultest::Tpl;

namespace {
// grand > parent > child in one file; grand sets Health 1 and Team 1, parent Health 2,
// child Flags 5.
std::vector<zultest::Template> Family()
{
    return {Tpl("grand", "", {IntTag(3, 1), IntTag(4, 1)}), Tpl("parent", "grand", {IntTag(3, 2)}),
            Tpl("child", "parent", {IntTag(2, 5)})};
}
}  // namespace

TEST_F(MainWindowFixture, TagListHasEightColumns)
{
    const std::vector<std::string> captions = {"Sort", "tagID", "Tag", "Type", "Value", "Inherited", "Parent",
                                               "Parent ZUL"};
    ASSERT_EQ(window->LVData.ColumnCount(), 8);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(window->LVData.ColumnCaption(c), captions[c]);
    EXPECT_EQ(window->LVData.ColumnAlignment(1), LVCFMT_RIGHT);
    EXPECT_TRUE(window->LVData.GridLines());
    EXPECT_TRUE(window->LVData.RowSelect());
}

// Until the user sets widths, common values show whole: every data type's name, a vector, a
// string of a dozen and more letters, a template's and a file's name.
TEST_F(MainWindowFixture, DefaultColumnsFitCommonValues)
{
    const TListView& list = window->LVData;
    auto fits = [&](int column, const char* text) {
        const int width = static_cast<int>(SendMessageA(list.Handle(), LVM_GETSTRINGWIDTHA, 0,
                                                        reinterpret_cast<LPARAM>(text)));
        EXPECT_GT(width, 0);
        return width + 12 <= list.ColumnWidth(column);  // the control's margins on both sides
    };
    for (const char* type : {"SINT", "UINT", "FLAGS", "ENUM", "FLOAT", "UFLOAT", "VECTOR", "RGB", "STRING",
                             "FILENAME", "FILENAMENOEXT", "STRINGLIST", "TEMPLATE"})
        EXPECT_TRUE(fits(colType, type)) << type;
    for (int column : {colValue, colInherited}) {
        EXPECT_TRUE(fits(column, "10.000000 -0.500000 100.000000"));
        EXPECT_TRUE(fits(column, "Spawns in groups of three"));
    }
    EXPECT_TRUE(fits(colTag, "EditorNote"));
    EXPECT_TRUE(fits(colParent, "Orc Chief"));
    EXPECT_TRUE(fits(colParentZUL, "monsters.zul"));
}

TEST_F(MainWindowFixture, OwnRowsFirstThenTheNearestInheritedValue)
{
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("child"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "0000|0|PARENT|STRING|parent|||",
                          "0002|2|Flags|FLAGS|5  [0x5]|||",
                          "0010|3|Health|SINT||2|parent|a.zul",
                          "0011|4|Team|ENUM||1  [Player]|grand|a.zul",
                      }));
    EXPECT_EQ(window->EDTemplateName.Text(), "child");
    EXPECT_EQ(window->EDFileName.Text(), "a.zul");
    EXPECT_FALSE(window->EDTemplateName.ReadOnly());
    ASSERT_TRUE(window->GetTPL());
    EXPECT_FALSE(window->GetTPL()->IsModified());
}

TEST_F(MainWindowFixture, RootTemplateShowsOnlyItsOwnRows)
{
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("grand"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0010|3|Health|SINT|1|||", "0011|4|Team|ENUM|1  [Player]|||"}));
}

TEST_F(MainWindowFixture, ParentInAnotherFileIsWalkedThroughThatFilesTree)
{
    ASSERT_TRUE(OpenZul("b.zul", {Tpl("living", "", {IntTag(4, 2)}), Tpl("creature", "living", {IntTag(3, 7)})}));
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("orc", "creature", {IntTag(2, 1)})}));
    ASSERT_TRUE(Select("orc"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "0000|0|PARENT|STRING|creature|||",
                          "0002|2|Flags|FLAGS|1  [0x1]|||",
                          "0010|3|Health|SINT||7|creature|b.zul",
                          "0011|4|Team|ENUM||2  [Monsters]|living|b.zul",
                      }));
}

TEST_F(MainWindowFixture, ParentCyclesAcrossFilesAndSelfParentsEndTheWalk)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("x", "y", {IntTag(3, 1)}), Tpl("self", "self", {IntTag(2, 1)})}));
    ASSERT_TRUE(OpenZul("b.zul", {Tpl("y", "x", {IntTag(4, 1)})}));
    ASSERT_TRUE(Select("x"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0000|0|PARENT|STRING|y|||", "0010|3|Health|SINT|1|||",
                                                "0011|4|Team|ENUM||1  [Player]|y|b.zul"}));
    ASSERT_TRUE(Select("self"));
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(MainWindowFixture, MissingParentShowsOwnRowsOnly)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("orphan", "nobody", {IntTag(3, 4)})}));
    ASSERT_TRUE(Select("orphan"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0000|0|PARENT|STRING|nobody|||", "0010|3|Health|SINT|4|||"}));
}

TEST_F(MainWindowFixture, ValueWithoutDefinitionIsListedAndSavedUnchanged)
{
    zultest::Tag odd = IntTag(57, 0xDEADBEEF);
    odd.value[31] = 0x7F;
    TZULFile* file = OpenZul("a.zul", {Tpl("t", "", {odd, IntTag(3, 9)})});
    ASSERT_TRUE(file);
    ASSERT_TRUE(Select("t"));
    const int row = window->LVData.FindText(colTagID, "57");
    ASSERT_GE(row, 0);
    EXPECT_EQ(window->LVData.ItemText(row, colValue), "(no definition)");
    window->GetTPL()->SetModified(true);
    hooks.messageAnswers = {IDYES};  // save the template when leaving it
    ASSERT_TRUE(Select(file->GetRootNode()));
    window->TBZULSaveClick();
    const zultest::Bytes bytes = zultest::ReadBytes(Path("a.zul"));
    const zultest::Bytes expected = zultest::BuildZul({Tpl("t", "", {odd, IntTag(3, 9)})});
    EXPECT_EQ(bytes, expected);
}

TEST_F(MainWindowFixture, AddingATagThatExistsAsInheritedRowIsRefused)
{
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("child"));
    window->TVTags.Select(TagNode("Health"));
    window->TVTagsDblClick();
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_TRUE(hooks.LastIs("Tag \"Health\" already exists!", "Cannot add tag..."));
    EXPECT_EQ(window->LVData.Selected(), RowOfTag("Health"));
    EXPECT_EQ(Rows().size(), 4u);
}

TEST_F(MainWindowFixture, AddingATagRunsItsPrechecksThenHandsTheRowToTheValueEditor)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("plain", "", {IntTag(2, 0)}), Tpl("alive", "", {IntTag(3, 10)})}));
    int handedOver = 0;
    window->OnEditValue = [&] { ++handedOver; };
    ASSERT_TRUE(Select("plain"));
    window->TVTags.Select(TagNode("Damage"));
    window->TVTagsDblClick();
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_TRUE(hooks.LastIs("Precheck \"KEYEXISTS\" failed!", "Cannot add tag..."));
    EXPECT_EQ(RowOfTag("Damage"), -1);

    ASSERT_TRUE(Select("alive"));
    window->TVTags.Select(TagNode("Damage"));
    window->TVTagsDblClick();
    EXPECT_EQ(hooks.messages.size(), 1u);
    const int row = RowOfTag("Damage");
    ASSERT_GE(row, 0);
    EXPECT_EQ(window->LVData.ItemText(row, colSort), "0040");
    EXPECT_EQ(window->LVData.ItemText(row, colType), "SINT");
    EXPECT_EQ(window->LVData.Selected(), row);
    EXPECT_EQ(handedOver, 1);
    EXPECT_TRUE(window->FoldBlock());

    // A category node adds nothing.
    window->TVTags.Select(window->TVTags.GetFirstNode());
    window->TVTagsDblClick();
    EXPECT_EQ(handedOver, 1);
}

// An added tag takes its sorted place among the rows at once, as the next filling shows it.
TEST_F(MainWindowFixture, AddedTagTakesItsSortedPlaceAtOnce)
{
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    std::string value;
    window->OnEditValue = [&] { window->SetCurrentTagValue(value); };
    ASSERT_TRUE(Select("child"));
    value = "Item";
    window->TVTags.Select(TagNode("Class"));
    window->TVTagsDblClick();
    value = "2.500000";
    window->TVTags.Select(TagNode("Speed"));
    window->TVTagsDblClick();
    const std::vector<std::string> expected = {
        "0000|0|PARENT|STRING|parent|||",     "0001|1|Class|STRINGLIST|Item|||",
        "0002|2|Flags|FLAGS|5  [0x5]|||",     "0010|3|Health|SINT||2|parent|a.zul",
        "0011|4|Team|ENUM||1  [Player]|grand|a.zul", "0012|5|Speed|FLOAT|2.500000|||",
    };
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(window->LVData.Selected(), RowOfTag("Speed"));
    // The next filling shows the same rows.
    window->TBListSaveTemplateClick();
    ASSERT_TRUE(hooks.messages.empty());
    ASSERT_TRUE(Select("parent"));
    ASSERT_TRUE(Select("child"));
    EXPECT_EQ(Rows(), expected);
}

TEST_F(MainWindowFixture, DeletingTagsRefusesParentAndInheritedRows)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("grand", "", {IntTag(3, 1)}), Tpl("child", "grand", {IntTag(3, 5)})}));
    ASSERT_TRUE(Select("child"));
    window->TBListDeleteCurrentItemClick();  // no selected row: nothing
    EXPECT_TRUE(hooks.messages.empty());

    window->LVData.SetSelected(RowOfTag("PARENT"));
    window->TBListDeleteCurrentItemClick();
    EXPECT_TRUE(hooks.LastIs("Deleting PARENT tag is not supported yet...", "Cannot delete tag..."));

    window->LVData.SetSelected(RowOfTag("Health"));
    window->TBListDeleteCurrentItemClick();
    // The parent's value takes the place of the deleted own value.
    EXPECT_EQ(window->LVData.ItemText(RowOfTag("Health"), colInherited), "1");
    EXPECT_EQ(window->LVData.ItemText(RowOfTag("Health"), colParent), "grand");
    EXPECT_TRUE(window->GetTPL()->IsModified());
    EXPECT_EQ(window->LVData.Selected(), 0);

    window->LVData.SetSelected(RowOfTag("Health"));
    window->TBListDeleteCurrentItemClick();
    EXPECT_TRUE(hooks.LastIs("You cannot delete inherited tags...", "Cannot delete tag..."));
}

TEST_F(MainWindowFixture, TagListAcceptsDragsOfTagNodesOnlyWhileATemplateIsEdited)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("t", "", {IntTag(3, 1)})}));
    bool accept = true;
    window->TVTags.Select(TagNode("Speed"));
    window->LVDataDragOver(&window->TVTags, 5, 5, accept);
    EXPECT_FALSE(accept);  // no template selected

    ASSERT_TRUE(Select("t"));
    window->LVDataDragOver(&window->TVTemplates, 5, 5, accept);
    EXPECT_FALSE(accept);
    window->TVTags.Select(window->TVTags.GetFirstNode());
    window->LVDataDragOver(&window->TVTags, 5, 5, accept);
    EXPECT_FALSE(accept);  // a category
    window->TVTags.Select(TagNode("Speed"));
    window->LVDataDragOver(&window->TVTags, 5, 5, accept);
    EXPECT_TRUE(accept);
    window->LVDataDragDrop(&window->TVTags, 5, 5);
    EXPECT_GE(RowOfTag("Speed"), 0);
}

TEST_F(MainWindowFixture, ClickOnTagsTreeBlocksFoldingUntilTheTimerFires)
{
    TTreeNode* category = window->TVTags.GetFirstNode();
    bool allow = true;
    window->TVTagsExpanding(category, allow);
    EXPECT_TRUE(allow);
    window->TVTagsClick();
    EXPECT_TRUE(window->TimerTags.Enabled());
    EXPECT_EQ(window->TimerTags.Interval(), 250u);
    window->TVTagsExpanding(category, allow);
    EXPECT_FALSE(allow);
    allow = true;
    window->TVTagsCollapsing(category, allow);
    EXPECT_FALSE(allow);
    window->TimerTagsTimer();
    EXPECT_FALSE(window->TimerTags.Enabled());
    allow = true;
    window->TVTagsCollapsing(category, allow);
    EXPECT_TRUE(allow);
}

namespace {
// Posts the mouse messages of a press and release (twice, with the double-click between, for a
// double-click) at a point of the window, then lets them arrive.
void PostClick(HWND window, POINT at, bool doubleClick = false)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(window, WM_LBUTTONUP, 0, where);
    if (doubleClick) {
        PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageA(window, WM_LBUTTONUP, 0, where);
    }
    Application().ProcessMessages();
}

// A point on the node's [+] or [-] button, found by asking the tree along the node's line.
POINT ButtonPoint(TTreeNode* node)
{
    RECT r{};
    HTREEITEM item = node->ItemId();
    std::memcpy(&r, &item, sizeof item);
    SendMessageA(node->TreeView()->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    for (int x = 0; x < r.left; ++x) {
        TVHITTESTINFO hit = {};
        hit.pt = POINT{x, (r.top + r.bottom) / 2};
        SendMessageA(node->TreeView()->Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.hItem == item && (hit.flags & TVHT_ONITEMBUTTON))
            return hit.pt;
    }
    ADD_FAILURE() << "no button beside " << node->Text();
    return POINT{-1, -1};
}
}  // namespace

// Real mouse input: a click on a node's button folds it, also right after a click elsewhere; a
// double-click on a node neither expands nor collapses it.
TEST_F(MainWindowFixture, TheButtonOfATagsTreeNodeFoldsItOnAClick)
{
    HWND tags = window->TVTags.Handle();
    TTreeNode* category = window->TVTags.GetFirstNode();
    ASSERT_TRUE(category && category->HasChildren());
    category->Collapse(true);
    // The case ends the block itself; on a loaded machine the window's own quarter second
    // may pass between a click and the look at the block.
    window->TimerTags.SetInterval(600000);
    const POINT button = ButtonPoint(category);
    const POINT label = NodePoint(category);

    PostClick(tags, label);
    EXPECT_TRUE(window->FoldBlock());
    PostClick(tags, button);
    EXPECT_TRUE(category->Expanded());
    EXPECT_FALSE(window->FoldBlock());
    PostClick(tags, button);
    EXPECT_FALSE(category->Expanded());

    PostClick(tags, NodePoint(category), true);
    EXPECT_FALSE(category->Expanded());
    EXPECT_TRUE(window->FoldBlock());
    window->TimerTagsTimer();
    PostClick(tags, ButtonPoint(category));
    EXPECT_TRUE(category->Expanded());
}

TEST_F(MainWindowFixture, AutoTrackingFollowsTheSelectedRowUntilSwitchedOff)
{
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("child"));
    EXPECT_TRUE(window->ListViewPopup_AutoTracking->Checked());
    window->LVData.SetSelected(RowOfTag("Team"));
    EXPECT_EQ(window->TVTags.Selected(), TagNode("Team"));
    EXPECT_TRUE(TagNode("Team")->Parent()->Expanded());

    window->ListViewPopup_AutoTracking->Click();
    EXPECT_FALSE(window->AutoTracking());
    EXPECT_FALSE(window->ListViewPopup_AutoTracking->Checked());
    window->LVData.SetSelected(RowOfTag("Flags"));
    EXPECT_EQ(window->TVTags.Selected(), TagNode("Team"));
}

TEST_F(MainWindowFixture, RowHintNamesFlagsAndEnumerationValues)
{
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("child"));
    window->LVData.SetSelected(RowOfTag("Flags"));
    window->LVDataClick();
    EXPECT_EQ(window->LVData.Hint(), "a ! c");
    window->LVData.SetSelected(RowOfTag("Team"));  // inherited: the number comes from Inherited
    window->LVDataClick();
    EXPECT_EQ(window->LVData.Hint(), "Player");
    window->LVData.SetSelected(RowOfTag("Health"));
    window->LVDataClick();
    EXPECT_EQ(window->LVData.Hint(), "");
}

TEST_F(MainWindowFixture, ValueEditorHandOverNeedsATemplateAndARow)
{
    int handedOver = 0;
    window->OnEditValue = [&] { ++handedOver; };
    window->LVDataDblClick();
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_TRUE(hooks.LastIs("You must select a template first!", "Cannot edit tag..."));
    EXPECT_EQ(handedOver, 0);

    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("child"));
    window->LVData.ClearSelection();
    window->LVDataDblClick();
    EXPECT_EQ(handedOver, 0);
    window->LVData.SetSelected(RowOfTag("Health"));
    char enter = '\r';
    window->LVDataKeyPress(enter);
    EXPECT_EQ(handedOver, 1);
}

TEST_F(MainWindowFixture, SetCurrentTagValueWritesTheRowAndMarksTheTemplate)
{
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("child"));
    const int row = RowOfTag("Speed");
    EXPECT_EQ(row, -1);
    window->LVData.SetSelected(RowOfTag("Flags"));
    window->SetCurrentTagValue("6  [0x6]");
    EXPECT_EQ(window->LVData.ItemText(RowOfTag("Flags"), colValue), "6  [0x6]");
    EXPECT_TRUE(window->GetTPL()->IsModified());
    const TTagBytes saved = window->TagValueForSave(RowOfTag("Flags"));
    EXPECT_EQ(saved[0], 6);
}

TEST_F(MainWindowFixture, PostchecksReportTheFirstFailure)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("t", "", {TextTag(7, "t")})}));
    ASSERT_TRUE(Select("t"));
    window->LVData.SetSelected(RowOfTag("Drops"));
    EXPECT_TRUE(window->RunPostchecks("t", "TEMPLATE"));
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_FALSE(window->RunPostchecks("nothing", "TEMPLATE"));
    EXPECT_TRUE(hooks.LastIs("Postcheck \"TEMPLATEEXISTS\" failed!", "Cannot change the value..."));
}

TEST_F(MainWindowFixture, ALineBelowATagNodeAddsThatTag)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("t", "", {IntTag(3, 1)})}));
    ASSERT_TRUE(Select("t"));
    TTreeNode* line = TagNode("Speed")->GetFirstChild();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->Text(), "TAGID=5");
    window->TVTags.Select(line);
    window->TVTagsDblClick();
    EXPECT_GE(RowOfTag("Speed"), 0);
    EXPECT_TRUE(hooks.messages.empty());
}

TEST_F(MainWindowFixture, AddingATagWhileAFileRootIsSelectedIsRefused)
{
    // The edit state of the last template outlives a click on a file's root; a row added then
    // would belong to no template shown.
    ASSERT_TRUE(OpenZul("a.zul", Family()));
    ASSERT_TRUE(Select("child"));
    ASSERT_TRUE(Select(window->TVTemplates.GetFirstNode()));
    ASSERT_TRUE(window->GetTPL());
    int handedOver = 0;
    window->OnEditValue = [&] { ++handedOver; };
    window->TVTags.Select(TagNode("Health"));
    window->TVTagsDblClick();
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_TRUE(hooks.LastIs("You must select a template first!", "Cannot add tag..."));
    EXPECT_EQ(window->LVData.Count(), 0);
    EXPECT_EQ(handedOver, 0);
}
