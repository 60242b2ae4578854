// A bar between an aligned control and the rest of its parent; dragging it resizes that
// control. The splitter takes the same alignment and must be created right after the control,
// so that the parent's alignment places it beside it.
#pragma once
#include "Control.h"
#include <functional>

class TSplitter : public TControl {
public:
    // control: the aligned (left, right, top or bottom) control that the bar resizes.
    bool Create(TControl* parent, TControl* control, int thickness = 3);

    // The control's size stays within [MinSize, MaxSize] (MaxSize 0: no upper bound besides
    // the parent's client area).
    int MinSize() const { return minSize_; }
    void SetMinSize(int size) { minSize_ = size; }
    int MaxSize() const { return maxSize_; }
    void SetMaxSize(int size) { maxSize_ = size; }

    // Asked before every size change: may alter newSize or refuse by clearing accept.
    std::function<void(int& newSize, bool& accept)> OnCanResize;
    // After a drag has resized the control.
    std::function<void()> OnMoved;

    // Resizes the control as a drag to newSize would: limits, question, alignment. True when
    // the size changed.
    bool MoveTo(int newSize);
    int ControlSize() const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool Horizontal() const;  // a bar for a left or right control moves horizontally
    int MousePos(LPARAM lParam) const;  // along the moving axis, in parent coordinates

    TControl* control_ = nullptr;
    int minSize_ = 30;
    int maxSize_ = 0;
    bool dragging_ = false;
    int dragStart_ = 0;
    int sizeAtStart_ = 0;
};
