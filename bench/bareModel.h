// The simplest draw of a model instance on a Direct3D 7 device, the baseline of the model
// drawing benchmarks. Each part's vertices go to the screen through their bone's clip matrix
// (blended with the parent bone's below weight 1) and are lit by point lights moved into the
// bone's space, by the raster library's formula; then the part's triangles are drawn in one
// call with the texture of its material's first pass. Nothing is clipped: the model must lie
// inside the view, which bareModel_Inside tells.
#pragma once
#include <windows.h>
#include <ddraw.h>
#include <d3d.h>

#include <unordered_map>

#include "cameraRecord.h"
#include "lightRecord.h"
#include "materialRecord.h"
#include "modelInstanceRecord.h"

// The device's texture of each bitmap a part may name.
using bareTextures = std::unordered_map<const Bitmap*, IDirectDrawSurface7*>;

// Whether every vertex of the instance's parts lies inside the view in its current pose.
bool bareModel_Inside(const ModelInstance* instance);
// Returns the number of triangles drawn.
int bareModel_Draw(IDirect3DDevice7* device, const ModelInstance* instance, const Camera* camera,
                   const Light* lights, int numLights, const bareTextures& textures);
