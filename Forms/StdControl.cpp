#include "StdControl.h"
#include "Application.h"
#include <commctrl.h>

TStdControl::~TStdControl()
{
    if (tooltip_ && IsWindow(tooltip_))
        DestroyWindow(tooltip_);
    if (subclassed_ && HandleAllocated())
        RemoveWindowSubclass(Handle(), SubclassProc, 0);
}

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

bool TStdControl::Subclass()
{
    if (subclassed_)
        return true;
    subclassed_ = HandleAllocated() &&
                  SetWindowSubclass(Handle(), SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    return subclassed_;
}

bool TStdControl::ControlMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CALLBACK TStdControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR refData)
{
    auto* self = reinterpret_cast<TStdControl*>(refData);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, 0);
        self->subclassed_ = false;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_MOUSEMOVE && !self->hint_.empty())
        Application().SetHint(self->hint_);
    LRESULT result = 0;
    try {
        if (self->ControlMessage(msg, wParam, lParam, result))
            return result;
    } catch (const std::exception& e) {
        Application().ShowException(e);
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TStdControl::SetHint(const std::string& hint)
{
    hint_ = hint;
    if (!HandleAllocated())
        return;
    Subclass();
    const std::string shortHint = TApplication::GetShortHint(hint);
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(Handle());
    info.uId = reinterpret_cast<UINT_PTR>(Handle());
    info.lpszText = const_cast<char*>(shortHint.c_str());
    if (!tooltip_) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, 0, 0, 0,
                                   0, Handle(), nullptr, nullptr, nullptr);
        if (tooltip_)
            SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    }
}
