#include "mathFrame.h"
#include "mathGeometryHelpers.h"
#include "mathMatrix.h"
#include "mathVec.h"

#include <gtest/gtest.h>

using namespace mathRef;
using namespace mathTest;

namespace {

const mathVec3 ORIGIN = {0, 0, 0};

// A general (not affine) matrix with distinct elements.
mathMatrix sampleMatrix(float seed)
{
    mathMatrix m;
    for (int i = 0; i < 16; ++i)
        m.m[i] = std::sin(seed + 1.7f * i) * 3.0f;
    return m;
}

// B x A in double, the independent reference for "b then a".
void referenceProduct(const mathMatrix& a, const mathMatrix& b, double out[16])
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += double(b.m[4 * i + k]) * a.m[4 * k + j];
            out[4 * i + j] = sum;
        }
}

mathVec4 pointThrough(const mathMatrix& m, const mathVec3& p)
{
    mathVec4 out;
    mathVec4_TransformPoint(&out, &p, &m);
    return out;
}

bool isIdentity(const mathMatrix& m, double tolerance)
{
    mathMatrix id;
    mathMatrix_Identity(&id);
    return near(m.m, id.m, 16, tolerance);
}

} // namespace

TEST(MathMatrixBuild, FromAnglesHoldsTheFaRowsAndThePosition)
{
    const mathAngles a = {20, -35, 120};
    const mathVec3 position = {1, 2, 3};
    mathFrame f;
    mathFrame_FromAngles(&f, &a, &position);
    mathMatrix m, r;
    mathMatrix_FromAngles(&m, &a, &position);
    mathMatrix_RotationFromAngles(&r, &a);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(m.m[4 * i + j], f.m[3 * i + j]);
            EXPECT_EQ(r.m[4 * i + j], i == 3 ? 0.0f : f.m[3 * i + j]);
        }
        EXPECT_EQ(m.m[4 * i + 3], i == 3 ? 1.0f : 0.0f);
        EXPECT_EQ(r.m[4 * i + 3], i == 3 ? 1.0f : 0.0f);
    }
}

TEST(MathMatrixBuild, IdentityTranslationScalingAndFrames)
{
    mathMatrix m;
    const mathVec3 scale = {2, 3, 4};
    mathMatrix_Scaling(&m, &scale);
    const float wantScale[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
    EXPECT_TRUE(near(m.m, wantScale, 16, 0.0));

    const mathVec3 offset = {5, 6, 7};
    mathMatrix_Translation(&m, &offset);
    const float wantMove[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
    EXPECT_TRUE(near(m.m, wantMove, 16, 0.0));

    mathMatrix copy;
    mathMatrix_Copy(&copy, &m);
    EXPECT_TRUE(near(copy.m, m.m, 16, 0.0));
    mathMatrix_Identity(&copy);
    EXPECT_TRUE(isIdentity(copy, 0.0));

    const mathAngles a = {-10, 60, 45};
    mathFrame f, back;
    mathFrame_FromAngles(&f, &a, &offset);
    mathMatrix_FromFrame(&m, &f);
    mathFrame_FromMatrix(&back, &m);
    EXPECT_TRUE(near(back.m, f.m, 12, 0.0));
    EXPECT_EQ(m.m[15], 1.0f);
    EXPECT_EQ(m.m[3], 0.0f);
}

TEST(MathMatrixBuild, TransposeInPlaceAndApart)
{
    const mathMatrix src = sampleMatrix(0.3f);
    mathMatrix t, self = src;
    mathMatrix_Transpose(&t, &src);
    mathMatrix_Transpose(&self, &self);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(t.m[4 * i + j], src.m[4 * j + i]);
            EXPECT_EQ(self.m[4 * i + j], src.m[4 * j + i]);
        }
}

TEST(MathMatrixProducts, MultiplyGeneralIsBTimesA)
{
    for (float seed : {0.1f, 1.3f, 2.9f}) {
        const mathMatrix a = sampleMatrix(seed), b = sampleMatrix(seed + 5.0f);
        mathMatrix out;
        double want[16];
        mathMatrix_MultiplyGeneral(&out, &a, &b);
        referenceProduct(a, b, want);
        for (int i = 0; i < 16; ++i) ASSERT_NEAR(out.m[i], want[i], 1e-5) << i;

        mathMatrix pre = a, post = a;
        mathMatrix_MultiplyPre(&pre, &b);
        EXPECT_TRUE(near(pre.m, out.m, 16, 0.0));
        mathMatrix_MultiplyPost(&post, &b);
        referenceProduct(b, a, want);
        for (int i = 0; i < 16; ++i) ASSERT_NEAR(post.m[i], want[i], 1e-5) << i;
    }
}

TEST(MathMatrixProducts, MultiplyFrameTakesTheFrameAsAMatrix)
{
    const mathMatrix projection = sampleMatrix(0.7f);
    const mathAngles a = {15, 25, -100};
    const mathVec3 position = {3, -4, 5};
    mathFrame view;
    mathFrame_FromAngles(&view, &a, &position);
    mathMatrix viewMatrix, want, got;
    mathMatrix_FromFrame(&viewMatrix, &view);
    mathMatrix_MultiplyGeneral(&want, &projection, &viewMatrix);
    mathMatrix_MultiplyFrame(&got, &projection, &view);
    EXPECT_TRUE(near(got.m, want.m, 16, 0.0));
    // A point goes through the view frame first, then the projection.
    const mathVec3 p = {1, 2, 3};
    mathVec3 viewed;
    mathFrame_TransformPoints(&view, &p, &viewed, 1);
    const mathVec4 direct = pointThrough(got, p), twoSteps = pointThrough(projection, viewed);
    EXPECT_TRUE(near(&direct.x, &twoSteps.x, 4, 1e-4));
}

TEST(MathMatrixProducts, InvertFrameUndoesTheFrame)
{
    for (const mathAngles& a : angleGrid()) {
        const mathVec3 position = {a.z / 180, a.x / 180, -a.y / 180};
        mathFrame f;
        mathFrame_FromAngles(&f, &a, &position);
        mathMatrix inv, fm, p;
        mathMatrix_InvertFrame(&inv, &f);
        mathMatrix_FromFrame(&fm, &f);
        mathMatrix_MultiplyGeneral(&p, &fm, &inv);
        ASSERT_TRUE(isIdentity(p, TABLE_TOLERANCE * 2)) << a.x << " " << a.y << " " << a.z;
        for (int i = 0; i < 4; ++i) ASSERT_EQ(inv.m[4 * i + 3], i == 3 ? 1.0f : 0.0f);
    }
}

TEST(MathMatrixProducts, RotateUsesTheFaOrderUnlikeTheFrameRotate)
{
    const mathAngles a = {30, 30, 0};
    mathMatrix m, fa, fromFrame;
    mathFrame f;
    mathMatrix_Identity(&m);
    mathFrame_Identity(&f);
    mathMatrix_RotatePre(&m, &a);
    mathFrame_RotatePre(&f, &a);
    mathMatrix_RotationFromAngles(&fa, &a);
    EXPECT_TRUE(near(m.m, fa.m, 16, 0.0));
    mathMatrix_FromFrame(&fromFrame, &f);
    EXPECT_FALSE(near(m.m, fromFrame.m, 16, 0.05));
    // Against the single-axis product: roll, then pitch, then yaw.
    EXPECT_TRUE(near(Mat3{m.m[0], m.m[1], m.m[2], m.m[4], m.m[5], m.m[6], m.m[8], m.m[9], m.m[10]},
                     mul(tableRot('y', 30), tableRot('x', 30)), 2e-7));

    EXPECT_TRUE(preAndPostForms(sampleMatrix(2.0f), fa, a, mathMatrix_RotatePre, mathMatrix_RotatePost,
                                mathMatrix_MultiplyGeneral));
}

TEST(MathMatrixProducts, TranslateAndScaleForms)
{
    const mathAngles a = {0, 0, 90};
    const mathVec3 position = {1, 2, 3}, offset = {1, 0, 0};
    mathMatrix m, pre, moved;
    mathMatrix_FromAngles(&m, &a, &position);
    pre = moved = m;
    mathMatrix_TranslatePre(&pre, &offset);
    EXPECT_NEAR(pre.m[12], 1.0f, 1e-6f);
    EXPECT_NEAR(pre.m[13], 3.0f, 1e-6f);
    EXPECT_NEAR(pre.m[14], 3.0f, 1e-6f);
    EXPECT_EQ(mathMatrix_Translate(&moved, &offset), &moved);
    EXPECT_EQ(moved.m[12], 2.0f);
    EXPECT_EQ(moved.m[13], 2.0f);

    const mathVec3 scale = {2, 3, 4};
    mathMatrix s;
    mathMatrix_Scaling(&s, &scale);
    EXPECT_TRUE(preAndPostForms(m, s, scale, mathMatrix_ScalePre, mathMatrix_ScalePost, mathMatrix_MultiplyGeneral));
}

TEST(MathMatrixRows, SetAndGet)
{
    mathMatrix m;
    mathMatrix_Identity(&m);
    const mathVec4 r = {9, 8, 7, 6};
    mathMatrix_SetRow(&m, 2, &r);
    EXPECT_EQ(m.m[8], 9.0f);
    EXPECT_EQ(m.m[11], 6.0f);
    mathVec3 got;
    mathMatrix_GetRow(&m, 2, &got);
    EXPECT_TRUE(near(got, {9, 8, 7}, 0.0));
    mathMatrix_GetRow(&m, 3, &got);
    EXPECT_TRUE(near(got, {0, 0, 0}, 0.0));
}

TEST(MathMatrixTransform, PointFormsAgreeAndKeepW)
{
    const mathMatrix m = sampleMatrix(1.1f);
    const mathVec3 p = {1.5f, -2.0f, 0.25f};
    const mathVec4 out = pointThrough(m, p);
    const float* o = &out.x;
    for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(o[j], p.x * m.m[j] + p.y * m.m[4 + j] + p.z * m.m[8 + j] + m.m[12 + j], 1e-5) << j;
    EXPECT_NEAR(out.w, m.m[3] * p.x + m.m[7] * p.y + m.m[11] * p.z + m.m[15], 1e-5);

    mathVec4 inPlace = {p.x, p.y, p.z, 12345.0f};  // the stored w is not read
    mathVec4_TransformPointInPlace(&inPlace, &m);
    EXPECT_TRUE(near(&inPlace.x, &out.x, 4, 0.0));

    mathVec4 v = {p.x, p.y, p.z, 1.0f};
    mathVec4_Transform(&v, &m);
    EXPECT_TRUE(near(&v.x, &out.x, 4, 1e-5));
    mathVec4 w0 = {p.x, p.y, p.z, 0.0f};
    mathVec4_Transform(&w0, &m);
    EXPECT_NEAR(w0.x, out.x - m.m[12], 1e-5);
}

TEST(MathMatrixTransform, TransformPointsUsesTheUpperPartAndRowThree)
{
    mathMatrix m = sampleMatrix(0.4f);
    mathVec3 pts[2] = {{1, 2, 3}, {-4, 0.5f, 2}};
    mathVec3 out[2];
    mathMatrix_TransformPoints(&m, pts, out, 2);
    for (int k = 0; k < 2; ++k) {
        const mathVec4 full = pointThrough(m, pts[k]);
        EXPECT_TRUE(near(out[k], {full.x, full.y, full.z}, 1e-5));
    }
}
