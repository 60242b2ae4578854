#include "ZULModel.h"
#include "Hooks.h"
#include "TreeView.h"
#include <new>
#include <vector>

namespace {
const char kOpenCaption[] = "Cannot Open ZUL...";

std::string FileNameOnly(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

TTPL::TTPL(TZULFile* file, TTreeNode* node)
    : name_(node ? node->Text() : "unnamed"), node_(node), file_(file)
{
}

TTemplateModel::TTemplateModel(TTreeView& templatesTree) : tree_(templatesTree)
{
}

TTemplateModel::~TTemplateModel()
{
    tpl_.reset();
    FreeZULFiles();
}

void TTemplateModel::ClearZULFiles()
{
    for (TZULFile*& f : files_)
        f = nullptr;
}

void TTemplateModel::FreeZULFiles()
{
    for (TZULFile* f : files_)
        if (f)
            DestroyFile(f);
    ClearZULFiles();
}

int TTemplateModel::FindFreeZULSlot() const
{
    for (int i = 0; i < MAX_ZULFILES; ++i)
        if (!files_[i])
            return i;
    return -1;
}

int TTemplateModel::FindZULFile(const std::string& path) const
{
    for (int i = 0; i < MAX_ZULFILES; ++i)
        if (files_[i] && files_[i]->GetFileName() == path)
            return i;
    return -1;
}

void TTemplateModel::RegisterZULFile(int slot, TZULFile* file)
{
    if (slot < 0 || slot >= MAX_ZULFILES || files_[slot]) {
        MessageDlg("This ZUL file index was already in use!", "Bug!!!");
        return;
    }
    files_[slot] = file;
}

void TTemplateModel::UnregisterZULFile(int slot, TZULFile* file)
{
    if (slot < 0 || slot >= MAX_ZULFILES || files_[slot] != file) {
        MessageDlg("Trying to remove invalid ZUL file index!", "Bug!!!");
        return;
    }
    files_[slot] = nullptr;
}

TZULFile* TTemplateModel::EnterFile(TZULFile* file, TTreeNode* root, int image)
{
    root->SetData(file);
    root->SetImageIndex(image);
    root->SetSelectedIndex(image);
    RegisterZULFile(file->GetSlot(), file);
    return file;
}

void TTemplateModel::DestroyFile(TZULFile* file)
{
    UnregisterZULFile(file->GetSlot(), file);
    delete file;
}

TZULFile* TTemplateModel::GetZULFile(int slot) const
{
    return slot >= 0 && slot < MAX_ZULFILES ? files_[slot] : nullptr;
}

TZULFile* TTemplateModel::FileOfNode(TTreeNode* node) const
{
    if (!node)
        return nullptr;
    while (node->Parent())
        node = node->Parent();
    return static_cast<TZULFile*>(node->Data());
}

TZULFile* TTemplateModel::OpenZULFile(const std::string& path, bool readOnly)
{
    if (FindZULFile(path) >= 0) {
        MessageDlg("This ZUL file is already open!", kOpenCaption);
        return nullptr;
    }
    const int slot = FindFreeZULSlot();
    if (slot < 0) {
        MessageDlg("MAX_ZULFILES reached, ask Orvel to bump that value up!", kOpenCaption);
        return nullptr;
    }
    const std::string noMemory = "The file \"" + path + "\" cannot be opened: there is not enough memory to read it.";
    tree_.BeginUpdate();
    TTreeNode* root = nullptr;
    TZULFile* file = nullptr;
    std::string why;
    try {
        root = tree_.Add(FileNameOnly(path));
        file = new TZULFile(*this, path, slot, root, readOnly);
        if (file->IsOpen()) {
            SortTemplateTree(root);
            EnterFile(file, root, file->IsReadOnly() ? IMAGE_FILE_READONLY : IMAGE_FILE);
            tree_.EndUpdate();
            return file;
        }
        why = file->OpenError();
    } catch (const std::bad_alloc&) {
        why = noMemory;
    }
    // A file that did not open leaves nothing behind: no node, no name; it never took its slot.
    if (file)
        delete file;  // its root node goes with it
    else if (root)
        tree_.Delete(root);
    tree_.EndUpdate();
    MessageDlg(why, kOpenCaption);
    return nullptr;
}

TZULFile* TTemplateModel::NewZULFile()
{
    const int slot = FindFreeZULSlot();
    if (slot < 0) {
        MessageDlg("MAX_ZULFILES reached, ask Orvel to bump that value up!", kOpenCaption);
        return nullptr;
    }
    TTreeNode* root = tree_.Add(kNewFileName);
    return EnterFile(new TZULFile(*this, kNewFileName, slot, root, false), root, IMAGE_FILE);
}

void TTemplateModel::CloseZULFile(TZULFile* file)
{
    if (!file)
        return;
    if (tpl_ && tpl_->GetFile() == file)
        tpl_.reset();
    DestroyFile(file);
}

TTreeNode* TTemplateModel::FindTemplateInFile(TTreeNode* node, const std::string& name,
                                              TTreeNode* except) const
{
    TZULFile* file = FileOfNode(node);
    if (!file)
        return nullptr;
    const int index = file->GetTemplateList().IndexOf(name);
    if (index < 0)
        return nullptr;
    auto* found = static_cast<TTreeNode*>(file->GetTemplateList().Objects(index));
    return found == except ? nullptr : found;
}

TTreeNode* TTemplateModel::FindTemplate(const std::string& name, TTreeNode* except) const
{
    for (TZULFile* file : files_) {
        if (!file || !file->GetRootNode())
            continue;
        if (TTreeNode* found = FindTemplateInFile(file->GetRootNode(), name, except))
            return found;
    }
    return nullptr;
}

std::string TTemplateModel::MakeUniqueName(const std::string& base) const
{
    // A made name always fits the 31 characters of a file's name field: the base gives way.
    auto candidate = [&base](const std::string& suffix) {
        const size_t room = static_cast<size_t>(ZUL_MAX_NAME) - suffix.size();
        return base.substr(0, room) + suffix;
    };
    std::string name = candidate("_");
    if (!FindTemplate(name, nullptr))
        return name;
    for (int counter = 0; counter <= 100; ++counter) {
        name = candidate("_" + std::to_string(counter));
        if (!FindTemplate(name, nullptr))
            return name;
    }
    MessageDlg("Reached originalname_100, try some better naming maybe ?", "Cannot generate unique name...");
    return "bogus_name";
}

int TTemplateModel::CountNodes(TTreeNode* node) const
{
    int count = 0;
    for (TTreeNode* n = node, *end = node ? node->GetNextAfterSubtree() : nullptr; n != end; n = n->GetNext())
        ++count;
    return count;
}

void TTemplateModel::SortTemplateTree(TTreeNode* node)
{
    tree_.SortChildren(node, true);
}

void TTemplateModel::RebuildTemplateList(TTreeNode* fileRoot)
{
    TZULFile* file = FileOfNode(fileRoot);
    if (!file)
        return;
    std::vector<std::pair<std::string, void*>> names;
    for (TTreeNode* n = fileRoot->GetNext(), *end = fileRoot->GetNextAfterSubtree(); n != end; n = n->GetNext())
        names.emplace_back(n->Text(), n);
    TStringList& list = file->GetTemplateList();
    list.Clear();
    list.AddObjects(names);
}
