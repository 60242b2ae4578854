// Materials: .daz text files turned into up to four drawing passes with textures and modes,
// surface flags, a surface sound and animation (page flipping, flicker, glow ramp, sliding).
// A name without a file is a one-pass material of the texture of that name; a material that
// cannot be made becomes "dflt". Cached by name with reference counts and a ring of 32
// released materials that a later load revives.
#pragma once
#include <cstdint>

#include "materialRecord.h"

enum {
    RENDERMATERIAL_LINE_SIZE = 512,
};

// renderMaterial_Load flags
enum : uint32_t { RENDERMATERIAL_DEFER_PIXELS = 0x1 };

int renderMaterial_Startup();
int renderMaterial_Shutdown();
Material* renderMaterial_Load(const char* name, uint32_t flags);
Material* renderMaterial_Find(const char* name);
int renderMaterial_Release(Material* material);
void renderMaterial_CachePass(Material* material);
int renderMaterial_FromBitmap(Material* material, const char* name);
void renderMaterial_SetDefaultModes(Material* material, int pass);
void renderMaterial_UpdateAll(float seconds);
void renderMaterial_Update(Material* material, float seconds);
void renderMaterial_SetFrame(Material* material, int index);
void renderMaterial_SetPageFlip(Material* material, int milliseconds);
void renderMaterial_SetFlicker(Material* material, int group);
void renderMaterial_SetGlowRamp(Material* material, int group);
void renderMaterial_SetSlide(Material* material, int pass, float speedU, float speedV);
void renderMaterial_Link(Material* material);
void renderMaterial_Unlink(Material* material);
void renderMaterial_Park(Material* material);
void renderMaterial_Unpark(Material* material);
void renderMaterial_Free(Material* material);

// The head of the animated-material list; for tests and tools.
Material* renderMaterial_FirstAnimated();
