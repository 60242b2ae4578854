// The texture handle pool, uploads with mip levels and the per-stage binding cache.
#pragma once
#include "rasterLib.h"

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
