#pragma once
// Shared helpers of the frame, matrix and vector tests.
#include "mathAngle.h"
#include "mathReference.h"
#include "mathTypes.h"

#include <gtest/gtest.h>

#include <vector>

namespace mathTest {

// Frames built from the table sine are orthonormal only to about 1e-3.
constexpr double TABLE_TOLERANCE = 1.2e-3;

inline mathRef::Mat3 rotationOf(const mathFrame& f)
{
    mathRef::Mat3 r;
    for (int i = 0; i < 9; ++i) r[i] = f.m[i];
    return r;
}

// Single-axis rotations from the table sine (to check composition order exactly) or from exact
// trigonometry (to check the result against mathematics).
inline mathRef::Mat3 tableRot(char axis, float degrees)
{
    float s, c;
    mathAngle_SinCos(degrees, &s, &c);
    return axis == 'x' ? mathRef::rotX(s, c) : axis == 'y' ? mathRef::rotY(s, c) : mathRef::rotZ(s, c);
}

inline mathRef::Mat3 exactRot(char axis, double degrees)
{
    const double s = std::sin(mathRef::rad(degrees)), c = std::cos(mathRef::rad(degrees));
    return axis == 'x' ? mathRef::rotX(s, c) : axis == 'y' ? mathRef::rotY(s, c) : mathRef::rotZ(s, c);
}

inline ::testing::AssertionResult near(const mathRef::Mat3& got, const mathRef::Mat3& want, double tolerance)
{
    for (int i = 0; i < 9; ++i)
        if (!(std::fabs(got[i] - want[i]) <= tolerance))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << got[i] << " vs " << want[i] << " (tolerance " << tolerance << ")";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult near(const float* got, const float* want, int count, double tolerance)
{
    for (int i = 0; i < count; ++i)
        if (!(std::fabs(got[i] - want[i]) <= tolerance))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << got[i] << " vs " << want[i] << " (tolerance " << tolerance << ")";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult near(const mathVec3& got, const mathVec3& want, double tolerance)
{
    return near(&got.x, &want.x, 3, tolerance);
}

inline ::testing::AssertionResult isOrthonormal(const mathFrame& f, double tolerance)
{
    const mathRef::Mat3 r = rotationOf(f);
    mathRef::Mat3 t;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[3 * i + j] = r[3 * j + i];
    return near(mathRef::mul(r, t), mathRef::Mat3{1, 0, 0, 0, 1, 0, 0, 0, 1}, tolerance);
}

// Whether an operation's pre form, applied to base, gives base x op and its post form op x base,
// to the bit; op is the operation's own frame or matrix and the products are the module's own.
template <class M, class Arg>
::testing::AssertionResult preAndPostForms(const M& base, const M& op, const Arg& arg,
                                           void (*pre)(M*, const Arg*), void (*post)(M*, const Arg*),
                                           void (*multiply)(M*, const M*, const M*))
{
    const int count = sizeof base.m / sizeof base.m[0];
    M got = base, want;
    pre(&got, &arg);
    multiply(&want, &base, &op);
    if (::testing::AssertionResult r = near(got.m, want.m, count, 0.0); !r) return r << " in the pre form";
    got = base;
    post(&got, &arg);
    multiply(&want, &op, &base);
    if (::testing::AssertionResult r = near(got.m, want.m, count, 0.0); !r) return r << " in the post form";
    return ::testing::AssertionSuccess();
}

// A spread of Euler angles (pitch, roll, yaw) with every sign and quadrant.
inline std::vector<mathAngles> angleGrid(float pitchLimit = 180.0f)
{
    std::vector<mathAngles> grid;
    for (float p = -pitchLimit; p <= pitchLimit; p += pitchLimit / 4.5f)
        for (float r = -175.0f; r <= 180.0f; r += 41.0f)
            for (float y = -170.0f; y <= 180.0f; y += 37.0f)
                grid.push_back({p + 0.3f, r, y});
    return grid;
}

} // namespace mathTest
