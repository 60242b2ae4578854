// Up-down arrows bound to a text box (the buddy), which shows the position: 32-bit range,
// increment, no thousands separator, no wrap.
#pragma once
#include "StdControl.h"

class TEdit;

class TUpDown : public TStdControl {
public:
    // Placed at the right edge of the buddy, inside its parent.
    bool Create(TControl* parent, TEdit* buddy);
    void SetRange(int minimum, int maximum);
    int Min() const;
    int Max() const;
    void SetIncrement(int increment);
    int Increment() const;
    // The position; the buddy's text when the user typed a number there.
    int Position() const;
    // By program: the buddy shows it; no event.
    void SetPosition(int position);
    TEdit* Buddy() const { return buddy_; }

    // After a click on an arrow has changed the position.
    TNotifyEvent OnClick;

protected:
    bool Reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    TEdit* buddy_ = nullptr;
};
