// What every deliverable relies on from the build: SSE float evaluation, a 32-bit target,
// and a display on which real windows can be created.
#include <gtest/gtest.h>
#include <windows.h>
#include <cfloat>

TEST(Toolchain, FloatsAreEvaluatedInTheirOwnPrecision)
{
    static_assert(FLT_EVAL_METHOD == 0, "floats must not be widened on the x87 stack");
    static_assert(sizeof(void*) == 4, "the tools are 32-bit programs");
    volatile float a = 16777216.0f;  // 2^24: adding 1 rounds back to a in float precision
    volatile float b = 1.0f;
    EXPECT_EQ(a + b - a, 0.0f);
}

TEST(Toolchain, RealWindowsCanBeCreated)
{
    HWND hwnd = CreateWindowExA(0, "STATIC", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hwnd, nullptr);
    char text[16] = {};
    EXPECT_EQ(GetWindowTextA(hwnd, text, sizeof text), 5);
    EXPECT_STREQ(text, "probe");
    EXPECT_TRUE(DestroyWindow(hwnd));
}
