#include "ListBox.h"
#include "Compare.h"
#include <algorithm>
#include <vector>

bool TListBox::Create(TControl* parent, int left, int top, int width, int height, bool multiColumn,
                      bool tabStops)
{
    DWORD style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP |
                  (multiColumn ? LBS_MULTICOLUMN | WS_HSCROLL : WS_VSCROLL) | (tabStops ? LBS_USETABSTOPS : 0);
    return CreateControl(parent, "LISTBOX", "", style, WS_EX_CLIENTEDGE, left, top, width, height);
}

int TListBox::Count() const
{
    return static_cast<int>(Send(LB_GETCOUNT));
}

std::string TListBox::Item(int index) const
{
    return ItemText(LB_GETTEXTLEN, LB_GETTEXT, index);
}

void* TListBox::ItemData(int index) const
{
    const LRESULT data = Send(LB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == LB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

int TListBox::Insert(int index, const std::string& text, void* data)
{
    const int at = static_cast<int>(
        Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
    if (at >= 0)
        Send(LB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(data));
    return at;
}

int TListBox::SortedPlace(const std::string& text) const
{
    int low = 0, high = Count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (CompareTextStable(Item(mid), text) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

int TListBox::AddItem(const std::string& text, void* data)
{
    return Insert(sorted_ ? SortedPlace(text) : -1, text, data);
}

void TListBox::Delete(int index)
{
    Send(LB_DELETESTRING, static_cast<WPARAM>(index));
}

void TListBox::Clear()
{
    Send(LB_RESETCONTENT);
}

void TListBox::Exchange(int a, int b)
{
    const int count = Count();
    if (a == b || a < 0 || b < 0 || a >= count || b >= count)
        return;
    const int selected = ItemIndex();
    const std::string textA = Item(a), textB = Item(b);
    void* dataA = ItemData(a);
    void* dataB = ItemData(b);
    Delete(a);
    Insert(a, textB, dataB);
    Delete(b);
    Insert(b, textA, dataA);
    if (selected == a || selected == b)
        SetItemIndex(selected);
}

int TListBox::FindExact(const std::string& text) const
{
    return FindItemText(LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, text);
}

int TListBox::ItemIndex() const
{
    return static_cast<int>(Send(LB_GETCURSEL));
}

void TListBox::SetItemIndex(int index)
{
    Send(LB_SETCURSEL, static_cast<WPARAM>(index));
}

void TListBox::SetSorted(bool sorted)
{
    sorted_ = sorted;
    if (!sorted)
        return;
    struct Entry {
        std::string text;
        void* data;
    };
    std::vector<Entry> items;
    const int count = Count();
    for (int i = 0; i < count; ++i)
        items.push_back({Item(i), ItemData(i)});
    std::stable_sort(items.begin(), items.end(), [](const Entry& a, const Entry& b) {
        return CompareTextStable(a.text, b.text) < 0;
    });
    BeginUpdate();
    Clear();
    for (const Entry& e : items)
        Insert(-1, e.text, e.data);
    EndUpdate();
}

void TListBox::SetColumns(int columns)
{
    columns_ = columns;
    if (columns > 0)
        Send(LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, ClientWidth() / columns)));
}

bool TListBox::Command(WORD code)
{
    if (code == LBN_SELCHANGE && OnClick)
        OnClick(this);
    else if (code == LBN_DBLCLK && OnDblClick)
        OnDblClick(this);
    else
        return false;
    return true;
}
