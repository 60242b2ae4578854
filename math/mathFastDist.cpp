#include "mathFastDist.h"

#include <cmath>
#include <utility>

namespace {

struct Sorted2 { float max, min; };
struct Sorted3 { float max, mid, min; };

Sorted2 sortAbs(float a, float b)
{
    a = std::fabs(a);
    b = std::fabs(b);
    return a >= b ? Sorted2{a, b} : Sorted2{b, a};
}

Sorted3 sortAbs(float a, float b, float c)
{
    a = std::fabs(a);
    b = std::fabs(b);
    c = std::fabs(c);
    if (a < b) std::swap(a, b);
    if (b < c) std::swap(b, c);
    if (a < b) std::swap(a, b);
    return Sorted3{a, b, c};
}

float dist2(float a, float b, float minFactor)
{
    const Sorted2 s = sortAbs(a, b);
    return s.max + minFactor * s.min;
}

float dist3(float a, float b, float c, float midFactor)
{
    const Sorted3 s = sortAbs(a, b, c);
    return s.max + midFactor * s.mid + 0.5f * s.min;
}

} // namespace

float mathFastDist2_Half(float a, float b) { return dist2(a, b, 0.5f); }
float mathFastDist2_Quarter(float a, float b) { return dist2(a, b, 0.25f); }
float mathFastDist2_ThreeEighths(float a, float b) { return dist2(a, b, 0.375f); }

float mathFastDist2_SevenEighths(float a, float b)
{
    const Sorted2 s = sortAbs(a, b);
    const float d = 0.875f * s.max + s.min;
    return d < s.max ? s.max : d;
}

float mathFastDist3_Half(float a, float b, float c) { return dist3(a, b, c, 0.5f); }
float mathFastDist3_FiveSixteenths(float a, float b, float c) { return dist3(a, b, c, 0.3125f); }
float mathFastDist3_ElevenThirtySeconds(float a, float b, float c) { return dist3(a, b, c, 0.34375f); }
