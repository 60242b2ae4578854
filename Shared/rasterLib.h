// The raster operation table: the one door between the viewer and the raster library.
// The viewer zeroes the 47 words and hands them to the library's only export,
// rlMain_Initialize, which writes the interface version into word 0 and its 46 operations into
// words 1 to 46 in the order below. Every operation is cdecl; 1 or non-null means success.
#pragma once
#include <cstddef>
#include <cstdint>
#include <windows.h>
#include "bitmapRecord.h"
#include "rasterInfoRecord.h"
#include "rasterStatsRecord.h"
#include "renderSettingsRecord.h"

enum { RASTER_LIB_VERSION = 14, RASTER_LIB_NUM_SLOTS = 46 };

struct mathMatrix;
struct mathVec2;
struct mathFrame;
struct ModelInstance;
struct Camera;
struct Light;
struct Material;

typedef RasterInfo* (__cdecl* rlFuncMain_Startup)(HWND window);
typedef int (__cdecl* rlFuncMain_Shutdown)(void);
typedef int (__cdecl* rlFuncMain_Open)(renderSettings* settings);
typedef int (__cdecl* rlFuncMain_Close)(void);
typedef int (__cdecl* rlFuncMain_GetStats)(RasterStats* stats, int reset);
typedef int (__cdecl* rlFuncMain_Clear)(uint32_t colour, int keepTarget);
typedef uint32_t (__cdecl* rlFuncMain_Swap)(int wait);
typedef int (__cdecl* rlFuncMain_FlushFrames)(int unused);
typedef int (__cdecl* rlFuncMain_SetClipRect)(void);
typedef int (__cdecl* rlFuncMain_SetTextureBuffer)(Bitmap* bitmap);
typedef void* (__cdecl* rlFuncMain_LockBuffer)(int* pitch);
typedef int (__cdecl* rlFuncMain_UnlockBuffer)(void);
typedef void (__cdecl* rlFuncMain_SetGamma)(double red, double green, double blue);
typedef void (__cdecl* rlFuncMain_SetResolution)(int width, int height, int depth);
typedef void (__cdecl* rlFuncMode_SetFog)(int kind, float a, float b, const float* colour);
typedef void (__cdecl* rlFuncMode_SetColor)(void);
typedef int (__cdecl* rlFuncModel_Draw)(ModelInstance* node, ModelInstance* root, int flags);
// Faces of pool vertices: count, 16-bit pool indices, drawing mode, material (slot 19: the
// texture handle), texture coordinates, per-vertex records, colour, flags.
typedef int (__cdecl* rlFuncDraw_FaceIndexed)(int count, const uint16_t* indices, int mode,
                                              Material* material, const float* uvs,
                                              const void* vertexRecords, uint32_t colour,
                                              uint32_t flags);
typedef int (__cdecl* rlFuncDraw_FaceIndexedSort)(int count, const uint16_t* indices, int mode,
                                                  uint32_t texture, const float* uvs,
                                                  const void* vertexRecords, uint32_t colour,
                                                  uint32_t flags);
// One face of its own world-space vertices: count, points, texture coordinates, colours,
// drawing mode, material, flags.
typedef int (__cdecl* rlFuncDraw_Face)(int count, const float* points, const float* uvs,
                                       const uint32_t* colours, int mode, Material* material,
                                       uint32_t flags);
typedef uint32_t (__cdecl* rlFuncDraw_SetVertexPool)(const float* points, uint32_t count);
typedef int (__cdecl* rlFuncDraw_ScreenFaceImmediate)(int count, const void* vertices, int mode,
                                                      uint32_t texture, uint32_t colour);
typedef void (__cdecl* rlFuncDraw_FlushCache)(int unused);
typedef void (__cdecl* rlFuncDraw_ShadowFace)(int count, const void* records, int mode);
typedef int (__cdecl* rlFuncDraw_SurfaceGroup)(void* group, int flags);
typedef int (__cdecl* rlFuncDraw_SortedGroups)(void);
typedef int (__cdecl* rlFuncDraw_SpriteList)(Material* material, const float* points, int count);
typedef int (__cdecl* rlFuncDraw_HaloList)(Material* material, const float* points, int count,
                                           uint8_t flag);
typedef int (__cdecl* rlFuncDraw_PointList)(Material* material, const float* points, int count,
                                            uint32_t unused, float size, uint32_t colour);
typedef int (__cdecl* rlFuncDraw_QuadList)(const void* quads, int count, Material* material);
typedef int (__cdecl* rlFuncDraw_FanList)(const void* records, int count, Material* material);
typedef int (__cdecl* rlFuncDraw_QuadStrip)(const void* strip, int flags);
typedef int (__cdecl* rlFuncDraw_ScreenFace)(Material* material, const mathVec2* topLeft,
                                             const mathVec2* bottomRight, uint32_t colour,
                                             const mathFrame* textureFrame);
typedef int (__cdecl* rlFuncTexture_PreCacheMipMap)(Bitmap* bitmap);
typedef int (__cdecl* rlFuncTexture_CacheHandle)(uint32_t handle, int copy);
typedef int (__cdecl* rlFuncTexture_RecacheHandle)(uint32_t handle);
typedef void (__cdecl* rlFuncTexture_UncacheMipMap)(Bitmap* bitmap);
typedef void (__cdecl* rlFuncTexture_FlushHandle)(uint32_t handle);
typedef int (__cdecl* rlFuncCamera_SetCurrent)(Camera* camera);
typedef void (__cdecl* rlFuncCamera_SetClip)(void);
typedef void (__cdecl* rlFuncLight_AddLight)(const mathMatrix* view, const Light* light, int unused);
typedef void (__cdecl* rlFuncLight_NewModel)(ModelInstance* instance);
typedef void (__cdecl* rlFuncLight_ClearLights)(void);
typedef void (__cdecl* rlFuncLight_SetAmbient)(const float* colour);
typedef void (__cdecl* rlFuncMode_SetMode)(int mode);
typedef void (__cdecl* rlFuncMode_SetFlags)(uint32_t flags);

struct rasterLib {
    uint32_t version;
    rlFuncMain_Startup funcMain_Startup;
    rlFuncMain_Shutdown funcMain_Shutdown;
    rlFuncMain_Open funcMain_Open;
    rlFuncMain_Close funcMain_Close;
    rlFuncMain_GetStats funcMain_GetStats;
    rlFuncMain_Clear funcMain_Clear;
    rlFuncMain_Swap funcMain_Swap;
    rlFuncMain_FlushFrames funcMain_FlushFrames;
    rlFuncMain_SetClipRect funcMain_SetClipRect;
    rlFuncMain_SetTextureBuffer funcMain_SetTextureBuffer;
    rlFuncMain_LockBuffer funcMain_LockBuffer;
    rlFuncMain_UnlockBuffer funcMain_UnlockBuffer;
    rlFuncMain_SetGamma funcMain_SetGamma;
    rlFuncMain_SetResolution funcMain_SetResolution;
    rlFuncMode_SetFog funcMode_SetFog;
    rlFuncMode_SetColor funcMode_SetColor;
    rlFuncModel_Draw funcModel_Draw;
    rlFuncDraw_FaceIndexed funcDraw_FaceIndexed;
    rlFuncDraw_FaceIndexedSort funcDraw_FaceIndexedSort;
    rlFuncDraw_Face funcDraw_Face;
    rlFuncDraw_SetVertexPool funcDraw_SetVertexPool;
    rlFuncDraw_ScreenFaceImmediate funcDraw_ScreenFaceImmediate;
    rlFuncDraw_FlushCache funcDraw_FlushCache;
    rlFuncDraw_ShadowFace funcDraw_ShadowFace;
    rlFuncDraw_SurfaceGroup funcDraw_SurfaceGroup;
    rlFuncDraw_SortedGroups funcDraw_SortedGroups;
    rlFuncDraw_SpriteList funcDraw_SpriteList;
    rlFuncDraw_HaloList funcDraw_HaloList;
    rlFuncDraw_PointList funcDraw_PointList;
    rlFuncDraw_QuadList funcDraw_QuadList;
    rlFuncDraw_FanList funcDraw_FanList;
    rlFuncDraw_QuadStrip funcDraw_QuadStrip;
    rlFuncDraw_ScreenFace funcDraw_ScreenFace;
    rlFuncTexture_PreCacheMipMap funcTexture_PreCacheMipMap;
    rlFuncTexture_CacheHandle funcTexture_CacheHandle;
    rlFuncTexture_RecacheHandle funcTexture_RecacheHandle;
    rlFuncTexture_UncacheMipMap funcTexture_UncacheMipMap;
    rlFuncTexture_FlushHandle funcTexture_FlushHandle;
    rlFuncCamera_SetCurrent funcCamera_SetCurrent;
    rlFuncCamera_SetClip funcCamera_SetClip;
    rlFuncLight_AddLight funcLight_AddLight;
    rlFuncLight_NewModel funcLight_NewModel;
    rlFuncLight_ClearLights funcLight_ClearLights;
    rlFuncLight_SetAmbient funcLight_SetAmbient;
    rlFuncMode_SetMode funcMode_SetMode;
    rlFuncMode_SetFlags funcMode_SetFlags;
};

// The one export of the raster library, resolved by this name.
typedef void (__cdecl* rlFuncMain_Initialize)(rasterLib* table);
#define RASTER_LIB_EXPORT_NAME "rlMain_Initialize"

static_assert(sizeof(void*) == 4, "the table is 47 32-bit words");
static_assert(sizeof(rasterLib) == (1 + RASTER_LIB_NUM_SLOTS) * 4);
static_assert(offsetof(rasterLib, funcMain_Startup) == 1 * 4);
static_assert(offsetof(rasterLib, funcMain_SetResolution) == 14 * 4);
static_assert(offsetof(rasterLib, funcMode_SetFog) == 15 * 4);
static_assert(offsetof(rasterLib, funcModel_Draw) == 17 * 4);
static_assert(offsetof(rasterLib, funcDraw_FaceIndexed) == 18 * 4);
static_assert(offsetof(rasterLib, funcDraw_ScreenFaceImmediate) == 22 * 4);
static_assert(offsetof(rasterLib, funcDraw_FlushCache) == 23 * 4);
static_assert(offsetof(rasterLib, funcDraw_ScreenFace) == 33 * 4);
static_assert(offsetof(rasterLib, funcTexture_PreCacheMipMap) == 34 * 4);
static_assert(offsetof(rasterLib, funcTexture_FlushHandle) == 38 * 4);
static_assert(offsetof(rasterLib, funcCamera_SetCurrent) == 39 * 4);
static_assert(offsetof(rasterLib, funcLight_AddLight) == 41 * 4);
static_assert(offsetof(rasterLib, funcLight_SetAmbient) == 44 * 4);
static_assert(offsetof(rasterLib, funcMode_SetMode) == 45 * 4);
static_assert(offsetof(rasterLib, funcMode_SetFlags) == 46 * 4);
