#include "renderViewport.h"

#include <cstdlib>

Viewport* renderViewport_Create(uint32_t id, float left, float top, float right, float bottom)
{
    Viewport* viewport = (Viewport*)calloc(1, sizeof(Viewport));
    if (viewport) renderViewport_Set(viewport, id, left, top, right, bottom);
    return viewport;
}

int renderViewport_Set(Viewport* viewport, uint32_t id, float left, float top, float right, float bottom)
{
    viewport->id = id;
    viewport->left = left;
    viewport->top = top;
    // At least one pixel each way: the camera divides by the viewport's width and height.
    viewport->right = right < left ? left : right;
    viewport->bottom = bottom < top ? top : bottom;
    viewport->centreX = left + (viewport->right - left + 1.0f) / 2.0f;
    viewport->centreY = top + (viewport->bottom - top + 1.0f) / 2.0f;
    return 1;
}

void renderViewport_Free(Viewport* viewport)
{
    free(viewport);
}
