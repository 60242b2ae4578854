#include "mathBox.h"
#include "mathFrame.h"
#include "mathGeometryHelpers.h"
#include "mathVec.h"
#include "mathVecRotate.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>
#include <limits>

using namespace mathRef;
using namespace mathTest;

TEST(MathVecFamilies, ArithmeticOnEveryWidth)
{
    mathVec2 a2, b2, o2;
    mathVec2_Set(&a2, 1, 2);
    mathVec2_Set(&b2, 3, -5);
    mathVec2_Add(&o2, &a2, &b2);
    EXPECT_EQ(o2.x, 4.0f);
    EXPECT_EQ(o2.y, -3.0f);
    mathVec2_Sub(&o2, &a2, &b2);
    EXPECT_EQ(o2.y, 7.0f);
    EXPECT_EQ(mathVec2_Dot(&a2, &b2), -7.0f);
    EXPECT_EQ(mathVec2_AddTo(&a2, &b2), &a2);
    EXPECT_EQ(a2.x, 4.0f);
    EXPECT_EQ(mathVec2_SubFrom(&a2, &b2), &a2);
    EXPECT_EQ(a2.x, 1.0f);

    mathVec3 a3, b3, o3;
    EXPECT_EQ(mathVec3_Set(&a3, 1, 2, 3), &a3);
    mathVec3_Set(&b3, -1, 4, 0.5f);
    mathVec3_Add(&o3, &a3, &b3);
    EXPECT_TRUE(near(o3, {0, 6, 3.5f}, 0.0));
    mathVec3_Sub(&o3, &a3, &b3);
    EXPECT_TRUE(near(o3, {2, -2, 2.5f}, 0.0));
    EXPECT_EQ(mathVec3_Dot(&a3, &b3), 8.5f);
    mathVec3_AddTo(&a3, &b3);
    EXPECT_TRUE(near(a3, {0, 6, 3.5f}, 0.0));
    mathVec3_SubFrom(&a3, &b3);
    EXPECT_TRUE(near(a3, {1, 2, 3}, 0.0));

    mathVec4 a4, b4, o4;
    mathVec4_Set(&a4, 1, 2, 3, 4);
    mathVec4_Set(&b4, 4, 3, 2, 1);
    mathVec4_Add(&o4, &a4, &b4);
    EXPECT_EQ(o4.w, 5.0f);
    mathVec4_Sub(&o4, &a4, &b4);
    EXPECT_EQ(o4.w, 3.0f);
    EXPECT_EQ(mathVec4_Dot(&a4, &b4), 20.0f);
    mathVec4_AddTo(&a4, &b4);
    EXPECT_EQ(a4.x, 5.0f);
    mathVec4_SubFrom(&a4, &b4);
    EXPECT_EQ(a4.x, 1.0f);
}

TEST(MathVecFamilies, CopyNegateScaleDivide)
{
    const mathVec4 src = {1, -2, 4, 8};
    mathVec4 v;
    mathVec4_Copy(&v, &src);
    EXPECT_EQ(v.w, 8.0f);
    mathVec4_NegateCopy(&v, &src);
    EXPECT_EQ(v.y, 2.0f);
    EXPECT_EQ(mathVec4_Negate(&v), &v);
    EXPECT_EQ(v.y, -2.0f);
    mathVec4_ScaleCopy(&v, &src, 0.5f);
    EXPECT_EQ(v.w, 4.0f);
    EXPECT_EQ(mathVec4_Scale(&v, 2.0f), &v);
    EXPECT_EQ(v.w, 8.0f);
    mathVec4_DivideCopy(&v, &src, 4.0f);
    EXPECT_EQ(v.z, 1.0f);
    EXPECT_EQ(mathVec4_Divide(&v, 0.5f), &v);
    EXPECT_EQ(v.z, 2.0f);

    const mathVec3 s3 = {3, -6, 9};
    mathVec3 v3;
    mathVec3_Copy(&v3, &s3);
    mathVec3_NegateCopy(&v3, &s3);
    EXPECT_TRUE(near(v3, {-3, 6, -9}, 0.0));
    mathVec3_Negate(&v3);
    mathVec3_ScaleCopy(&v3, &s3, 2.0f);
    EXPECT_TRUE(near(v3, {6, -12, 18}, 0.0));
    mathVec3_Scale(&v3, 0.5f);
    mathVec3_DivideCopy(&v3, &s3, 3.0f);
    EXPECT_TRUE(near(v3, {1, -2, 3}, 1e-6));
    mathVec3_Divide(&v3, 2.0f);
    EXPECT_TRUE(near(v3, {0.5f, -1, 1.5f}, 1e-6));

    const mathVec2 s2 = {3, -6};
    mathVec2 v2;
    mathVec2_Copy(&v2, &s2);
    mathVec2_NegateCopy(&v2, &s2);
    EXPECT_EQ(v2.x, -3.0f);
    mathVec2_Negate(&v2);
    mathVec2_ScaleCopy(&v2, &s2, 2.0f);
    EXPECT_EQ(v2.y, -12.0f);
    mathVec2_Scale(&v2, 0.5f);
    // The two-component forms divide: 1 / 3 exactly as a division gives it.
    mathVec2_DivideCopy(&v2, &s2, 9.0f);
    EXPECT_EQ(v2.x, 3.0f / 9.0f);
    mathVec2_Divide(&v2, 3.0f);
    EXPECT_EQ(v2.x, (3.0f / 9.0f) / 3.0f);
}

TEST(MathVecLength, LengthsAndDistances)
{
    const mathVec2 a2 = {3, 4}, b2 = {0, 0};
    EXPECT_EQ(mathVec2_Length(&a2), 5.0f);
    EXPECT_EQ(mathVec2_Distance(&a2, &b2), 5.0f);
    const mathVec3 a3 = {1, 2, 2}, b3 = {2, 4, 4};
    EXPECT_EQ(mathVec3_Length(&a3), 3.0f);
    EXPECT_EQ(mathVec3_Distance(&a3, &b3), 3.0f);
    const mathVec4 a4 = {1, 1, 1, 1};
    EXPECT_EQ(mathVec4_Length(&a4), 2.0f);
}

TEST(MathVecLength, NormalizeCopyAndNormalize)
{
    mathVec3 out;
    const mathVec3 zero = {0, 0, 0}, v = {3, 0, 4};
    EXPECT_EQ(mathVec3_NormalizeCopy(&out, &zero), 0.0f);
    EXPECT_TRUE(near(out, zero, 0.0));
    EXPECT_EQ(mathVec3_NormalizeCopy(&out, &v), 5.0f);
    EXPECT_TRUE(near(out, {0.6f, 0, 0.8f}, 1e-7));
    mathVec3 w = v;
    EXPECT_EQ(mathVec3_Normalize(&w), 5.0f);
    EXPECT_TRUE(near(w, {0.6f, 0, 0.8f}, 1e-7));
    mathVec3 z = zero;
    EXPECT_EQ(mathVec3_Normalize(&z), 0.0f);
    EXPECT_TRUE(near(z, zero, 0.0));

    // A NaN length counts as zero: the vector stays as it was.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    mathVec3 n = {nan, 1, 2};
    EXPECT_TRUE(std::isnan(mathVec3_Normalize(&n)));
    EXPECT_EQ(n.y, 1.0f);

    mathVec2 v2 = {0, -7};
    EXPECT_EQ(mathVec2_Normalize(&v2), 7.0f);
    EXPECT_EQ(v2.y, -1.0f);
    mathVec2 o2;
    const mathVec2 src2 = {6, 8};
    EXPECT_EQ(mathVec2_NormalizeCopy(&o2, &src2), 10.0f);
    EXPECT_FLOAT_EQ(o2.x, 0.6f);
    mathVec4 v4 = {2, 0, 0, 0}, o4;
    EXPECT_EQ(mathVec4_NormalizeCopy(&o4, &v4), 2.0f);
    EXPECT_EQ(o4.x, 1.0f);
    EXPECT_EQ(mathVec4_Normalize(&v4), 2.0f);
    EXPECT_EQ(v4.x, 1.0f);
}

TEST(MathVecCross, CrossProducts)
{
    const mathVec3 x = {1, 0, 0}, y = {0, 1, 0};
    mathVec3 out;
    mathVec3_Cross(&out, &x, &y);
    EXPECT_TRUE(near(out, {0, 0, 1}, 0.0));
    mathVec3_Cross(&out, &y, &x);
    EXPECT_TRUE(near(out, {0, 0, -1}, 0.0));
    const mathVec3 a = {1, 2, 3}, b = {-4, 5, 0.5f};
    mathVec3_Cross(&out, &a, &b);
    EXPECT_TRUE(near(out, {2 * 0.5f - 3 * 5, 3 * -4 - 1 * 0.5f, 1 * 5 - 2 * -4}, 1e-6));
    mathVec3 c = a;
    EXPECT_EQ(mathVec3_CrossWith(&c, &b), &c);
    EXPECT_TRUE(near(c, out, 0.0));
    mathVec3_CrossWith(&c, &c);
    EXPECT_TRUE(near(c, {0, 0, 0}, 0.0));
}

TEST(MathVecCross, TriangleNormal)
{
    const mathVec3 a = {0, 0, 0}, b = {1, 0, 0}, c = {0, 1, 0};
    mathVec3 n;
    mathVec3_TriangleNormal(&a, &b, &c, &n);
    EXPECT_TRUE(near(n, {0, 0, 1}, 0.0));
    const mathVec3 d = {2, 0, 0};
    mathVec3_TriangleNormal(&a, &b, &d, &n);
    EXPECT_TRUE(near(n, {0, 0, 0}, 0.0));
    const mathVec3 p = {1, 1, 1}, q = {1, 5, 1}, r = {1, 1, 9};
    mathVec3_TriangleNormal(&p, &q, &r, &n);
    EXPECT_TRUE(near(n, {1, 0, 0}, 1e-7));
}

TEST(MathVecRotate, ByAnglesIsPitchThenRollThenYaw)
{
    const mathVec3 v = {0.3f, -1.2f, 2.5f};
    for (const mathAngles& a : angleGrid()) {
        const Mat3 r = mul(mul(tableRot('x', a.x), tableRot('y', a.y)), tableRot('z', a.z));
        const mathVec3 want = {float(v.x * r[0] + v.y * r[3] + v.z * r[6]), float(v.x * r[1] + v.y * r[4] + v.z * r[7]),
                               float(v.x * r[2] + v.y * r[5] + v.z * r[8])};
        mathVec3 out;
        mathVec3_RotateByAngles(&out, &v, &a);
        ASSERT_TRUE(near(out, want, 2e-6));
        mathVec3 inPlace = v;
        mathVec3_RotateByAnglesInPlace(&inPlace, &a);
        ASSERT_TRUE(near(inPlace, out, 0.0));
    }
}

TEST(MathVecRotate, RotateZ)
{
    const mathVec3 x = {1, 0, 0};
    mathVec3 out;
    mathVec3_RotateZ(&out, &x, 90.0f);
    EXPECT_TRUE(near(out, {0, 1, 0}, 1e-6));
    for (float angle = -360.0f; angle <= 360.0f; angle += 7.3f) {
        const mathVec3 v = {2, -1, 5};
        mathVec3_RotateZ(&out, &v, angle);
        const double s = std::sin(rad(angle)), c = std::cos(rad(angle));
        ASSERT_TRUE(near(out, {float(2 * c + s), float(2 * s - c), 5}, 3 * TABLE_TOLERANCE));
    }
}

TEST(MathVecRotate, FrameRotationAndItsInverse)
{
    for (const mathAngles& a : angleGrid()) {
        mathFrame f;
        const mathVec3 origin = {0, 0, 0};
        mathFrame_FromAngles(&f, &a, &origin);
        const mathVec3 v = {1, -2, 0.5f};
        mathVec3 out, back;
        mathVec3_TransformByRotation(&out, &v, &f);
        mathVec3_InverseRotate(&back, &out, &f);
        ASSERT_TRUE(near(back, v, 3 * TABLE_TOLERANCE));
        mathVec3 inPlace = v;
        mathVec3_TransformInPlace(&inPlace, &f);
        ASSERT_TRUE(near(inPlace, out, 0.0));
        // The unit X axis lands on the frame's right row.
        const mathVec3 xAxis = {1, 0, 0};
        mathVec3_TransformByRotation(&out, &xAxis, &f);
        ASSERT_TRUE(near(out, {f.m[0], f.m[1], f.m[2]}, 0.0));
    }
}

TEST(MathVecAngles, KnownDirections)
{
    mathAngles a;
    const mathVec3 forward = {0, 1, 0}, right = {1, 0, 0}, up = {0, 0, 1}, back = {0, -1, 0};
    mathVec3_ToAngles(&forward, &a);
    EXPECT_TRUE(near(a, {0, 0, 0}, 0.0));
    mathVec3_ToAngles(&right, &a);
    EXPECT_EQ(a.z, -90.0f);
    mathVec3_ToAngles(&up, &a);
    EXPECT_EQ(a.x, 90.0f);
    EXPECT_EQ(a.z, 0.0f);
    mathVec3_ToAngles(&back, &a);
    EXPECT_EQ(a.z, -180.0f);
}

TEST(MathVecAngles, DirectionsGiveTheirForwardAxisBack)
{
    for (double el = -85.0; el <= 85.0; el += 4.7)
        for (double az = -180.0; az < 180.0; az += 3.1) {
            const mathVec3 d = {float(std::cos(rad(el)) * std::cos(rad(az))), float(std::cos(rad(el)) * std::sin(rad(az))),
                                float(std::sin(rad(el)))};
            mathAngles a;
            mathVec3_ToAngles(&d, &a);
            ASSERT_EQ(a.y, 0.0f);
            ASSERT_LE(std::fabs(a.x - deg(std::asin(double(d.z)))), 0.012 + 0.0002);
            ASSERT_LE(std::fabs(angleGap(-deg(std::atan2(double(d.x), double(d.y))), a.z)), 0.095 + 0.0002);
            mathFrame f;
            const mathVec3 origin = {0, 0, 0};
            mathFrame_FromAngles(&f, &a, &origin);
            // 0.107 degrees of angle plus two table steps in the sines.
            ASSERT_TRUE(near({f.m[3], f.m[4], f.m[5]}, d, rad(0.107) + 2 * 0.000384)) << el << " " << az;
        }
}

TEST(MathVecRandom, UnitLengthAndSpreadEvenly)
{
    std::srand(12345);
    double sum[3] = {0, 0, 0};
    int positive[3] = {0, 0, 0};
    const int draws = 4000;
    for (int i = 0; i < draws; ++i) {
        mathVec3 v;
        mathVec3_RandomUnit(&v);
        ASSERT_NEAR(mathVec3_Length(&v), 1.0f, 1e-6f);
        const float c[3] = {v.x, v.y, v.z};
        for (int k = 0; k < 3; ++k) {
            sum[k] += c[k];
            positive[k] += c[k] > 0;
        }
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_LT(std::fabs(sum[k] / draws), 0.05) << k;
        EXPECT_NEAR(positive[k], draws / 2, draws / 20) << k;
    }
    double angleSum = 0;
    for (int i = 0; i < draws; ++i) {
        mathVec2 v;
        mathVec2_RandomUnit(&v);
        ASSERT_NEAR(mathVec2_Length(&v), 1.0f, 1e-6f);
        angleSum += std::atan2(v.y, v.x);
    }
    EXPECT_LT(std::fabs(angleSum / draws), 0.1);
}

TEST(MathBox, AddPoint)
{
    mathBox box = {{1, 1, 1}, {-1, -1, -1}};
    const mathVec3 p = {0, 5, -2};
    mathBox_AddPoint(&box, &p);
    EXPECT_TRUE(near(box.vMin, {0, 1, -2}, 0.0));
    EXPECT_TRUE(near(box.vMax, {0, 5, -1}, 0.0));

    mathBox empty = {{FLT_MAX, FLT_MAX, FLT_MAX}, {-FLT_MAX, -FLT_MAX, -FLT_MAX}};
    const mathVec3 first = {3, -4, 5}, second = {-1, 0, 9};
    mathBox_AddPoint(&empty, &first);
    EXPECT_TRUE(near(empty.vMin, first, 0.0));
    EXPECT_TRUE(near(empty.vMax, first, 0.0));
    mathBox_AddPoint(&empty, &second);
    EXPECT_TRUE(near(empty.vMin, {-1, -4, 5}, 0.0));
    EXPECT_TRUE(near(empty.vMax, {3, 0, 9}, 0.0));
}
