#include "mathFastDist.h"
#include "mathScalar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

// --- Floored division ---

TEST(MathScalarDivFloor, KnownValues)
{
    int q, r;
    EXPECT_EQ(mathScalar_DivFloor(-7, 2, &q, &r), -4);
    EXPECT_EQ(q, -4);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(mathScalar_DivFloor(-8, 2, &q, &r), -4);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(mathScalar_DivFloor(7, 2, &q, &r), 3);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(mathScalar_DivFloor(0, 5, &q, &r), 0);
    EXPECT_EQ(r, 0);
}

TEST(MathScalarDivFloor, MatchesFloorOverARange)
{
    for (int b = 1; b <= 37; ++b)
        for (int a = -500; a <= 500; ++a) {
            int q, r;
            const int result = mathScalar_DivFloor(a, b, &q, &r);
            ASSERT_EQ(q, static_cast<int>(std::floor(static_cast<double>(a) / b))) << a << "/" << b;
            ASSERT_EQ(result, q);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, b);
            ASSERT_EQ(a, b * q + r);
        }
}

TEST(MathScalarDivFloor, ExtremeDividends)
{
    int q, r;
    mathScalar_DivFloor(INT_MIN, 3, &q, &r);
    EXPECT_EQ(static_cast<long long>(q) * 3 + r, static_cast<long long>(INT_MIN));
    EXPECT_GE(r, 0);
    mathScalar_DivFloor(INT_MAX, 1, &q, &r);
    EXPECT_EQ(q, INT_MAX);
    EXPECT_EQ(r, 0);
}

TEST(MathScalarDivFloor, NonPositiveDivisorDoesNotFault)
{
    int q = 99, r = 99;
    EXPECT_EQ(mathScalar_DivFloor(7, 0, &q, &r), 0);
    EXPECT_EQ(q, 0);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(mathScalar_DivFloor(-7, -2, &q, &r), 0);
    EXPECT_EQ(r, -7);
}

// --- Next power of two ---

TEST(MathScalarNextPowerOfTwo, KnownValues)
{
    EXPECT_EQ(mathScalar_NextPowerOfTwo(0), 1u);
    EXPECT_EQ(mathScalar_NextPowerOfTwo(1), 1u);
    EXPECT_EQ(mathScalar_NextPowerOfTwo(3), 4u);
    EXPECT_EQ(mathScalar_NextPowerOfTwo(4), 4u);
    EXPECT_EQ(mathScalar_NextPowerOfTwo(0x80000000u), 0x80000000u);
}

TEST(MathScalarNextPowerOfTwo, EveryPowerAndItsNeighbours)
{
    for (int k = 1; k < 32; ++k) {
        const unsigned p = 1u << k;
        EXPECT_EQ(mathScalar_NextPowerOfTwo(p), p);
        EXPECT_EQ(mathScalar_NextPowerOfTwo(p - 1), k == 1 ? 1u : p);
        if (k < 31) {
            EXPECT_EQ(mathScalar_NextPowerOfTwo(p + 1), p << 1);
        }
    }
}

TEST(MathScalarNextPowerOfTwo, AboveTheLargestPowerEndsWithZero)
{
    EXPECT_EQ(mathScalar_NextPowerOfTwo(0x80000001u), 0u);
    EXPECT_EQ(mathScalar_NextPowerOfTwo(0xFFFFFFFFu), 0u);
}

// --- Powers and the inverse square root ---

TEST(MathScalarPower, MultipliesNMinusOneTimes)
{
    EXPECT_EQ(mathScalar_Power(2.0f, 3), 8.0f);
    EXPECT_EQ(mathScalar_Power(2.0f, 1), 2.0f);
    EXPECT_EQ(mathScalar_Power(2.0f, 0), 2.0f);
    EXPECT_EQ(mathScalar_Power(2.0f, -4), 2.0f);
    EXPECT_EQ(mathScalar_Power(-3.0f, 3), -27.0f);
    EXPECT_FLOAT_EQ(mathScalar_Power(0.5f, 9), 1.0f / 512.0f);
}

TEST(MathScalarInvSqrtFast, RelativeErrorBelowBoundOverManyMagnitudes)
{
    double worst = 0;
    for (double x = 1e-30; x < 1e30; x *= 1.0137) {
        const float xf = static_cast<float>(x);
        const double ref = 1.0 / std::sqrt(static_cast<double>(xf));
        const double rel = std::fabs(mathScalar_InvSqrtFast(xf) - ref) / ref;
        ASSERT_LT(rel, 0.000005) << x;
        worst = std::max(worst, rel);
    }
    EXPECT_GT(worst, 0.000004);
    EXPECT_NEAR(mathScalar_InvSqrtFast(4.0f), 0.5f, 0.5f * 0.000005f);
}

// --- Fast distances ---

TEST(MathFastDist, KnownValues)
{
    EXPECT_EQ(mathFastDist3_Half(0, 0, 3), 3.0f);
    EXPECT_EQ(mathFastDist3_Half(1, 2, 3), 4.5f);
    EXPECT_EQ(mathFastDist2_SevenEighths(4, 0), 4.0f);
    EXPECT_EQ(mathFastDist2_SevenEighths(4, 4), 7.5f);
    EXPECT_EQ(mathFastDist2_Half(3, 4), 5.5f);
    EXPECT_EQ(mathFastDist2_Quarter(3, 4), 4.75f);
    EXPECT_EQ(mathFastDist2_ThreeEighths(8, 4), 9.5f);
    EXPECT_EQ(mathFastDist3_FiveSixteenths(16, 4, 2), 16.0f + 1.25f + 1.0f);
    EXPECT_EQ(mathFastDist3_ElevenThirtySeconds(2, 32, 4), 32.0f + 1.375f + 1.0f);
    EXPECT_EQ(mathFastDist2_Quarter(-2.5f, -1.25f), 2.5f + 0.3125f);
}

TEST(MathFastDist, OrderAndSignOfArgumentsDoNotMatter)
{
    const float v[3] = {-2.5f, 7.0f, -1.25f};
    const int order[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& o : order) {
        const float a = v[o[0]], b = v[o[1]], c = v[o[2]];
        EXPECT_EQ(mathFastDist3_Half(a, b, c), 7.0f + 1.25f + 0.625f);
        EXPECT_EQ(mathFastDist3_FiveSixteenths(a, b, c), 7.0f + 0.78125f + 0.625f);
        EXPECT_EQ(mathFastDist3_ElevenThirtySeconds(-a, b, -c), 7.0f + 0.859375f + 0.625f);
        EXPECT_EQ(mathFastDist2_Half(a, b), mathFastDist2_Half(-b, a));
        EXPECT_EQ(mathFastDist2_Quarter(a, c), mathFastDist2_Quarter(c, -a));
    }
}
