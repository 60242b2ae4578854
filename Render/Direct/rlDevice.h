// The one device of the process: the driver objects, the surfaces and the frame state that
// every module of the library reaches.
//
// rlMain_Startup keeps the window and lists the drivers; both stay until the next start-up
// (rlMain_Shutdown changes nothing: the viewer's assertion routine calls it and goes on).
// rlMain_Open sets the device's state afresh (frame counter, statistics, state cache, texture
// pool, vertex buffer); rlMain_Close gives it all back and forgets the caller's settings, lights
// and current model, so an open after a close behaves as the first. The current camera stays until the next selection.
#pragma once
#include <windows.h>
#include <ddraw.h>
#include <d3d.h>
#include "rasterLib.h"

enum { RASTER_MAX_TEXTURE_FORMATS = 64 };

struct rlDeviceState {
    HWND window;
    renderSettings* pSettings;
    IDirectDraw7* pDirectDraw;
    IDirect3D7* pDirect3D;
    IDirectDrawSurface7* pPrimary;
    IDirectDrawSurface7* pBackBuffer;
    IDirectDrawSurface7* pZBuffer;
    IDirectDrawGammaControl* pGamma;
    IDirect3DDevice7* pDevice;
    D3DDEVICEDESC7 deviceCaps;
    RECT clientRect;   // the window's client area, and the same area in screen coordinates
    RECT screenRect;
    DDPIXELFORMAT textureFormats[RASTER_MAX_TEXTURE_FORMATS];
    int numTextureFormats;
    uint32_t frameNumber = 1;   // 0 is never a frame number
    bool bStarted;
    bool bOpen;
    bool bWindowed;
    bool bInScene;
};

extern rlDeviceState rlDevice_state;
extern RasterInfo rlDevice_info;
// Running counters, copied into the caller's record by rlMain_GetStats.
extern RasterStats rlDevice_stats;

// Scene brackets that remember whether the device is inside a scene.
HRESULT rlDevice_BeginScene(void);
void rlDevice_EndScene(void);

// Reads the window's client rectangle and the same rectangle in screen coordinates.
bool rlDevice_ReadWindowRects(void);

// Releases a COM object when there is one and forgets it.
template <typename T> void rlDevice_Release(T*& object)
{
    if (object) {
        object->Release();
        object = nullptr;
    }
}
