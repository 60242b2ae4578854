// The texture handle pool, uploads with mip levels and the per-stage binding cache.
#pragma once
#include <ddraw.h>
#include "rasterLib.h"

enum {
    RASTER_MAX_TEXTURES = 2048,   // handle 0 means none, so at most 2047 are given out
    RASTER_TEXTURE_STAGES = 4,
};

// TextureHandle flags
enum : uint32_t {
    TEXTURE_IN_USE = 0x1,
    TEXTURE_UPLOADED = 0x2,
    TEXTURE_COPY0_UPLOADED = 0x4,   // TEXTURE_COPY0_UPLOADED << copy
};

struct TextureHandle {
    uint32_t flags;
    uint32_t lastFrame;   // frame of the last binding
    uint32_t byteSize;    // bytes of all levels, added to the statistics
    uint8_t numMips;
    uint8_t numMipsRequested;
    IDirectDrawSurface7* surfaces[RASTER_TEXTURE_COPIES];
    Bitmap* owner;
};

int __cdecl rlTexture_PreCacheMipMap(Bitmap* bitmap);
int __cdecl rlTexture_CacheHandle(uint32_t handle, int copy);
int __cdecl rlTexture_RecacheHandle(uint32_t handle);
void __cdecl rlTexture_UncacheMipMap(Bitmap* bitmap);
void __cdecl rlTexture_FlushHandle(uint32_t handle);

// Binds a texture (0: none) to one of the four stages; 0 when the device refuses.
int rlTexture_SetStage(uint32_t handle, int stage);
// Empties the pool for a freshly opened device.
void rlTexture_PoolInit(void);
// Unbinds every stage and releases every texture surface (device close).
void rlTexture_ReleaseAll(void);
// Forgets the stage bindings of a device that was re-created (resolution change).
void rlTexture_ForgetStages(void);

// The record of a handle in use, or null for 0, a handle out of range or a free one.
TextureHandle* rlTexture_Get(uint32_t handle);
// Number of texture copies: 2 on a device with separate texture memories, else 1.
int rlTexture_NumCopies(void);
// The handle bound to a stage (0: none).
uint32_t rlTexture_StageHandle(int stage);
// Halves an image of a bitmap pixel format by a 2 x 2 box filter; odd last column and row
// are dropped. Works in place when dest == source. Formats without a filter give 0.
int rlTexture_Reduce(uint32_t format, const uint8_t* source, int width, int height, uint8_t* dest);
