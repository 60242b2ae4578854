// The templates tree: the selection guard, the save prompt, New Child, New Sibling, Save,
// Delete, re-parenting by drag and drop, search and the name box.
#include "MainWindowFixture.h"

using zultest::IntTag;
using zultest::Tpl;

namespace {
const char kPrompt[] = "The current template has been modified, do you want to save it ?";
}  // namespace

TEST_F(MainWindowFixture, NewChildOnAFileRootMakesAnUnnamedRootTemplate)
{
    TZULFile* file = OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)})});
    ASSERT_TRUE(file);
    window->TBListNewTemplateChildClick();
    TTreeNode* node = window->TVTemplates.Selected();
    ASSERT_TRUE(node);
    EXPECT_EQ(node->Text(), "unnamed");
    EXPECT_EQ(node->Parent(), file->GetRootNode());
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(window->GetTPL()->IsNew());
    EXPECT_TRUE(window->GetTPL()->IsModified());
    EXPECT_EQ(window->EDTemplateName.Text(), "unnamed");

    window->TBListSaveTemplateClick();
    EXPECT_TRUE(hooks.LastIs("You must name the template first!", "Cannot save new template..."));
}

TEST_F(MainWindowFixture, NewChildTakesAUniqueNameAndAParentRow)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}), Tpl("door_", "", {IntTag(3, 2)})}));
    ASSERT_TRUE(Select("door"));
    window->TBListNewTemplateChildClick();
    TTreeNode* node = window->TVTemplates.Selected();
    ASSERT_TRUE(node);
    EXPECT_EQ(node->Text(), "door_0");
    EXPECT_EQ(node->Parent(), Node("door"));
    EXPECT_EQ(TemplateOf(node)->parentName, "door");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0|0|PARENT|STRING|door|||", "0010|3|Health|SINT||1|door|a.zul"}));
    EXPECT_EQ(window->LVData.Selected(), 0);
}

TEST_F(MainWindowFixture, NewChildIsRefusedWithoutSelectionOrOnAReadOnlyFile)
{
    window->TBListNewTemplateChildClick();
    EXPECT_TRUE(hooks.LastIs("No selected tree item!", "Cannot create new template..."));

    zultest::WriteBytes(Path("r.zul"), zultest::BuildZul({Tpl("door", "", {IntTag(3, 1)})}));
    ASSERT_TRUE(window->OpenZULFile(Path("r.zul"), true));
    window->TBListNewTemplateChildClick();
    EXPECT_TRUE(hooks.LastIs("The ZUL file is read only!", "Cannot create new template..."));
}

TEST_F(MainWindowFixture, NewSiblingCopiesTheOwnRowsUnderANewName)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("base", "", {IntTag(4, 1)}), Tpl("door", "base", {IntTag(3, 5)})}));
    ASSERT_TRUE(Select("door"));
    window->TBListNewTemplateSibblingClick();
    TTreeNode* node = window->TVTemplates.Selected();
    ASSERT_TRUE(node);
    EXPECT_EQ(node->Text(), "door_");
    EXPECT_EQ(node->Parent(), Node("base"));
    EXPECT_EQ(window->EDTemplateName.Text(), "door_");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0000|0|PARENT|STRING|base|||", "0010|3|Health|SINT|5|||",
                                                "0011|4|Team|ENUM||1  [Player]|base|a.zul"}));
    EXPECT_TRUE(window->GetTPL()->IsNew());

    hooks.messageAnswers = {IDNO};  // leaving the unsaved copy removes it
    ASSERT_TRUE(Select(window->TVTemplates.GetFirstNode()));
    EXPECT_EQ(Node("door_"), nullptr);
    window->TBListNewTemplateSibblingClick();
    EXPECT_TRUE(hooks.LastIs("You must select a template for this operation!",
                                "Cannot create new template sibbling..."));
}

TEST_F(MainWindowFixture, NewSiblingBelowAFileRootTakesNoInheritedRows)
{
    // The copy hangs below the file's root: only a tree parent would hand it inherited rows.
    ASSERT_TRUE(OpenZul("b.zul", {Tpl("base", "", {IntTag(4, 1)})}));
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("door", "base", {IntTag(3, 5)})}));
    ASSERT_TRUE(Select("door"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0000|0|PARENT|STRING|base|||", "0010|3|Health|SINT|5|||",
                                                "0011|4|Team|ENUM||1  [Player]|base|b.zul"}));
    window->TBListNewTemplateSibblingClick();
    ASSERT_EQ(window->EDTemplateName.Text(), "door_");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0000|0|PARENT|STRING|base|||", "0010|3|Health|SINT|5|||"}));
}

TEST_F(MainWindowFixture, SavingARenamedTemplateMovesItsNameAndWritesItsRows)
{
    TZULFile* file = OpenZul("a.zul", {Tpl("base", "", {IntTag(3, 1)}), Tpl("door", "base", {IntTag(2, 1)})});
    ASSERT_TRUE(Select("door"));
    window->EDTemplateName.SetText("gate");
    EXPECT_EQ(Node("door")->Text(), "gate");  // the node follows the box
    EXPECT_TRUE(window->GetTPL()->IsModified());
    window->TBListSaveTemplateClick();
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(Node("door"), nullptr);
    TTreeNode* gate = Node("gate");
    ASSERT_TRUE(gate);
    EXPECT_EQ(TemplateOf(gate)->name, "gate");
    EXPECT_EQ(TemplateOf(gate)->parentName, "base");
    EXPECT_TRUE(TemplateOf(gate)->parentInFile);
    ASSERT_EQ(TemplateOf(gate)->tagValues.size(), 2u);
    EXPECT_EQ(TemplateOf(gate)->tagValues[0].id, 0u);
    EXPECT_EQ(TemplateOf(gate)->tagValues[1].id, 2u);  // the inherited Health row is not saved
    EXPECT_TRUE(file->IsModified());
    EXPECT_FALSE(window->GetTPL()->IsModified());
}

TEST_F(MainWindowFixture, NameBoxTurnsRedOnAClashAndTheGuardRefusesToLeave)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}), Tpl("gate", "", {IntTag(3, 2)})}));
    ASSERT_TRUE(Select("door"));
    window->EDTemplateName.SetText("GATE");
    EXPECT_EQ(window->EDTemplateName.TextColor(), RGB(255, 0, 0));
    EXPECT_FALSE(Select("gate"));
    EXPECT_TRUE(hooks.LastIs("Template name is not unique !", "Cannot change selection..."));
    window->TBListSaveTemplateClick();
    EXPECT_TRUE(hooks.LastIs("Template name is not unique !", "Cannot save..."));

    window->EDTemplateName.SetText("");
    EXPECT_FALSE(Select("gate"));
    EXPECT_TRUE(hooks.LastIs("Template name cannot be empty !", "Cannot change selection..."));
    window->EDTemplateName.SetText("door2");
    EXPECT_EQ(window->EDTemplateName.TextColor(), RGB(0, 0, 0));
}

TEST_F(MainWindowFixture, PromptAnswersSavedOnlyAfterASaveThatWentThrough)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}), Tpl("gate", "", {IntTag(3, 2)})}));
    ASSERT_TRUE(Select("door"));
    window->TBListNewTemplateChildClick();  // door_, new and unsaved
    ASSERT_EQ(window->TVTemplates.Selected()->Text(), "door_");
    window->EDTemplateName.SetText("unnamed");
    hooks.messageAnswers = {IDYES};
    EXPECT_FALSE(Select("gate"));  // the save is refused: the selection stays
    ASSERT_GE(hooks.messages.size(), 2u);
    EXPECT_EQ(hooks.messages[0].text, kPrompt);
    EXPECT_EQ(hooks.messages[0].caption, "Warning:");
    EXPECT_EQ(hooks.messages[0].buttons & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(hooks.messages[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(hooks.messages[1].text, "You must name the template first!");
    EXPECT_TRUE(Node("door_"));

    hooks.messageAnswers = {IDCANCEL};
    EXPECT_FALSE(Select("gate"));
    hooks.messageAnswers = {IDNO};  // a new template is removed
    EXPECT_TRUE(Select("gate"));
    EXPECT_EQ(Node("door_"), nullptr);
    EXPECT_FALSE(Node("door")->HasChildren());
}

TEST_F(MainWindowFixture, DiscardedNameEditRestoresTheNodeText)
{
    ASSERT_TRUE(OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}), Tpl("gate", "", {IntTag(3, 2)})}));
    ASSERT_TRUE(Select("door"));
    TTreeNode* door = Node("door");
    window->EDTemplateName.SetText("portal");
    EXPECT_EQ(door->Text(), "portal");
    hooks.messageAnswers = {IDNO};
    EXPECT_TRUE(Select("gate"));
    EXPECT_EQ(door->Text(), "door");
    EXPECT_EQ(TemplateOf(door)->name, "door");
}

TEST_F(MainWindowFixture, DeletingTemplatesRefusesRootsAndParents)
{
    TZULFile* file = OpenZul("a.zul", {Tpl("base", "", {IntTag(3, 1)}), Tpl("door", "base", {IntTag(2, 1)})});
    window->TBDeleteTemplateClick();
    EXPECT_TRUE(hooks.LastIs("This function only works on templates, not on ZUL files!",
                                "Cannot delete template root node..."));
    ASSERT_TRUE(Select("base"));
    window->TBDeleteTemplateClick();
    EXPECT_TRUE(hooks.LastIs("This template has children, you MUST delete them first!", "Cannot delete template..."));
    EXPECT_FALSE(file->IsModified());

    ASSERT_TRUE(Select("door"));
    window->TBDeleteTemplateClick();
    EXPECT_EQ(Node("door"), nullptr);
    EXPECT_EQ(file->GetTemplateList().IndexOf("door"), -1);
    EXPECT_TRUE(file->IsModified());
    ASSERT_TRUE(window->GetTPL());
    EXPECT_EQ(window->GetTPL()->GetNode(), Node("base"));
    EXPECT_EQ(window->TVTemplates.Selected(), Node("base"));
    EXPECT_EQ(window->EDTemplateName.Text(), "base");
}

TEST_F(MainWindowFixture, DropOntoATemplateOfAnotherFileMovesTheSubtree)
{
    TZULFile* a = OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}), Tpl("knob", "door", {IntTag(2, 1)})});
    TZULFile* b = OpenZul("b.zul", {Tpl("house", "", {IntTag(4, 1)})});
    a->GetRootNode()->Expand(true);
    b->GetRootNode()->Expand(true);
    ASSERT_TRUE(Select("door"));
    const POINT at = NodePoint(Node("house"));
    bool accept = false;
    window->TVTemplatesDragOver(&window->TVTemplates, at.x, at.y, accept);
    ASSERT_TRUE(accept);
    window->TVTemplatesDragDrop(&window->TVTemplates, at.x, at.y);

    TTreeNode* door = Node("door");
    ASSERT_TRUE(door);
    EXPECT_EQ(door->Parent(), Node("house"));
    EXPECT_EQ(Node("knob")->Parent(), door);
    EXPECT_EQ(a->GetTemplateList().IndexOf("door"), -1);
    EXPECT_EQ(a->GetTemplateList().IndexOf("knob"), -1);
    EXPECT_GE(b->GetTemplateList().IndexOf("knob"), 0);
    EXPECT_EQ(TemplateOf(door)->parentName, "house");
    ASSERT_FALSE(TemplateOf(door)->tagValues.empty());
    EXPECT_EQ(TemplateOf(door)->tagValues[0].id, 0u);
    EXPECT_EQ(TagBytesText(TemplateOf(door)->tagValues[0].value), "house");
    EXPECT_TRUE(a->IsModified());
    EXPECT_TRUE(b->IsModified());
    EXPECT_EQ(window->LVData.ItemText(RowOfTag("Team"), colParent), "house");
}

TEST_F(MainWindowFixture, DropOntoAnotherFilesRootKeepsTheParentTag)
{
    OpenZul("a.zul", {Tpl("base", "", {IntTag(3, 1)}), Tpl("door", "base", {IntTag(2, 1)})});
    TZULFile* b = OpenZul("b.zul", {Tpl("house", "", {IntTag(4, 1)})});
    Node("base")->Expand(true);
    ASSERT_TRUE(Select("door"));
    const POINT at = NodePoint(b->GetRootNode());
    window->TVTemplatesDragDrop(&window->TVTemplates, at.x, at.y);
    TTreeNode* door = Node("door");
    EXPECT_EQ(door->Parent(), b->GetRootNode());
    EXPECT_EQ(TemplateOf(door)->parentName, "base");
    EXPECT_FALSE(TemplateOf(door)->parentInFile);
    EXPECT_EQ(TemplateOf(door)->tagValues[0].id, 0u);
    EXPECT_EQ(window->LVData.ItemText(RowOfTag("Health"), colParentZUL), "a.zul");
}

TEST_F(MainWindowFixture, DropsIntoTheOwnSubtreeAndDragsOfRootsAreRefused)
{
    TZULFile* a = OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}), Tpl("knob", "door", {IntTag(2, 1)})});
    a->GetRootNode()->Expand(true);
    ASSERT_TRUE(Select("door"));
    POINT at = NodePoint(Node("knob"));
    bool accept = true;
    window->TVTemplatesDragOver(&window->TVTemplates, at.x, at.y, accept);
    EXPECT_FALSE(accept);
    window->TVTemplatesDragDrop(&window->TVTemplates, at.x, at.y);
    EXPECT_EQ(Node("knob")->Parent(), Node("door"));

    OpenZul("b.zul", {Tpl("house", "", {IntTag(4, 1)})});
    ASSERT_TRUE(Select(a->GetRootNode()));
    at = NodePoint(Node("house"));
    accept = true;
    window->TVTemplatesDragOver(&window->TVTemplates, at.x, at.y, accept);
    EXPECT_FALSE(accept);
    window->TVTemplatesDragDrop(&window->TVTemplates, at.x, at.y);
    EXPECT_EQ(a->GetRootNode()->Parent(), nullptr);
    accept = true;
    window->TVTemplatesDragOver(&window->TVTags, at.x, at.y, accept);
    EXPECT_FALSE(accept);
}

TEST_F(MainWindowFixture, DropIntoAFileHoldingTheSameNameIsRefused)
{
    OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)})});
    TZULFile* b = OpenZul("b.zul", {Tpl("house", "", {IntTag(4, 1)}), Tpl("door", "", {IntTag(4, 2)})});
    TTreeNode* door = window->FindTemplateInFile(window->TVTemplates.GetFirstNode(), "door", nullptr);
    ASSERT_TRUE(Select(door));
    b->GetRootNode()->Expand(true);
    const POINT at = NodePoint(Node("house"));
    window->TVTemplatesDragDrop(&window->TVTemplates, at.x, at.y);
    EXPECT_EQ(hooks.Last().caption, "Cannot move template...");
    EXPECT_EQ(door->Parent(), window->TVTemplates.GetFirstNode());
}

TEST_F(MainWindowFixture, SearchFindsTemplatesInAnyLetterCase)
{
    OpenZul("a.zul", {Tpl("base", "", {IntTag(3, 1)}), Tpl("Door", "base", {IntTag(2, 1)})});
    window->EDSearch.SetText("dOOR");
    window->SBSearchClick();
    EXPECT_EQ(window->TVTemplates.Selected(), Node("Door"));
    EXPECT_EQ(window->EDTemplateName.Text(), "Door");
}

TEST_F(MainWindowFixture, DescriptionEditsMarkTheTemplateAndAreSaved)
{
    OpenZul("a.zul", {Tpl("door", "", {IntTag(3, 1)}, "old\r\n")});
    ASSERT_TRUE(Select("door"));
    EXPECT_EQ(window->Description.Lines(), (std::vector<std::string>{"old"}));
    EXPECT_FALSE(window->GetTPL()->IsModified());
    window->Description.AddLine("second");  // as typed: a memo reports no change for a text set whole
    EXPECT_TRUE(window->GetTPL()->IsModified());
    window->TBListSaveTemplateClick();
    const TZULTemplate* tpl = TemplateOf(Node("door"));
    ASSERT_EQ(tpl->description.Count(), 2);
    EXPECT_EQ(tpl->description.Strings(1), "second");
}
