// A bare Direct3D 7 program's device on a window of its own, the baseline of the viewer's
// frame: a windowed primary surface, an off-screen 640 x 480 back buffer in the display's
// format with a depth buffer and the hardware device, set once for opaque textured triangles as the viewer's
// models are drawn (depth test and write, back faces culled, linear filtering, the texture
// times the vertex colour). Its present is the one the viewer's raster library makes in a
// window: the back buffer is locked and unlocked, so the frame is finished, and copied into
// the window.
#pragma once
#include <windows.h>
#include <ddraw.h>
#include <d3d.h>

#include "bareModel.h"
#include "bitmapRecord.h"

struct bareDevice {
    HWND window;
    IDirectDraw7* pDirectDraw;
    IDirect3D7* pDirect3D;
    IDirectDrawSurface7* pPrimary;
    IDirectDrawSurface7* pBackBuffer;
    IDirectDrawSurface7* pZBuffer;
    IDirect3DDevice7* pDevice;
    bareTextures textures;
};

// Opens the device on a new window at (x, y) of the screen, which must hold the whole window
// (the present copies the whole back buffer); 0 on failure, with what was made released.
int bareDevice_Open(bareDevice* device, int x, int y);
void bareDevice_Close(bareDevice* device);
// Uploads the full-size image of a 5-6-5 bitmap as a texture of the device, once a bitmap.
int bareDevice_AddTexture(bareDevice* device, const Bitmap* bitmap);
void bareDevice_Clear(bareDevice* device);
void bareDevice_Present(bareDevice* device);
