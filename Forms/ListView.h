// Report list view over the common control: columns, rows of texts, per-row image and data.
// The control holds the rows; rows are addressed by index (0 = top row as shown).
#pragma once
#include "Drag.h"
#include "StdControl.h"
#include <commctrl.h>
#include <string>
#include <vector>

class TImageList;
class TPopupMenu;

class TListView : public TStdControl, public TDragTarget {
public:
    // Report style, read-only cells, selection kept visible; single selection by default.
    bool Create(TControl* parent, int left, int top, int width, int height,
                bool multiSelect = false);
    void SetGridLines(bool on);
    void SetRowSelect(bool on);
    bool GridLines() const;
    bool RowSelect() const;
    // Small images of the rows; nullptr removes them.
    void SetImages(TImageList* images);

    // Columns. Alignment: LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER.
    int AddColumn(const std::string& caption, int width, int alignment = LVCFMT_LEFT);
    int ColumnCount() const;
    std::string ColumnCaption(int column) const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    int ColumnAlignment(int column) const;
    // The column with this caption (exact), or -1.
    int ColumnIndex(const std::string& caption) const;

    // Rows. A new row goes to its sorted place while a sort column is set, else to the end.
    // image -1 shows none. Answers the new row's index, -1 on failure.
    int AddItem(const std::string& caption, int image = -1, void* data = nullptr);
    int Count() const;
    // Column 0 is the row's caption. Setting the sort column's text sorts the rows again; the
    // answer is the row's index after that (the same index otherwise).
    std::string ItemText(int item, int column) const;
    int SetItemText(int item, int column, const std::string& text);
    int ItemImage(int item) const;
    void SetItemImage(int item, int image);
    void* ItemData(int item) const;
    void SetItemData(int item, void* data);
    void Delete(int item);
    void Clear();

    // The first selected row, or -1; selecting also makes the row the focused one.
    int Selected() const;
    void SetSelected(int item);
    bool IsSelected(int item) const;
    int ItemFocused() const;
    void SetItemFocused(int item);
    void ClearSelection();
    void MakeVisible(int item);

    // The first row from start whose column text equals text (letter case counts), or -1.
    int FindText(int column, const std::string& text, int start = 0) const;
    // Keeps the rows sorted by one column with our ASCII order (-1: unsorted, the default).
    void SetSortColumn(int column);
    int SortColumn() const { return sortColumn_; }
    // Sorts once by one column's texts with a comparator (<0, 0, >0); equal texts keep their
    // order. The texts are read before the control sorts, so the comparator sees stable values.
    void Sort(int column, const std::function<int(const std::string& a, const std::string& b)>& compare);

    TPopupMenu* PopupMenu = nullptr;  // shown on a right click
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    // Characters typed in the list; setting key to 0 swallows it.
    std::function<void(char& key)> OnKeyPress;
    // A row's selection or focus is about to change: clear allow to refuse.
    std::function<void(int item, bool& allow)> OnChanging;
    // A row's selection or focus changed.
    std::function<void(int item)> OnChange;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;
    bool ControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void SetExStyle(DWORD bit, bool on);
    int SortedPlace(const std::string& caption) const;
    // Sorts and answers, for each row's old index, its new one.
    std::vector<int> SortRows(int column,
                              const std::function<int(const std::string& a, const std::string& b)>& compare);

    int sortColumn_ = -1;
};
