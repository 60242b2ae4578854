// The render settings record. The raster library keeps a pointer to it from device open to
// close, reads the flags, limits, gamma and requested mode, and writes the obtained mode back.
#pragma once
#include <cstddef>
#include <cstdint>
#include "lightGroupRecord.h"

// optionFlags
enum : uint32_t {
    RENDER_OPTION_HW_TRANSFORM = 0x1,
    RENDER_OPTION_TRUECOLOR = 0x2,
    RENDER_OPTION_WBUFFER = 0x4,
    RENDER_OPTION_WINDOWED = 0x8,
};

// detailFlags
enum : uint32_t {
    RENDER_DETAIL_LINEAR_MIPS = 0x20,
    RENDER_DETAIL_NO_DECALS = 0x80,
};

enum { RENDER_DRIVER_SIZE = 32 };

struct renderSettings {
    uint32_t debugFlags;
    uint32_t detailFlags;
    uint32_t optionFlags;
    uint32_t useDevice;
    uint32_t curDetailLevel;
    uint32_t shadowDetailIndex;
    uint32_t shadowMode;
    float shadowDetail;
    float shadowHeight;
    float shadowMaxDist;
    float shadowFullDist;
    uint32_t maxThingShadows;
    uint32_t modelLODIndex;
    float modelLODScale;
    float modelLODMinDist;
    float modelLODMin;
    float modelLODMax;
    uint32_t maxMipSize;
    uint32_t maxMips;
    uint32_t skipMips;
    uint8_t maxThingLights;
    uint32_t maxDecals;
    float particleLOD;
    float uiHeadLOD;
    float gamma;
    char driver[RENDER_DRIVER_SIZE];
    uint16_t reqScreenHeight;
    uint16_t reqScreenWidth;
    uint16_t screenHeight;   // obtained, written back by the raster library
    uint16_t screenWidth;    // obtained
    uint8_t reqScreenDepth;
    uint8_t screenDepth;     // obtained
    LightGroup* pLightGroups;
};

static_assert(offsetof(renderSettings, debugFlags) == 0);
static_assert(offsetof(renderSettings, optionFlags) == 8);
static_assert(offsetof(renderSettings, useDevice) == 12);
static_assert(offsetof(renderSettings, shadowDetail) == 28);
static_assert(offsetof(renderSettings, maxThingShadows) == 44);
static_assert(offsetof(renderSettings, modelLODIndex) == 48);
static_assert(offsetof(renderSettings, modelLODMax) == 64);
static_assert(offsetof(renderSettings, maxMipSize) == 68);
static_assert(offsetof(renderSettings, maxMips) == 72);
static_assert(offsetof(renderSettings, skipMips) == 76);
static_assert(offsetof(renderSettings, maxThingLights) == 80);
static_assert(offsetof(renderSettings, maxDecals) == 84);
static_assert(offsetof(renderSettings, gamma) == 96);
static_assert(offsetof(renderSettings, driver) == 100);
static_assert(offsetof(renderSettings, reqScreenHeight) == 132);
static_assert(offsetof(renderSettings, reqScreenWidth) == 134);
static_assert(offsetof(renderSettings, screenHeight) == 136);
static_assert(offsetof(renderSettings, screenWidth) == 138);
static_assert(offsetof(renderSettings, reqScreenDepth) == 140);
static_assert(offsetof(renderSettings, screenDepth) == 141);
static_assert(offsetof(renderSettings, pLightGroups) == 144);
static_assert(sizeof(renderSettings) == 148);
