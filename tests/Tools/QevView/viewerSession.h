// The viewer started in the test's own process and given back whole when the case ends,
// however it ended: whatever the case started of the window and the engine is shut down
// (QevView_ShutdownAll) and the render settings get back what they held before. A fixture
// declares it after the fake raster table, so that the table still records the shutdown.
#pragma once
#include <windows.h>

#include "QevView.h"
#include "renderSettings.h"

namespace viewertest {

class ViewerSession {
public:
    ViewerSession() : saved_(renderSettings_current) {}
    ~ViewerSession()
    {
        QevView_ShutdownAll();
        renderSettings_current = saved_;
    }
    ViewerSession(const ViewerSession&) = delete;
    ViewerSession& operator=(const ViewerSession&) = delete;

    // The window, the command line and start-up as the program runs them: start-up's result,
    // or -1 when the window cannot be made.
    static int Start(const char* commandLine)
    {
        if (!QevView_CreateWindow(GetModuleHandleA(nullptr), SW_SHOW)) return -1;
        QevView_ParseCommandLine(&QevView_app.commandLine, commandLine);
        return QevView_Startup();
    }

private:
    renderSettings saved_;
};

}  // namespace viewertest
