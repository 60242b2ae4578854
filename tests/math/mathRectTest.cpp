#include "mathRect.h"

#include <gtest/gtest.h>

namespace {

bool overlapBothWays(const mathRect& a, const mathRect& b)
{
    const bool ab = mathRect_Overlaps(&a, &b);
    EXPECT_EQ(ab, mathRect_Overlaps(&b, &a));
    EXPECT_EQ(ab, mathRect_Intersects(&a, &b));
    return ab;
}

} // namespace

TEST(MathRect, SharedEdgeOverlapsOneApartDoesNot)
{
    const mathRect a = {0, 0, 10, 10};
    EXPECT_TRUE(overlapBothWays(a, {10, 10, 20, 20}));  // one shared corner cell
    EXPECT_FALSE(overlapBothWays(a, {11, 0, 20, 10}));
    EXPECT_TRUE(overlapBothWays(a, {10, 0, 20, 10}));
    EXPECT_TRUE(overlapBothWays(a, {0, 10, 10, 20}));
    EXPECT_FALSE(overlapBothWays(a, {0, 11, 10, 20}));
    EXPECT_TRUE(overlapBothWays(a, {-5, -5, 0, 0}));
    EXPECT_FALSE(overlapBothWays(a, {-5, -5, -1, 0}));
    EXPECT_FALSE(overlapBothWays(a, {-5, -5, 0, -1}));
}

TEST(MathRect, ContainmentAndSingleCells)
{
    const mathRect outer = {-100, -100, 100, 100};
    EXPECT_TRUE(overlapBothWays(outer, {-3, 4, -3, 4}));
    EXPECT_TRUE(overlapBothWays({5, 5, 5, 5}, {5, 5, 5, 5}));
    EXPECT_FALSE(overlapBothWays({5, 5, 5, 5}, {6, 5, 6, 5}));
    // Signed compares: negative coordinates are left of positive ones.
    EXPECT_FALSE(overlapBothWays({-20, -20, -10, -10}, {10, 10, 20, 20}));
}

TEST(MathRect, UnionHoldsBothAndReturnsTheDestination)
{
    mathRect a = {0, 5, 10, 8};
    const mathRect b = {-3, 6, 4, 20};
    EXPECT_EQ(mathRect_Union(&a, &b), &a);
    EXPECT_EQ(a.minX, -3);
    EXPECT_EQ(a.minY, 5);
    EXPECT_EQ(a.maxX, 10);
    EXPECT_EQ(a.maxY, 20);

    mathRect inner = {1, 1, 2, 2};
    const mathRect big = {0, 0, 9, 9};
    mathRect_Union(&inner, &big);
    EXPECT_EQ(inner.minX, 0);
    EXPECT_EQ(inner.maxY, 9);

    mathRect same = {1, 2, 3, 4};
    const mathRect copy = same;
    mathRect_Union(&same, &copy);
    EXPECT_EQ(same.minX, 1);
    EXPECT_EQ(same.minY, 2);
    EXPECT_EQ(same.maxX, 3);
    EXPECT_EQ(same.maxY, 4);
}
