#include "mathRect.h"

bool mathRect_Overlaps(const mathRect* a, const mathRect* b)
{
    return a->maxX >= b->minX && b->maxX >= a->minX && a->maxY >= b->minY && b->maxY >= a->minY;
}

bool mathRect_Intersects(const mathRect* a, const mathRect* b)
{
    return mathRect_Overlaps(a, b);
}

mathRect* mathRect_Union(mathRect* a, const mathRect* b)
{
    if (b->minX < a->minX) a->minX = b->minX;
    if (b->minY < a->minY) a->minY = b->minY;
    if (b->maxX > a->maxX) a->maxX = b->maxX;
    if (b->maxY > a->maxY) a->maxY = b->maxY;
    return a;
}
