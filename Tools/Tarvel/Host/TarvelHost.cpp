// TarvelHost.exe things|scenes [GAMEFOLDER] [CHRONICLE] [picker]: loads tarvelThings.dll or
// tarvelScenes.dll by file name, binds its exports by name and drives it like the level editor.
// "picker" presses the scene editor's New button once it is open, to show the scene picker.
#include <cstring>
#include "Host.h"
#include "HostScenes.h"
#include "HostThings.h"

constexpr int ID_OPEN = 200;

static bool thingsMode = true;

static void Layout()
{
    RECT r;
    GetClientRect(host.window, &r);
    MoveWindow(host.log, r.right - HOST_LOG_WIDTH - 8, 8, HOST_LOG_WIDTH, r.bottom - 16, TRUE);
    if (thingsMode)
        HostThings_Layout();
}

static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE:
        if (host.log)
            Layout();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == ID_OPEN)
            HostScenes_Open();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    std::string mode = __argc > 1 ? __argv[1] : "";
    if (mode != "things" && mode != "scenes") {
        MessageBoxA(nullptr, "Usage: TarvelHost things|scenes [GAMEFOLDER] [CHRONICLE]",
                    "Cannot start host...", MB_OK | MB_ICONEXCLAMATION);
        return 2;
    }
    thingsMode = mode == "things";
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    host.gameFolder = __argc > 2 ? __argv[2] : cwd;
    std::string chronicle = __argc > 3 ? __argv[3] : "act1";
    host.pressNew = __argc > 4 && std::strcmp(__argv[4], "picker") == 0;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = "TarvelHost";
    RegisterClassA(&wc);
    std::string title = "Tarvel Host - " + mode;
    // Scenes: lower, so that the centred editor and picker reach past it; wine on a display
    // without a window manager leaves a window black that lies wholly over a disabled one.
    host.window = CreateWindowExA(0, "TarvelHost", title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  20, 20, 1200, thingsMode ? 800 : 600, nullptr, nullptr, instance, nullptr);
    host.log = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL |
                               WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 10, 10, host.window,
                               nullptr, instance, nullptr);
    SendMessageA(host.log, WM_SETFONT, (WPARAM)GetStockObject(ANSI_FIXED_FONT), 0);
    SendMessageA(host.log, LB_SETHORIZONTALEXTENT, 1200, 0);
    if (!thingsMode)
        host.openButton = CreateWindowExA(0, "BUTTON", "Scene Editor...", WS_CHILD | WS_VISIBLE,
                                          8, 8, 140, 26, host.window, (HMENU)(INT_PTR)ID_OPEN,
                                          instance, nullptr);
    Host_Log("game folder: %s", host.gameFolder.c_str());

    const char* file = thingsMode ? "tarvelThings.dll" : "tarvelScenes.dll";
    host.panel = LoadLibraryA(file);
    if (!host.panel) {
        std::string text = std::string("Cannot load ") + file + ".";
        MessageBoxA(nullptr, text.c_str(), "Cannot start host...", MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    Host_Log("loaded %s", file);
    ShowWindow(host.window, show);
    bool started = thingsMode ? HostThings_Start() : HostScenes_Start(chronicle);
    if (!started) {
        MessageBoxA(nullptr, "The panel lacks exports the host needs.", "Cannot start host...",
                    MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    Layout();
    // The scenes panel is opened once the host's window is up, as a user would do.
    if (!thingsMode)
        PostMessageA(host.window, WM_COMMAND, ID_OPEN, 0);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    auto destroy = (void (*)(void))Host_Export("_Destroy");
    if (destroy)
        destroy();
    FreeLibrary(host.panel);
    return 0;
}
