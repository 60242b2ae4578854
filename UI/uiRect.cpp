#include "uiRect.h"

#include <algorithm>

namespace {

// Right and bottom ends in 64 bits, so that no rectangle overflows them; sizes that would not
// fit 32 bits are held at the largest one.
int64_t Right(const uiRect* r) { return (int64_t)r->x + r->width; }
int64_t Bottom(const uiRect* r) { return (int64_t)r->y + r->height; }
int32_t Size(int64_t size) { return (int32_t)std::min<int64_t>(size, INT32_MAX); }

}  // namespace

int uiRect_Overlaps(const uiRect* a, const uiRect* b)
{
    return Right(a) >= b->x && Right(b) >= a->x && Bottom(a) >= b->y && Bottom(b) >= a->y;
}

int uiRect_Intersect(uiRect* out, const uiRect* a, const uiRect* b)
{
    if (!uiRect_Overlaps(a, b)) return 0;
    const int32_t x = std::max(a->x, b->x);
    const int32_t y = std::max(a->y, b->y);
    *out = {x, y, Size(std::min(Right(a), Right(b)) - x), Size(std::min(Bottom(a), Bottom(b)) - y)};
    return 1;
}

uiRect* uiRect_Union(uiRect* out, const uiRect* a, const uiRect* b)
{
    const int32_t x = std::min(a->x, b->x);
    const int32_t y = std::min(a->y, b->y);
    *out = {x, y, Size(std::max(Right(a), Right(b)) - x), Size(std::max(Bottom(a), Bottom(b)) - y)};
    return out;
}
