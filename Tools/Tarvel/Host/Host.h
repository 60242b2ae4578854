// What both panels' parts of the host stand-in share: the host's main window with the panel's
// place on the left and a log list on the right that shows every callback and what the host
// fetched back, and the binding of a panel's exports by name.
#pragma once
#include <windows.h>
#include <string>

constexpr int HOST_LOG_WIDTH = 460;

struct THost {
    HWND window = nullptr;
    HWND log = nullptr;
    HWND openButton = nullptr;  // scenes: opens the modal editor
    bool pressNew = false;      // scenes: press the editor's New button once it is open
    HMODULE panel = nullptr;
    std::string gameFolder;
    RECT PanelArea() const;
};
extern THost host;

void Host_Log(const char* format, ...);
// Resolves an export by name; logs and answers null when the panel lacks it.
FARPROC Host_Export(const char* name);
// Binds one export by name to a typed pointer; false when missing.
template <class F> bool Host_Bind(F& f, const char* name)
{
    f = (F)(void*)Host_Export(name);
    return f != nullptr;
}
// The first calls to a panel, the same for both: _Version (logged), _CreateAsChild with the
// host's window and, once it made its window, _SetBaseDir with the game folder. The panel's
// window, or null.
HWND Host_CreatePanel(int (*version)(void), HWND (*createAsChild)(HWND), void (*setBaseDir)(const char*));
