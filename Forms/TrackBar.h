// Track bar: range, tick frequency, page size and position, with a change event.
#pragma once
#include "StdControl.h"

class TTrackBar : public TStdControl {
public:
    bool Create(TControl* parent, int left, int top, int width, int height = 30);
    void SetRange(int minimum, int maximum);
    int Min() const;
    int Max() const;
    void SetFrequency(int frequency);
    void SetPageSize(int size);
    int PageSize() const;
    int Position() const;
    // Held to the range by the bar. OnChange fires when the position changed, as it does when
    // the user moves the bar.
    void SetPosition(int position);

    TNotifyEvent OnChange;

protected:
    bool Reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    int lastPosition_ = 0;
};
