#include "TreeView.h"
#include "ImageList.h"
#include "Compare.h"
#include <algorithm>
#include <vector>

namespace {
HWND TreeHandle(const TTreeView* tree)
{
    return tree ? tree->Handle() : nullptr;
}
}  // namespace

// ---- TTreeNode ----

void TTreeNode::SetText(const std::string& text)
{
    if (item_) {
        TVITEMA tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item_;
        tv.pszText = const_cast<char*>(text.c_str());
        if (!SendMessageA(TreeHandle(owner_), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)))
            return;
    }
    text_ = text;
}

void TTreeNode::SetImageIndex(int image)
{
    SetImages(TVIF_IMAGE, image);
}

void TTreeNode::SetSelectedIndex(int image)
{
    SetImages(TVIF_SELECTEDIMAGE, image);
}

void TTreeNode::SetImages(UINT mask, int image)
{
    if (mask & TVIF_IMAGE)
        image_ = image;
    if (mask & TVIF_SELECTEDIMAGE)
        selectedImage_ = image;
    if (!item_)
        return;
    TVITEMA tv = {};
    tv.mask = mask;
    tv.hItem = item_;
    tv.iImage = image;
    tv.iSelectedImage = image;
    SendMessageA(TreeHandle(owner_), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

namespace {
HTREEITEM NextItem(const TTreeView* tree, HTREEITEM item, UINT code)
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(TreeHandle(tree), TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
}  // namespace

int TTreeNode::Level() const
{
    int level = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_)
        ++level;
    return level;
}

TTreeNode* TTreeNode::GetNext() const
{
    return firstChild_ ? firstChild_ : GetNextAfterSubtree();
}

TTreeNode* TTreeNode::GetNextAfterSubtree() const
{
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (n->next_)
            return n->next_;
    return nullptr;
}

int TTreeNode::Count() const
{
    int count = 0;
    for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling())
        ++count;
    return count;
}

TTreeNode* TTreeNode::Item(int index) const
{
    TTreeNode* c = GetFirstChild();
    for (int i = 0; c && i < index; ++i)
        c = c->GetNextSibling();
    return index < 0 ? nullptr : c;
}

bool TTreeNode::HasAsParent(const TTreeNode* ancestor) const
{
    for (TTreeNode* p = Parent(); p; p = p->Parent())
        if (p == ancestor)
            return true;
    return false;
}

void TTreeNode::Expand(bool recurse)
{
    // Parents before children, walked without recursion: a chain may be as deep as a file is long.
    owner_->Realize(this);
    for (TTreeNode *n = this, *end = GetNextAfterSubtree(); n != end; n = recurse ? n->GetNext() : end) {
        owner_->ShowChildren(n);
        if (n->firstChild_)
            SendMessageA(TreeHandle(owner_), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(n->item_));
    }
}

void TTreeNode::Collapse(bool recurse)
{
    // Children before their parent; a node without shown children has nothing expanded below it.
    std::vector<TTreeNode*> order{this};
    if (recurse)
        for (TTreeNode *n = GetNext(), *end = GetNextAfterSubtree(); n != end;
             n = n->childrenShown_ ? n->GetNext() : n->GetNextAfterSubtree())
            if (n->item_)
                order.push_back(n);
    for (auto n = order.rbegin(); n != order.rend(); ++n)
        if ((*n)->item_)
            SendMessageA(TreeHandle(owner_), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>((*n)->item_));
}

bool TTreeNode::Expanded() const
{
    TVITEMA tv = {};
    tv.stateMask = TVIS_EXPANDED;
    return item_ && owner_->GetItem(item_, TVIF_STATE, tv) && (tv.state & TVIS_EXPANDED) != 0;
}

void TTreeNode::MakeVisible()
{
    owner_->Realize(this);
    SendMessageA(TreeHandle(owner_), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

void TTreeNode::AlphaSort(bool recurse)
{
    owner_->SortChildren(this, recurse);
}

bool TTreeNode::MoveTo(TTreeNode* newParent)
{
    if (newParent == this || (newParent && (newParent->owner_ != owner_ || newParent->HasAsParent(this))))
        return false;
    const bool wasSelected = item_ && owner_->Selected() == this;
    const HTREEITEM old = item_;
    std::vector<HTREEITEM> stale;
    for (const TTreeNode *n = this, *end = GetNextAfterSubtree(); n != end; n = n->GetNext())
        if (n->item_)
            stale.push_back(n->item_);
    TTreeNode* oldParent = parent_;
    // A node that has its item keeps it, and its expanded state, in the new place: the new
    // parent's children get their items first.
    if (item_ && newParent) {
        owner_->Realize(newParent);
        owner_->ShowChildren(newParent);
    }
    owner_->Unlink(this);
    owner_->Link(this, newParent);
    if (owner_->ChildrenShown(newParent))
        owner_->CopySubtree(this, newParent ? newParent->item_ : TVI_ROOT);
    else
        owner_->ForgetItems(this);
    // The old items still carry our node objects: unhook them before they go.
    for (HTREEITEM h : stale) {
        TVITEMA tv = {};
        tv.mask = TVIF_PARAM;
        tv.hItem = h;
        tv.lParam = 0;
        SendMessageA(TreeHandle(owner_), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    }
    if (old)
        SendMessageA(TreeHandle(owner_), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(old));
    owner_->UpdateButton(oldParent);
    owner_->UpdateButton(newParent);
    if (wasSelected)
        owner_->Select(this);
    return true;
}

// ---- TTreeView ----

bool TTreeView::InsertItem(TTreeNode* node, HTREEITEM parent)
{
    TVINSERTSTRUCTA ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(node->text_.c_str());
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    ins.item.iImage = node->image_;
    ins.item.iSelectedImage = node->selectedImage_;
    if (node->firstChild_) {
        // Its children may not be items yet: the button is asked for.
        ins.item.mask |= TVIF_CHILDREN;
        ins.item.cChildren = 1;
    }
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!item)
        return false;
    try {
        byItem_[item] = node;
    } catch (...) {
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
        throw;
    }
    node->item_ = item;
    node->childrenShown_ = false;
    return true;
}

void TTreeView::ShowChildren(TTreeNode* node)
{
    if (!node || !node->item_ || node->childrenShown_)
        return;
    node->childrenShown_ = true;
    for (TTreeNode* c = node->firstChild_; c; c = c->next_)
        if (!c->item_)
            InsertItem(c, node->item_);
}

void TTreeView::Realize(TTreeNode* node)
{
    std::vector<TTreeNode*> hidden;  // the node and the ancestors without an item, deepest first
    for (TTreeNode* n = node; n && !n->item_; n = n->parent_)
        hidden.push_back(n);
    for (auto n = hidden.rbegin(); n != hidden.rend(); ++n)
        ShowChildren((*n)->parent_);
}

void TTreeView::UpdateButton(TTreeNode* node)
{
    if (!node || !node->item_)
        return;
    TVITEMA tv = {};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = node->item_;
    tv.cChildren = node->firstChild_ ? 1 : 0;
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void TTreeView::ForgetItems(TTreeNode* node)
{
    for (TTreeNode *n = node, *end = node->GetNextAfterSubtree(); n != end; n = n->GetNext()) {
        if (n->item_)
            byItem_.erase(n->item_);
        n->item_ = nullptr;
        n->childrenShown_ = false;
    }
}

void TTreeView::CopySubtree(TTreeNode* node, HTREEITEM parent)
{
    // Pre-order, without recursion: each node that had an item gets a new one below its parent's
    // new item; the expanded ones unfold again once their children are back.
    std::vector<TTreeNode*> expand;
    std::vector<std::pair<TTreeNode*, HTREEITEM>> pending{{node, parent}};
    while (!pending.empty()) {
        auto [n, under] = pending.back();
        pending.pop_back();
        TVITEMA tv = {};
        tv.stateMask = TVIS_EXPANDED;
        const bool expanded = GetItem(n->item_, TVIF_STATE, tv) && (tv.state & TVIS_EXPANDED) != 0;
        const bool shown = n->childrenShown_;
        byItem_.erase(n->item_);
        n->item_ = nullptr;
        if (!InsertItem(n, under)) {
            ForgetItems(n);
            continue;
        }
        n->childrenShown_ = shown;
        if (!shown)
            continue;  // its children never had items
        if (expanded)
            expand.push_back(n);
        std::vector<TTreeNode*> children;
        for (TTreeNode* c = n->firstChild_; c; c = c->next_)
            children.push_back(c);
        for (auto c = children.rbegin(); c != children.rend(); ++c)
            pending.push_back({*c, n->item_});
    }
    for (auto n = expand.rbegin(); n != expand.rend(); ++n)
        SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>((*n)->item_));
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const
{
    TVHITTESTINFO hit = {};
    hit.pt.x = x;
    hit.pt.y = y;
    SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return (hit.flags & TVHT_ONITEM) ? NodeFromItem(hit.hItem) : nullptr;
}

TTreeView::~TTreeView()
{
    DestroyHandle();
    HandleDestroyed();
}

bool TTreeView::Create(TControl* parent, int left, int top, int width, int height, DWORD style)
{
    return CreateHandle(parent, nullptr, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                        WS_EX_CLIENTEDGE, left, top, width, height) &&
           SubclassWindow();
}

bool TTreeView::ControlMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT&)
{
    // Where a press lands, seen before the control acts on it and reports the click.
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN) {
        TVHITTESTINFO hit = {};
        hit.pt.x = static_cast<short>(LOWORD(lParam));
        hit.pt.y = static_cast<short>(HIWORD(lParam));
        SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        pressHit_ = hit.flags;
    }
    return false;
}

bool TTreeView::GetItem(HTREEITEM item, UINT mask, TVITEMA& tv) const
{
    if (!item || !Handle())
        return false;
    tv.mask = mask;
    tv.hItem = item;
    return SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) != 0;
}

TTreeNode* TTreeView::NodeFromItem(HTREEITEM item) const
{
    const auto found = item ? byItem_.find(item) : byItem_.end();
    return found == byItem_.end() ? nullptr : found->second;
}

void TTreeView::Link(TTreeNode* node, TTreeNode* parent)
{
    TTreeNode*& first = parent ? parent->firstChild_ : firstTop_;
    TTreeNode*& last = parent ? parent->lastChild_ : lastTop_;
    node->parent_ = parent;
    node->prev_ = last;
    node->next_ = nullptr;
    (last ? last->next_ : first) = node;
    last = node;
}

void TTreeView::Unlink(TTreeNode* node)
{
    TTreeNode*& first = node->parent_ ? node->parent_->firstChild_ : firstTop_;
    TTreeNode*& last = node->parent_ ? node->parent_->lastChild_ : lastTop_;
    (node->prev_ ? node->prev_->next_ : first) = node->next_;
    (node->next_ ? node->next_->prev_ : last) = node->prev_;
    node->parent_ = node->prev_ = node->next_ = nullptr;
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::string& text, void* data, int image)
{
    if (!Handle() || (parent && parent->owner_ != this))
        return nullptr;
    TTreeNode* node = new TTreeNode(this, nullptr);
    node->data_ = data;
    if (image >= 0)
        node->image_ = node->selectedImage_ = image;
    // Known before the control holds it: a failure here leaves the control as it was.
    try {
        node->text_ = text;
        nodes_.insert(node);
    } catch (...) {
        delete node;
        throw;
    }
    const bool firstChild = parent && !parent->firstChild_;
    Link(node, parent);
    if (ChildrenShown(parent)) {
        bool inserted = false;
        try {
            inserted = InsertItem(node, parent ? parent->item_ : TVI_ROOT);
        } catch (...) {
            Unlink(node);
            nodes_.erase(node);
            delete node;
            throw;
        }
        if (!inserted) {
            Unlink(node);
            nodes_.erase(node);
            delete node;
            return nullptr;
        }
    }
    if (firstChild)
        UpdateButton(parent);
    return node;
}

void TTreeView::Delete(TTreeNode* node)
{
    if (!node || !nodes_.count(node))
        return;
    std::vector<TTreeNode*> gone;
    for (TTreeNode *n = node, *end = node->GetNextAfterSubtree(); n != end; n = n->GetNext())
        gone.push_back(n);
    TTreeNode* parent = node->parent_;
    Unlink(node);
    // One message: the control drops every item below the one it deletes.
    if (node->item_)
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    for (TTreeNode* n : gone) {
        nodes_.erase(n);
        if (n->item_)
            byItem_.erase(n->item_);
        delete n;
    }
    if (parent && !parent->firstChild_)
        UpdateButton(parent);
}

void TTreeView::DeleteAllNodes()
{
    for (TTreeNode* n : nodes_)
        delete n;
    nodes_.clear();
    byItem_.clear();
    firstTop_ = lastTop_ = nullptr;
}

void TTreeView::Clear()
{
    if (Handle())
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    DeleteAllNodes();
}

void TTreeView::HandleDestroyed()
{
    DeleteAllNodes();
}

int TTreeView::Count() const
{
    return static_cast<int>(nodes_.size());
}

TTreeNode* TTreeView::GetFirstNode() const
{
    return firstTop_;
}

TTreeNode* TTreeView::Selected() const
{
    return NodeFromItem(NextItem(this, nullptr, TVGN_CARET));
}

void TTreeView::Select(TTreeNode* node)
{
    if (node)
        Realize(node);
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

int CALLBACK TTreeView::CompareByRank(LPARAM a, LPARAM b, LPARAM)
{
    return reinterpret_cast<const TTreeNode*>(a)->sortRank_ - reinterpret_cast<const TTreeNode*>(b)->sortRank_;
}

void TTreeView::SortChildren(TTreeNode* parent, bool recurse)
{
    // Order the children ourselves (stable, our comparator), then hand the control a total
    // order so that its own sort algorithm cannot change the result. A work list, not
    // recursion: a chain of templates may be as deep as the file is long.
    std::vector<TTreeNode*> parents{parent};
    std::vector<TTreeNode*> children;
    std::vector<TTreeNode*> sorted;
    while (!parents.empty()) {
        TTreeNode* p = parents.back();
        parents.pop_back();
        children.clear();
        for (TTreeNode* c = p ? p->firstChild_ : firstTop_; c; c = c->next_)
            children.push_back(c);
        const auto before = [](const TTreeNode* a, const TTreeNode* b) {
            return CompareTextStable(a->text_, b->text_) < 0;
        };
        // Children already in order (a file is placed sorted) cost one look each.
        const bool inOrder = std::is_sorted(children.begin(), children.end(), before);
        if (!inOrder) {
            sorted = children;
            std::stable_sort(sorted.begin(), sorted.end(), before);
            // Children without items are only our nodes: their order is all there is to change.
            if (ChildrenShown(p)) {
                for (size_t i = 0; i < sorted.size(); ++i)
                    sorted[i]->sortRank_ = static_cast<int>(i);
                TVSORTCB sort = {};
                sort.hParent = p ? p->item_ : TVI_ROOT;
                sort.lpfnCompare = CompareByRank;
                SendMessageA(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
            }
            for (TTreeNode* c : sorted) {
                Unlink(c);
                Link(c, p);
            }
        }
        if (recurse)
            for (TTreeNode* c : inOrder ? children : sorted)
                if (c->firstChild_)
                    parents.push_back(c);
    }
}

void TTreeView::FullExpand()
{
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNextSibling())
        n->Expand(true);
}

void TTreeView::FullCollapse()
{
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNextSibling())
        n->Collapse(true);
}

void TTreeView::BeginUpdate()
{
    if (updateCount_++ == 0 && Handle())
        SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeView::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && Handle()) {
        SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

bool TTreeView::Notify(NMHDR* header, LRESULT& result)
{
    switch (header->code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
        const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(header);
        bool allow = true;
        if (OnChanging)
            OnChanging(reinterpret_cast<TTreeNode*>(nm->itemNew.lParam), allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(header);
        if (OnChange)
            OnChange(reinterpret_cast<TTreeNode*>(nm->itemNew.lParam));
        return true;
    }
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(header);
        TTreeNode* node = NodeFromItem(nm->itemNew.hItem);
        bool allow = true;
        const bool expanding = (nm->action & TVE_EXPAND) != 0;
        const auto& handler = expanding ? OnExpanding : OnCollapsing;
        if (handler && node)
            handler(node, allow);
        // Children the control does not hold yet become items before it unfolds the node.
        if (allow && expanding)
            ShowChildren(node);
        result = allow ? FALSE : TRUE;
        return true;
    }
    case NM_CLICK:
        if (OnClick)
            OnClick();
        return false;
    case NM_DBLCLK:
        if (OnDblClick)
            OnDblClick();
        return false;
    case NM_RCLICK:
        if (OnRightClick)
            OnRightClick();
        return false;
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
        if (dragEnabled_) {
            const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(header);
            Select(NodeFromItem(nm->itemNew.hItem));
            BeginDrag(this);
        }
        return true;
    default:
        return false;
    }
}

void TTreeView::SetImages(TImageList* images)
{
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}
