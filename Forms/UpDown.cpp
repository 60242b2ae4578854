#include "UpDown.h"
#include "Edit.h"
#include <commctrl.h>

bool TUpDown::Create(TControl* parent, TEdit* buddy)
{
    buddy_ = buddy;
    const DWORD style = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    if (!CreateControl(parent, UPDOWN_CLASSA, "", style, 0, 0, 0, 16, 20))
        return false;
    if (buddy)
        Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy->Handle()));
    SetRange(0, 100);
    return true;
}

void TUpDown::SetRange(int minimum, int maximum)
{
    Send(UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

int TUpDown::Min() const
{
    int low = 0, high = 0;
    Send(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    return low;
}

int TUpDown::Max() const
{
    int low = 0, high = 0;
    Send(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    return high;
}

void TUpDown::SetIncrement(int increment)
{
    UDACCEL accel = {0, static_cast<UINT>(increment)};
    Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

int TUpDown::Increment() const
{
    UDACCEL accel = {0, 1};
    Send(UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    return static_cast<int>(accel.nInc);
}

int TUpDown::Position() const
{
    return static_cast<int>(Send(UDM_GETPOS32, 0, 0));
}

void TUpDown::SetPosition(int position)
{
    Send(UDM_SETPOS32, 0, position);
}

bool TUpDown::Reflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    // The control reports a finished step to its parent as a scroll message.
    if ((msg != WM_VSCROLL && msg != WM_HSCROLL) || LOWORD(wParam) != SB_THUMBPOSITION)
        return false;
    if (OnClick)
        OnClick(this);
    result = 0;
    return true;
}
