#include "ListView.h"
#include "Compare.h"
#include "ImageList.h"
#include "Menu.h"
#include <vector>

bool TListView::Create(TControl* parent, int left, int top, int width, int height,
                       bool multiSelect)
{
    const DWORD style = LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP |
                        (multiSelect ? 0 : LVS_SINGLESEL);
    if (!CreateControl(parent, WC_LISTVIEWA, "", style, WS_EX_CLIENTEDGE, left, top, width, height))
        return false;
    return SubclassWindow();
}

void TListView::SetExStyle(DWORD bit, bool on)
{
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, bit, on ? bit : 0);
}

void TListView::SetGridLines(bool on)
{
    SetExStyle(LVS_EX_GRIDLINES, on);
}

void TListView::SetRowSelect(bool on)
{
    SetExStyle(LVS_EX_FULLROWSELECT, on);
}

bool TListView::GridLines() const
{
    return (Send(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_GRIDLINES) != 0;
}

bool TListView::RowSelect() const
{
    return (Send(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT) != 0;
}

void TListView::SetImages(TImageList* images)
{
    Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

// ---- columns ----

int TListView::AddColumn(const std::string& caption, int width, int alignment)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = alignment;
    col.cx = width;
    col.pszText = const_cast<char*>(caption.c_str());
    const int index = ColumnCount();
    // The first column of a list view is always left-aligned; set the format again after.
    const int got = static_cast<int>(Send(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&col)));
    if (got >= 0 && alignment != LVCFMT_LEFT) {
        col.mask = LVCF_FMT;
        Send(LVM_SETCOLUMNA, got, reinterpret_cast<LPARAM>(&col));
    }
    return got;
}

int TListView::ColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string TListView::ColumnCaption(int column) const
{
    char buffer[256] = {};
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = buffer;
    col.cchTextMax = sizeof buffer;
    return Send(LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&col)) ? buffer : "";
}

int TListView::ColumnWidth(int column) const
{
    return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, column));
}

void TListView::SetColumnWidth(int column, int width)
{
    Send(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

int TListView::ColumnAlignment(int column) const
{
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT;
    return Send(LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&col)) ? (col.fmt & LVCFMT_JUSTIFYMASK)
                                                                       : -1;
}

int TListView::ColumnIndex(const std::string& caption) const
{
    const int count = ColumnCount();
    for (int i = 0; i < count; ++i)
        if (ColumnCaption(i) == caption)
            return i;
    return -1;
}

// ---- rows ----

int TListView::SortedPlace(const std::string& caption) const
{
    int low = 0, high = Count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (CompareTextStable(ItemText(mid, 0), caption) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

int TListView::AddItem(const std::string& caption, int image, void* data)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = sortColumn_ == 0 ? SortedPlace(caption) : Count();
    item.pszText = const_cast<char*>(caption.c_str());
    item.iImage = image;
    item.lParam = reinterpret_cast<LPARAM>(data);
    // Sorted by another column, the row finds its place when that column's text is set.
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int TListView::Count() const
{
    return static_cast<int>(Send(LVM_GETITEMCOUNT));
}

std::string TListView::ItemText(int item, int column) const
{
    std::vector<char> buffer(1024);
    for (;;) {
        LVITEMA lv = {};
        lv.iSubItem = column;
        lv.pszText = buffer.data();
        lv.cchTextMax = static_cast<int>(buffer.size());
        const int length = static_cast<int>(Send(LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv)));
        if (length < static_cast<int>(buffer.size()) - 1)
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 4);
    }
}

int TListView::SetItemText(int item, int column, const std::string& text)
{
    LVITEMA lv = {};
    lv.iSubItem = column;
    lv.pszText = const_cast<char*>(text.c_str());
    Send(LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
    if (column != sortColumn_)
        return item;
    const std::vector<int> moved = SortRows(sortColumn_, CompareTextStable);
    return item >= 0 && item < static_cast<int>(moved.size()) ? moved[static_cast<size_t>(item)] : item;
}

int TListView::ItemImage(int item) const
{
    LVITEMA lv = {};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    return Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv)) ? lv.iImage : -1;
}

void TListView::SetItemImage(int item, int image)
{
    LVITEMA lv = {};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    lv.iImage = image;
    Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
}

void* TListView::ItemData(int item) const
{
    LVITEMA lv = {};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    return Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv)) ? reinterpret_cast<void*>(lv.lParam)
                                                              : nullptr;
}

void TListView::SetItemData(int item, void* data)
{
    LVITEMA lv = {};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    lv.lParam = reinterpret_cast<LPARAM>(data);
    Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
}

void TListView::Delete(int item)
{
    Send(LVM_DELETEITEM, item);
}

void TListView::Clear()
{
    // An empty list has nothing to drop; the control would still recompute and repaint itself.
    if (Count() > 0)
        Send(LVM_DELETEALLITEMS);
}

// ---- selection ----

int TListView::Selected() const
{
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetSelected(int item)
{
    if (item < 0) {
        ClearSelection();
        return;
    }
    LVITEMA lv = {};
    lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    lv.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
}

bool TListView::IsSelected(int item) const
{
    return Send(LVM_GETITEMSTATE, item, LVIS_SELECTED) != 0;
}

int TListView::ItemFocused() const
{
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TListView::SetItemFocused(int item)
{
    LVITEMA lv = {};
    lv.stateMask = LVIS_FOCUSED;
    lv.state = LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
}

void TListView::ClearSelection()
{
    LVITEMA lv = {};
    lv.stateMask = LVIS_SELECTED;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&lv));
}

void TListView::MakeVisible(int item)
{
    Send(LVM_ENSUREVISIBLE, item, FALSE);
}

int TListView::FindText(int column, const std::string& text, int start) const
{
    const int count = Count();
    for (int i = start < 0 ? 0 : start; i < count; ++i)
        if (ItemText(i, column) == text)
            return i;
    return -1;
}

// ---- sorting ----

namespace {
struct SortKeys {
    std::vector<std::string> texts;
    const std::function<int(const std::string&, const std::string&)>* compare;
};

int CALLBACK CompareKeys(LPARAM a, LPARAM b, LPARAM context)
{
    const auto* keys = reinterpret_cast<const SortKeys*>(context);
    const int c = (*keys->compare)(keys->texts[static_cast<size_t>(a)], keys->texts[static_cast<size_t>(b)]);
    return c != 0 ? c : (a < b ? -1 : (a > b ? 1 : 0));  // equal keys keep their order
}
}  // namespace

void TListView::Sort(int column,
                     const std::function<int(const std::string& a, const std::string& b)>& compare)
{
    SortRows(column, compare);
}

std::vector<int> TListView::SortRows(
    int column, const std::function<int(const std::string& a, const std::string& b)>& compare)
{
    // Each row carries its old index in its data while the control sorts by the keys read
    // here; its own data goes back afterwards.
    const int count = Count();
    SortKeys keys{{}, &compare};
    std::vector<void*> data;
    for (int i = 0; i < count; ++i) {
        keys.texts.push_back(ItemText(i, column));
        data.push_back(ItemData(i));
        SetItemData(i, reinterpret_cast<void*>(static_cast<INT_PTR>(i)));
    }
    Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&keys), reinterpret_cast<LPARAM>(CompareKeys));
    std::vector<int> moved(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto old = static_cast<size_t>(reinterpret_cast<INT_PTR>(ItemData(i)));
        SetItemData(i, data[old]);
        moved[old] = i;
    }
    return moved;
}

void TListView::SetSortColumn(int column)
{
    sortColumn_ = column;
    if (column >= 0)
        Sort(column, CompareTextStable);
}

// ---- events ----

bool TListView::Notify(NMHDR* header, LRESULT& result)
{
    switch (header->code) {
    case LVN_ITEMCHANGING: {
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(header);
        if (!(nm->uChanged & LVIF_STATE) || !OnChanging || nm->iItem < 0)
            return false;
        const UINT moved = (nm->uOldState ^ nm->uNewState) & (LVIS_SELECTED | LVIS_FOCUSED);
        if (!moved)
            return false;
        bool allow = true;
        OnChanging(nm->iItem, allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    case LVN_ITEMCHANGED: {
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(header);
        const UINT moved = (nm->uOldState ^ nm->uNewState) & (LVIS_SELECTED | LVIS_FOCUSED);
        if ((nm->uChanged & LVIF_STATE) && moved && OnChange && nm->iItem >= 0)
            OnChange(nm->iItem);
        return true;
    }
    case NM_CLICK:
        return Fire(OnClick);
    case NM_DBLCLK:
        return Fire(OnDblClick);
    case NM_RCLICK:
        if (PopupMenu) {
            POINT p;
            GetCursorPos(&p);
            PopupMenu->Popup(GetParent(Handle()), p.x, p.y);
        }
        return true;
    default:
        return false;
    }
}

bool TListView::ControlMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (msg == WM_CHAR && OnKeyPress) {
        char key = static_cast<char>(wParam);
        OnKeyPress(key);
        if (key == 0) {
            result = 0;
            return true;
        }
    }
    return false;
}
