#include "mathFrame.h"
#include "mathGeometryHelpers.h"
#include "mathVec.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mathRef;
using namespace mathTest;

namespace {

const mathVec3 ORIGIN = {0, 0, 0};

mathFrame frameFromAngles(float pitch, float roll, float yaw, mathVec3 position = ORIGIN)
{
    const mathAngles a = {pitch, roll, yaw};
    mathFrame f;
    mathFrame_FromAngles(&f, &a, &position);
    return f;
}

mathVec3 rowOf(const mathFrame& f, int i)
{
    mathVec3 v;
    mathFrame_GetRow(&f, i, &v);
    return v;
}

mathVec3 transformPoint(const mathFrame& f, const mathVec3& p)
{
    mathVec3 out;
    mathFrame_TransformPoints(&f, &p, &out, 1);
    return out;
}

bool isIdentity(const mathFrame& f, double tolerance)
{
    mathFrame id;
    mathFrame_Identity(&id);
    return near(f.m, id.m, 12, tolerance);
}

// The three rotation orders of one set of angles, at the origin.
struct OrderFrames {
    explicit OrderFrames(const mathAngles& angles) : a(angles)
    {
        mathFrame_FromAngles(&fa, &a, &ORIGIN);
        mathFrame_RotationFromAngles(&xyz, &a);
        mathFrame_RotationFromAnglesZXY(&zxy, &a);
    }
    // Whether each is its product of the single-axis rotations that rot(axis, degrees) makes:
    // roll, then pitch, then yaw / pitch, roll, yaw / yaw, pitch, roll.
    template <class Rot>
    ::testing::AssertionResult AreTheirProducts(Rot rot, double tolerance) const
    {
        const Mat3 rx = rot('x', a.x), ry = rot('y', a.y), rz = rot('z', a.z);
        if (auto r = near(rotationOf(fa), mul(mul(ry, rx), rz), tolerance); !r) return r << " (FromAngles)";
        if (auto r = near(rotationOf(xyz), mul(mul(rx, ry), rz), tolerance); !r) return r << " (pitch, roll, yaw)";
        if (auto r = near(rotationOf(zxy), mul(mul(rz, rx), ry), tolerance); !r) return r << " (yaw, pitch, roll)";
        return ::testing::AssertionSuccess();
    }

    mathAngles a;
    mathFrame fa, xyz, zxy;
};

} // namespace

// --- Rotation orders ---

TEST(MathFrameAngles, FromAnglesKnownFrames)
{
    const mathVec3 position = {1, 2, 3};
    const mathFrame f = frameFromAngles(0, 0, 0, position);
    const float want[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 2, 3};
    EXPECT_TRUE(near(f.m, want, 12, 0.0));
    EXPECT_TRUE(near(rowOf(frameFromAngles(0, 0, 90), 1), {-1, 0, 0}, 5e-7));
    EXPECT_TRUE(near(rowOf(frameFromAngles(90, 0, 0), 1), {0, 0, 1}, 5e-7));
    // A positive roll tilts the up axis toward +X.
    EXPECT_GT(rowOf(frameFromAngles(0, 20, 0), 2).x, 0.3f);
}

TEST(MathFrameAngles, EachOrderIsItsProductOfSingleAxisRotations)
{
    for (const mathAngles& a : angleGrid()) {
        const OrderFrames f(a);
        ASSERT_TRUE(f.AreTheirProducts(tableRot, 2e-7)) << a.x << " " << a.y << " " << a.z;
        for (int i = 9; i < 12; ++i) {
            ASSERT_EQ(f.xyz.m[i], 0.0f);
            ASSERT_EQ(f.zxy.m[i], 0.0f);
        }
    }
}

TEST(MathFrameAngles, OrdersHoldAgainstExactTrigonometry)
{
    for (const mathAngles& a : angleGrid()) {
        const OrderFrames f(a);
        ASSERT_TRUE(f.AreTheirProducts(exactRot, TABLE_TOLERANCE)) << a.x << " " << a.y << " " << a.z;
        for (const mathFrame* frame : {&f.fa, &f.xyz, &f.zxy}) ASSERT_TRUE(isOrthonormal(*frame, TABLE_TOLERANCE));
    }
}

TEST(MathFrameAngles, OrdersAgreeOnOneAngleAndDifferOnTwo)
{
    for (int axis = 0; axis < 3; ++axis) {
        mathAngles a = {0, 0, 0};
        (&a.x)[axis] = 33.0f;
        mathFrame fa, xyz, zxy;
        mathFrame_FromAngles(&fa, &a, &ORIGIN);
        mathFrame_RotationFromAngles(&xyz, &a);
        mathFrame_RotationFromAnglesZXY(&zxy, &a);
        EXPECT_TRUE(near(fa.m, xyz.m, 12, 1e-7));
        EXPECT_TRUE(near(fa.m, zxy.m, 12, 1e-7));
    }
    const mathAngles two = {30, 30, 0};
    mathFrame fa, xyz;
    mathFrame_FromAngles(&fa, &two, &ORIGIN);
    mathFrame_RotationFromAngles(&xyz, &two);
    EXPECT_FALSE(near(fa.m, xyz.m, 12, 0.05));
}

TEST(MathFrameAngles, ZxyIsTheTransposeOfFaWithNegatedAngles)
{
    for (const mathAngles& a : angleGrid()) {
        const mathAngles neg = {-a.x, -a.y, -a.z};
        mathFrame zxy, fa;
        mathFrame_RotationFromAnglesZXY(&zxy, &a);
        mathFrame_FromAngles(&fa, &neg, &ORIGIN);
        Mat3 t, r = rotationOf(fa);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) t[3 * i + j] = r[3 * j + i];
        ASSERT_TRUE(near(rotationOf(zxy), t, TABLE_TOLERANCE));
    }
}

TEST(MathFrameAngles, InverseFromAnglesTransposesAndNegatesWithoutRotating)
{
    const mathVec3 position = {4, -5, 6};
    const mathAngles zero = {0, 0, 0};
    mathFrame inv;
    mathFrame_InverseFromAngles(&inv, &zero, &position);
    const float want[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, -4, 5, -6};
    EXPECT_TRUE(near(inv.m, want, 12, 0.0));

    const mathAngles a = {20, -35, 120};
    mathFrame f;
    mathFrame_FromAngles(&f, &a, &position);
    mathFrame_InverseFromAngles(&inv, &a, &position);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(inv.m[3 * i + j], f.m[3 * j + i]);
    EXPECT_TRUE(near(rowOf(inv, 3), {-4, 5, -6}, 0.0));
}

// --- Angles back from a frame ---

TEST(MathFrameToAngles, KnownFrame)
{
    const mathFrame f = frameFromAngles(20, -35, 120);
    mathAngles got;
    mathFrame_ToAngles(&f, &got);
    EXPECT_NEAR(got.x, 20.0f, 0.05f);
    EXPECT_NEAR(got.y, -35.0f, 0.05f);
    EXPECT_NEAR(got.z, 120.0f, 0.05f);
}

TEST(MathFrameToAngles, RoundTripOverManyAngles)
{
    double worst = 0;
    for (const mathAngles& a : angleGrid(80.0f)) {
        const mathFrame f = frameFromAngles(a.x, a.y, a.z);
        mathAngles got;
        mathFrame_ToAngles(&f, &got);
        const double e = std::max({double(std::fabs(got.x - a.x)), std::fabs(angleGap(a.y, got.y)), std::fabs(angleGap(a.z, got.z))});
        ASSERT_LE(e, 0.05) << a.x << " " << a.y << " " << a.z;
        worst = std::max(worst, e);
        // And the angles give the frame back.
        const mathFrame back = frameFromAngles(got.x, got.y, got.z);
        ASSERT_TRUE(near(back.m, f.m, 12, TABLE_TOLERANCE)) << a.x << " " << a.y << " " << a.z << " err " << e;
    }
    EXPECT_GT(worst, 0.01);
}

TEST(MathFrameToAngles, LevelFramesReadBackLevel)
{
    // The table's sine and cosine of the yaw sit a step apart; that must not show up as a tilt.
    for (float yaw = -180.0f; yaw < 180.0f; yaw += 1.7f) {
        const mathFrame f = frameFromAngles(0, 0, yaw);
        mathAngles got;
        mathFrame_ToAngles(&f, &got);
        ASSERT_LE(std::fabs(got.x), 0.012f) << yaw;
        ASSERT_LE(std::fabs(got.y), 0.012f) << yaw;
        ASSERT_LE(std::fabs(angleGap(yaw, got.z)), 0.05) << yaw;
    }
}

TEST(MathFrameToAngles, VerticalForwardFoldsYawIntoRoll)
{
    mathFrame f;
    mathFrame_Identity(&f);
    const mathVec3 r0 = {1, 0, 0}, up = {0, 0, 1}, r2 = {0, -1, 0};
    mathFrame_SetRow(&f, 0, &r0);
    mathFrame_SetRow(&f, 1, &up);
    mathFrame_SetRow(&f, 2, &r2);
    mathAngles got;
    mathFrame_ToAngles(&f, &got);
    EXPECT_EQ(got.x, 90.0f);
    EXPECT_EQ(got.z, 0.0f);
    EXPECT_NEAR(got.y, 0.0f, 0.012f);

    // Looking straight down, the frame's turn about the vertical comes back as the roll.
    for (float yaw : {-150.0f, -60.0f, 30.0f, 135.0f}) {
        const mathFrame down = frameFromAngles(-90, 0, yaw);
        mathFrame_ToAngles(&down, &got);
        EXPECT_EQ(got.x, -90.0f);
        EXPECT_EQ(got.z, 0.0f);
        const mathFrame back = frameFromAngles(got.x, got.y, got.z);
        EXPECT_TRUE(near(back.m, down.m, 12, TABLE_TOLERANCE)) << yaw;
    }
}

// --- Directions, axes and looking at ---

TEST(MathFrameDirection, VerticalDirection)
{
    const mathVec3 d = {0, 0, 1};
    mathFrame f;
    mathFrame_FromDirection(&f, &d);
    EXPECT_TRUE(near(rowOf(f, 0), {1, 0, 0}, 0.0));
    EXPECT_TRUE(near(rowOf(f, 1), {0, 0, 1}, 0.0));
    EXPECT_TRUE(near(rowOf(f, 2), {0, -1, 0}, 0.0));
    EXPECT_TRUE(near(rowOf(f, 3), {0, 0, 0}, 0.0));
}

TEST(MathFrameDirection, GeneralDirectionsGiveARightHandedFrame)
{
    for (const mathAngles& a : angleGrid(80.0f)) {
        const mathVec3 d = rowOf(frameFromAngles(a.x, 0, a.z), 1);
        mathFrame f;
        mathFrame_FromDirection(&f, &d);
        ASSERT_TRUE(near(rowOf(f, 1), d, 0.0));
        const mathVec3 r0 = rowOf(f, 0);
        ASSERT_EQ(r0.z, 0.0f);
        ASSERT_TRUE(isOrthonormal(f, TABLE_TOLERANCE));
        mathVec3 cross;
        const mathVec3 r1 = rowOf(f, 1);
        mathVec3_Cross(&cross, &r0, &r1);
        ASSERT_TRUE(near(cross, rowOf(f, 2), 1e-6));
        // It is the roll-free frame of those angles.
        ASSERT_TRUE(near(f.m, frameFromAngles(a.x, 0, a.z).m, 9, TABLE_TOLERANCE));
    }
}

TEST(MathFrameAxisAngle, RotatesAboutTheAxisLikeRodrigues)
{
    for (const mathAngles& a : angleGrid(80.0f)) {
        const mathVec3 axis = rowOf(frameFromAngles(a.x, 0, a.z), 1);
        const float angle = a.y;
        mathFrame f;
        mathFrame_FromAxisAngle(&f, &axis, angle);
        const double s = std::sin(rad(angle)), c = std::cos(rad(angle));
        const mathVec3 v = {0.3f, -0.7f, 0.5f};
        // v' = v c + (a x v) s + a (a . v)(1 - c): counter-clockwise looking down the axis
        const double ax = axis.x, ay = axis.y, az = axis.z;
        const double dot = ax * v.x + ay * v.y + az * v.z;
        const double cx = ay * v.z - az * v.y, cy = az * v.x - ax * v.z, cz = ax * v.y - ay * v.x;
        const mathVec3 want = {static_cast<float>(v.x * c + cx * s + ax * dot * (1 - c)),
                               static_cast<float>(v.y * c + cy * s + ay * dot * (1 - c)),
                               static_cast<float>(v.z * c + cz * s + az * dot * (1 - c))};
        mathVec3 got;
        mathVec3_TransformByRotation(&got, &v, &f);
        ASSERT_TRUE(near(got, want, TABLE_TOLERANCE)) << a.x << " " << a.y << " " << a.z;
        mathVec3 axisImage;
        mathVec3_TransformByRotation(&axisImage, &axis, &f);
        ASSERT_TRUE(near(axisImage, axis, 2e-3));
    }
}

TEST(MathFrameAxisAngle, AxesAlongZAreTakenApart)
{
    const mathVec3 up = {0, 0, 1}, down = {0, 0, -1};
    mathFrame f, z;
    mathFrame_FromAxisAngle(&f, &up, 40.0f);
    const mathAngles yaw40 = {0, 0, 40}, yawMinus40 = {0, 0, -40};
    mathFrame_RotationFromAngles(&z, &yaw40);
    EXPECT_TRUE(near(f.m, z.m, 12, 1e-7));
    mathFrame_FromAxisAngle(&f, &down, 40.0f);
    mathFrame_RotationFromAngles(&z, &yawMinus40);
    EXPECT_TRUE(near(f.m, z.m, 12, 1e-3));
    for (float v : f.m) EXPECT_FALSE(std::isnan(v));
}

TEST(MathFrameLookAt, SameEyeAndTargetLeavesTheFrame)
{
    mathFrame f = frameFromAngles(10, 20, 30, {1, 2, 3});
    const mathFrame before = f;
    const mathVec3 p = {5, 5, 5};
    mathFrame_LookAt(&f, &p, &p, 15.0f);
    EXPECT_TRUE(near(f.m, before.m, 12, 0.0));
}

TEST(MathFrameLookAt, StraightUpUsesTheBackwardReference)
{
    mathFrame f;
    const mathVec3 eye = {1, 2, 3}, target = {1, 2, 13};
    mathFrame_LookAt(&f, &eye, &target, 0.0f);
    EXPECT_TRUE(near(rowOf(f, 0), {1, 0, 0}, 1e-6));
    EXPECT_TRUE(near(rowOf(f, 1), {0, 0, 1}, 0.0));
    EXPECT_TRUE(near(rowOf(f, 2), {0, -1, 0}, 1e-6));
    EXPECT_TRUE(near(rowOf(f, 3), eye, 0.0));
    const mathVec3 below = {1, 2, -7};
    mathFrame_LookAt(&f, &eye, &below, 0.0f);
    EXPECT_TRUE(near(rowOf(f, 0), {1, 0, 0}, 1e-6));
    EXPECT_TRUE(near(rowOf(f, 2), {0, 1, 0}, 1e-6));
}

TEST(MathFrameLookAt, MatchesTheFrameOfTheSameAngles)
{
    // Looking along a frame's forward axis with its roll rebuilds that frame.
    const mathVec3 eye = {10, -20, 5};
    for (const mathAngles& a : angleGrid(80.0f)) {
        const mathFrame want = frameFromAngles(a.x, a.y, a.z, eye);
        mathVec3 target = rowOf(want, 1);
        mathVec3_Scale(&target, 37.0f);
        mathVec3_AddTo(&target, &eye);
        mathFrame f;
        mathFrame_LookAt(&f, &eye, &target, a.y);
        ASSERT_TRUE(near(f.m, want.m, 9, 2e-3)) << a.x << " " << a.y << " " << a.z;
        ASSERT_TRUE(near(rowOf(f, 3), eye, 0.0));
        ASSERT_TRUE(isOrthonormal(f, TABLE_TOLERANCE));
    }
}

// --- Inverses and products ---

TEST(MathFrameProducts, FrameTimesItsInverseIsIdentity)
{
    for (const mathAngles& a : angleGrid()) {
        const mathFrame f = frameFromAngles(a.x, a.y, a.z, {a.z / 180, a.x / 180, -a.y / 180});
        mathFrame inv, p, q;
        mathFrame_Invert(&inv, &f);
        mathFrame_Multiply(&p, &f, &inv);
        mathFrame_Multiply(&q, &inv, &f);
        // The table rotation is orthonormal to about 1e-3; the translation error scales with
        // its length (here at most sqrt(3)).
        ASSERT_TRUE(isIdentity(p, TABLE_TOLERANCE * 2)) << a.x << " " << a.y << " " << a.z;
        ASSERT_TRUE(isIdentity(q, TABLE_TOLERANCE * 2)) << a.x << " " << a.y << " " << a.z;
    }
    // An orthonormalised frame inverts to float precision.
    mathFrame f = frameFromAngles(20, -35, 120, {1, 2, 3});
    mathFrame_Orthonormalize(&f);
    mathFrame inv, p;
    mathFrame_Invert(&inv, &f);
    mathFrame_Multiply(&p, &f, &inv);
    EXPECT_TRUE(isIdentity(p, 1e-5));
}

TEST(MathFrameProducts, MultiplyAppliesBThenA)
{
    const mathFrame a = frameFromAngles(10, 50, -70, {1, 2, 3});
    const mathFrame b = frameFromAngles(-40, 15, 100, {-4, 0.5f, 9});
    mathFrame ab;
    mathFrame_Multiply(&ab, &a, &b);
    for (const mathVec3& p : {mathVec3{0, 0, 0}, mathVec3{1, -2, 3}, mathVec3{-7, 4, 0.25f}}) {
        const mathVec3 viaB = transformPoint(b, p);
        EXPECT_TRUE(near(transformPoint(ab, p), transformPoint(a, viaB), 1e-5));
    }
    EXPECT_TRUE(preAndPostForms(a, b, b, mathFrame_MultiplyPre, mathFrame_MultiplyPost, mathFrame_Multiply));
}

TEST(MathFrameProducts, RotateUsesPitchRollYawOrder)
{
    const mathFrame m = frameFromAngles(5, 10, 15, {1, 1, 1});
    const mathAngles a = {30, 30, 0};
    mathFrame rot;
    mathFrame_RotationFromAngles(&rot, &a);
    EXPECT_TRUE(preAndPostForms(m, rot, a, mathFrame_RotatePre, mathFrame_RotatePost, mathFrame_Multiply));
}

TEST(MathFrameProducts, TranslateScaleAndTheirPreForms)
{
    const mathFrame m = frameFromAngles(0, 0, 90, {1, 2, 3});
    const mathVec3 offset = {1, 0, 0};
    mathFrame pre = m, moved = m;
    mathFrame_TranslatePre(&pre, &offset);
    // In m's own axes: its right axis after a yaw of 90 is +Y.
    EXPECT_TRUE(near(rowOf(pre, 3), {1, 3, 3}, 1e-6));
    EXPECT_TRUE(near(pre.m, m.m, 9, 0.0));
    EXPECT_EQ(mathFrame_Translate(&moved, &offset), &moved);
    EXPECT_TRUE(near(rowOf(moved, 3), {2, 2, 3}, 0.0));

    const mathVec3 scale = {2, 3, 4};
    mathFrame s;
    mathFrame_Scaling(&s, &scale);
    const float wantScale[12] = {2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
    EXPECT_TRUE(near(s.m, wantScale, 12, 0.0));
    mathFrame scaledPre = m, scaledPost = m;
    mathFrame_ScalePre(&scaledPre, &scale);
    mathFrame_ScalePost(&scaledPost, &scale);
    const mathVec3 p = {1, 1, 1};
    const mathVec3 scaledP = {2, 3, 4};
    EXPECT_TRUE(near(transformPoint(scaledPre, p), transformPoint(m, scaledP), 1e-6));
    const mathVec3 mp = transformPoint(m, p);
    EXPECT_TRUE(near(transformPoint(scaledPost, p), {mp.x * 2, mp.y * 3, mp.z * 4}, 1e-5));
}

TEST(MathFrameProducts, IdentityCopyTranslationRowsAndOrthonormalize)
{
    mathFrame f;
    mathFrame_Identity(&f);
    EXPECT_TRUE(isIdentity(f, 0.0));
    const mathVec3 offset = {7, 8, 9};
    mathFrame t;
    mathFrame_Translation(&t, &offset);
    EXPECT_TRUE(near(rowOf(t, 3), offset, 0.0));
    EXPECT_TRUE(near(t.m, f.m, 9, 0.0));
    mathFrame copy;
    mathFrame_Copy(&copy, &t);
    EXPECT_TRUE(near(copy.m, t.m, 12, 0.0));
    for (int i = 0; i < 4; ++i) {
        const mathVec3 v = {float(i), float(i * 2), float(-i)};
        mathFrame_SetRow(&copy, i, &v);
        EXPECT_TRUE(near(rowOf(copy, i), v, 0.0));
        EXPECT_EQ(copy.m[3 * i + 1], float(i * 2));
    }

    mathFrame skew = frameFromAngles(20, -35, 120, {1, 2, 3});
    skew.m[0] += 0.01f;
    skew.m[4] *= 1.02f;
    mathFrame_Orthonormalize(&skew);
    EXPECT_TRUE(isOrthonormal(skew, 1e-6));
    EXPECT_TRUE(near(rowOf(skew, 3), {1, 2, 3}, 0.0));
}

TEST(MathFrameProducts, TransformPointsAddsTheTranslation)
{
    const mathFrame f = frameFromAngles(0, 0, 90, {10, 20, 30});
    mathVec3 points[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    mathVec3 out[3];
    mathFrame_TransformPoints(&f, points, out, 3);
    EXPECT_TRUE(near(out[0], {10, 21, 30}, 1e-6));
    EXPECT_TRUE(near(out[1], {9, 20, 30}, 1e-6));
    EXPECT_TRUE(near(out[2], {10, 20, 31}, 1e-6));
    // In place as well.
    mathFrame_TransformPoints(&f, points, points, 3);
    EXPECT_TRUE(near(points[1], out[1], 0.0));
}
