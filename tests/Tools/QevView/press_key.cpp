// qevview_press_key.exe SCANCODE...: waits for the viewer's window, brings it to the front and
// presses and releases each key given by its scan code (hexadecimal or decimal) as a user
// would, through the system's input queue, so that the viewer's keyboard device reads it.
// ./run viewer presses F with it, so that the screenshot shows the statistics line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void SendKey(WORD scanCode, bool bUp)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = scanCode;
    input.ki.wVk = (WORD)MapVirtualKeyA(scanCode, MAPVK_VSC_TO_VK);
    input.ki.dwFlags = KEYEVENTF_SCANCODE | (bUp ? KEYEVENTF_KEYUP : 0);
    SendInput(1, &input, sizeof input);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: qevview_press_key SCANCODE...\n");
        return 2;
    }
    HWND viewer = nullptr;
    for (int tries = 0; tries < 600 && !viewer; tries++) {
        viewer = FindWindowA("Palvera", nullptr);
        if (!viewer) Sleep(100);
    }
    if (!viewer) {
        fprintf(stderr, "the viewer's window did not come\n");
        return 1;
    }
    // The window comes before the devices, which take seconds under an emulator; the viewer's
    // thread answers messages only once its frame loop runs, with its keyboard acquired.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_BLOCK, 120000, &answer)) {
        fprintf(stderr, "the viewer did not start its frames (error %lu)\n", GetLastError());
        return 1;
    }
    SetForegroundWindow(viewer);
    Sleep(500);
    for (int i = 1; i < argc; i++) {
        const WORD scanCode = (WORD)strtoul(argv[i], nullptr, 0);
        SendKey(scanCode, false);
        Sleep(2000);
        SendKey(scanCode, true);
        Sleep(200);
    }
    return 0;
}
