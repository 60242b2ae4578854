// Primitive drawing is not built yet: nothing is drawn and no triangle is counted.
#include "rlDraw.h"

int __cdecl rlDraw_FaceIndexed(int, const uint16_t*, int, Material*, const float*, const void*,
                               uint32_t, uint32_t)
{
    return 0;
}
int __cdecl rlDraw_FaceIndexedSort(int, const uint16_t*, int, uint32_t, const float*, const void*,
                                   uint32_t, uint32_t)
{
    return 0;
}
int __cdecl rlDraw_Face(int, const float*, const float*, const uint32_t*, int, Material*, uint32_t)
{
    return 0;
}
uint32_t __cdecl rlDraw_SetVertexPool(const float*, uint32_t)
{
    return 0;
}
int __cdecl rlDraw_ScreenFaceImmediate(int, const void*, int, uint32_t, uint32_t)
{
    return 0;
}
void __cdecl rlDraw_FlushCache(int) {}
void __cdecl rlDraw_ShadowFace(int, const void*, int) {}
int __cdecl rlDraw_SurfaceGroup(void*, int)
{
    return 0;
}
int __cdecl rlDraw_SortedGroups(void)
{
    return 0;
}
int __cdecl rlDraw_SpriteList(Material*, const float*, int)
{
    return 0;
}
int __cdecl rlDraw_HaloList(Material*, const float*, int, uint8_t)
{
    return 0;
}
int __cdecl rlDraw_PointList(Material*, const float*, int, uint32_t, float, uint32_t)
{
    return 0;
}
int __cdecl rlDraw_QuadList(const void*, int, Material*)
{
    return 0;
}
int __cdecl rlDraw_FanList(const void*, int, Material*)
{
    return 0;
}
int __cdecl rlDraw_QuadStrip(const void*, int)
{
    return 0;
}
int __cdecl rlDraw_ScreenFace(Material*, const mathVec2*, const mathVec2*, uint32_t, const mathFrame*)
{
    return 0;
}
int rlDraw_CreateVertexBuffer(void)
{
    return 1;
}
void rlDraw_ReleaseVertexBuffer(void) {}
