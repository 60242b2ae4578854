// The library's one export: it fills the caller's table in slot order.
#include "rlMain.h"
#include "rlCamera.h"
#include "rlDraw.h"
#include "rlLight.h"
#include "rlMode.h"
#include "rlModel.h"
#include "rlTexture.h"

extern "C" void __cdecl rlMain_Initialize(rasterLib* table)
{
    table->version = RASTER_LIB_VERSION;
    table->funcMain_Startup = rlMain_Startup;
    table->funcMain_Shutdown = rlMain_Shutdown;
    table->funcMain_Open = rlMain_Open;
    table->funcMain_Close = rlMain_Close;
    table->funcMain_GetStats = rlMain_GetStats;
    table->funcMain_Clear = rlMain_Clear;
    table->funcMain_Swap = rlMain_Swap;
    table->funcMain_FlushFrames = rlMain_FlushFrames;
    table->funcMain_SetClipRect = rlMain_SetClipRect;
    table->funcMain_SetTextureBuffer = rlMain_SetTextureBuffer;
    table->funcMain_LockBuffer = rlMain_LockBuffer;
    table->funcMain_UnlockBuffer = rlMain_UnlockBuffer;
    table->funcMain_SetGamma = rlMain_SetGamma;
    table->funcMain_SetResolution = rlMain_SetResolution;
    table->funcMode_SetFog = rlMode_SetFog;
    table->funcMode_SetColor = rlMode_SetColor;
    table->funcModel_Draw = rlModel_Draw;
    table->funcDraw_FaceIndexed = rlDraw_FaceIndexed;
    table->funcDraw_FaceIndexedSort = rlDraw_FaceIndexedSort;
    table->funcDraw_Face = rlDraw_Face;
    table->funcDraw_SetVertexPool = rlDraw_SetVertexPool;
    table->funcDraw_ScreenFaceImmediate = rlDraw_ScreenFaceImmediate;
    table->funcDraw_FlushCache = rlDraw_FlushCache;
    table->funcDraw_ShadowFace = rlDraw_ShadowFace;
    table->funcDraw_SurfaceGroup = rlDraw_SurfaceGroup;
    table->funcDraw_SortedGroups = rlDraw_SortedGroups;
    table->funcDraw_SpriteList = rlDraw_SpriteList;
    table->funcDraw_HaloList = rlDraw_HaloList;
    table->funcDraw_PointList = rlDraw_PointList;
    table->funcDraw_QuadList = rlDraw_QuadList;
    table->funcDraw_FanList = rlDraw_FanList;
    table->funcDraw_QuadStrip = rlDraw_QuadStrip;
    table->funcDraw_ScreenFace = rlDraw_ScreenFace;
    table->funcTexture_PreCacheMipMap = rlTexture_PreCacheMipMap;
    table->funcTexture_CacheHandle = rlTexture_CacheHandle;
    table->funcTexture_RecacheHandle = rlTexture_RecacheHandle;
    table->funcTexture_UncacheMipMap = rlTexture_UncacheMipMap;
    table->funcTexture_FlushHandle = rlTexture_FlushHandle;
    table->funcCamera_SetCurrent = rlCamera_SetCurrent;
    table->funcCamera_SetClip = rlCamera_SetClip;
    table->funcLight_AddLight = rlLight_AddLight;
    table->funcLight_NewModel = rlLight_NewModel;
    table->funcLight_ClearLights = rlLight_ClearLights;
    table->funcLight_SetAmbient = rlLight_SetAmbient;
    table->funcMode_SetMode = rlMode_SetMode;
    table->funcMode_SetFlags = rlMode_SetFlags;
}

// Kept for the caller's symmetry with start-up: the device is given back by rlMain_Close.
int __cdecl rlMain_Shutdown(void)
{
    return 1;
}

int __cdecl rlMain_FlushFrames(int)
{
    return 1;
}

int __cdecl rlMain_SetClipRect(void)
{
    return 1;
}
