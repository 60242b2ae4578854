// List box: items with a data pointer each, the chosen index, sorting with our ASCII order,
// several columns. And the check-list box: one check box per item.
#pragma once
#include "StdControl.h"
#include <string>

class TListBox : public TStdControl {
public:
    // multiColumn: items flow into columns of equal width (see SetColumns); fixed at creation.
    // tabStops: a tab in an item moves to the next stop (every 8 average characters) instead of
    // showing as a character; fixed at creation.
    bool Create(TControl* parent, int left, int top, int width, int height,
                bool multiColumn = false, bool tabStops = false);

    // A sorted list keeps its items in our ASCII order (CompareTextStable); turning sorting on
    // sorts the items there. Off keeps the order of adding.
    void SetSorted(bool sorted);
    bool Sorted() const { return sorted_; }
    // Number of columns shown by a multi-column list (the client width split evenly).
    void SetColumns(int columns);
    int Columns() const { return columns_; }

    int AddItem(const std::string& text, void* data = nullptr);
    void Delete(int index);
    void Clear();
    int Count() const;
    std::string Item(int index) const;
    void* ItemData(int index) const;
    // Swaps two items with their data (an unsorted list).
    void Exchange(int a, int b);
    // The item equal to text without regard to case (ASCII), or -1.
    int FindExact(const std::string& text) const;

    // -1: none. Setting it by program fires no event.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // The user chose an item (click or keys).
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    bool Command(WORD code) override;

private:
    int Insert(int index, const std::string& text, void* data);
    int SortedPlace(const std::string& text) const;

    bool sorted_ = false;
    int columns_ = 0;
};
