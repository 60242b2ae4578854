// String, wide string, checksum, bit count and wait helpers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "stdBits.h"
#include "stdChecksum.h"
#include "stdString.h"
#include "stdTime.h"
#include "stdWString.h"

namespace {

std::u16string Wide(const uint16_t* w)
{
    std::u16string s;
    while (*w) s += (char16_t)*w++;
    return s;
}

}  // namespace

TEST(StdString, ToLowerAndDuplicate)
{
    char text[] = "Ui\\Materials\\ARROW.Tga";
    stdString_ToLower(text);
    EXPECT_STREQ(text, "ui\\materials\\arrow.tga");
    char* copy = stdString_Duplicate(text);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, text);
    EXPECT_NE(copy, text);
    free(copy);
    EXPECT_EQ(stdString_Duplicate(nullptr), nullptr);
}

TEST(StdString, FormatNAlwaysEndsWithinTheSize)
{
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    stdString_FormatN(buffer, 6, "%s-%d", "abc", 12345);
    EXPECT_STREQ(buffer, "abc-1");
    EXPECT_EQ(buffer[6], 'x');
    stdString_FormatN(buffer, 8, "%d", 7);
    EXPECT_STREQ(buffer, "7");
}

TEST(StdString, GetTokenWalksAText)
{
    const char* text = "  alpha, beta,,gamma";
    char token[16];
    const char* rest = stdString_GetToken(text, token, sizeof token, " ,");
    EXPECT_STREQ(token, "alpha");
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(*rest, ',');
    rest = stdString_GetToken(rest, token, sizeof token, " ,");
    EXPECT_STREQ(token, "beta");
    rest = stdString_GetToken(rest, token, sizeof token, " ,");
    EXPECT_STREQ(token, "gamma");
    EXPECT_EQ(rest, nullptr);

    char small[4];
    rest = stdString_GetToken("longword rest", small, sizeof small, " ");
    EXPECT_STREQ(small, "lon");
    EXPECT_STREQ(rest, " rest");
    EXPECT_STREQ(stdString_GetToken("skip me", nullptr, 0, " "), " me");
}

TEST(StdString, WideConversions)
{
    uint16_t wide[8];
    EXPECT_EQ(stdString_ToWideN(wide, "h\xE9llo", 8), 5);
    EXPECT_EQ(wide[1], 0xE9);
    EXPECT_EQ(wide[5], 0);
    uint16_t cut[3] = {9, 9, 9};
    EXPECT_EQ(stdString_ToWideN(cut, "abcdef", 2), 2);
    EXPECT_EQ(cut[2], 9);  // not terminated: the text did not end within size
    EXPECT_EQ(stdString_ToWideN(wide, "abc", 0), 0);

    const uint16_t smile[] = {'a', 0x263A, 'b', 0x100, 0xFF, 0};
    char narrow[8];
    EXPECT_EQ(stdString_FromWideN(narrow, smile, 8), 5);
    EXPECT_STREQ(narrow, "a?b?\xFF");

    uint16_t* w = stdString_ToWide("round");
    char* n = stdString_FromWide(w);
    EXPECT_EQ(Wide(w), u"round");
    EXPECT_STREQ(n, "round");
    free(w);
    free(n);
}

TEST(StdWString, DeleteAndInsert)
{
    uint16_t text[16];
    stdString_ToWideN(text, "abcdef", 16);
    EXPECT_EQ(stdWString_Delete(text, 1, 2), 1);
    EXPECT_EQ(Wide(text), u"adef");
    EXPECT_EQ(stdWString_Delete(text, 2, 99), 2);
    EXPECT_EQ(Wide(text), u"ad");
    EXPECT_EQ(stdWString_Delete(text, 5, 1), 2);

    uint16_t buffer[8];
    stdString_ToWideN(buffer, "abcd", 8);
    uint16_t insert[4];
    stdString_ToWideN(insert, "XYZ", 4);
    stdWString_Insert(buffer, 8, 2, insert);
    EXPECT_EQ(Wide(buffer), u"abXYZcd");
    stdWString_Insert(buffer, 8, 1, insert);  // only 7 characters fit
    EXPECT_EQ(Wide(buffer), u"aXYZbXY");
    EXPECT_EQ(buffer[7], 0);
    stdWString_Insert(buffer, 8, 100, insert);  // full: nothing fits
    EXPECT_EQ(Wide(buffer), u"aXYZbXY");
}

TEST(StdChecksum, RotatesThenXors)
{
    EXPECT_EQ(stdChecksum_Update("abc", 3, 0), 0x00000123u);
    EXPECT_EQ(stdChecksum_Update("", 0, 77), 77u);
    EXPECT_EQ(stdChecksum_Update("\x01", 1, 0x80000000u), 0x00000000u);
}

TEST(StdBits, CountsSetBits)
{
    EXPECT_EQ(stdBits_Count(0), 0);
    EXPECT_EQ(stdBits_Count(0x39D), 7);
    EXPECT_EQ(stdBits_Count(0xFFFFFFFFu), 32);
}

TEST(StdTime, WaitsAtLeastTheTimeGiven)
{
    // Measured on the clock the wait runs on: two Windows clocks drift apart under load.
    DWORD start = timeGetTime();
    stdTime_Wait(30);
    EXPECT_GE(timeGetTime() - start, 30u);
}
