#include "TreeView.h"
#include "ImageList.h"
#include "Compare.h"
#include <algorithm>
#include <functional>
#include <unordered_map>
#include <vector>

namespace {
HWND TreeHandle(const TTreeView* tree)
{
    return tree ? tree->Handle() : nullptr;
}
}  // namespace

// ---- TTreeNode ----

std::string TTreeNode::Text() const
{
    char buffer[1024] = {};
    TVITEMA tv = {};
    tv.pszText = buffer;
    tv.cchTextMax = sizeof buffer;
    if (!owner_->GetItem(item_, TVIF_TEXT, tv))
        return "";
    return buffer;
}

void TTreeNode::SetText(const std::string& text)
{
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item_;
    tv.pszText = const_cast<char*>(text.c_str());
    SendMessageA(TreeHandle(owner_), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

int TTreeNode::ImageIndex() const
{
    TVITEMA tv = {};
    return owner_->GetItem(item_, TVIF_IMAGE, tv) ? tv.iImage : -1;
}

void TTreeNode::SetImageIndex(int image)
{
    SetImages(TVIF_IMAGE, image);
}

int TTreeNode::SelectedIndex() const
{
    TVITEMA tv = {};
    return owner_->GetItem(item_, TVIF_SELECTEDIMAGE, tv) ? tv.iSelectedImage : -1;
}

void TTreeNode::SetSelectedIndex(int image)
{
    SetImages(TVIF_SELECTEDIMAGE, image);
}

void TTreeNode::SetImages(UINT mask, int image)
{
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
    for (TTreeNode* p = Parent(); p; p = p->Parent())
        ++level;
    return level;
}

TTreeNode* TTreeNode::Parent() const
{
    return owner_->NodeFromItem(NextItem(owner_, item_, TVGN_PARENT));
}

TTreeNode* TTreeNode::GetFirstChild() const
{
    return owner_->NodeFromItem(NextItem(owner_, item_, TVGN_CHILD));
}

TTreeNode* TTreeNode::GetLastChild() const
{
    TTreeNode* last = GetFirstChild();
    while (last && last->GetNextSibling())
        last = last->GetNextSibling();
    return last;
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    return owner_->NodeFromItem(NextItem(owner_, item_, TVGN_NEXT));
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    return owner_->NodeFromItem(NextItem(owner_, item_, TVGN_PREVIOUS));
}

TTreeNode* TTreeNode::GetNext() const
{
    if (TTreeNode* child = GetFirstChild())
        return child;
    for (const TTreeNode* n = this; n; n = n->Parent())
        if (TTreeNode* sibling = n->GetNextSibling())
            return sibling;
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
    SendMessageA(TreeHandle(owner_), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
    if (recurse)
        for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling())
            c->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    if (recurse)
        for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling())
            c->Collapse(true);
    SendMessageA(TreeHandle(owner_), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::Expanded() const
{
    TVITEMA tv = {};
    tv.stateMask = TVIS_EXPANDED;
    return owner_->GetItem(item_, TVIF_STATE, tv) && (tv.state & TVIS_EXPANDED) != 0;
}

void TTreeNode::MakeVisible()
{
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
    const bool wasSelected = owner_->Selected() == this;
    const HTREEITEM old = item_;
    owner_->CopySubtree(this, newParent ? newParent->item_ : TVI_ROOT);
    // The old items still carry our node objects: unhook them before they go.
    std::vector<HTREEITEM> stale;
    std::function<void(HTREEITEM)> collect = [&](HTREEITEM h) {
        stale.push_back(h);
        for (HTREEITEM c = NextItem(owner_, h, TVGN_CHILD); c; c = NextItem(owner_, c, TVGN_NEXT))
            collect(c);
    };
    collect(old);
    for (HTREEITEM h : stale) {
        TVITEMA tv = {};
        tv.mask = TVIF_PARAM;
        tv.hItem = h;
        tv.lParam = 0;
        SendMessageA(TreeHandle(owner_), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    }
    SendMessageA(TreeHandle(owner_), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(old));
    if (wasSelected)
        owner_->Select(this);
    return true;
}

// ---- TTreeView ----

HTREEITEM TTreeView::CopySubtree(TTreeNode* node, HTREEITEM parent)
{
    char text[1024] = {};
    TVITEMA tv = {};
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    tv.stateMask = TVIS_EXPANDED;
    GetItem(node->item_, TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE, tv);
    std::vector<TTreeNode*> children;
    for (TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
        children.push_back(c);
    TVINSERTSTRUCTA ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    ins.item.pszText = text;
    ins.item.iImage = tv.iImage;
    ins.item.iSelectedImage = tv.iSelectedImage;
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    const bool expanded = (tv.state & TVIS_EXPANDED) != 0;
    node->item_ = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    for (TTreeNode* c : children)
        CopySubtree(c, node->item_);
    if (expanded)
        SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->item_));
    return node->item_;
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
    TVITEMA tv = {};
    if (!GetItem(item, TVIF_PARAM, tv))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(tv.lParam);
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::string& text, void* data)
{
    if (!Handle() || (parent && parent->owner_ != this))
        return nullptr;
    TTreeNode* node = new TTreeNode(this, nullptr);
    node->data_ = data;
    // Known before the control holds it: a failure here leaves the control as it was.
    try {
        nodes_.insert(node);
    } catch (...) {
        delete node;
        throw;
    }
    TVINSERTSTRUCTA ins = {};
    ins.hParent = parent ? parent->item_ : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>(text.c_str());
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    node->item_ = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!node->item_) {
        nodes_.erase(node);
        delete node;
        return nullptr;
    }
    return node;
}

void TTreeView::Delete(TTreeNode* node)
{
    if (!node || !nodes_.count(node))
        return;
    std::vector<TTreeNode*> gone;
    const int level = node->Level();
    gone.push_back(node);
    for (TTreeNode* n = node->GetNext(); n && n->Level() > level; n = n->GetNext())
        gone.push_back(n);
    SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    for (TTreeNode* n : gone) {
        nodes_.erase(n);
        delete n;
    }
}

void TTreeView::Clear()
{
    if (Handle())
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    for (TTreeNode* n : nodes_)
        delete n;
    nodes_.clear();
}

void TTreeView::HandleDestroyed()
{
    for (TTreeNode* n : nodes_)
        delete n;
    nodes_.clear();
}

int TTreeView::Count() const
{
    return Handle() ? static_cast<int>(SendMessageA(Handle(), TVM_GETCOUNT, 0, 0)) : 0;
}

TTreeNode* TTreeView::GetFirstNode() const
{
    return NodeFromItem(NextItem(this, nullptr, TVGN_ROOT));
}

TTreeNode* TTreeView::Selected() const
{
    return NodeFromItem(NextItem(this, nullptr, TVGN_CARET));
}

void TTreeView::Select(TTreeNode* node)
{
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

namespace {
int CALLBACK CompareByRank(LPARAM a, LPARAM b, LPARAM ranks)
{
    const auto& rank = *reinterpret_cast<const std::unordered_map<LPARAM, int>*>(ranks);
    return rank.at(a) - rank.at(b);
}
}  // namespace

void TTreeView::SortChildren(TTreeNode* parent, bool recurse)
{
    // Order the children ourselves (stable, our comparator), then hand the control a total
    // order so that its own sort algorithm cannot change the result.
    std::vector<TTreeNode*> children;
    TTreeNode* first = parent ? parent->GetFirstChild() : GetFirstNode();
    for (TTreeNode* c = first; c; c = c->GetNextSibling())
        children.push_back(c);
    std::vector<std::pair<std::string, TTreeNode*>> keyed;
    for (TTreeNode* c : children)
        keyed.emplace_back(c->Text(), c);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return CompareTextStable(a.first, b.first) < 0;
    });
    std::unordered_map<LPARAM, int> rank;
    for (size_t i = 0; i < keyed.size(); ++i)
        rank[reinterpret_cast<LPARAM>(keyed[i].second)] = static_cast<int>(i);
    TVSORTCB sort = {};
    sort.hParent = parent ? parent->item_ : TVI_ROOT;
    sort.lpfnCompare = CompareByRank;
    sort.lParam = reinterpret_cast<LPARAM>(&rank);
    if (children.size() > 1)
        SendMessageA(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    if (recurse)
        for (TTreeNode* c : children)
            SortChildren(c, true);
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
        const auto& handler = (nm->action & TVE_EXPAND) ? OnExpanding : OnCollapsing;
        if (handler && node)
            handler(node, allow);
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
