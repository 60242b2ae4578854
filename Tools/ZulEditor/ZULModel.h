// The open-file table (32 slots), the edit state of the one template being edited, and the
// operations on the templates tree that several commands share. The main window holds one (or
// derives from it); tests use it on a bare tree view. Its destructor frees the open files and
// their tree nodes, so the tree view must still exist then: declare the model after the tree, or
// call FreeZULFiles() first (the main window does so when it is destroyed).
#pragma once
#include "ZULData.h"
#include <memory>
#include <string>

class TTreeView;
class TTreeNode;

const int MAX_ZULFILES = 32;

class TTPL {
public:
    TTPL(TZULFile* file, TTreeNode* node);
    bool IsNew() const { return isNew_; }
    void SetNew(bool isNew) { isNew_ = isNew; }
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TTreeNode* GetNode() const { return node_; }
    void SetNode(TTreeNode* node) { node_ = node; }
    TZULFile* GetFile() const { return file_; }
    void SetFile(TZULFile* file) { file_ = file; }

private:
    bool isNew_ = false;
    bool modified_ = true;
    std::string name_;
    TTreeNode* node_;
    TZULFile* file_;
};

class TTemplateModel : public TZULStatus {
public:
    explicit TTemplateModel(TTreeView& templatesTree);
    ~TTemplateModel() override;
    TTemplateModel(const TTemplateModel&) = delete;
    TTemplateModel& operator=(const TTemplateModel&) = delete;

    TTreeView& TemplatesTree() const { return tree_; }

    // Open-file table.
    void ClearZULFiles();
    // Destroys every open file; each leaves its slot.
    void FreeZULFiles();
    int FindFreeZULSlot() const;
    int FindZULFile(const std::string& path) const;  // exact path, letter case counts
    void RegisterZULFile(int slot, TZULFile* file);
    void UnregisterZULFile(int slot, TZULFile* file);
    TZULFile* GetZULFile(int slot) const;
    // The file that holds a node of the templates tree (any node of it).
    TZULFile* FileOfNode(TTreeNode* node) const;

    // Opens a template file into a new root node at the end of the tree. Refusals are shown with
    // the caption "Cannot Open ZUL..." and give nullptr; no node or slot stays behind.
    TZULFile* OpenZULFile(const std::string& path, bool readOnly);
    // A new empty file "unnamed.zul" in a new root node, or nullptr when all slots are taken.
    TZULFile* NewZULFile();
    // Destroys the file: its slot, its templates and its root node go.
    void CloseZULFile(TZULFile* file);

    // Edit state: one at a time, or none.
    TTPL* GetTPL() const { return tpl_.get(); }
    void SetTPL(TTPL* tpl) { tpl_.reset(tpl); }
    void FreeTPL() { tpl_.reset(); }

    // Tree operations.
    TTreeNode* FindTemplateInFile(TTreeNode* node, const std::string& name, TTreeNode* except) const;
    TTreeNode* FindTemplate(const std::string& name, TTreeNode* except) const;
    std::string MakeUniqueName(const std::string& base) const;
    int CountNodes(TTreeNode* node) const;
    void DeleteTemplateNodes(TTreeNode* node) { ::DeleteTemplateNodes(node); }
    void SortTemplateTree(TTreeNode* node);
    void RebuildTemplateList(TTreeNode* fileRoot);

private:
    // A file that opened takes its slot, as the last step of its open, which nothing can undo;
    // every file leaves its slot when it is destroyed here.
    TZULFile* EnterFile(TZULFile* file, TTreeNode* root, int image);
    void DestroyFile(TZULFile* file);

    TTreeView& tree_;
    TZULFile* files_[MAX_ZULFILES] = {};
    std::unique_ptr<TTPL> tpl_;
};
