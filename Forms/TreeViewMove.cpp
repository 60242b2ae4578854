// Tree view: node at a point and moving a subtree (the common control has no move: the items
// are copied under the new parent and the old ones deleted; the node handles are re-pointed).
#include "TreeView.h"
#include <functional>

TTreeNode* TTreeView::GetNodeAt(int x, int y) const
{
    TVHITTESTINFO hit = {};
    hit.pt = {x, y};
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!item || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT)))
        return nullptr;
    return NodeFromItem(item);
}

HTREEITEM TTreeView::CopySubtree(HTREEITEM from, HTREEITEM parent)
{
    char text[1024] = {};
    TVINSERTSTRUCTA ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    ins.item.hItem = from;
    ins.item.pszText = text;
    ins.item.cchTextMax = sizeof text;
    ins.item.stateMask = static_cast<UINT>(~TVIS_SELECTED & ~TVIS_EXPANDED & 0xFFFF);
    if (!SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&ins.item)))
        return nullptr;
    ins.item.state &= ~(TVIS_SELECTED | TVIS_EXPANDED);
    auto copy = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!copy)
        return nullptr;
    TTreeNode* node = reinterpret_cast<TTreeNode*>(ins.item.lParam);
    for (HTREEITEM child = TreeView_GetChild(Handle(), from); child;
         child = TreeView_GetNextSibling(Handle(), child))
        CopySubtree(child, copy);
    if (node)
        node->item_ = copy;
    return copy;
}

bool TTreeView::MoveTo(TTreeNode* node, TTreeNode* newParent)
{
    if (!node || !nodes_.count(node) || node == newParent ||
        (newParent && (!nodes_.count(newParent) || newParent->HasAsParent(node))))
        return false;
    // Which nodes were expanded and which was selected, to restore them on the copies.
    std::vector<TTreeNode*> expanded;
    const int level = node->Level();
    for (TTreeNode* n = node; n && (n == node || n->Level() > level); n = n->GetNext())
        if (n->Expanded())
            expanded.push_back(n);
    TTreeNode* selected = Selected();
    const bool selectionInside = selected && (selected == node || selected->HasAsParent(node));

    auto changing = std::move(OnChanging);
    auto change = std::move(OnChange);
    OnChanging = nullptr;
    OnChange = nullptr;
    const HTREEITEM old = node->item_;
    const bool copied = CopySubtree(old, newParent ? newParent->item_ : TVI_ROOT) != nullptr;
    if (copied) {
        if (selectionInside)
            Select(selected);  // the copy: the node handles point to the copies now
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(old));
        for (TTreeNode* n : expanded)
            n->Expand(false);
    }
    OnChanging = std::move(changing);
    OnChange = std::move(change);
    return copied;
}
