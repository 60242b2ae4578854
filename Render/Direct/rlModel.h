// Model drawing.
#pragma once
#include "rasterLib.h"

int __cdecl rlModel_Draw(ModelInstance* node, ModelInstance* root, int flags);
