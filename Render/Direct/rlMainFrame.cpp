// Per-frame device operations: present, clear, back-buffer access and statistics.
#include "rlDevice.h"
#include "rlMain.h"
#include "rlTexture.h"

// Windowed: the back buffer goes to wherever the window is now, so a moved window gets its
// frames in the new place. Full screen: a flip; a lost surface drops the frame and is restored.
static void present(int wait)
{
    if (rlDevice_state.bWindowed) {
        DDSURFACEDESC2 desc = {};
        desc.dwSize = sizeof(desc);
        if (SUCCEEDED(rlDevice_state.pBackBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr)))
            rlDevice_state.pBackBuffer->Unlock(nullptr);
        rlDevice_ReadWindowRects();
        rlDevice_state.pPrimary->Blt(&rlDevice_state.screenRect, rlDevice_state.pBackBuffer,
                                     &rlDevice_state.clientRect, DDBLT_ASYNC, nullptr);
    } else if (rlDevice_state.pPrimary->Flip(nullptr, wait ? 0 : DDFLIP_NOVSYNC) == DDERR_SURFACELOST) {
        rlDevice_state.pDirectDraw->RestoreAllSurfaces();
    }
}

uint32_t __cdecl rlMain_Swap(int wait)
{
    if (!rlDevice_state.bOpen) return rlDevice_state.frameNumber;
    rlDevice_EndScene();
    present(wait);
    if (++rlDevice_state.frameNumber == 0) rlDevice_state.frameNumber = 1;
    rlDevice_BeginScene();
    return rlDevice_state.frameNumber;
}

int __cdecl rlMain_Clear(uint32_t colour, int keepTarget)
{
    if (!rlDevice_state.bOpen) return 0;
    DWORD flags = D3DCLEAR_ZBUFFER;
    if (!(keepTarget & 1)) flags |= D3DCLEAR_TARGET;
    return SUCCEEDED(rlDevice_state.pDevice->Clear(0, nullptr, flags, colour, 1.0f, 0)) ? 1 : 0;
}

// The scene is left while the caller holds the pixels; a refused lock enters it again.
void* __cdecl rlMain_LockBuffer(int* pitch)
{
    if (!rlDevice_state.bOpen || !pitch) return nullptr;
    rlDevice_EndScene();
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    if (FAILED(rlDevice_state.pBackBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) {
        rlDevice_BeginScene();
        return nullptr;
    }
    *pitch = desc.lPitch;
    return desc.lpSurface;
}

int __cdecl rlMain_UnlockBuffer(void)
{
    if (!rlDevice_state.bOpen) return E_FAIL;
    rlDevice_state.pBackBuffer->Unlock(nullptr);
    return rlDevice_BeginScene();
}

int __cdecl rlMain_GetStats(RasterStats* stats, int reset)
{
    if (!stats) return 0;
    for (int copy = 0; copy < RASTER_TEXTURE_COPIES; copy++) {
        stats->textureBytes[copy] = rlDevice_stats.textureBytes[copy];
        stats->frameBindBytes[copy] = rlDevice_stats.frameBindBytes[copy];
        stats->uploadBytes[copy] = rlDevice_stats.uploadBytes[copy];
    }
    stats->numTriangles = rlDevice_stats.numTriangles;
    if (reset) {
        for (int copy = 0; copy < RASTER_TEXTURE_COPIES; copy++) {
            rlDevice_stats.frameBindBytes[copy] = 0;
            rlDevice_stats.uploadBytes[copy] = 0;
        }
        rlDevice_stats.numTriangles = 0;
    }
    return 1;
}

// Uploads a 5-6-5 bitmap's texture into copy 0.
int __cdecl rlMain_SetTextureBuffer(Bitmap* bitmap)
{
    if (!bitmap) return 1;
    if (bitmap->format != BITMAP_FORMAT_565) return 0;
    return rlTexture_CacheHandle(bitmap->rasterHandle, 0);
}
