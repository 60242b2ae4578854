#include "Host.h"
#include <cstdarg>
#include <cstdio>

THost host;

RECT THost::PanelArea() const
{
    RECT r;
    GetClientRect(window, &r);
    r.left += 8;
    r.top += 40;
    r.right -= HOST_LOG_WIDTH + 16;
    r.bottom -= 8;
    return r;
}

void Host_Log(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::printf("%s\n", line);
    std::fflush(stdout);
    if (host.log) {
        int i = (int)SendMessageA(host.log, LB_ADDSTRING, 0, (LPARAM)line);
        SendMessageA(host.log, LB_SETTOPINDEX, i, 0);
    }
}

FARPROC Host_Export(const char* name)
{
    FARPROC f = GetProcAddress(host.panel, name);
    if (!f)
        Host_Log("missing export %s", name);
    return f;
}

HWND Host_CreatePanel(int (*version)(void), HWND (*createAsChild)(HWND), void (*setBaseDir)(const char*))
{
    Host_Log("_Version: %d", version());
    HWND window = createAsChild(host.window);
    if (window)
        setBaseDir(host.gameFolder.c_str());
    return window;
}
