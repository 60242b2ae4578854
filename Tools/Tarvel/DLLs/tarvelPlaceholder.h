// The plain window that stands in for a panel's form until the form is built: its class is
// registered with the DLL's own instance, and it paints the lines that describe the panel.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

inline void tarvelPlaceholder_Register(const char* className, WNDPROC proc, HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
}

// Answers WM_PAINT with one line of text per entry, from `top` down.
inline void tarvelPlaceholder_Paint(HWND hwnd, int top, const std::vector<std::string>& lines)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    SetBkMode(dc, TRANSPARENT);
    for (const std::string& line : lines) {
        TextOutA(dc, 8, top, line.c_str(), (int)line.size());
        top += 18;
    }
    EndPaint(hwnd, &ps);
}
