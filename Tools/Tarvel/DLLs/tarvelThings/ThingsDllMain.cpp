// The library's entry point, apart from the exports so that tests can link those.
#include <windows.h>
#include "Control.h"
#include "ThingsExports.h"

// A host that unloads the library without _Destroy must not keep a window whose procedure is
// gone, nor a hook into its message loop, nor our window classes; at process exit (reserved
// set) nothing is torn down.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        things_Unload();
        UnregisterFormClasses();
    }
    return TRUE;
}
