// Device operations of the raster library and the globals that hold the one device per process.
#pragma once
#include "rasterLib.h"

extern "C" void __cdecl rlMain_Initialize(rasterLib* table);

RasterInfo* __cdecl rlMain_Startup(HWND window);
int __cdecl rlMain_Shutdown(void);
int __cdecl rlMain_Open(renderSettings* settings);
int __cdecl rlMain_Close(void);
int __cdecl rlMain_GetStats(RasterStats* stats, int reset);
int __cdecl rlMain_Clear(uint32_t colour, int keepTarget);
uint32_t __cdecl rlMain_Swap(int wait);
int __cdecl rlMain_FlushFrames(int unused);
int __cdecl rlMain_SetClipRect(void);
int __cdecl rlMain_SetTextureBuffer(Bitmap* bitmap);
void* __cdecl rlMain_LockBuffer(int* pitch);
int __cdecl rlMain_UnlockBuffer(void);
void __cdecl rlMain_SetGamma(double red, double green, double blue);
void __cdecl rlMain_SetResolution(int width, int height, int depth);
