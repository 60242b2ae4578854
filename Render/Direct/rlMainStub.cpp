// The device is not built yet: it cannot be started or opened.
#include "rlMain.h"

RasterInfo* __cdecl rlMain_Startup(HWND)
{
    return nullptr;
}
int __cdecl rlMain_Open(renderSettings*)
{
    return 0;
}
int __cdecl rlMain_Close(void)
{
    return 1;
}
int __cdecl rlMain_GetStats(RasterStats*, int)
{
    return 1;
}
int __cdecl rlMain_Clear(uint32_t, int)
{
    return 0;
}
uint32_t __cdecl rlMain_Swap(int)
{
    return 1;
}
int __cdecl rlMain_SetTextureBuffer(Bitmap*)
{
    return 0;
}
void* __cdecl rlMain_LockBuffer(int*)
{
    return nullptr;
}
int __cdecl rlMain_UnlockBuffer(void)
{
    return 0;
}
void __cdecl rlMain_SetGamma(double, double, double) {}
void __cdecl rlMain_SetResolution(int, int, int) {}
