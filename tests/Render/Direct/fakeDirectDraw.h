// A counting double of the DirectDraw 7 / Direct3D 7 objects, installed into the raster
// library's seam. It stands in for what the real device never does: failing a chosen call,
// more drivers or modes than the library keeps, no gamma control. Every object counts its
// references so a test can show that closing gives back everything.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

struct FakeMode {
    int width, height, bits;
};

struct FakeConfig {
    int numDrivers = 1;              // the first is the primary display driver (no identifier)
    bool bDrivers3D = true;          // the drivers report DDCAPS_3D
    std::vector<FakeMode> modes = {{640, 480, 16}, {800, 600, 32}, {1024, 768, 24}};
    bool bRender32 = true;           // the HAL device renders into 32-bit targets
    bool bGamma = true;              // the primary surface offers gamma control
    int createDeviceFailures = 0;    // the first N CreateDevice calls fail
    bool bLockFails = false;         // locking a surface fails
    bool bSetDisplayModeFails = false;
    bool bSeparateTextureMemories = false;
    int failAtStep = 0;              // the Nth counted call (see fake_Steps) fails; 0: none
};

// Installs the double with a configuration; everything earlier is forgotten.
void fake_Install(const FakeConfig& config);
// The installed configuration, to change while a device is open.
FakeConfig& fake_Config(void);
// Puts the system's DirectDraw back.
void fake_Uninstall(void);

// Objects with references still held, and a description of them.
int fake_LiveObjects(void);
std::string fake_LiveDescription(void);
// Counted calls made so far (every call that can be made to fail).
int fake_Steps(void);
// Calls of a named method (for example "CreateDevice", "SetDisplayMode", "BeginScene").
int fake_Calls(const char* method);
// The scene state of the current device: inside a scene, and any scene error seen (begin while
// inside, end while outside).
bool fake_InScene(void);
bool fake_SceneError(void);
// The last gamma ramp set, and the last clear.
bool fake_GammaRamp(WORD* red, WORD* green, WORD* blue);
DWORD fake_LastClearFlags(void);
// The driver index of the last DirectDraw object created (0: the primary display driver).
int fake_LastDriver(void);
// The rectangles of the last present of a windowed device.
RECT fake_LastPresentDest(void);
