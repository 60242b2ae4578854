#pragma once

// Floored integer division for b > 0: the quotient is floor(a / b), the remainder lies in [0, b).
// A divisor of 0 or less gives quotient 0 and remainder a instead of a division fault.
int mathScalar_DivFloor(int a, int b, int* quotient, int* remainder);

// The smallest power of two >= n (0 and 1 give 1); 0 when n exceeds 2^31, as no 32-bit power is
// large enough.
unsigned mathScalar_NextPowerOfTwo(unsigned n);

// x multiplied by itself n - 1 times; n <= 1 gives x.
float mathScalar_Power(float x, int n);

// 1 / sqrt(x) for x > 0, relative error below 0.000005.
float mathScalar_InvSqrtFast(float x);
