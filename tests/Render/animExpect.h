// An evaluation of keyframe poses written apart from the modules under test: cubic keys in
// double precision with plain powers, and bone frames as 4 x 4 row-vector matrices built from
// the three elementary rotations (pitch about X, then roll about Y, then yaw about Z).
#pragma once
#include <cmath>

#include <gtest/gtest.h>

#include "fixtureJup.h"
#include "mathTypes.h"

namespace animtest {

struct Affine {
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// a then b.
inline Affine Then(const Affine& a, const Affine& b)
{
    Affine out;
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < 4; c++) {
            double sum = 0;
            for (int k = 0; k < 4; k++) sum += a.m[r][k] * b.m[k][c];
            out.m[r][c] = sum;
        }
    }
    return out;
}

inline Affine Rotation(int axis, double degrees)
{
    double a = degrees * 3.14159265358979323846 / 180.0, c = std::cos(a), s = std::sin(a);
    int i = (axis + 1) % 3, j = (axis + 2) % 3;
    Affine out;
    out.m[i][i] = c, out.m[i][j] = s;
    out.m[j][i] = -s, out.m[j][j] = c;
    return out;
}

// The bone's local frame: the angles' rotation, then the translation.
inline Affine Local(const double angles[3], const double translation[3])
{
    Affine out = Then(Then(Rotation(0, angles[0]), Rotation(1, angles[1])), Rotation(2, angles[2]));
    for (int k = 0; k < 3; k++) out.m[3][k] = translation[k];
    return out;
}

// The key's value at the given frame, on each axis.
inline void KeyAt(const fixtures::JupKey& key, double frame, double out[3])
{
    double t = (frame - key.baseFrame) * key.timeScale;
    if (t < 0) t = 0;
    for (int k = 0; k < 3; k++)
        out[k] = key.value[k] + key.c1[k] * t + key.c2[k] * std::pow(t, 2) + key.c3[k] * std::pow(t, 3);
}

// The tolerance is relative for elements above 1 (translations).
inline void ExpectFrame(const mathFrame& actual, const Affine& expected, double tolerance,
                        const char* what)
{
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < 3; c++) {
            double e = expected.m[r][c];
            EXPECT_NEAR(actual.m[r * 3 + c], e, tolerance * (std::fabs(e) > 1 ? std::fabs(e) : 1))
                << what << " row " << r << " col " << c;
        }
    }
}

}  // namespace animtest
