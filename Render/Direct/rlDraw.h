// Primitive drawing operations and the vertex buffer.
#pragma once
#include "rasterLib.h"

int __cdecl rlDraw_FaceIndexed(int count, const uint16_t* indices, int mode, Material* material,
                               const float* uvs, const void* vertexRecords, uint32_t colour,
                               uint32_t flags);
int __cdecl rlDraw_FaceIndexedSort(int count, const uint16_t* indices, int mode, uint32_t texture,
                                   const float* uvs, const void* vertexRecords, uint32_t colour,
                                   uint32_t flags);
int __cdecl rlDraw_Face(int count, const float* points, const float* uvs, const uint32_t* colours,
                        int mode, Material* material, uint32_t flags);
uint32_t __cdecl rlDraw_SetVertexPool(const float* points, uint32_t count);
int __cdecl rlDraw_ScreenFaceImmediate(int count, const void* vertices, int mode, uint32_t texture,
                                       uint32_t colour);
void __cdecl rlDraw_FlushCache(int unused);
void __cdecl rlDraw_ShadowFace(int count, const void* records, int mode);
int __cdecl rlDraw_SurfaceGroup(void* group, int flags);
int __cdecl rlDraw_SortedGroups(void);
int __cdecl rlDraw_SpriteList(Material* material, const float* points, int count);
int __cdecl rlDraw_HaloList(Material* material, const float* points, int count, uint8_t flag);
int __cdecl rlDraw_PointList(Material* material, const float* points, int count, uint32_t unused,
                             float size, uint32_t colour);
int __cdecl rlDraw_QuadList(const void* quads, int count, Material* material);
int __cdecl rlDraw_FanList(const void* records, int count, Material* material);
int __cdecl rlDraw_QuadStrip(const void* strip, int flags);
int __cdecl rlDraw_ScreenFace(Material* material, const mathVec2* topLeft,
                              const mathVec2* bottomRight, uint32_t colour,
                              const mathFrame* textureFrame);

// debugFlags of the render settings read by surface-group drawing.
enum : uint32_t {
    RL_DEBUG_FULLBRIGHT = 0x100,     // one fullbright pass
    RL_DEBUG_WIREFRAME = 0x200,      // a second, wireframe drawing
    RL_DEBUG_GROUP_COLOURS = 0x800,  // every group in a colour of its own
};

