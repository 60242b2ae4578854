// Tree view over the common control. A TTreeNode is the stable handle that the program keeps (in
// lists, as data owners). The node carries one program pointer, Data(), that the tree never frees.
// The nodes hold the whole tree: text, images and place (parent, siblings, children). The control
// holds an item only for the nodes that can be seen: the top-level nodes and the children of a
// node that was expanded once. A node whose children are not in the control yet still shows its
// expand button, and its children become items when it is expanded, selected into or made
// visible. Wine's control looks up every item a message names by a linear search and pays for
// every item it holds when it is emptied, so a large file that was never unfolded costs it only
// its first level. Only our own calls change the tree, and they keep nodes and items alike.
#pragma once
#include "Control.h"
#include "Drag.h"
#include <commctrl.h>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

class TTreeView;
class TImageList;

class TTreeNode {
public:
    TTreeView* TreeView() const { return owner_; }
    // The control's item, or nullptr while the node lies below a node never expanded.
    HTREEITEM ItemId() const { return item_; }

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    int ImageIndex() const { return image_; }
    void SetImageIndex(int image);
    int SelectedIndex() const { return selectedImage_; }
    void SetSelectedIndex(int image);

    // Depth: 0 for a top-level node.
    int Level() const;
    TTreeNode* Parent() const { return parent_; }
    TTreeNode* GetFirstChild() const { return firstChild_; }
    TTreeNode* GetLastChild() const { return lastChild_; }
    TTreeNode* GetNextSibling() const { return next_; }
    TTreeNode* GetPrevSibling() const { return prev_; }
    // The next node in pre-order over the whole tree, or nullptr.
    TTreeNode* GetNext() const;
    // The next node in pre-order that is not below this one: where a walk of its subtree ends.
    TTreeNode* GetNextAfterSubtree() const;
    bool HasChildren() const { return firstChild_ != nullptr; }
    int Count() const;            // number of children
    TTreeNode* Item(int index) const;
    bool HasAsParent(const TTreeNode* ancestor) const;

    // Expanding gives the children their items first; recurse unfolds the whole subtree.
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Expanded() const;
    // Unfolds the ancestors and scrolls the node into view.
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
    std::string text_;
    int image_ = 0;          // an item made without an image shows image 0
    int selectedImage_ = 0;
    bool childrenShown_ = false;  // the children have their items
    TTreeNode* parent_ = nullptr;
    TTreeNode* firstChild_ = nullptr;
    TTreeNode* lastChild_ = nullptr;
    TTreeNode* prev_ = nullptr;
    TTreeNode* next_ = nullptr;
    int sortRank_ = 0;  // place in the order handed to the control's sort
};

class TTreeView : public TControl, public TDragTarget {
public:
    TTreeView() = default;
    ~TTreeView() override;

    bool Create(TControl* parent, int left, int top, int width, int height,
                DWORD style = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS);

    // A new last top-level node, or a new last child of parent (nullptr: top level). An image of
    // 0 or more becomes the normal and selected image in the same message.
    TTreeNode* Add(const std::string& text, void* data = nullptr) { return AddChild(nullptr, text, data); }
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text, void* data = nullptr, int image = -1);
    // Deletes the node and everything below it with one message; their TTreeNode objects end
    // (Data is not freed).
    void Delete(TTreeNode* node);
    void Clear();

    int Count() const;  // every node at every level, in the control or not yet
    TTreeNode* GetFirstNode() const;
    TTreeNode* NodeFromItem(HTREEITEM item) const;
    // The node at a point of the client area, or nullptr.
    TTreeNode* GetNodeAt(int x, int y) const;
    TTreeNode* Selected() const;
    // Gives the node its item first when its ancestors were never expanded.
    void Select(TTreeNode* node);
    // Sorts the children of parent (top level for nullptr) with our ASCII order. Children already
    // in that order cost the control nothing.
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
    // Items again for the part of node's subtree that had items, below parent's item.
    void CopySubtree(TTreeNode* node, HTREEITEM parent);
    bool GetItem(HTREEITEM item, UINT mask, TVITEMA& tv) const;
    // The node's item below parent, last; false when the control refuses it.
    bool InsertItem(TTreeNode* node, HTREEITEM parent);
    // The children of a node that has an item get theirs.
    void ShowChildren(TTreeNode* node);
    // The node and every ancestor get their items.
    void Realize(TTreeNode* node);
    // Children of the top level, or of a node whose children are shown, have items.
    bool ChildrenShown(const TTreeNode* parent) const { return !parent || (parent->item_ && parent->childrenShown_); }
    // The expand button follows whether the node has children, shown or not.
    void UpdateButton(TTreeNode* node);
    // The node and its subtree leave the control (their items already gone).
    void ForgetItems(TTreeNode* node);
    // The node's place among its siblings: Link makes it the last child of parent (nullptr: top
    // level), Unlink takes it out; its own children stay with it.
    void Link(TTreeNode* node, TTreeNode* parent);
    void Unlink(TTreeNode* node);
    void DeleteAllNodes();
    static int CALLBACK CompareByRank(LPARAM a, LPARAM b, LPARAM);

    std::unordered_set<TTreeNode*> nodes_;  // the node handles we gave out
    std::unordered_map<HTREEITEM, TTreeNode*> byItem_;
    TTreeNode* firstTop_ = nullptr;
    TTreeNode* lastTop_ = nullptr;
    int updateCount_ = 0;
    bool dragEnabled_ = false;
    UINT pressHit_ = 0;
};
