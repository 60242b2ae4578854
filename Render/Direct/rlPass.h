// The pass list: a material (or a model part with its overlay and tint) is drawn in one or
// more passes, each with its drawing mode, textures and texture-factor colour.
#pragma once
#include <cstdint>
#include "rasterLib.h"
#include "rlClip.h"

struct Material;

// passFlags
enum : uint32_t {
    RL_PASS_FACTOR = 0x1,        // set the texture factor
    RL_PASS_TEXTURE2 = 0x2,      // bind texture2 on stage 1
    RL_PASS_SCALE_UV = 0x4,      // scale the first texture coordinates
    RL_PASS_OFFSET_UV = 0x10,    // add the uv offset
    RL_PASS_FACTOR_ALPHA = 0x40, // the factor's alpha replaces the vertex alpha
};

// A layered material gives up to four layers, a model part adds an overlay and a tint pass.
enum { RL_MAX_PASSES = 6 };

struct rlPass {
    int mode;
    uint32_t texture;    // stage 0 texture handle, 0 = none
    uint32_t texture2;   // stage 1
    uint32_t factor;     // ARGB texture factor
    uint32_t passFlags;
    float scaleU, scaleV;
    float offsetU, offsetV;
};

// The passes of a material for sprites, points, quads and screen faces; the result is the
// number written (at most RL_MAX_PASSES), 0 for no material.
int rlPass_BuildMaterial(const Material* material, rlPass* passes);

// The passes of a model part: its material's (model drawing mode, or rgba while the instance
// fades), then the instance's overlay and tint passes. The instance's fade and flags decide.
int rlPass_BuildModelPart(const ModelInstance* instance, const Material* material, rlPass* passes);

// Appends one pass when the list has room; false when it is full.
bool rlPass_Append(rlPass* passes, int* numPasses, const rlPass& pass);

// The raster handle of a bitmap, 0 for none.
uint32_t rlPass_Handle(const Bitmap* bitmap);

// Binds the pass's textures, sets its factor and selects its mode. The vertices to draw come
// back: the caller's own when the pass leaves them alone, else a copy with the pass's uv
// offset or scale and factor alpha applied, so that every pass starts from the vertices as
// they were built. Counts above RL_PASS_MAX_VERTS are cut.
enum { RL_PASS_MAX_VERTS = 8192 };
const rlClipVertex* rlPass_Apply(const rlPass* pass, const rlClipVertex* verts, int count);
const rlClipVertex2* rlPass_ApplyTex2(const rlPass* pass, const rlClipVertex2* verts, int count);
