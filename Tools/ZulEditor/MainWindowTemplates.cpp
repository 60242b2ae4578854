// The main window's templates tree: the selection and its guard, the prompt for unsaved edits,
// New Child, New Sibling, Save, Delete, re-parenting by drag and drop, search, name and
// description boxes.
#include "MainWindow.h"
#include "Dialogs.h"
#include "Hooks.h"
#include "ZULData.h"

namespace {
const char kNoSelection[] = "No selected tree item!";
const char kReadOnlyZul[] = "The ZUL file is read only!";
const char kNameEmpty[] = "Template name cannot be empty !";
const char kNameNotUnique[] = "Template name is not unique !";
const char kCannotSave[] = "Cannot save...";
const char kCannotSaveNew[] = "Cannot save new template...";
const char kCannotCreate[] = "Cannot create new template...";
const char kCannotCreateSibling[] = "Cannot create new template sibbling...";
const char kCannotDelete[] = "Cannot delete template...";
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);

void SubtreeNames(TTreeNode* node, std::vector<std::string>& names)
{
    names.push_back(node->Text());
    for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
        SubtreeNames(c, names);
}
}  // namespace

// ---------------------------------------------------------------- selection

void TMainWindow::TVTemplatesChanging(TTreeNode* node, bool& allow)
{
    if (TreeUpdating())
        return;
    TTreeNode* current = TVTemplates.Selected();
    TTPL* tpl = GetTPL();
    if (!current || current->Level() == 0 || !tpl)
        return;
    const std::string name = EDTemplateName.Text();
    if (name.empty()) {
        MessageDlg(kNameEmpty, "Cannot change selection...");
        allow = false;
        return;
    }
    if (FindTemplate(name, tpl->GetNode())) {
        MessageDlg(kNameNotUnique, "Cannot change selection...");
        allow = false;
        return;
    }
    if (!SaveTemplatePrompt()) {
        allow = false;
        return;
    }
    if (promptRemovedNew_) {
        // The node the control was leaving is gone: the control must not touch it again, so its
        // own change is refused and the selection is made here instead.
        allow = false;
        TVTemplates.Select(node);
    }
}

void TMainWindow::TVTemplatesChange(TTreeNode* node)
{
    if (TreeUpdating())
        return;
    SetHeaderReadOnly(!TemplateOfNode(node));
    ShowTemplate(node);
}

void TMainWindow::ShowTemplate(TTreeNode* node)
{
    ClearTagList();
    SetNameBox("");
    EDFileName.SetText("");
    SetDescriptionLines({});
    TZULFile* file = FileOfNode(node);
    SetStatusText(file ? file->GetFileName() : "");
    TZULTemplate* tpl = TemplateOfNode(node);
    if (!tpl)
        return;  // a file's root: the edit state of the last template stays
    FillTagList(node);
    FreeTPL();
    auto* edit = new TTPL(file, node);
    edit->SetName(tpl->name);
    edit->SetModified(false);
    SetTPL(edit);
    SetNameBox(edit->GetName());
    EDFileName.SetText(ExtractFileName(file->GetFileName()));
    std::vector<std::string> lines;
    for (int i = 0; i < tpl->description.Count(); ++i)
        lines.push_back(tpl->description.Strings(i));
    SetDescriptionLines(lines);
}

bool TMainWindow::SaveTemplatePrompt()
{
    promptRemovedNew_ = false;
    TTPL* tpl = GetTPL();
    if (!tpl || !tpl->IsModified())
        return true;
    const int answer = MessageDlg("The current template has been modified, do you want to save it ?", "Warning:",
                                  MB_YESNOCANCEL, MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        return SaveTemplate();  // a refused save keeps the edits and stops the command
    if (tpl->IsNew()) {
        RemoveNewTemplate();
        promptRemovedNew_ = true;
        return true;
    }
    // The edits are given up: the node shows the saved name again, and nobody is asked twice.
    if (const TZULTemplate* saved = TemplateOfNode(tpl->GetNode()))
        tpl->GetNode()->SetText(saved->name);
    tpl->SetModified(false);
    return true;
}

void TMainWindow::RemoveNewTemplate()
{
    TTPL* tpl = GetTPL();
    TTreeNode* node = tpl->GetNode();
    TZULTemplate* t = TemplateOfNode(node);
    if (node) {
        TTreeUpdate update(*this);
        if (TZULFile* file = tpl->GetFile())
            file->RemoveTemplateName(tpl->GetName(), node);
        TVTemplates.Delete(node);
    }
    delete t;
    FreeTPL();
    ClearTagList();
    SetNameBox("");
}

// ---------------------------------------------------------------- commands

bool TMainWindow::NewChild()
{
    if (!SaveTemplatePrompt())
        return false;
    TTreeNode* selected = TVTemplates.Selected();
    if (!selected) {
        MessageDlg(kNoSelection, kCannotCreate);
        return false;
    }
    TZULFile* file = FileOfNode(selected);
    if (!file)
        return false;
    if (file->IsReadOnly()) {
        MessageDlg(kReadOnlyZul, kCannotCreate);
        return false;
    }
    FreeTPL();
    auto* edit = new TTPL(file, nullptr);
    edit->SetNew(true);
    SetTPL(edit);
    ClearTagList();

    const TZULTemplate* above = TemplateOfNode(selected);
    const std::string name = above ? MakeUniqueName(above->name) : "unnamed";
    const std::string parentName = above ? above->name : "";
    edit->SetName(name);
    TTreeNode* node = nullptr;
    {
        TTreeUpdate update(*this);
        node = TVTemplates.AddChild(selected, name);
        node->SetImageIndex(IMAGE_TEMPLATE);
        node->SetSelectedIndex(IMAGE_TEMPLATE);
        selected->Expand(false);
        TVTemplates.Select(node);
    }
    edit->SetNode(node);
    auto* tpl = new TZULTemplate(name);
    tpl->parentName = parentName;
    tpl->parentInFile = true;
    file->GetTemplateList().AddObject(name, node);
    node->SetData(tpl);

    if (above) {
        const int row = AddTagRow("0", 0, "PARENT", "STRING", parentName, "", "", "", TagBytesFromText(parentName));
        LVData.SetSelected(row);
        LVData.SetFocus();
        WalkParents(selected, node);
    }
    SetHeaderReadOnly(false);
    SetNameBox(name);
    EDFileName.SetText(ExtractFileName(file->GetFileName()));
    EDTemplateName.SetFocus();
    if (TTreeNode* first = TVTags.GetFirstNode()) {
        first->Collapse(true);
        first->Expand(false);
    }
    return true;
}

void TMainWindow::TBListNewTemplateChildClick()
{
    NewChild();
}

void TMainWindow::TBListNewTemplateSibblingClick()
{
    if (!SaveTemplatePrompt())
        return;
    TTreeNode* selected = TVTemplates.Selected();
    if (!selected) {
        MessageDlg(kNoSelection, kCannotCreateSibling);
        return;
    }
    if (selected->Level() == 0) {
        MessageDlg("You must select a template for this operation!", kCannotCreateSibling);
        return;
    }
    TTreeNode* parent = selected->Parent();
    TVTemplates.Select(parent);
    if (TVTemplates.Selected() != parent || !NewChild())
        return;

    TTPL* edit = GetTPL();
    TTreeNode* node = edit->GetNode();
    TZULTemplate* tpl = TemplateOfNode(node);
    const std::string name = MakeUniqueName(TemplateOfNode(selected)->name);
    edit->GetFile()->RemoveTemplateName(edit->GetName(), node);
    edit->GetFile()->GetTemplateList().AddObject(name, node);
    edit->SetName(name);
    node->SetText(name);
    tpl->name = name;
    SetNameBox(name);

    LVData.BeginUpdate();
    ClearTagList();
    FillTagRows(selected, false);
    if (selected->Level() >= 2)  // only a tree parent hands the copy inherited rows
        AddInheritedFromAbove(selected);
    LVData.EndUpdate();
}

bool TMainWindow::SaveTemplate()
{
    TTPL* edit = GetTPL();
    TTreeNode* node = edit ? edit->GetNode() : nullptr;
    TZULTemplate* tpl = TemplateOfNode(node);
    TZULFile* file = edit ? edit->GetFile() : nullptr;
    const std::string name = EDTemplateName.Text();
    if (name.empty()) {
        MessageDlg(kNameEmpty, kCannotSave);
        return false;
    }
    if (!tpl || !file)
        return false;
    if (FindTemplate(name, node)) {
        MessageDlg(kNameNotUnique, kCannotSave);
        return false;
    }
    if (file->IsReadOnly()) {
        MessageDlg(kReadOnlyZul, kCannotSaveNew);
        return false;
    }
    if (name == "unnamed") {
        MessageDlg("You must name the template first!", kCannotSaveNew);
        return false;
    }
    if (name != edit->GetName()) {
        file->RemoveTemplateName(edit->GetName(), node);
        file->GetTemplateList().AddObject(name, node);
    }
    edit->SetName(name);
    node->SetText(name);
    tpl->name = name;
    {
        TTreeUpdate update(*this);
        TVTemplates.SortChildren(node->Parent());
    }

    tpl->tagValues.clear();
    tpl->parentName.clear();
    tpl->parentInFile = true;
    for (int row = 0; row < LVData.Count(); ++row) {
        if (!LVData.ItemText(row, colParent).empty())
            continue;  // inherited
        TZULTagValue value;
        value.id = ReadLeadingInt(LVData.ItemText(row, colTagID));
        value.value = TagValueForSave(row);
        if (TTagRow* record = RowRecord(row)) {
            record->raw = value.value;
            record->edited = false;
        }
        if (value.id == 0) {
            tpl->parentName = LVData.ItemText(row, colValue);
            tpl->parentInFile = node->Level() >= 2;
        }
        tpl->tagValues.push_back(value);
    }
    tpl->description.Clear();
    for (const std::string& line : Description.Lines())
        tpl->description.Add(line);
    edit->SetNew(false);
    edit->SetModified(false);
    file->SetModified(true);
    return true;
}

void TMainWindow::TBListSaveTemplateClick()
{
    SaveTemplate();
}

void TMainWindow::TBDeleteTemplateClick()
{
    TTreeNode* selected = TVTemplates.Selected();
    if (!selected) {
        MessageDlg("You must select a template!", kCannotDelete);
        return;
    }
    if (selected->Level() == 0) {
        MessageDlg("This function only works on templates, not on ZUL files!", "Cannot delete template root node...");
        return;
    }
    TTPL* edit = GetTPL();
    if (!edit || !edit->GetNode())
        return;
    if (edit->GetNode()->HasChildren()) {
        MessageDlg("This template has children, you MUST delete them first!", kCannotDelete);
        return;
    }
    if (!SaveTemplatePrompt() || promptRemovedNew_)
        return;
    edit = GetTPL();
    TTreeNode* node = edit->GetNode();
    TZULFile* file = edit->GetFile();
    TZULTemplate* tpl = TemplateOfNode(node);
    {
        TTreeUpdate update(*this);
        file->RemoveTemplateName(edit->GetName(), node);
        TVTemplates.Delete(node);
    }
    delete tpl;
    file->SetModified(true);
    FreeTPL();
    ClearTagList();
    TVTemplatesChange(TVTemplates.Selected());
}

// ---------------------------------------------------------------- re-parenting

void TMainWindow::TVTemplatesDragOver(TControl* source, int x, int y, bool& accept)
{
    accept = false;
    if (source != &TVTemplates)
        return;
    TTreeNode* dragged = TVTemplates.Selected();
    TTreeNode* target = TVTemplates.GetNodeAt(x, y);
    // A file's root never moves, and no template goes below itself.
    accept = dragged && dragged->Level() > 0 && target && target != dragged && !target->HasAsParent(dragged);
}

void TMainWindow::TVTemplatesDragDrop(TControl* source, int x, int y)
{
    bool accept = false;
    TVTemplatesDragOver(source, x, y, accept);
    if (!accept || !SaveTemplatePrompt() || promptRemovedNew_)
        return;
    TTreeNode* dragged = TVTemplates.Selected();
    TTreeNode* target = TVTemplates.GetNodeAt(x, y);
    TVTemplatesDragOver(source, x, y, accept);
    TZULTemplate* tpl = TemplateOfNode(dragged);
    if (!accept || !tpl)
        return;
    TZULFile* sourceFile = FileOfNode(dragged);
    TZULFile* targetFile = FileOfNode(target);
    if (sourceFile != targetFile) {
        // A file's name list holds each name once: a clash would hide a template from lookups.
        std::vector<std::string> names;
        SubtreeNames(dragged, names);
        for (const std::string& name : names)
            if (FindTemplateInFile(target, name, nullptr)) {
                MessageDlg("A template named \"" + name + "\" is already in " +
                               ExtractFileName(targetFile->GetFileName()) + "!",
                           "Cannot move template...");
                return;
            }
    }
    {
        TTreeUpdate update(*this);
        if (!dragged->MoveTo(target))
            return;
        TVTemplates.Select(dragged);
    }
    const TZULTemplate* targetTpl = TemplateOfNode(target);
    if (sourceFile == targetFile || targetTpl) {
        tpl->parentName.clear();
        tpl->parentInFile = true;
        for (auto it = tpl->tagValues.begin(); it != tpl->tagValues.end(); ++it)
            if (it->id == 0) {
                tpl->tagValues.erase(it);
                break;
            }
        if (targetTpl) {
            tpl->tagValues.insert(tpl->tagValues.begin(), TZULTagValue{0, TagBytesFromText(targetTpl->name)});
            tpl->parentName = targetTpl->name;
        }
    } else {
        tpl->parentInFile = false;  // inherits by name across files
    }
    TVTemplatesChange(dragged);
    sourceFile->SetModified(true);
    targetFile->SetModified(true);
    if (sourceFile != targetFile) {
        RebuildTemplateList(sourceFile->GetRootNode());
        RebuildTemplateList(targetFile->GetRootNode());
    }
}

// ---------------------------------------------------------------- search and header boxes

void TMainWindow::SBSearchClick()
{
    const std::string text = EDSearch.Text();
    if (text.empty())
        return;
    if (TTreeNode* node = FindTemplate(text, nullptr)) {
        node->MakeVisible();
        TVTemplates.Select(node);
    }
}

void TMainWindow::EDTemplateNameChange()
{
    TTPL* edit = GetTPL();
    if (nameSetByProgram_ || !edit || !TemplateOfNode(TVTemplates.Selected()) ||
        TVTemplates.Selected() != edit->GetNode())
        return;
    const std::string text = EDTemplateName.Text();
    edit->GetNode()->SetText(text);
    EDTemplateName.SetTextColor(FindTemplate(text, edit->GetNode()) ? kRed : kBlack);
    edit->SetModified(true);
}

void TMainWindow::DescriptionChange()
{
    if (descriptionSetByProgram_)
        return;
    if (TTPL* edit = GetTPL())
        edit->SetModified(true);
}
