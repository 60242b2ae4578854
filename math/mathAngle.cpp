#include "mathAngle.h"

#include "mathScalar.h"
#include "mathTable.h"

#include <cmath>
#include <limits>

namespace {

const float STEPS_PER_DEGREE = 45.511112f;  // 16384 steps to the full turn
const float DEGREES_PER_RADIAN = 57.295784f;
const float NOT_A_NUMBER = std::numeric_limits<float>::quiet_NaN();

// Where an angle falls in the tables: its quadrant, the entry k at the start of its step within
// the quadrant, the fraction f of the step, and whether the step is the quadrant's last.
struct TableStep {
    int quadrant;
    int k;
    float f;
    bool lastStep;
};

// Returns false for an angle that is not a number after wrapping.
bool findStep(float degrees, TableStep* step)
{
    const float a = mathAngle_Wrap360(degrees);
    if (!(a >= 0.0f && a < 360.0f))
        return false;
    step->quadrant = a < 90.0f ? 0 : a < 180.0f ? 1 : a < 270.0f ? 2 : 3;
    const double x = static_cast<double>(a) * STEPS_PER_DEGREE;
    const int i = static_cast<int>(x);
    step->f = static_cast<float>(x - i);
    int k = i - MATH_TABLE_SIZE * step->quadrant;
    // The step factor and the quadrant tests agree for every float angle; the clamp only keeps
    // a rounding surprise inside the table.
    if (k < 0) k = 0;
    if (k > MATH_TABLE_SIZE - 1) k = MATH_TABLE_SIZE - 1;
    step->k = k;
    step->lastStep = k == MATH_TABLE_SIZE - 1;
    return true;
}

float lerp(float a, float b, float f)
{
    return a + (b - a) * f;
}

// Reading the table forward (entry k) or mirrored (entry 4095 - k), interpolated toward the next
// step. The mirrored reading gives the value one table step further on.
float readDirect(const float* table, const TableStep& s)
{
    return lerp(table[s.k], table[s.k + 1], s.f);
}

float readMirrored(const float* table, const TableStep& s)
{
    const int m = MATH_TABLE_SIZE - 1 - s.k;
    return lerp(table[m], table[m - 1], s.f);
}

float arcSinWith(float x, float (*poly)(float))
{
    const float s = std::fabs(x);
    float angle;
    if (s > 0.70710677f) {
        // Near +-1 the series runs on the complement; a value a rounding step beyond 1 counts as 1.
        const float rest = 1.0f - s * s;
        const float d = std::sqrt(rest > 0.0f ? rest : 0.0f);
        angle = 90.0f - poly(d) * DEGREES_PER_RADIAN;
    } else {
        angle = poly(s) * DEGREES_PER_RADIAN;
    }
    return x < 0.0f ? -angle : angle;
}

float arcTanWith(float a, float b, float (*poly)(float))
{
    if (a == 0.0f && b == 0.0f)
        return 0.0f;
    const float p = std::fabs(a);
    const float q = std::fabs(b);
    const float h = q > p ? p / q : q / p;
    const float t = poly(h) * DEGREES_PER_RADIAN;
    float m = p >= q ? t : 90.0f - t;
    if (a < 0.0f)
        m = 180.0f - m;
    return b >= 0.0f ? -m : m;
}

// The series take their powers by mathScalar_Power.
float pw(float t, int n) { return mathScalar_Power(t, n); }

float arcSinPoly3(float t) { return t + 0.212749f * pw(t, 3); }
float arcSinPoly5(float t) { return t + pw(t, 3) / 6.0f + 0.105502f * pw(t, 5); }
float arcSinPoly7(float t) { return t + pw(t, 3) / 6.0f + 0.075f * pw(t, 5) + 0.066797f * pw(t, 7); }

float arcTanPoly3(float h) { return h - 0.22629f * pw(h, 3); }
float arcTanPoly5(float h) { return h - pw(h, 3) / 3.0f + 0.12366f * pw(h, 5); }
float arcTanPoly7(float h) { return h - pw(h, 3) / 3.0f + pw(h, 5) / 5.0f - 0.08392f * pw(h, 7); }
float arcTanPoly9(float h)
{
    return h - pw(h, 3) / 3.0f + pw(h, 5) / 5.0f - pw(h, 7) / 7.0f + 0.063235f * pw(h, 9);
}

} // namespace

float mathAngle_Wrap360(float degrees)
{
    if (!std::isfinite(degrees))
        return NOT_A_NUMBER;
    // fmod is exact, so even a huge angle lands inside [0, 360).
    float result;
    if (degrees >= 0.0f) {
        result = degrees < 360.0f ? degrees : std::fmod(degrees, 360.0f);
    } else {
        const float b = -degrees;
        result = 360.0f - (b >= 360.0f ? std::fmod(b, 360.0f) : b);
    }
    return result == 360.0f ? 0.0f : result;
}

float mathAngle_Wrap180(float degrees)
{
    const float a = mathAngle_Wrap360(degrees);
    return a > 180.0f ? a - 360.0f : a;
}

namespace {

// Lands where stepping by whole turns lands: down from above 180 into (-180, 180], up from below
// -180 into [-180, 180); angles already in [-180, 180] stay.
void wrapInto180(float* a)
{
    if (!std::isfinite(*a))
        *a = NOT_A_NUMBER;
    else if (*a > 180.0f)
        *a = mathAngle_Wrap180(*a);
    else if (*a < -180.0f)
        *a = -mathAngle_Wrap180(-*a);
}

} // namespace

void mathAngles_Wrap180(mathAngles* angles)
{
    wrapInto180(&angles->x);
    wrapInto180(&angles->y);
    wrapInto180(&angles->z);
}

float mathAngle_Difference(float a, float b)
{
    float d = mathAngle_Wrap360(b) - mathAngle_Wrap360(a);
    if (d < -180.0f)
        d += 360.0f;
    else if (d > 180.0f)
        d -= 360.0f;
    return d;
}

void mathAngle_SinCos(float degrees, float* sine, float* cosine)
{
    TableStep s;
    if (!findStep(degrees, &s)) {
        *sine = NOT_A_NUMBER;
        *cosine = NOT_A_NUMBER;
        return;
    }
    if (s.lastStep) {
        static const float lastSine[4] = {1.0f, 0.0f, -1.0f, 0.0f};
        static const float lastCosine[4] = {0.0f, -1.0f, 0.0f, 1.0f};
        *sine = lastSine[s.quadrant];
        *cosine = lastCosine[s.quadrant];
        return;
    }
    const float direct = readDirect(mathSineTable, s);
    const float mirrored = readMirrored(mathSineTable, s);
    switch (s.quadrant) {
    case 0: *sine = direct; *cosine = mirrored; break;
    case 1: *sine = mirrored; *cosine = -direct; break;
    case 2: *sine = -direct; *cosine = -mirrored; break;
    default: *sine = -mirrored; *cosine = direct; break;
    }
}

float mathAngle_Tan(float degrees)
{
    TableStep s;
    if (!findStep(degrees, &s))
        return NOT_A_NUMBER;
    const bool mirrored = s.quadrant == 1 || s.quadrant == 3;
    if (s.lastStep) {
        // Approaching 90 or 270 the tangent grows as 1 / (distance to the pole): extend the last
        // entry that way so the sign stays that of the true tangent. Before 180 and 360 the
        // reading is the zero entry.
        const float start = mirrored ? -mathTanTable[0] : mathTanTable[MATH_TABLE_SIZE - 1];
        float rest = 1.0f - s.f;
        if (rest < 1.0f / 4096.0f)
            rest = 1.0f / 4096.0f;
        return start / rest;
    }
    return mirrored ? -readMirrored(mathTanTable, s) : readDirect(mathTanTable, s);
}

float mathAngle_ArcSin3(float x) { return arcSinWith(x, arcSinPoly3); }
float mathAngle_ArcSin5(float x) { return arcSinWith(x, arcSinPoly5); }
float mathAngle_ArcSin7(float x) { return arcSinWith(x, arcSinPoly7); }

float mathAngle_ArcTan2_3(float a, float b) { return arcTanWith(a, b, arcTanPoly3); }
float mathAngle_ArcTan2_5(float a, float b) { return arcTanWith(a, b, arcTanPoly5); }
float mathAngle_ArcTan2_7(float a, float b) { return arcTanWith(a, b, arcTanPoly7); }
float mathAngle_ArcTan2_9(float a, float b) { return arcTanWith(a, b, arcTanPoly9); }
