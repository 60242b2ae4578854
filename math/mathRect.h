#pragma once
#include "mathTypes.h"

// True when the two rectangles share at least one cell; edges are inclusive, so rectangles that
// touch along an edge overlap. The two names are one operation.
bool mathRect_Overlaps(const mathRect* a, const mathRect* b);
bool mathRect_Intersects(const mathRect* a, const mathRect* b);

// a becomes the smallest rectangle holding both a and b; returns a.
mathRect* mathRect_Union(mathRect* a, const mathRect* b);
