// Model drawing: every part of an instance transformed by its bones, lit in software, clipped
// when it must be, and drawn with the passes of its material.
#pragma once
#include "rasterLib.h"

// flags of rlModel_Draw
enum : int {
    RL_MODEL_INSIDE = 0x1,     // wholly inside the view: no clipping
    RL_MODEL_NO_FAR = 0x10,    // the far plane does not clip
};

int __cdecl rlModel_Draw(ModelInstance* node, ModelInstance* root, int flags);
