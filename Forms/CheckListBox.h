// Check-list box: items with a check box each (the list view's check boxes, so the control
// keeps the states and toggles them on click and Space).
#pragma once
#include "StdControl.h"
#include <string>

class TCheckListBox : public TStdControl {
public:
    bool Create(TControl* parent, int left, int top, int width, int height);
    int AddItem(const std::string& text);
    void Clear();
    int Count() const;
    std::string Item(int index) const;
    void SetItem(int index, const std::string& text);
    bool Checked(int index) const;
    // By program: OnClickCheck does not fire.
    void SetChecked(int index, bool checked);
    // -1: none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    TNotifyEvent OnClick;
    // The user ticked or cleared an item.
    std::function<void(int index)> OnClickCheck;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;

private:
    int settingByProgram_ = 0;
};
