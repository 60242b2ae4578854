// Viewports: the screen rectangles that cameras project into.
#pragma once
#include <cstdint>

#include "cameraRecord.h"

Viewport* renderViewport_Create(uint32_t id, float left, float top, float right, float bottom);
int renderViewport_Set(Viewport* viewport, uint32_t id, float left, float top, float right, float bottom);
void renderViewport_Free(Viewport* viewport);
