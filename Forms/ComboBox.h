// Drop-down list (no free typing): items, the chosen index, a find without regard to case.
#pragma once
#include "StdControl.h"

class TComboBox : public TStdControl {
public:
    // height: the closed box plus its opened list.
    bool Create(TControl* parent, int left, int top, int width, int height = 200);
    int AddItem(const std::string& text);
    void Clear();
    int Count() const;
    std::string Item(int index) const;
    // -1: nothing chosen. Setting it by program fires no event.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The first item equal to text without regard to case (ASCII), or -1.
    int IndexOf(const std::string& text) const;

    // The user chose another item.
    TNotifyEvent OnChange;

protected:
    bool Command(WORD code) override;
};
