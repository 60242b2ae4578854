#include "mathMatrix.h"

#include "mathCompose.h"
#include "mathFrame.h"

namespace {

const mathMatrix IDENTITY_MATRIX = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

} // namespace

void mathMatrix_FromAngles(mathMatrix* out, const mathAngles* angles, const mathVec3* position)
{
    mathFrame frame;
    mathFrame_FromAngles(&frame, angles, position);
    mathMatrix_FromFrame(out, &frame);
}

void mathMatrix_RotationFromAngles(mathMatrix* out, const mathAngles* angles)
{
    static const mathVec3 ORIGIN = {0, 0, 0};
    mathMatrix_FromAngles(out, angles, &ORIGIN);
}

void mathMatrix_Identity(mathMatrix* out)
{
    *out = IDENTITY_MATRIX;
}

void mathMatrix_Copy(mathMatrix* out, const mathMatrix* in)
{
    *out = *in;
}

void mathMatrix_Translation(mathMatrix* out, const mathVec3* offset)
{
    *out = IDENTITY_MATRIX;
    out->m[12] = offset->x;
    out->m[13] = offset->y;
    out->m[14] = offset->z;
}

void mathMatrix_Scaling(mathMatrix* out, const mathVec3* scale)
{
    *out = IDENTITY_MATRIX;
    out->m[0] = scale->x;
    out->m[5] = scale->y;
    out->m[10] = scale->z;
}

void mathMatrix_FromFrame(mathMatrix* out, const mathFrame* frame)
{
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j)
            out->m[4 * i + j] = frame->m[3 * i + j];
        out->m[4 * i + 3] = i == 3 ? 1.0f : 0.0f;
    }
}

void mathMatrix_Transpose(mathMatrix* out, const mathMatrix* in)
{
    const mathMatrix copy = *in;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out->m[4 * i + j] = copy.m[4 * j + i];
}

void mathMatrix_InvertFrame(mathMatrix* out, const mathFrame* in)
{
    mathFrame inverse;
    mathFrame_Invert(&inverse, in);
    mathMatrix_FromFrame(out, &inverse);
}

void mathMatrix_MultiplyGeneral(mathMatrix* out, const mathMatrix* a, const mathMatrix* b)
{
    const float* A = a->m;
    const float* B = b->m;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out->m[4 * i + j] = B[4 * i] * A[j] + B[4 * i + 1] * A[4 + j] + B[4 * i + 2] * A[8 + j] +
                                B[4 * i + 3] * A[12 + j];
}

void mathMatrix_MultiplyFrame(mathMatrix* out, const mathMatrix* a, const mathFrame* b)
{
    mathMatrix frameMatrix;
    mathMatrix_FromFrame(&frameMatrix, b);
    mathMatrix_MultiplyGeneral(out, a, &frameMatrix);
}

void mathMatrix_MultiplyPre(mathMatrix* m, const mathMatrix* b)
{
    mathCompose_InPlace(m, b, true, mathMatrix_MultiplyGeneral);
}

void mathMatrix_MultiplyPost(mathMatrix* m, const mathMatrix* b)
{
    mathCompose_InPlace(m, b, false, mathMatrix_MultiplyGeneral);
}

void mathMatrix_RotatePre(mathMatrix* m, const mathAngles* angles)
{
    mathCompose_Apply(m, angles, mathMatrix_RotationFromAngles, mathMatrix_MultiplyPre);
}

void mathMatrix_RotatePost(mathMatrix* m, const mathAngles* angles)
{
    mathCompose_Apply(m, angles, mathMatrix_RotationFromAngles, mathMatrix_MultiplyPost);
}

void mathMatrix_TranslatePre(mathMatrix* m, const mathVec3* offset)
{
    mathCompose_Apply(m, offset, mathMatrix_Translation, mathMatrix_MultiplyPre);
}

mathMatrix* mathMatrix_Translate(mathMatrix* m, const mathVec3* offset)
{
    m->m[12] += offset->x;
    m->m[13] += offset->y;
    m->m[14] += offset->z;
    return m;
}

void mathMatrix_ScalePre(mathMatrix* m, const mathVec3* scale)
{
    mathCompose_Apply(m, scale, mathMatrix_Scaling, mathMatrix_MultiplyPre);
}

void mathMatrix_ScalePost(mathMatrix* m, const mathVec3* scale)
{
    mathCompose_Apply(m, scale, mathMatrix_Scaling, mathMatrix_MultiplyPost);
}

void mathMatrix_SetRow(mathMatrix* matrix, int row, const mathVec4* v)
{
    float* r = matrix->m + 4 * row;
    r[0] = v->x;
    r[1] = v->y;
    r[2] = v->z;
    r[3] = v->w;
}

void mathMatrix_GetRow(const mathMatrix* matrix, int row, mathVec3* v)
{
    const float* r = matrix->m + 4 * row;
    v->x = r[0];
    v->y = r[1];
    v->z = r[2];
}

void mathMatrix_TransformPoints(const mathMatrix* matrix, const mathVec3* in, mathVec3* out, int count)
{
    mathFrame frame;
    mathFrame_FromMatrix(&frame, matrix);
    mathFrame_TransformPoints(&frame, in, out, count);
}
