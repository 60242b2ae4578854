// A plain container: holds aligned children, may carry a border, reports its size changes.
#pragma once
#include "Control.h"
#include <functional>

class TPanel : public TControl {
public:
    // bevel draws a sunken edge around the panel.
    bool Create(TControl* parent, int left, int top, int width, int height, bool bevel = false);
    // A panel filling part of a host window (parent nullptr, parentWindow the host's).
    bool CreateIn(HWND parentWindow, int left, int top, int width, int height);

    std::function<void()> OnResize;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
