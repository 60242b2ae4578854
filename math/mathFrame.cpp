#include "mathFrame.h"

#include "mathAngle.h"
#include "mathCompose.h"
#include "mathVec.h"

#include <cmath>

namespace {

const mathFrame IDENTITY_FRAME = {{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}};

struct SinCos3 {
    float sp, cp, sr, cr, sy, cy;
};

SinCos3 sinCosOf(const mathAngles* angles)
{
    SinCos3 t;
    mathAngle_SinCos(angles->x, &t.sp, &t.cp);
    mathAngle_SinCos(angles->y, &t.sr, &t.cr);
    mathAngle_SinCos(angles->z, &t.sy, &t.cy);
    return t;
}

void setRotation(mathFrame* out, float r00, float r01, float r02, float r10, float r11, float r12,
                 float r20, float r21, float r22)
{
    float* m = out->m;
    m[0] = r00; m[1] = r01; m[2] = r02;
    m[3] = r10; m[4] = r11; m[5] = r12;
    m[6] = r20; m[7] = r21; m[8] = r22;
}

mathVec3* row(mathFrame* frame, int i) { return reinterpret_cast<mathVec3*>(frame->m + 3 * i); }
const mathVec3* row(const mathFrame* frame, int i)
{
    return reinterpret_cast<const mathVec3*>(frame->m + 3 * i);
}

// Rotation about Z by an angle whose sine and cosine are given.
void setZRotation(mathFrame* out, float c, float s)
{
    setRotation(out, c, s, 0, -s, c, 0, 0, 0, 1);
}

float arcCos(float v)
{
    return 90.0f - mathAngle_ArcSin7(v);
}

void zeroTranslation(mathFrame* out)
{
    out->m[9] = out->m[10] = out->m[11] = 0.0f;
}

} // namespace

void mathFrame_FromAngles(mathFrame* out, const mathAngles* angles, const mathVec3* position)
{
    const SinCos3 t = sinCosOf(angles);
    setRotation(out,
                t.cy * t.cr - t.sy * t.sr * t.sp, t.cy * t.sr * t.sp + t.sy * t.cr, -t.sr * t.cp,
                -t.sy * t.cp, t.cy * t.cp, t.sp,
                t.sy * t.cr * t.sp + t.cy * t.sr, t.sy * t.sr - t.cy * t.cr * t.sp, t.cr * t.cp);
    mathFrame_SetRow(out, 3, position);
}

void mathFrame_RotationFromAngles(mathFrame* out, const mathAngles* angles)
{
    const SinCos3 t = sinCosOf(angles);
    setRotation(out,
                t.cr * t.cy, t.cr * t.sy, -t.sr,
                t.sr * t.sp * t.cy - t.cp * t.sy, t.sr * t.sp * t.sy + t.cp * t.cy, t.cr * t.sp,
                t.sr * t.cp * t.cy + t.sp * t.sy, t.sr * t.cp * t.sy - t.sp * t.cy, t.cp * t.cr);
    zeroTranslation(out);
}

void mathFrame_RotationFromAnglesZXY(mathFrame* out, const mathAngles* angles)
{
    const SinCos3 t = sinCosOf(angles);
    setRotation(out,
                t.sy * t.sr * t.sp + t.cy * t.cr, t.sy * t.cp, t.sp * t.cr * t.sy - t.cy * t.sr,
                t.cy * t.sr * t.sp - t.cr * t.sy, t.cp * t.cy, t.cy * t.cr * t.sp + t.sy * t.sr,
                t.sr * t.cp, -t.sp, t.cr * t.cp);
    zeroTranslation(out);
}

void mathFrame_InverseFromAngles(mathFrame* out, const mathAngles* angles, const mathVec3* position)
{
    mathFrame forward;
    mathFrame_FromAngles(&forward, angles, position);
    const float* f = forward.m;
    setRotation(out, f[0], f[3], f[6], f[1], f[4], f[7], f[2], f[5], f[8]);
    mathVec3_NegateCopy(row(out, 3), position);
}

void mathFrame_FromDirection(mathFrame* out, const mathVec3* direction)
{
    static const mathVec3 UP = {0, 0, 1};
    static const mathVec3 RIGHT = {1, 0, 0};
    mathVec3_Copy(row(out, 1), direction);
    mathVec3_Cross(row(out, 0), direction, &UP);
    if (mathVec3_Normalize(row(out, 0)) > 0.0f) {
        mathVec3_Cross(row(out, 2), row(out, 0), row(out, 1));
    } else {
        // Straight up or down: build the up row from the right axis instead.
        mathVec3_Cross(row(out, 2), &RIGHT, direction);
        mathVec3_Normalize(row(out, 2));
        mathVec3_Cross(row(out, 0), row(out, 1), row(out, 2));
    }
    zeroTranslation(out);
}

void mathFrame_FromAxisAngle(mathFrame* out, const mathVec3* axis, float angle)
{
    float s, c;
    mathAngle_SinCos(angle, &s, &c);
    const float ax = axis->x, ay = axis->y, az = axis->z;
    const float n = ax * ax + ay * ay;
    zeroTranslation(out);
    // The diagonal divides by n, so an axis along Z is taken apart: +Z turns by the angle, -Z by
    // minus the angle.
    if (az >= 1.0f || az <= -1.0f || !(n > 0.0f)) {
        setZRotation(out, c, az >= 0.0f ? s : -s);
        return;
    }
    const float q = 1.0f - c;
    setRotation(out,
                ax * ax + c * (az * az * ax * ax + ay * ay) / n, q * ax * ay + s * az, q * az * ax - s * ay,
                q * ax * ay - s * az, ay * ay + c * (az * az * ay * ay + ax * ax) / n, q * az * ay + s * ax,
                q * az * ax + s * ay, q * az * ay - s * ax, az * az + c * n);
}

void mathFrame_LookAt(mathFrame* frame, const mathVec3* eye, const mathVec3* target, float roll)
{
    mathVec3 f;
    mathVec3_Sub(&f, target, eye);
    if (!(mathVec3_Normalize(&f) > 0.0f))
        return;

    mathFrame rollFrame;
    mathFrame_FromAxisAngle(&rollFrame, &f, roll);
    mathVec3 reference = {0, 0, 1};
    if (!(f.z <= 0.999f && f.z >= -0.999f))
        reference = f.z > 0.0f ? mathVec3{0, -1, 0} : mathVec3{0, 1, 0};
    mathVec3 up;
    mathVec3_TransformByRotation(&up, &reference, &rollFrame);

    mathVec3_Copy(row(frame, 1), &f);
    mathVec3_Cross(row(frame, 0), &f, &up);
    mathVec3_Normalize(row(frame, 0));
    mathVec3_Cross(row(frame, 2), row(frame, 0), row(frame, 1));
    mathVec3_Normalize(row(frame, 2));
    mathVec3_Copy(row(frame, 3), eye);
}

void mathFrame_ToAngles(const mathFrame* frame, mathAngles* angles)
{
    // A table-built frame is orthonormal only to about 1e-3: the table's cosine sits one step
    // beside its sine, so sin^2 + cos^2 falls short of 1. Reading cosines straight off its rows
    // would turn a level frame into one pitched and rolled by about a degree, so each cosine is
    // taken as a ratio of two components of the same rows, which cancels that shortfall.
    const mathVec3& r0 = *row(frame, 0);
    const mathVec3& f = *row(frame, 1);
    const mathVec3& r2 = *row(frame, 2);
    const mathVec2 flat = {f.x, f.y};
    const float r = mathVec2_Length(&flat);
    const float forwardLength = mathVec3_Length(&f);
    const float cosPitch = forwardLength > 0.0f ? r / forwardLength : 0.0f;
    float pitch, roll, yaw;
    if (cosPitch < 0.001f) {
        // Forward nearly vertical: the yaw folds into the roll.
        pitch = 90.0f;
        yaw = 0.0f;
        const mathVec2 right = {r0.x, r0.y};
        const float rightLength = mathVec2_Length(&right);
        roll = arcCos(rightLength > 0.0f ? r0.x / rightLength : 1.0f);
        if ((-r0.y > 0.0f && f.z > 0.0f) || (-r0.y < 0.0f && f.z < 0.0f))
            roll = -roll;
    } else {
        yaw = arcCos(f.y / r);
        if (f.x > 0.0f)
            yaw = -yaw;
        pitch = cosPitch >= 1.0f ? 0.0f : arcCos(cosPitch);
        // The right and up rows measured along the level right direction (f.y, -f.x) / r.
        const float c = (r0.x * f.y - f.x * r0.y) / r;
        const float s = (r2.x * f.y - f.x * r2.y) / r;
        const float hypot = std::sqrt(c * c + s * s);
        const float k = hypot > 0.0f ? c / hypot : 1.0f;
        roll = k >= 1.0f ? 0.0f : k <= -1.0f ? 180.0f : arcCos(k);
        if (r0.z > 0.0f)
            roll = -roll;
    }
    if (f.z < 0.0f)
        pitch = -pitch;
    angles->x = pitch;
    angles->y = roll;
    angles->z = yaw;
}

void mathFrame_Orthonormalize(mathFrame* frame)
{
    mathVec3_Cross(row(frame, 2), row(frame, 0), row(frame, 1));
    mathVec3_Normalize(row(frame, 1));
    mathVec3_Normalize(row(frame, 2));
    mathVec3_Cross(row(frame, 0), row(frame, 1), row(frame, 2));
}

void mathFrame_Identity(mathFrame* out)
{
    *out = IDENTITY_FRAME;
}

void mathFrame_Copy(mathFrame* out, const mathFrame* in)
{
    *out = *in;
}

void mathFrame_Translation(mathFrame* out, const mathVec3* offset)
{
    *out = IDENTITY_FRAME;
    mathFrame_SetRow(out, 3, offset);
}

void mathFrame_Scaling(mathFrame* out, const mathVec3* scale)
{
    setRotation(out, scale->x, 0, 0, 0, scale->y, 0, 0, 0, scale->z);
    zeroTranslation(out);
}

void mathFrame_FromMatrix(mathFrame* out, const mathMatrix* matrix)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            out->m[3 * i + j] = matrix->m[4 * i + j];
}

void mathFrame_Invert(mathFrame* out, const mathFrame* in)
{
    const float* f = in->m;
    setRotation(out, f[0], f[3], f[6], f[1], f[4], f[7], f[2], f[5], f[8]);
    for (int i = 0; i < 3; ++i)
        out->m[9 + i] = -mathVec3_Dot(row(in, 3), row(in, i));
}

void mathFrame_Multiply(mathFrame* out, const mathFrame* a, const mathFrame* b)
{
    // Each row of b (its translation with a trailing 1) times the columns of a.
    const float* A = a->m;
    const float* B = b->m;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            float v = B[3 * i] * A[j] + B[3 * i + 1] * A[3 + j] + B[3 * i + 2] * A[6 + j];
            if (i == 3)
                v += A[9 + j];
            out->m[3 * i + j] = v;
        }
    }
}

void mathFrame_MultiplyPre(mathFrame* m, const mathFrame* b)
{
    mathCompose_InPlace(m, b, true, mathFrame_Multiply);
}

void mathFrame_MultiplyPost(mathFrame* m, const mathFrame* b)
{
    mathCompose_InPlace(m, b, false, mathFrame_Multiply);
}

void mathFrame_RotatePre(mathFrame* m, const mathAngles* angles)
{
    mathCompose_Apply(m, angles, mathFrame_RotationFromAngles, mathFrame_MultiplyPre);
}

void mathFrame_RotatePost(mathFrame* m, const mathAngles* angles)
{
    mathCompose_Apply(m, angles, mathFrame_RotationFromAngles, mathFrame_MultiplyPost);
}

void mathFrame_TranslatePre(mathFrame* m, const mathVec3* offset)
{
    mathCompose_Apply(m, offset, mathFrame_Translation, mathFrame_MultiplyPre);
}

mathFrame* mathFrame_Translate(mathFrame* m, const mathVec3* offset)
{
    mathVec3_AddTo(row(m, 3), offset);
    return m;
}

void mathFrame_ScalePre(mathFrame* m, const mathVec3* scale)
{
    mathCompose_Apply(m, scale, mathFrame_Scaling, mathFrame_MultiplyPre);
}

void mathFrame_ScalePost(mathFrame* m, const mathVec3* scale)
{
    mathCompose_Apply(m, scale, mathFrame_Scaling, mathFrame_MultiplyPost);
}

void mathFrame_SetRow(mathFrame* frame, int rowIndex, const mathVec3* v)
{
    mathVec3_Copy(row(frame, rowIndex), v);
}

void mathFrame_GetRow(const mathFrame* frame, int rowIndex, mathVec3* v)
{
    mathVec3_Copy(v, row(frame, rowIndex));
}

void mathFrame_TransformPoints(const mathFrame* frame, const mathVec3* in, mathVec3* out, int count)
{
    for (int k = 0; k < count; ++k) {
        const mathVec3 p = in[k];  // in and out may be the same array
        mathVec3_TransformByRotation(&out[k], &p, frame);
        mathVec3_AddTo(&out[k], row(frame, 3));
    }
}
