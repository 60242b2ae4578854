// A top-level window with a 640 x 480 client area for the raster device, and render settings
// for opening it.
#pragma once
#include <windows.h>
#include <cstring>
#include "renderSettingsRecord.h"

class RasterTestWindow {
public:
    explicit RasterTestWindow(bool visible = false, int x = 40, int y = 40)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "RasterTestWindow";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        RECT rect = {0, 0, 640, 480};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        AdjustWindowRect(&rect, style, FALSE);
        hwnd = CreateWindowA("RasterTestWindow", "Raster test", style, x, y, rect.right - rect.left,
                             rect.bottom - rect.top, nullptr, nullptr, wc.hInstance, nullptr);
        if (visible) {
            ShowWindow(hwnd, SW_SHOWNORMAL);
            UpdateWindow(hwnd);
            pumpMessages();
        }
    }
    ~RasterTestWindow() { DestroyWindow(hwnd); }

    static void pumpMessages()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    HWND hwnd;
};

inline renderSettings rasterTestSettings(bool windowed)
{
    renderSettings settings;
    memset(&settings, 0, sizeof(settings));
    settings.optionFlags = windowed ? uint32_t(RENDER_OPTION_WINDOWED) : 0u;
    settings.maxMips = 8;
    settings.gamma = 1.0f;
    settings.reqScreenWidth = 640;
    settings.reqScreenHeight = 480;
    settings.reqScreenDepth = 16;
    return settings;
}
