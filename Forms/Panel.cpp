#include "Panel.h"

namespace {
// Tab and Shift+Tab walk into panels (WS_EX_CONTROLPARENT).
const DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
}

bool TPanel::Create(TControl* parent, int left, int top, int width, int height, bool bevel)
{
    return CreateHandle(parent, nullptr, nullptr, "", kPanelStyle,
                        WS_EX_CONTROLPARENT | (bevel ? WS_EX_STATICEDGE : 0), left, top, width,
                        height);
}

bool TPanel::CreateIn(HWND parentWindow, int left, int top, int width, int height)
{
    return CreateHandle(nullptr, parentWindow, nullptr, "", kPanelStyle, WS_EX_CONTROLPARENT, left,
                        top, width, height);
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SIZE) {
        const LRESULT r = TControl::WndProc(msg, wParam, lParam);
        if (OnResize)
            OnResize();
        return r;
    }
    return TControl::WndProc(msg, wParam, lParam);
}
