// Textures are not built yet: no handle is given out.
#include "rlTexture.h"

int __cdecl rlTexture_PreCacheMipMap(Bitmap*)
{
    return 0;
}
int __cdecl rlTexture_CacheHandle(uint32_t, int)
{
    return 0;
}
int __cdecl rlTexture_RecacheHandle(uint32_t)
{
    return 0;
}
void __cdecl rlTexture_UncacheMipMap(Bitmap*) {}
void __cdecl rlTexture_FlushHandle(uint32_t) {}
int rlTexture_SetStage(uint32_t, int)
{
    return 0;
}
void rlTexture_PoolInit(void) {}
void rlTexture_ReleaseAll(void) {}
void rlTexture_ForgetStages(void) {}
