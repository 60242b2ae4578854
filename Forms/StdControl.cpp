#include "StdControl.h"

bool TStdControl::CreateControl(TControl* parent, const char* className, const std::string& text,
                                DWORD style, DWORD exStyle, int left, int top, int width,
                                int height)
{
    if (!CreateHandle(parent, nullptr, className, text, style | WS_CHILD | WS_VISIBLE, exStyle,
                      left, top, width, height))
        return false;
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

void TStdControl::SetStyleBit(DWORD bit, bool on)
{
    if (!HandleAllocated())
        return;
    const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    SetWindowLongA(Handle(), GWL_STYLE, on ? (style | bit) : (style & ~bit));
}

bool TStdControl::HasStyle(DWORD bit) const
{
    return HandleAllocated() && (GetWindowLongA(Handle(), GWL_STYLE) & bit) == bit;
}

