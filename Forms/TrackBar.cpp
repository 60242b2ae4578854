#include "TrackBar.h"
#include <commctrl.h>

bool TTrackBar::Create(TControl* parent, int left, int top, int width, int height)
{
    if (!CreateControl(parent, TRACKBAR_CLASSA, "", TBS_AUTOTICKS | TBS_HORZ | WS_TABSTOP, 0, left,
                       top, width, height))
        return false;
    lastPosition_ = Position();
    return true;
}

void TTrackBar::SetRange(int minimum, int maximum)
{
    Send(TBM_SETRANGEMIN, FALSE, minimum);
    Send(TBM_SETRANGEMAX, TRUE, maximum);
    lastPosition_ = Position();
}

int TTrackBar::Min() const
{
    return static_cast<int>(Send(TBM_GETRANGEMIN));
}

int TTrackBar::Max() const
{
    return static_cast<int>(Send(TBM_GETRANGEMAX));
}

void TTrackBar::SetFrequency(int frequency)
{
    Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency));
}

void TTrackBar::SetPageSize(int size)
{
    Send(TBM_SETPAGESIZE, 0, size);
}

int TTrackBar::PageSize() const
{
    return static_cast<int>(Send(TBM_GETPAGESIZE));
}

int TTrackBar::Position() const
{
    return static_cast<int>(Send(TBM_GETPOS));
}

void TTrackBar::SetPosition(int position)
{
    Send(TBM_SETPOS, TRUE, position);
    const int now = Position();
    if (now == lastPosition_)
        return;
    lastPosition_ = now;
    if (OnChange)
        OnChange(this);
}

bool TTrackBar::Reflected(UINT msg, WPARAM, LPARAM, LRESULT& result)
{
    if (msg != WM_HSCROLL && msg != WM_VSCROLL)
        return false;
    const int now = Position();
    if (now != lastPosition_) {
        lastPosition_ = now;
        if (OnChange)
            OnChange(this);
    }
    result = 0;
    return true;
}
