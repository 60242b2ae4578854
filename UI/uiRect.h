// Rectangles of the UI layout: x, y, width, height; a rectangle covers x to x + width and y to
// y + height, both ends included.
#pragma once
#include <cstdint>

struct uiRect {
    int32_t x, y, width, height;
};

int uiRect_Overlaps(const uiRect* a, const uiRect* b);
// 0 when they do not overlap (out untouched); else 1 and out the common part.
int uiRect_Intersect(uiRect* out, const uiRect* a, const uiRect* b);
// The smallest rectangle holding both; returns out.
uiRect* uiRect_Union(uiRect* out, const uiRect* a, const uiRect* b);
