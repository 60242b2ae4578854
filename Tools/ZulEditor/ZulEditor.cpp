// The template editor program: the main window, the about box, the message loop. Files named
// on the command line are opened at start.
#include "Application.h"
#include "MainWindow.h"
#include "ValueEditorWindow.h"
#include <cstdlib>
#include <exception>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TApplication& app = Application();
    app.SetTitle("ZUL Editor");
    try {
        TMainWindow mainWindow;
        TAboutBoxWindow aboutBox;
        if (!mainWindow.Create())
            return 1;
        TValueEditorWindow valueEditor(mainWindow);
        valueEditor.Create();
        aboutBox.Create();
        mainWindow.SetAboutBox(&aboutBox);
        app.SetMainForm(&mainWindow);
        mainWindow.Show();
        mainWindow.FormActivate();
        for (int i = 1; i < __argc; ++i)
            mainWindow.OpenZULFile(__argv[i], false);
        app.Run();
        // The main window saves the layout when it goes: the value editor must still exist then.
        valueEditor.ShowMoreInfo(false);
        mainWindow.DestroyForm();
    } catch (...) {
        app.ShowCaughtException();
        return 1;
    }
    return 0;
}
