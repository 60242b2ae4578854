// The one device of the process: the driver objects, the surfaces and the frame state that
// every module of the library reaches.
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
