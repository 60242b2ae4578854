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
class TImageList;

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
    // Moves the node with its subtree to be the last child of newParent (nullptr: top level).
    // The TTreeNode objects stay the same; refused (false) for a move into its own subtree.
    bool MoveTo(TTreeNode* newParent);

private:
    friend class TTreeView;
    TTreeNode(TTreeView* owner, HTREEITEM item) : owner_(owner), item_(item) {}
    ~TTreeNode() = default;
    void SetImages(UINT mask, int image);

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
    // The node at a point of the client area, or nullptr.
    TTreeNode* GetNodeAt(int x, int y) const;
    TTreeNode* Selected() const;
    void Select(TTreeNode* node);
    // Sorts the children of parent (top level for nullptr) with our ASCII order.
    void SortChildren(TTreeNode* parent, bool recurse = false);
    void FullExpand();
    void FullCollapse();
    // Normal images of the nodes; nullptr removes them.
    void SetImages(TImageList* images);

    // Redraw off while the program fills the tree; nestable.
    void BeginUpdate();
    void EndUpdate();

    // A drag with the left button selects the node and starts a drag of the tree (Drag.h).
    void SetDragEnabled(bool enabled) { dragEnabled_ = enabled; }

    // Selection: OnChanging may refuse by clearing allow; OnChange follows a change.
    std::function<void(TTreeNode* node, bool& allow)> OnChanging;
    std::function<void(TTreeNode* node)> OnChange;
    // Expanding and collapsing by the user (and a node's first expansion by the program);
    // clearing allow refuses. The program's own Expand and Collapse need no asking.
    std::function<void(TTreeNode* node, bool& allow)> OnExpanding;
    std::function<void(TTreeNode* node, bool& allow)> OnCollapsing;
    std::function<void()> OnClick;  // PressedOnButton() tells whether it hit a node's [+] or [-]
    std::function<void()> OnDblClick;
    std::function<void()> OnRightClick;

    // The last mouse press fell on a node's expand button.
    bool PressedOnButton() const { return (pressHit_ & TVHT_ONITEMBUTTON) != 0; }

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;
    bool ControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void HandleDestroyed() override;

private:
    friend class TTreeNode;
    HTREEITEM CopySubtree(TTreeNode* node, HTREEITEM parent);
    bool GetItem(HTREEITEM item, UINT mask, TVITEMA& tv) const;

    std::unordered_set<TTreeNode*> nodes_;  // the node handles we gave out
    int updateCount_ = 0;
    bool dragEnabled_ = false;
    UINT pressHit_ = 0;
};
