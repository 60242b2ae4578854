// The lights of a frame, the ambient colour and the per-model light set-up, and the software
// lighting of model vertices.
#pragma once
#include "rasterLib.h"
#include "lightRecord.h"

struct ModelVertex;

enum {
    RL_MAX_LIGHTS = 8,
    RL_MAX_LIGHT_BONES = 256,   // bones of one model that get their own light copies
};

// Light kinds
enum : uint32_t {
    RL_LIGHT_POINT = 0,
    RL_LIGHT_SPOT = 1,
    RL_LIGHT_DIRECTIONAL = 2,
    RL_LIGHT_INVSQUARE_SPOT = 3,
};

// debugFlags: every model vertex starts from black
enum : uint32_t { RL_DEBUG_NO_VERTEX_COLOURS = 0x1000 };

void __cdecl rlLight_AddLight(const mathMatrix* view, const Light* light, int unused);
void __cdecl rlLight_NewModel(ModelInstance* instance);
void __cdecl rlLight_ClearLights(void);
void __cdecl rlLight_SetAmbient(const float* colour);

// The instance made current by rlLight_NewModel (null before), its packed colour and alpha.
ModelInstance* rlLight_CurrentInstance(void);
uint32_t rlLight_InstanceColour(void);
uint32_t rlLight_AlphaWord(void);
int rlLight_NumLights(void);
uint32_t rlLight_AmbientWord(void);

// Lit colours of count model vertices, each lit by the lights in its bone's space (a bone
// the model does not have counts as bone 0): vertexColours are the part's own ARGB colours or
// null; a fullbright material gives white.
void rlLight_LightVertices(const ModelVertex* verts, int count, const uint32_t* vertexColours,
                           bool bFullbright, uint32_t* out);
