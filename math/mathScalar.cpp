#include "mathScalar.h"

#include <cstdint>
#include <cstring>

int mathScalar_DivFloor(int a, int b, int* quotient, int* remainder)
{
    if (b <= 0) {
        *quotient = 0;
        *remainder = a;
        return 0;
    }
    int q = a / b;
    int r = a - q * b;
    // C++ division truncates toward zero: a negative remainder means one step too high.
    if (r < 0) {
        q -= 1;
        r += b;
    }
    *quotient = q;
    *remainder = r;
    return q;
}

unsigned mathScalar_NextPowerOfTwo(unsigned n)
{
    if (n > 0x80000000u)
        return 0;
    unsigned p = 1;
    while (p < n)
        p <<= 1;
    return p;
}

float mathScalar_Power(float x, int n)
{
    float result = x;
    for (int i = 1; i < n; ++i)
        result *= x;
    return result;
}

float mathScalar_InvSqrtFast(float x)
{
    uint32_t u;
    std::memcpy(&u, &x, sizeof u);
    u = 0x5F3759DFu - (u >> 1);
    float y;
    std::memcpy(&y, &u, sizeof y);
    const float halfX = 0.5f * x;
    y = y * 1.5f - halfX * y * y * y;
    y = y * 1.5f - halfX * y * y * y;
    return y;
}
