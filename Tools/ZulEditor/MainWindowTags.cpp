// The main window's tag list: rows of the edited template's own values and of the values it
// inherits, adding and deleting tags, and the tags tree beside it.
#include "MainWindow.h"
#include "Application.h"
#include "Dialogs.h"
#include "Hooks.h"
#include "ZULData.h"
#include <cstdio>
#include <unordered_set>

namespace {
const char kCannotAddTag[] = "Cannot add tag...";
const char kCannotDeleteTag[] = "Cannot delete tag...";

std::string SortText(int sort)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%-4.4d", sort);
    return buffer;
}
}  // namespace

// ---------------------------------------------------------------- rows

int TMainWindow::AddTagRow(const std::string& sortText, uint32_t tagId, const std::string& tag,
                           const std::string& type, const std::string& value, const std::string& inherited,
                           const std::string& parent, const std::string& parentZUL, const TTagBytes& raw)
{
    rowRecords_.push_back(TTagRow{raw, false});
    const int row = LVData.AddItem(sortText, -1, &rowRecords_.back());
    if (row < 0) {
        rowRecords_.pop_back();
        return -1;
    }
    const std::string texts[] = {std::to_string(static_cast<int32_t>(tagId)), tag, type, value, inherited,
                                 parent, parentZUL};
    for (int column = colTagID; column <= colParentZUL; ++column)
        LVData.SetItemText(row, column, texts[column - colTagID]);
    return row;
}

void TMainWindow::DeleteTagRow(int row)
{
    TTagRow* record = RowRecord(row);
    LVData.Delete(row);
    rowRecords_.remove_if([record](const TTagRow& r) { return &r == record; });
}

void TMainWindow::ClearTagList()
{
    LVData.Clear();
    rowRecords_.clear();
}

TTagRow* TMainWindow::RowRecord(int row) const
{
    return row >= 0 && row < LVData.Count() ? static_cast<TTagRow*>(LVData.ItemData(row)) : nullptr;
}

TTagBytes TMainWindow::TagValueForSave(int row) const
{
    const TTagRow* record = RowRecord(row);
    if (!record)
        return TTagBytes{};
    return ::TagValueForSave(LVData.ItemText(row, colType), LVData.ItemText(row, colValue), record->raw,
                             record->edited);
}

void TMainWindow::FillTagRows(TTreeNode* node, bool inherited)
{
    const TZULTemplate* tpl = TemplateOfNode(node);
    if (!tpl)
        return;
    const std::string fileName = inherited ? ExtractFileName(FileOfNode(node)->GetFileName()) : "";
    for (const TZULTagValue& v : tpl->tagValues) {
        if (FindTagRow(static_cast<int>(v.id)) >= 0)
            continue;
        const TTagInfo* info = FindTagInfoById(static_cast<int>(v.id));
        // A value whose tag has no definition is listed by its id and keeps its bytes.
        const std::string type = info ? info->dataType : "";
        const std::string shown = info ? FormatTagValue(type, v.value, DataFile(), info->ref) : "(no definition)";
        AddTagRow(SortText(info ? info->sort : -1), v.id, info ? info->name : "", type, inherited ? "" : shown,
                  inherited ? shown : "", inherited ? tpl->name : "", fileName, v.value);
    }
}

TTreeNode* TMainWindow::TemplateAbove(TTreeNode* node) const
{
    const TZULTemplate* tpl = TemplateOfNode(node);
    if (!tpl)
        return nullptr;
    if (node->Level() >= 2)
        return node->Parent();
    return tpl->parentName.empty() ? nullptr : FindTemplate(tpl->parentName, nullptr);
}

void TMainWindow::WalkParents(TTreeNode* node, TTreeNode* start)
{
    std::unordered_set<TTreeNode*> visited;
    if (start)
        visited.insert(start);
    while (node && visited.insert(node).second) {
        FillTagRows(node, true);
        const TZULTemplate* tpl = TemplateOfNode(node);
        if (!tpl || tpl->parentName.empty())
            break;
        node = TemplateAbove(node);
    }
}

void TMainWindow::AddInheritedFromAbove(TTreeNode* node)
{
    if (TTreeNode* above = TemplateAbove(node))
        WalkParents(above, node);
}

void TMainWindow::FillTagList(TTreeNode* node)
{
    LVData.BeginUpdate();
    filling_ = true;
    LVData.SetSortColumn(-1);
    LVData.SetHint("");
    ClearTagList();
    FillTagRows(node, false);
    AddInheritedFromAbove(node);
    LVData.SetSortColumn(colSort);
    filling_ = false;
    LVData.EndUpdate();
}

// ---------------------------------------------------------------- checks see the rows

int TMainWindow::FindTagRow(int tagId) const
{
    for (int row = 0; row < LVData.Count(); ++row)
        if (static_cast<int>(ReadLeadingInt(LVData.ItemText(row, colTagID))) == tagId)
            return row;
    return -1;
}

std::string TMainWindow::RowValue(int row) const
{
    return LVData.ItemText(row, colValue);
}

std::string TMainWindow::RowInherited(int row) const
{
    return LVData.ItemText(row, colInherited);
}

bool TMainWindow::TemplateExists(const std::string& name) const
{
    return FindTemplate(name, nullptr) != nullptr;
}

// ---------------------------------------------------------------- adding and deleting tags

TTreeNode* TMainWindow::SelectedTagNode() const
{
    TTreeNode* node = TVTags.Selected();
    if (!node || node->Level() == 0)
        return nullptr;  // a category
    while (node->Level() > 1)
        node = node->Parent();
    return node;
}

void TMainWindow::AddTag(TTreeNode* tagNode)
{
    const TTagInfo* info = tagNode ? static_cast<const TTagInfo*>(tagNode->Data()) : nullptr;
    if (!info)
        return;
    foldBlock_ = true;
    if (!GetTPL() || !TemplateOfNode(TVTemplates.Selected())) {
        MessageDlg("You must select a template first!", kCannotAddTag);
        return;
    }
    const int existing = FindTagRow(info->tagId);
    if (existing >= 0) {
        MessageDlg("Tag \"" + info->name + "\" already exists!", kCannotAddTag);
        LVData.SetSelected(existing);
        LVData.SetFocus();
        return;
    }
    for (const TParsedCheck& check : info->preChecks)
        if (!check.Run(info, "", "", *this)) {
            MessageDlg("Precheck \"" + check.Name() + "\" failed!", kCannotAddTag);
            return;
        }
    // The Sort text of a filled list, so that the row takes its sorted place at once.
    const int row = AddTagRow(SortText(info->sort), static_cast<uint32_t>(info->tagId), info->name,
                              info->dataType, "", "", "", "", TTagBytes{});
    if (row < 0)
        return;
    RowRecord(row)->edited = true;  // a new value: its bytes come from its text
    LVData.SetSelected(row);
    LVData.SetFocus();
    LVDataDblClick();
}

void TMainWindow::TVTagsDblClick()
{
    AddTag(SelectedTagNode());
}

void TMainWindow::TBListDeleteCurrentItemClick()
{
    const int row = LVData.Selected();
    if (row < 0)
        return;
    if (LVData.ItemText(row, colTag) == "PARENT") {
        MessageDlg("Deleting PARENT tag is not supported yet...", kCannotDeleteTag);
        return;
    }
    if (!LVData.ItemText(row, colInherited).empty()) {
        MessageDlg("You cannot delete inherited tags...", kCannotDeleteTag);
        return;
    }
    DeleteTagRow(row);
    if (TTPL* tpl = GetTPL()) {
        AddInheritedFromAbove(tpl->GetNode());
        tpl->SetModified(true);
    }
    if (LVData.Count() > 0) {
        LVData.SetSelected(0);
        LVData.SetItemFocused(0);
    }
}

// ---------------------------------------------------------------- tags tree

void TMainWindow::TVTagsClick()
{
    // A click on a node's button asks to fold it: that one goes through, whatever came before.
    // Any other click holds folding back for a moment, so that a double-click adds a tag
    // without also folding its node.
    const bool onButton = TVTags.PressedOnButton();
    foldBlock_ = !onButton;
    TimerTags.SetEnabled(!onButton);
}

void TMainWindow::TimerTagsTimer()
{
    foldBlock_ = false;
    TimerTags.SetEnabled(false);
}

void TMainWindow::TVTagsExpanding(TTreeNode*, bool& allow)
{
    allow = !foldBlock_;
}

void TMainWindow::TVTagsCollapsing(TTreeNode*, bool& allow)
{
    allow = !foldBlock_;
}

void TMainWindow::LVDataDragOver(TControl* source, int, int, bool& accept)
{
    const TTreeNode* tagNode = TVTags.Selected();
    accept = source == &TVTags && tagNode && tagNode->Level() == 1 && TemplateOfNode(TVTemplates.Selected()) &&
             GetTPL();
}

void TMainWindow::LVDataDragDrop(TControl* source, int x, int y)
{
    bool accept = true;
    LVDataDragOver(source, x, y, accept);
    if (accept)
        AddTag(TVTags.Selected());
}

const TTagInfo* TMainWindow::RowTagInfo(int row)
{
    if (row < 0)
        return nullptr;
    return FindTagInfoById(static_cast<int>(ReadLeadingInt(LVData.ItemText(row, colTagID))));
}

void TMainWindow::LVDataChange(int item)
{
    if (item < 0 || item != LVData.Selected() || LVData.ItemFocused() != item || filling_ || !created_ ||
        !autoTracking_)
        return;
    TVTags.BeginUpdate();
    for (TTreeNode* category = TVTags.GetFirstNode(); category; category = category->GetNextSibling())
        category->Collapse(true);
    if (const TTagInfo* info = RowTagInfo(item); info && info->tagNode) {
        if (TTreeNode* category = info->tagNode->Parent())
            category->Expand(false);
        info->tagNode->Expand(true);
        TVTags.Select(info->tagNode);
    }
    TVTags.EndUpdate();
}

void TMainWindow::LVDataClick()
{
    LVData.SetHint("");
    const int row = LVData.Selected();
    if (row < 0)
        return;
    const TTagInfo* info = RowTagInfo(row);
    if (!info || !DataFile())
        return;
    const TDataType type = DataTypeFromName(LVData.ItemText(row, colType));
    if (type != dtFLAGS && type != dtENUM)
        return;
    TStringList section;
    DataFile()->ReadSectionValues(info->ref, section);
    std::string text = LVData.ItemText(row, colValue);
    if (text.empty())
        text = LVData.ItemText(row, colInherited);
    const uint32_t number = ReadLeadingInt(text);
    const int lines = section.Count();
    std::string hint;
    if (type == dtFLAGS) {
        for (int bit = 0; bit < lines && bit < 32; ++bit)
            if (number & (1u << bit)) {
                if (!hint.empty())
                    hint += " ! ";
                hint += DataFile()->ReadString(info->ref, std::to_string(bit), "");
            }
    } else if (static_cast<int32_t>(number) >= 0 && static_cast<int32_t>(number) < lines) {
        hint = DataFile()->ReadString(info->ref, std::to_string(number), "");
    }
    LVData.SetHint(hint);
}

void TMainWindow::LVDataKeyPress(char& key)
{
    if (key == '\r') {
        key = 0;
        LVDataDblClick();
    }
}

void TMainWindow::ListViewPopup_AutoTrackingClick()
{
    autoTracking_ = !autoTracking_;
    ListViewPopup_AutoTracking->SetChecked(autoTracking_);
}

// ---------------------------------------------------------------- the value editor's side

void TMainWindow::LVDataDblClick()
{
    if (!GetTPL()) {
        MessageDlg("You must select a template first!", "Cannot edit tag...");
        return;
    }
    if (LVData.Selected() < 0)
        return;
    if (OnEditValue)
        OnEditValue();
}

bool TMainWindow::RunPostchecks(const std::string& value, const std::string& type)
{
    const TTagInfo* info = RowTagInfo(LVData.Selected());
    if (!info)
        return true;
    for (const TParsedCheck& check : info->postChecks)
        if (!check.Run(info, value, type, *this)) {
            MessageDlg("Postcheck \"" + check.Name() + "\" failed!", "Cannot change the value...");
            return false;
        }
    return true;
}

void TMainWindow::SetCurrentTagValue(const std::string& text)
{
    const int row = LVData.Selected();
    TTPL* tpl = GetTPL();
    if (row < 0 || !tpl)
        return;
    LVData.SetItemText(row, colValue, text);
    if (TTagRow* record = RowRecord(row))
        record->edited = true;
    tpl->SetModified(true);
}

void TMainWindow::DeleteCurrentTagRow()
{
    const int row = LVData.Selected();
    if (row >= 0)
        DeleteTagRow(row);
}
