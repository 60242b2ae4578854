// Drawing modes, the render-state cache and fog. Every drawing operation selects a mode; the
// cache sends a state to the device only when its value changes.
#pragma once
#include "rasterLib.h"

// Render flags word (rlMode_SetFlags): global overrides of some states.
enum : uint32_t {
    RL_FLAG_NO_FOG = 0x2,
    RL_FLAG_NO_ZWRITE = 0x4,
    RL_FLAG_CULL_CCW = 0x8,
    RL_FLAG_Z_GREATER = 0x1000,
};

enum { RL_NUM_MODES = 43 };

void __cdecl rlMode_SetFog(int kind, float a, float b, const float* colour);
void __cdecl rlMode_SetColor(void);
void __cdecl rlMode_SetMode(int mode);
void __cdecl rlMode_SetFlags(uint32_t flags);

// Forgets everything the cache kept of an earlier device: mode changes counted, the flags
// word, the texture factor and the fog. Each open starts from here.
void rlMode_Reset(void);
// Sets the default render and stage states on a freshly created device (open, resolution
// change); the counters, flags, texture factor and fog of the cache stay, so that a resolution
// change keeps them.
void rlMode_SetDefaults(void);
// Sends the last fog set again, to a re-created device.
void rlMode_ReapplyFog(void);

// Keeps the texture-factor colour and sends it.
void rlMode_SetTextureFactor(uint32_t argb);
// Fill mode for the wireframe debug pass (D3DFILL_SOLID or D3DFILL_WIREFRAME).
void rlMode_SetFillMode(int fillMode);

// What the cache last sent, for the drawing paths and the tests.
struct rlModeCache {
    int mode;                 // current drawing mode, 0 = none
    uint32_t modeChanges;
    uint32_t zWrite, zFunc;
    uint32_t colourKind[2], alphaKind[2];
    uint32_t blendKind;
    uint32_t filter[2], address[2], mipFilter[2], texCoordIndex[2];
    uint32_t cull, alphaTest, fogEnable, zBias;
    uint32_t flags;
    uint32_t textureFactor;
    bool bFogActive;
    int fogKind;
    float fogA, fogB;
    float fogColour[3];
    uint32_t fogPacked;
};

const rlModeCache* rlMode_Cache(void);
