// Group box: a container with a captioned frame; and the radio group, a group box with one
// radio button per item of which at most one is chosen.
#pragma once
#include "Button.h"
#include <memory>
#include <vector>

class TGroupBox : public TControl {
public:
    bool Create(TControl* parent, const std::string& caption, int left, int top, int width,
                int height);
    std::string Caption() const;
    void SetCaption(const std::string& caption);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND frame_ = nullptr;  // the system's frame, below the box's controls
};

class TRadioGroup : public TGroupBox {
public:
    // Items go one per row, from the top.
    int AddItem(const std::string& caption);
    int Count() const { return static_cast<int>(buttons_.size()); }
    std::string Item(int index) const;
    // The chosen item, -1 for none. Setting it by program fires no event.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // A click on an item (after it became the chosen one).
    TNotifyEvent OnClick;

private:
    std::vector<std::unique_ptr<TRadioButton>> buttons_;
};
