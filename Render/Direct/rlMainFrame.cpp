// Per-frame device operations: present, clear, back-buffer access, statistics and gamma.
#include <cmath>
#include "rlDevice.h"
#include "rlMain.h"
#include "rlTexture.h"

// Windowed: the back buffer goes to wherever the window is now, so a moved window gets its
// frames in the new place. Full screen: a flip; a lost surface drops the frame and is restored.
static void present(int wait)
{
    if (rlDev.bWindowed) {
        DDSURFACEDESC2 desc = {};
        desc.dwSize = sizeof(desc);
        if (SUCCEEDED(rlDev.pBackBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr)))
            rlDev.pBackBuffer->Unlock(nullptr);
        rlDevice_ReadWindowRects();
        rlDev.pPrimary->Blt(&rlDev.screenRect, rlDev.pBackBuffer, &rlDev.clientRect, DDBLT_ASYNC, nullptr);
    } else if (rlDev.pPrimary->Flip(nullptr, wait ? 0 : DDFLIP_NOVSYNC) == DDERR_SURFACELOST) {
        rlDev.pDirectDraw->RestoreAllSurfaces();
    }
}

uint32_t __cdecl rlMain_Swap(int wait)
{
    if (!rlDev.bOpen) return rlDev.frameNumber;
    rlDevice_EndScene();
    present(wait);
    if (++rlDev.frameNumber == 0) rlDev.frameNumber = 1;
    rlDevice_BeginScene();
    return rlDev.frameNumber;
}

int __cdecl rlMain_Clear(uint32_t colour, int keepTarget)
{
    if (!rlDev.bOpen) return 0;
    DWORD flags = D3DCLEAR_ZBUFFER;
    if (!(keepTarget & 1)) flags |= D3DCLEAR_TARGET;
    return SUCCEEDED(rlDev.pDevice->Clear(0, nullptr, flags, colour, 1.0f, 0)) ? 1 : 0;
}

// The scene is left while the caller holds the pixels; a refused lock enters it again.
void* __cdecl rlMain_LockBuffer(int* pitch)
{
    if (!rlDev.bOpen || !pitch) return nullptr;
    rlDevice_EndScene();
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    if (FAILED(rlDev.pBackBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) {
        rlDevice_BeginScene();
        return nullptr;
    }
    *pitch = desc.lPitch;
    return desc.lpSurface;
}

int __cdecl rlMain_UnlockBuffer(void)
{
    if (!rlDev.bOpen) return E_FAIL;
    rlDev.pBackBuffer->Unlock(nullptr);
    return rlDevice_BeginScene();
}

int __cdecl rlMain_GetStats(RasterStats* stats, int reset)
{
    if (!stats) return 0;
    for (int copy = 0; copy < RASTER_TEXTURE_COPIES; copy++) {
        stats->textureBytes[copy] = rlStats.textureBytes[copy];
        stats->frameBindBytes[copy] = rlStats.frameBindBytes[copy];
        stats->uploadBytes[copy] = rlStats.uploadBytes[copy];
    }
    stats->numTriangles = rlStats.numTriangles;
    if (reset) {
        for (int copy = 0; copy < RASTER_TEXTURE_COPIES; copy++) {
            rlStats.frameBindBytes[copy] = 0;
            rlStats.uploadBytes[copy] = 0;
        }
        rlStats.numTriangles = 0;
    }
    return 1;
}

// One ramp entry: x = i / 255 raised to 1 / gamma over the 16-bit range, so gamma 1.0 gives
// exactly i * 257.
static WORD gammaEntry(int i, double gamma)
{
    const double value = std::pow(i / 255.0, 1.0 / gamma) * 65535.0 + 1e-6;
    return value >= 65535.0 ? 65535 : static_cast<WORD>(value);
}

// A component that is not a positive number leaves the ramps as they are.
void __cdecl rlMain_SetGamma(double red, double green, double blue)
{
    if (!(red > 0.0 && green > 0.0 && blue > 0.0) || !std::isfinite(red) ||
        !std::isfinite(green) || !std::isfinite(blue) || !rlDev.pGamma)
        return;
    DDGAMMARAMP ramp;
    for (int i = 0; i < 256; i++) {
        ramp.red[i] = gammaEntry(i, red);
        ramp.green[i] = gammaEntry(i, green);
        ramp.blue[i] = gammaEntry(i, blue);
    }
    rlDev.pGamma->SetGammaRamp(0, &ramp);
}

// Uploads a 5-6-5 bitmap's texture into copy 0.
int __cdecl rlMain_SetTextureBuffer(Bitmap* bitmap)
{
    if (!bitmap) return 1;
    if (bitmap->format != BITMAP_FORMAT_565) return 0;
    return rlTexture_CacheHandle(bitmap->rasterHandle, 0);
}
