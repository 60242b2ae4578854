#include "mathAngle.h"
#include "mathReference.h"
#include "mathTable.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace mathRef;

namespace {

const float INF = std::numeric_limits<float>::infinity();
const float NOT_A_NUMBER = std::numeric_limits<float>::quiet_NaN();

// The table error: a cosine read one step ahead is off by at most sin(one step) = 0.0003835,
// plus the six-decimal rounding of the entries.
const double SINCOS_BOUND = 0.0003835 + 0.000001;

// Sweeps a range of angles in an odd step so that every fraction of a table step is met.
template <class F> void sweep(double from, double to, double step, F check)
{
    for (double a = from; a < to; a += step)
        check(static_cast<float>(a));
}

// The tangent's own error: the entries' rounding and single-precision angle (growing with
// sec^2), and the linear interpolation across a step (h^2 / 8 times the second derivative).
double tanTolerance(double t)
{
    const double sec2 = 1.0 + t * t;
    return 1e-6 + 5e-7 * sec2 + 1.9e-8 * 2.0 * std::fabs(t) * sec2;
}

// mathAngle_Wrap360 (a) lies in [0, 360) and within tolerance of a's exact remainder.
testing::AssertionResult WrapsToRemainder(float a, double tolerance)
{
    const float w = mathAngle_Wrap360(a);
    double ref = std::fmod(static_cast<double>(a), 360.0);
    if (ref < 0) ref += 360.0;
    if (w >= 0.0f && w < 360.0f && std::fabs(angleGap(ref, w)) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << a << " wraps to " << w << ", remainder " << ref;
}

} // namespace

// --- Tables ---

TEST(MathTable, SineEntriesFollowTheRuleToSixDecimals)
{
    for (int i = 0; i < MATH_TABLE_SIZE; ++i)
        ASSERT_NEAR(mathSineTable[i], std::sin(rad(i * STEP_DEGREES)), 0.5e-6 + 1e-7) << "entry " << i;
    EXPECT_FLOAT_EQ(mathSineTable[1], 0.000383f);
    EXPECT_FLOAT_EQ(mathSineTable[2048], 0.707107f);
    EXPECT_EQ(mathSineTable[4094], 1.0f);
    EXPECT_EQ(mathSineTable[4095], 1.0f);
}

TEST(MathTable, TangentEntriesFollowTheRule)
{
    EXPECT_EQ(mathTanTable[0], 0.0f);
    EXPECT_FLOAT_EQ(mathTanTable[1024], 0.414214f);
    EXPECT_EQ(mathTanTable[2048], 1.0f);
    // The last entries fall short of the exact tangents (1303.80 and 2607.59).
    EXPECT_FLOAT_EQ(mathTanTable[4094], 1303.6666f);
    EXPECT_FLOAT_EQ(mathTanTable[4095], 2607.0725f);
    EXPECT_EQ(&mathTanTable[0], &mathSineTable[0] + MATH_TABLE_SIZE);  // one block
    for (int i = 0; i < 4000; ++i)
        ASSERT_NEAR(mathTanTable[i], std::tan(rad(i * STEP_DEGREES)),
                    1e-6 + 3e-7 * (1.0 + mathTanTable[i] * mathTanTable[i]))
            << "entry " << i;
    for (int i = 1; i < MATH_TABLE_SIZE; ++i)
        ASSERT_GT(mathTanTable[i], mathTanTable[i - 1]) << "entry " << i;
}

// --- Wrapping ---

TEST(MathAngleWrap, Wrap360KnownValues)
{
    EXPECT_EQ(mathAngle_Wrap360(-90.0f), 270.0f);
    EXPECT_EQ(mathAngle_Wrap360(-360.0f), 0.0f);
    EXPECT_EQ(mathAngle_Wrap360(720.0f), 0.0f);
    EXPECT_EQ(mathAngle_Wrap360(359.5f), 359.5f);
    EXPECT_EQ(mathAngle_Wrap360(0.0f), 0.0f);
    EXPECT_EQ(mathAngle_Wrap360(360.0f), 0.0f);
    EXPECT_EQ(mathAngle_Wrap360(-720.5f), 359.5f);
    // A tiny negative angle rounds to 360, which becomes 0.
    EXPECT_EQ(mathAngle_Wrap360(-1e-6f), 0.0f);
}

TEST(MathAngleWrap, Wrap360MatchesExactRemainderOverManyAngles)
{
    sweep(-5000.0, 5000.0, 0.7731, [](float a) { ASSERT_TRUE(WrapsToRemainder(a, 1e-4)); });
}

TEST(MathAngleWrap, HugeAnglesLandInsideTheTurn)
{
    for (float a : {1e7f, 1e10f, 3e20f, 1e30f, FLT_MAX, -1e7f, -1e10f, -1e30f, -FLT_MAX})
        EXPECT_TRUE(WrapsToRemainder(a, 1e-3));
}

TEST(MathAngleWrap, NonFiniteAnglesGiveNaN)
{
    EXPECT_TRUE(std::isnan(mathAngle_Wrap360(INF)));
    EXPECT_TRUE(std::isnan(mathAngle_Wrap360(-INF)));
    EXPECT_TRUE(std::isnan(mathAngle_Wrap360(NOT_A_NUMBER)));
    EXPECT_TRUE(std::isnan(mathAngle_Wrap180(INF)));
    EXPECT_TRUE(std::isnan(mathAngle_Difference(0.0f, INF)));
}

TEST(MathAngleWrap, Wrap180KnownValuesAndRange)
{
    EXPECT_EQ(mathAngle_Wrap180(270.0f), -90.0f);
    EXPECT_EQ(mathAngle_Wrap180(180.0f), 180.0f);
    EXPECT_EQ(mathAngle_Wrap180(-180.0f), 180.0f);
    EXPECT_EQ(mathAngle_Wrap180(-90.0f), -90.0f);
    sweep(-2000.0, 2000.0, 0.913, [](float a) {
        const float w = mathAngle_Wrap180(a);
        ASSERT_GT(w, -180.0f) << a;
        ASSERT_LE(w, 180.0f) << a;
        ASSERT_NEAR(angleGap(a, w), 0.0, 1e-4) << a;
    });
}

TEST(MathAngleWrap, AnglesWrap180KeepsTheEdgesAndStepsByWholeTurns)
{
    mathAngles a = {-180.0f, 180.0f, 540.0f};
    mathAngles_Wrap180(&a);
    EXPECT_EQ(a.x, -180.0f);
    EXPECT_EQ(a.y, 180.0f);
    EXPECT_EQ(a.z, 180.0f);

    mathAngles b = {-540.0f, 190.0f, -190.0f};
    mathAngles_Wrap180(&b);
    EXPECT_EQ(b.x, -180.0f);
    EXPECT_EQ(b.y, -170.0f);
    EXPECT_EQ(b.z, 170.0f);

    mathAngles c = {45.5f, -179.0f, 1000.0f};
    mathAngles_Wrap180(&c);
    EXPECT_EQ(c.x, 45.5f);
    EXPECT_EQ(c.y, -179.0f);
    EXPECT_EQ(c.z, -80.0f);
}

TEST(MathAngleWrap, AnglesWrap180EndsOnHugeAndInfiniteAngles)
{
    mathAngles a = {1e30f, -1e30f, FLT_MAX};
    mathAngles_Wrap180(&a);
    for (float v : {a.x, a.y, a.z}) {
        EXPECT_GE(v, -180.0f);
        EXPECT_LE(v, 180.0f);
    }
    mathAngles b = {INF, -INF, NOT_A_NUMBER};
    mathAngles_Wrap180(&b);
    EXPECT_TRUE(std::isnan(b.x));
    EXPECT_TRUE(std::isnan(b.y));
    EXPECT_TRUE(std::isnan(b.z));
}

TEST(MathAngleWrap, DifferenceTakesTheShortWay)
{
    EXPECT_EQ(mathAngle_Difference(350.0f, 10.0f), 20.0f);
    EXPECT_EQ(mathAngle_Difference(10.0f, 350.0f), -20.0f);
    EXPECT_EQ(mathAngle_Difference(0.0f, 180.0f), 180.0f);
    EXPECT_EQ(mathAngle_Difference(-720.0f, 90.0f), 90.0f);
    for (double a = -700.0; a < 700.0; a += 13.37)
        for (double b = -700.0; b < 700.0; b += 17.71) {
            const float d = mathAngle_Difference(static_cast<float>(a), static_cast<float>(b));
            ASSERT_GE(d, -180.0f);
            ASSERT_LE(d, 180.0f);
            ASSERT_NEAR(std::fabs(angleGap(angleGap(a, b), d)), 0.0, 1e-3) << a << " " << b;
        }
}

// --- Table sine and cosine ---

TEST(MathAngleSinCos, KnownValues)
{
    float s, c;
    mathAngle_SinCos(0.0f, &s, &c);
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(c, 1.0f);
    mathAngle_SinCos(90.0f, &s, &c);
    EXPECT_EQ(s, 1.0f);
    EXPECT_LT(std::fabs(c), 1e-7f);
    mathAngle_SinCos(89.99f, &s, &c);
    EXPECT_EQ(s, 1.0f);
    EXPECT_EQ(c, 0.0f);
    mathAngle_SinCos(30.0f, &s, &c);
    EXPECT_NEAR(s, 0.5f, 1e-6f);
    EXPECT_NEAR(c, 0.865834f, 1e-6f);
    mathAngle_SinCos(120.0f, &s, &c);
    EXPECT_NEAR(s, 0.865834f, 1e-6f);
    mathAngle_SinCos(-90.0f, &s, &c);
    EXPECT_EQ(s, -1.0f);
    EXPECT_LT(std::fabs(c), 1e-6f);
    mathAngle_SinCos(180.0f, &s, &c);
    EXPECT_NEAR(s, 0.0f, 1e-6f);
    EXPECT_EQ(c, -1.0f);
}

TEST(MathAngleSinCos, LastStepOfEachQuadrantIsExact)
{
    const float lastSine[4] = {1, 0, -1, 0};
    const float lastCosine[4] = {0, -1, 0, 1};
    for (int q = 0; q < 4; ++q) {
        float s, c;
        mathAngle_SinCos(90.0f * (q + 1) - 0.01f, &s, &c);
        EXPECT_EQ(s, lastSine[q]) << q;
        EXPECT_EQ(c, lastCosine[q]) << q;
    }
}

TEST(MathAngleSinCos, WithinTheTableBoundOverManyAngles)
{
    double worst = 0;
    sweep(-1080.0, 1080.0, 0.01377, [&](float a) {
        float s, c;
        mathAngle_SinCos(a, &s, &c);
        const double es = std::fabs(s - std::sin(rad(a)));
        const double ec = std::fabs(c - std::cos(rad(a)));
        ASSERT_LE(es, SINCOS_BOUND) << a;
        ASSERT_LE(ec, SINCOS_BOUND) << a;
        worst = std::max(worst, std::max(es, ec));
    });
    // The bound is met, not merely undercut by far: the mirrored readings are one step ahead.
    EXPECT_GT(worst, 0.00037);
}

TEST(MathAngleSinCos, DirectReadingsHoldTableAccuracyMirroredOnesReadOneStepAhead)
{
    sweep(0.0, 360.0, 0.00731, [](float a) {
        const double af = a;
        const int q = af < 90 ? 0 : af < 180 ? 1 : af < 270 ? 2 : 3;
        if (std::fmod(af, 90.0) > 90.0 - STEP_DEGREES)
            return;  // the exact last step
        float s, c;
        mathAngle_SinCos(a, &s, &c);
        const double ahead = af + STEP_DEGREES;
        const bool sineDirect = q == 0 || q == 2;
        const double sRef = std::sin(rad(sineDirect ? af : ahead));
        const double cRef = std::cos(rad(sineDirect ? ahead : af));
        ASSERT_NEAR(s, sRef, 1e-6) << a;
        ASSERT_NEAR(c, cRef, 1e-6) << a;
    });
}

TEST(MathAngleSinCos, HugeAndNonFiniteAnglesStayDefined)
{
    float s, c;
    mathAngle_SinCos(1e30f, &s, &c);
    const double w = std::fmod(static_cast<double>(1e30f), 360.0);
    EXPECT_NEAR(s, std::sin(rad(w)), SINCOS_BOUND);
    EXPECT_NEAR(c, std::cos(rad(w)), SINCOS_BOUND);
    mathAngle_SinCos(-FLT_MAX, &s, &c);
    EXPECT_LE(std::fabs(s), 1.0f);
    EXPECT_LE(std::fabs(c), 1.0f);
    for (float a : {INF, -INF, NOT_A_NUMBER}) {
        mathAngle_SinCos(a, &s, &c);
        EXPECT_TRUE(std::isnan(s));
        EXPECT_TRUE(std::isnan(c));
        EXPECT_TRUE(std::isnan(mathAngle_Tan(a)));
    }
}

// --- Table tangent ---

TEST(MathAngleTan, KnownValues)
{
    EXPECT_EQ(mathAngle_Tan(45.0f), 1.0f);
    EXPECT_NEAR(mathAngle_Tan(30.0f), 0.57735f, 1e-5f);
    EXPECT_EQ(mathAngle_Tan(0.0f), 0.0f);
    EXPECT_NEAR(mathAngle_Tan(135.0f), -0.999233f, 1e-5f);
    EXPECT_NEAR(mathAngle_Tan(225.0f), 1.0f, 1e-6f);
}

TEST(MathAngleTan, DirectQuadrantsFollowTheTrueTangent)
{
    for (double base : {0.0, 180.0, -180.0, 360.0})
        sweep(base, base + 89.0, 0.0117, [](float a) {
            const double ref = std::tan(rad(a));
            ASSERT_NEAR(mathAngle_Tan(a), ref, tanTolerance(ref)) << a;
        });
}

TEST(MathAngleTan, MirroredQuadrantsReadOneStepAhead)
{
    for (double base : {90.0, 270.0, -90.0})
        sweep(base + 1.0, base + 90.0 - STEP_DEGREES, 0.0117, [](float a) {
            const double ref = std::tan(rad(a + STEP_DEGREES));
            ASSERT_NEAR(mathAngle_Tan(a), ref, tanTolerance(ref)) << a;
        });
}

TEST(MathAngleTan, KeepsTheSignOfTheTrueTangentNextToThePoles)
{
    // The last step before 90 and 270 grows toward the pole instead of turning negative.
    for (double pole : {90.0, 270.0, -90.0}) {
        float previous = 0.0f;
        for (double gap = 0.0219; gap > 1e-4; gap *= 0.8) {  // gaps above a float step at 270
            const float t = mathAngle_Tan(static_cast<float>(pole - gap));
            ASSERT_GT(t, 0.0f) << pole - gap;
            ASSERT_GE(t, previous) << pole - gap;
            previous = t;
        }
    }
    EXPECT_NEAR(mathAngle_Tan(89.99f), std::tan(rad(89.99)), 0.01 * std::tan(rad(89.99)));
    EXPECT_NEAR(mathAngle_Tan(269.99f), std::tan(rad(269.99)), 0.01 * std::tan(rad(269.99)));
    EXPECT_LT(mathAngle_Tan(90.0f), 0.0f);
    EXPECT_LT(mathAngle_Tan(90.01f), 0.0f);
    // Before 180 and 360 the last step reads zero.
    EXPECT_NEAR(mathAngle_Tan(179.99f), 0.0f, 0.001f);
    EXPECT_NEAR(mathAngle_Tan(359.99f), 0.0f, 0.001f);
}

// --- Arcsine and arctangent estimates ---

namespace {

void checkArcSin(float (*arcSin)(float), double bound)
{
    double worst = 0;
    for (double x = -1.0; x <= 1.0; x += 0.0000731) {
        const float xf = static_cast<float>(x);
        const double err = std::fabs(arcSin(xf) - deg(std::asin(static_cast<double>(xf))));
        ASSERT_LE(err, bound + 0.0002) << x;
        worst = std::max(worst, err);
    }
    EXPECT_EQ(arcSin(1.0f), 90.0f);
    EXPECT_EQ(arcSin(-1.0f), -90.0f);
    EXPECT_EQ(arcSin(0.0f), 0.0f);
    // The stated bound is where the estimate really sits.
    EXPECT_GT(worst, bound * 0.8);
}

void checkArcTan(float (*arcTan)(float, float), double bound)
{
    double worst = 0;
    for (double t = -180.0; t < 180.0; t += 0.0173) {
        for (double radius : {1e-3, 1.0, 750.0}) {
            const float a = static_cast<float>(radius * std::cos(rad(t)));
            const float b = static_cast<float>(radius * std::sin(rad(t)));
            const double ref = -deg(std::atan2(static_cast<double>(b), static_cast<double>(a)));
            const float got = arcTan(a, b);
            ASSERT_GE(got, -180.0f);
            ASSERT_LE(got, 180.0f);
            const double err = std::fabs(angleGap(ref, got));
            ASSERT_LE(err, bound + 0.0002) << a << ", " << b;
            worst = std::max(worst, err);
        }
    }
    EXPECT_EQ(arcTan(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(arcTan(1.0f, 0.0f), 0.0f);
    EXPECT_EQ(arcTan(0.0f, 1.0f), -90.0f);
    EXPECT_EQ(arcTan(0.0f, -1.0f), 90.0f);
    EXPECT_EQ(arcTan(-1.0f, 0.0f), -180.0f);
    EXPECT_EQ(arcTan(-1.0f, -0.0f), -180.0f);  // a negative zero counts as >= 0
    EXPECT_GT(worst, bound * 0.8);
}

} // namespace

TEST(MathAngleArcSin, ThreeTermsWithinBound) { checkArcSin(mathAngle_ArcSin3, 0.18); }
TEST(MathAngleArcSin, FiveTermsWithinBound) { checkArcSin(mathAngle_ArcSin5, 0.041); }
TEST(MathAngleArcSin, SevenTermsWithinBound) { checkArcSin(mathAngle_ArcSin7, 0.012); }

TEST(MathAngleArcSin, KnownValuesAndRoundingOvershoot)
{
    EXPECT_EQ(mathAngle_ArcSin7(1.0f), 90.0f);
    EXPECT_NEAR(mathAngle_ArcSin7(-0.5f), -30.0f, 0.012f);
    // A unit vector's component may exceed 1 by a rounding step: it counts as 1, not NaN.
    EXPECT_EQ(mathAngle_ArcSin7(1.0000001f), 90.0f);
    EXPECT_EQ(mathAngle_ArcSin3(-1.0000002f), -90.0f);
}

TEST(MathAngleArcTan, ThreeTermsWithinBound) { checkArcTan(mathAngle_ArcTan2_3, 0.67); }
TEST(MathAngleArcTan, FiveTermsWithinBound) { checkArcTan(mathAngle_ArcTan2_5, 0.29); }
TEST(MathAngleArcTan, SevenTermsWithinBound) { checkArcTan(mathAngle_ArcTan2_7, 0.16); }
TEST(MathAngleArcTan, NineTermsWithinBound) { checkArcTan(mathAngle_ArcTan2_9, 0.095); }

TEST(MathAngleArcTan, YawOfDirections)
{
    // With a direction's y as a and its x as b: 0 for +Y, -90 for +X.
    EXPECT_EQ(mathAngle_ArcTan2_9(1.0f, 0.0f), 0.0f);
    EXPECT_EQ(mathAngle_ArcTan2_9(0.0f, 1.0f), -90.0f);
    EXPECT_NEAR(mathAngle_ArcTan2_9(1.0f, -1.0f), 45.0f, 0.095f);
    EXPECT_NEAR(mathAngle_ArcTan2_9(-1.0f, 1.0f), -135.0f, 0.095f);
}
