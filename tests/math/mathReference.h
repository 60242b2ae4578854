#pragma once
// Double-precision references for the math tests: degrees, exact trigonometry and 3 x 3
// rotations in the row-vector convention (p' = p * M).
#include <array>
#include <cmath>

namespace mathRef {

constexpr double PI = 3.14159265358979323846;
// One table step: a quarter turn has 4096.
constexpr double STEP_DEGREES = 90.0 / 4096.0;

inline double rad(double degrees) { return degrees * PI / 180.0; }
inline double deg(double radians) { return radians * 180.0 / PI; }

// The signed difference b - a folded into (-180, 180].
inline double angleGap(double a, double b)
{
    double d = std::fmod(b - a, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

using Mat3 = std::array<double, 9>;

inline Mat3 mul(const Mat3& a, const Mat3& b)
{
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                r[3 * i + j] += a[3 * i + k] * b[3 * k + j];
    return r;
}

// Single-axis rotations written from the elementary rules, given the sine and cosine:
// X: (x, y c - z s, y s + z c); Y: (x c + z s, y, z c - x s); Z: (x c - y s, x s + y c, z).
inline Mat3 rotX(double s, double c) { return {1, 0, 0, 0, c, s, 0, -s, c}; }
inline Mat3 rotY(double s, double c) { return {c, 0, -s, 0, 1, 0, s, 0, c}; }
inline Mat3 rotZ(double s, double c) { return {c, s, 0, -s, c, 0, 0, 0, 1}; }

} // namespace mathRef
