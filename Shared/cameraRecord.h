// The render camera and its viewport. The viewer builds them; the raster library keeps the
// pointer of the selected camera and reads the record at every draw, so the layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mathTypes.h"

struct Viewport {
    uint32_t id;
    float centreX, centreY;
    float left, top, right, bottom;    // screen pixels, both edges inclusive
};

struct Camera {
    mathFrame frame;           // placement in the world; translation = eye
    mathFrame view;            // world to camera space (x right, y up, z forward)
    mathMatrix projection;
    mathMatrix viewProjection; // the view, then the projection
    float clipLeft, clipRight, clipTop, clipBottom;
    float centreX, centreY;    // screen mapping: x' = cx + sx * x / w, y' = cy - sy * y / w
    float scaleX, scaleY;
    float nearPlane, farPlane;
    uint32_t kind;
    uint32_t flags;            // bit 0: draw models at full detail
    float fov;                 // horizontal, degrees
    float focal;
    float aspect;
    float cosHalfFov;
    Viewport* pViewport;
};

enum : uint32_t { CAMERA_FULL_DETAIL = 0x1 };

static_assert(sizeof(Viewport) == 28 && offsetof(Viewport, bottom) == 24);
static_assert(offsetof(Camera, view) == 48 && offsetof(Camera, projection) == 96);
static_assert(offsetof(Camera, viewProjection) == 160 && offsetof(Camera, clipLeft) == 224);
static_assert(offsetof(Camera, clipBottom) == 236 && offsetof(Camera, centreX) == 240);
static_assert(offsetof(Camera, scaleY) == 252 && offsetof(Camera, nearPlane) == 256);
static_assert(offsetof(Camera, kind) == 264 && offsetof(Camera, flags) == 268);
static_assert(offsetof(Camera, fov) == 272 && offsetof(Camera, cosHalfFov) == 284);
static_assert(offsetof(Camera, pViewport) == 288 && sizeof(Camera) == 292);
