#include "StdControl.h"
#include "Compare.h"
#include <vector>

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

std::string TStdControl::ItemText(UINT lengthMsg, UINT textMsg, int index) const
{
    const LRESULT length = Send(lengthMsg, static_cast<WPARAM>(index));
    if (length < 0)
        return "";
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    Send(textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

int TStdControl::FindItemText(UINT countMsg, UINT lengthMsg, UINT textMsg, const std::string& text) const
{
    const int count = static_cast<int>(Send(countMsg));
    for (int i = 0; i < count; ++i)
        if (SameTextAscii(ItemText(lengthMsg, textMsg, i), text))
            return i;
    return -1;
}


TStdControl::~TStdControl()
{
    DestroyHandle();  // before the font that the window uses
    if (font_)
        DeleteObject(font_);
}

void TStdControl::UseFixedPitchFont(int pointSize)
{
    HDC dc = GetDC(nullptr);
    const int height = -MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             FIXED_PITCH | FF_MODERN, "Courier New");
    if (!font)
        return;
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (font_)
        DeleteObject(font_);
    font_ = font;
}

void TStdControl::BeginUpdate()
{
    if (updateCount_++ == 0)
        Send(WM_SETREDRAW, FALSE);
}

void TStdControl::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) {
        Send(WM_SETREDRAW, TRUE);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}
