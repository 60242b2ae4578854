// The host stand-in: one main window with the panel's place on the left and a log list on the
// right that shows every callback and what the host fetched back.
#pragma once
#include <windows.h>
#include <string>

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

// Each panel's part of the host: load and feed it; react to the host window's layout.
bool HostThings_Start();
void HostThings_Layout();
bool HostScenes_Start(const std::string& chronicle);
void HostScenes_Open();
