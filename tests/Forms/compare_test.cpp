#include "Compare.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

TEST(CompareTextAscii, IgnoresLetterCaseOnly)
{
    EXPECT_EQ(CompareTextAscii("Door", "dOOR"), 0);
    EXPECT_LT(CompareTextAscii("apple", "Banana"), 0);
    EXPECT_GT(CompareTextAscii("b", "A"), 0);
    EXPECT_LT(CompareTextAscii("door", "door_"), 0);
    // Letters are compared lowered, so "_" (0x5F) sorts before every letter.
    EXPECT_LT(CompareTextAscii("_x", "A"), 0);
    EXPECT_GT(CompareTextAscii("Z", "_"), 0);
    EXPECT_TRUE(SameTextAscii("ABC", "abc"));
    EXPECT_FALSE(SameTextAscii("abc", "abd"));
}

TEST(CompareTextStable, BreaksTiesByExactBytes)
{
    EXPECT_LT(CompareTextStable("DOOR", "door"), 0);
    EXPECT_GT(CompareTextStable("door", "Door"), 0);
    EXPECT_EQ(CompareTextStable("door", "door"), 0);
    std::vector<std::string> names = {"door", "Chest", "DOOR", "apple", "Door"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareTextStable(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::string>{"apple", "Chest", "DOOR", "Door", "door"}));
}
