// The material record: up to four drawing passes with their textures and drawing modes, the
// surface flags and the animation state. The raster library reads the passes, modes, flags
// and offsets when it draws, so the layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "bitmapRecord.h"

// Material flags
enum : uint32_t {
    MATERIAL_ALPHA = 0x40,
    MATERIAL_MASKED = 0x20,
    MATERIAL_TWOSIDED = 0x80,
    MATERIAL_SPECULAR = 0x100,
    MATERIAL_ENVMAP = 0x200,
    MATERIAL_NOSMOOTH = 0x400,
    MATERIAL_FULLYLIT = 0x800,
    MATERIAL_ADDBLEND = 0x1000,
    MATERIAL_DETAIL = 0x2000,
    MATERIAL_FRAMES = 0x4000,
    MATERIAL_ANIMATED = 0x8000,      // linked into the animated-material list
    MATERIAL_PAGEFLIP = 0x10000,
    MATERIAL_GLOW = 0x20000,
    MATERIAL_FLIPPING = 0x40000,     // page flipping running
    MATERIAL_FLICKER = 0x80000,
    MATERIAL_GLOWRAMP = 0x100000,
    MATERIAL_SUBBLEND = 0x200000,
    MATERIAL_PARKED = 0x400000,      // waiting on the free ring
    MATERIAL_PASS_READ = 0x800000,   // pass-0 texture pixels read
    MATERIAL_SLIDE = 0x1000000,
    MATERIAL_LAYERED = 0x2000000,    // has "pass" lines
};

enum {
    MATERIAL_MAX_PASSES = 4,
    MATERIAL_NAME_SIZE = 32,
};

// Pass kinds
enum : uint8_t {
    MATERIAL_PASS_TEXTURE = 0,
    MATERIAL_PASS_LIGHTMAP = 1,
    MATERIAL_PASS_LIGHTADD = 2,
};

struct MaterialPass {
    float offsetU, offsetV;    // added to texture coordinates with MATERIAL_SLIDE
    float detailScale;         // pass 0 only
    float slideU, slideV;      // offset change per second
    uint32_t mode;             // drawing mode numbers, 1 to 43
    uint32_t modelMode;        // for model parts
    uint32_t spriteMode;       // for sprites, points, quads and screen faces (pass 0)
    uint8_t kind;
    Bitmap* pTexture;
};

struct Material {
    uint32_t flags;
    MaterialPass passes[MATERIAL_MAX_PASSES];
    uint8_t numPasses;
    uint8_t numFrames;         // frame bitmaps loaded
    uint8_t maxFrames;         // size of the frame table
    uint8_t curFrame;
    Bitmap** pFrames;
    uint8_t lightmapPass;
    uint8_t lightaddPass;
    uint32_t flipInterval;     // milliseconds
    uint32_t nextFlip;         // clock time of the next flip
    Material* pNextAnimated;
    Bitmap* pDetail;
    Bitmap* pExtra[2];         // released with the material; the parser never sets them
    Bitmap* pGlow;
    uint32_t glowColour;
    uint8_t flickerGroup;
    uint8_t glowGroup;
    uint32_t sound;            // surface sound index
    char name[MATERIAL_NAME_SIZE];
    uint32_t refCount;
};

static_assert(sizeof(MaterialPass) == 40);
static_assert(offsetof(MaterialPass, detailScale) == 8 && offsetof(MaterialPass, slideU) == 12);
static_assert(offsetof(MaterialPass, mode) == 20 && offsetof(MaterialPass, modelMode) == 24);
static_assert(offsetof(MaterialPass, spriteMode) == 28 && offsetof(MaterialPass, kind) == 32);
static_assert(offsetof(MaterialPass, pTexture) == 36);
static_assert(offsetof(Material, passes) == 4 && offsetof(Material, numPasses) == 164);
static_assert(offsetof(Material, curFrame) == 167 && offsetof(Material, pFrames) == 168);
static_assert(offsetof(Material, lightmapPass) == 172 && offsetof(Material, flipInterval) == 176);
static_assert(offsetof(Material, pNextAnimated) == 184 && offsetof(Material, pDetail) == 188);
static_assert(offsetof(Material, pGlow) == 200 && offsetof(Material, glowColour) == 204);
static_assert(offsetof(Material, flickerGroup) == 208 && offsetof(Material, sound) == 212);
static_assert(offsetof(Material, name) == 216 && offsetof(Material, refCount) == 248);
static_assert(sizeof(Material) == 252);
