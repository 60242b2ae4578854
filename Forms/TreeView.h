// Tree view over the common control. The control holds the items (text, image, order, parent);
// a TTreeNode is the stable handle that the program keeps (in lists, as data owners) and asks
// the control through. The node carries one program pointer, Data(), that the tree never frees.
#pragma once
#include "Control.h"
#include "Drag.h"
#include <commctrl.h>
#include <functional>
#include <string>
#include <unordered_set>

class TTreeView;

class TTreeNode {
public:
    TTreeView* TreeView() const { return owner_; }
    HTREEITEM ItemId() const { return item_; }

    std::string Text() const;
    void SetText(const std::string& text);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    int ImageIndex() const;
    void SetImageIndex(int image);
    int SelectedIndex() const;
    void SetSelectedIndex(int image);

    // Depth: 0 for a top-level node.
    int Level() const;
    TTreeNode* Parent() const;
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetLastChild() const;
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in pre-order over the whole tree, or nullptr.
    TTreeNode* GetNext() const;
    bool HasChildren() const { return GetFirstChild() != nullptr; }
    int Count() const;            // number of children
    TTreeNode* Item(int index) const;
    bool HasAsParent(const TTreeNode* ancestor) const;

    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Expanded() const;
    void MakeVisible();
    // Sorts the children by text with our ASCII order (CompareTextStable); recurse sorts below.
    void AlphaSort(bool recurse = false);

private:
    friend class TTreeView;
    TTreeNode(TTreeView* owner, HTREEITEM item) : owner_(owner), item_(item) {}
    ~TTreeNode() = default;

    TTreeView* owner_;
    HTREEITEM item_;
    void* data_ = nullptr;
};

class TTreeView : public TControl, public TDragTarget {
public:
    TTreeView() = default;
    ~TTreeView() override;

    bool Create(TControl* parent, int left, int top, int width, int height,
                DWORD style = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS);

    // A new last top-level node, or a new last child of parent (nullptr: top level).
    TTreeNode* Add(const std::string& text, void* data = nullptr) { return AddChild(nullptr, text, data); }
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text, void* data = nullptr);
    // Deletes the node and everything below it; their TTreeNode objects end (Data is not freed).
    void Delete(TTreeNode* node);
    void Clear();

    int Count() const;  // every node at every level
    TTreeNode* GetFirstNode() const;
    TTreeNode* NodeFromItem(HTREEITEM item) const;
    TTreeNode* Selected() const;
    void Select(TTreeNode* node);
    // Sorts the children of parent (top level for nullptr) with our ASCII order.
    void SortChildren(TTreeNode* parent, bool recurse = false);
    void FullExpand();
    void FullCollapse();

    // Redraw off while the program fills the tree; nestable.
    void BeginUpdate();
    void EndUpdate();

    // The node under a point of the client area, or nullptr.
    TTreeNode* GetNodeAt(int x, int y) const;
    // Moves node with its subtree to be the last child of newParent (nullptr: top level). The
    // TTreeNode handles stay valid; selection and expansion go along; no selection events.
    bool MoveTo(TTreeNode* node, TTreeNode* newParent);
    // A drag with the left button starts a drag of the control (see Drag.h).
    void SetDragEnabled(bool enabled) { dragEnabled_ = enabled; }

    // Selection: OnChanging may refuse by clearing allow; OnChange follows a change.
    std::function<void(TTreeNode* node, bool& allow)> OnChanging;
    std::function<void(TTreeNode* node)> OnChange;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;
    void HandleDestroyed() override;

private:
    friend class TTreeNode;
    void ForgetSubtree(TTreeNode* node);
    bool GetItem(HTREEITEM item, UINT mask, TVITEMA& tv) const;

    std::unordered_set<TTreeNode*> nodes_;  // the node handles we gave out
    int updateCount_ = 0;
    bool dragEnabled_ = false;
    HTREEITEM CopySubtree(HTREEITEM from, HTREEITEM parent);
};
