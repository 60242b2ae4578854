#include "mathVec.h"

#include "mathAngle.h"

#include <cmath>
#include <cstdlib>

namespace {

// The vector records are plain float arrays; the families below apply one rule to each of the
// N components, so every width shares one implementation.
template <class V> constexpr int N = sizeof(V) / sizeof(float);
template <class V> float* comp(V* v) { return reinterpret_cast<float*>(v); }
template <class V> const float* comp(const V* v) { return reinterpret_cast<const float*>(v); }

template <class V> void copy(V* out, const V* in)
{
    for (int i = 0; i < N<V>; ++i) comp(out)[i] = comp(in)[i];
}

template <class V> void negateCopy(V* out, const V* in)
{
    for (int i = 0; i < N<V>; ++i) comp(out)[i] = -comp(in)[i];
}

template <class V> void add(V* out, const V* a, const V* b)
{
    for (int i = 0; i < N<V>; ++i) comp(out)[i] = comp(a)[i] + comp(b)[i];
}

template <class V> void sub(V* out, const V* a, const V* b)
{
    for (int i = 0; i < N<V>; ++i) comp(out)[i] = comp(a)[i] - comp(b)[i];
}

template <class V> float dot(const V* a, const V* b)
{
    float sum = 0.0f;
    for (int i = 0; i < N<V>; ++i) sum += comp(a)[i] * comp(b)[i];
    return sum;
}

template <class V> float length(const V* v)
{
    return std::sqrt(dot(v, v));
}

template <class V> void scaleCopy(V* out, const V* in, float s)
{
    for (int i = 0; i < N<V>; ++i) comp(out)[i] = comp(in)[i] * s;
}

// The two-component family divides; the wider ones multiply by the reciprocal.
template <class V> void divideCopy(V* out, const V* in, float s)
{
    if (N<V> == 2) {
        for (int i = 0; i < N<V>; ++i) comp(out)[i] = comp(in)[i] / s;
    } else {
        scaleCopy(out, in, 1.0f / s);
    }
}

// A zero or NaN length leaves the vector as it was. The normalised copies divide each
// component; the in-place forms share divideCopy's rule.
template <class V> float normalizeCopy(V* out, const V* in)
{
    const float len = length(in);
    for (int i = 0; i < N<V>; ++i)
        comp(out)[i] = len > 0.0f ? comp(in)[i] / len : comp(in)[i];
    return len;
}

template <class V> float normalize(V* v)
{
    const float len = length(v);
    if (len > 0.0f)
        divideCopy(v, v, len);
    return len;
}

template <class V> float distance(const V* a, const V* b)
{
    V d;
    sub(&d, b, a);
    return length(&d);
}

// One draw of a component in [-1, 1]: 3.0518509e-05 is 32769 / 2^30, about 1 / 32767.
float randomComponent()
{
    return static_cast<float>(std::rand()) * 3.0518509e-05f * 2.0f - 1.0f;
}

// Draws inside the unit ball (rejecting the corners of the cube) give a uniform direction.
template <class V> void randomUnit(V* out)
{
    for (;;) {
        V v;
        for (int i = 0; i < N<V>; ++i) comp(&v)[i] = randomComponent();
        const float len = length(&v);
        if (len > 0.0f && len <= 1.0f) {
            divideCopy(out, &v, len);
            return;
        }
    }
}

} // namespace

mathVec2* mathVec2_Set(mathVec2* out, float x, float y) { out->x = x; out->y = y; return out; }
mathVec3* mathVec3_Set(mathVec3* out, float x, float y, float z)
{
    out->x = x; out->y = y; out->z = z;
    return out;
}
mathVec4* mathVec4_Set(mathVec4* out, float x, float y, float z, float w)
{
    out->x = x; out->y = y; out->z = z; out->w = w;
    return out;
}

void mathVec2_Copy(mathVec2* out, const mathVec2* in) { copy(out, in); }
void mathVec3_Copy(mathVec3* out, const mathVec3* in) { copy(out, in); }
void mathVec4_Copy(mathVec4* out, const mathVec4* in) { copy(out, in); }

void mathVec2_NegateCopy(mathVec2* out, const mathVec2* in) { negateCopy(out, in); }
void mathVec3_NegateCopy(mathVec3* out, const mathVec3* in) { negateCopy(out, in); }
void mathVec4_NegateCopy(mathVec4* out, const mathVec4* in) { negateCopy(out, in); }

mathVec2* mathVec2_Negate(mathVec2* v) { negateCopy(v, v); return v; }
mathVec3* mathVec3_Negate(mathVec3* v) { negateCopy(v, v); return v; }
mathVec4* mathVec4_Negate(mathVec4* v) { negateCopy(v, v); return v; }

void mathVec2_Add(mathVec2* out, const mathVec2* a, const mathVec2* b) { add(out, a, b); }
void mathVec3_Add(mathVec3* out, const mathVec3* a, const mathVec3* b) { add(out, a, b); }
void mathVec4_Add(mathVec4* out, const mathVec4* a, const mathVec4* b) { add(out, a, b); }

mathVec2* mathVec2_AddTo(mathVec2* a, const mathVec2* b) { add(a, a, b); return a; }
mathVec3* mathVec3_AddTo(mathVec3* a, const mathVec3* b) { add(a, a, b); return a; }
mathVec4* mathVec4_AddTo(mathVec4* a, const mathVec4* b) { add(a, a, b); return a; }

void mathVec2_Sub(mathVec2* out, const mathVec2* a, const mathVec2* b) { sub(out, a, b); }
void mathVec3_Sub(mathVec3* out, const mathVec3* a, const mathVec3* b) { sub(out, a, b); }
void mathVec4_Sub(mathVec4* out, const mathVec4* a, const mathVec4* b) { sub(out, a, b); }

mathVec2* mathVec2_SubFrom(mathVec2* a, const mathVec2* b) { sub(a, a, b); return a; }
mathVec3* mathVec3_SubFrom(mathVec3* a, const mathVec3* b) { sub(a, a, b); return a; }
mathVec4* mathVec4_SubFrom(mathVec4* a, const mathVec4* b) { sub(a, a, b); return a; }

float mathVec2_Dot(const mathVec2* a, const mathVec2* b) { return dot(a, b); }
float mathVec3_Dot(const mathVec3* a, const mathVec3* b) { return dot(a, b); }
float mathVec4_Dot(const mathVec4* a, const mathVec4* b) { return dot(a, b); }

float mathVec2_Length(const mathVec2* v) { return length(v); }
float mathVec3_Length(const mathVec3* v) { return length(v); }
float mathVec4_Length(const mathVec4* v) { return length(v); }

float mathVec2_Distance(const mathVec2* a, const mathVec2* b) { return distance(a, b); }
float mathVec3_Distance(const mathVec3* a, const mathVec3* b) { return distance(a, b); }

float mathVec2_NormalizeCopy(mathVec2* out, const mathVec2* in) { return normalizeCopy(out, in); }
float mathVec3_NormalizeCopy(mathVec3* out, const mathVec3* in) { return normalizeCopy(out, in); }
float mathVec4_NormalizeCopy(mathVec4* out, const mathVec4* in) { return normalizeCopy(out, in); }

float mathVec2_Normalize(mathVec2* v) { return normalize(v); }
float mathVec3_Normalize(mathVec3* v) { return normalize(v); }
float mathVec4_Normalize(mathVec4* v) { return normalize(v); }

void mathVec2_ScaleCopy(mathVec2* out, const mathVec2* in, float s) { scaleCopy(out, in, s); }
void mathVec3_ScaleCopy(mathVec3* out, const mathVec3* in, float s) { scaleCopy(out, in, s); }
void mathVec4_ScaleCopy(mathVec4* out, const mathVec4* in, float s) { scaleCopy(out, in, s); }

mathVec2* mathVec2_Scale(mathVec2* v, float s) { scaleCopy(v, v, s); return v; }
mathVec3* mathVec3_Scale(mathVec3* v, float s) { scaleCopy(v, v, s); return v; }
mathVec4* mathVec4_Scale(mathVec4* v, float s) { scaleCopy(v, v, s); return v; }

void mathVec2_DivideCopy(mathVec2* out, const mathVec2* in, float s) { divideCopy(out, in, s); }
void mathVec3_DivideCopy(mathVec3* out, const mathVec3* in, float s) { divideCopy(out, in, s); }
void mathVec4_DivideCopy(mathVec4* out, const mathVec4* in, float s) { divideCopy(out, in, s); }

mathVec2* mathVec2_Divide(mathVec2* v, float s) { divideCopy(v, v, s); return v; }
mathVec3* mathVec3_Divide(mathVec3* v, float s) { divideCopy(v, v, s); return v; }
mathVec4* mathVec4_Divide(mathVec4* v, float s) { divideCopy(v, v, s); return v; }

void mathVec3_Cross(mathVec3* out, const mathVec3* a, const mathVec3* b)
{
    out->x = a->y * b->z - a->z * b->y;
    out->y = a->z * b->x - a->x * b->z;
    out->z = a->x * b->y - a->y * b->x;
}

mathVec3* mathVec3_CrossWith(mathVec3* a, const mathVec3* b)
{
    const mathVec3 copyA = *a;
    const mathVec3 copyB = *b;
    mathVec3_Cross(a, &copyA, &copyB);
    return a;
}

void mathVec3_ToAngles(const mathVec3* d, mathAngles* angles)
{
    angles->x = mathAngle_ArcSin7(d->z);
    angles->y = 0.0f;
    angles->z = mathAngle_ArcTan2_9(d->y, d->x);
}

void mathVec3_TriangleNormal(const mathVec3* a, const mathVec3* b, const mathVec3* c, mathVec3* out)
{
    mathVec3 ab, ac;
    sub(&ab, b, a);
    sub(&ac, c, a);
    mathVec3_Cross(out, &ab, &ac);
    mathVec3_Normalize(out);
}

void mathVec2_RandomUnit(mathVec2* out) { randomUnit(out); }
void mathVec3_RandomUnit(mathVec3* out) { randomUnit(out); }

void mathVec3_TransformByRotation(mathVec3* out, const mathVec3* v, const mathFrame* frame)
{
    const float* m = frame->m;
    out->x = v->x * m[0] + v->y * m[3] + v->z * m[6];
    out->y = v->x * m[1] + v->y * m[4] + v->z * m[7];
    out->z = v->x * m[2] + v->y * m[5] + v->z * m[8];
}

void mathVec3_InverseRotate(mathVec3* out, const mathVec3* v, const mathFrame* frame)
{
    const float* m = frame->m;
    out->x = m[0] * v->x + m[1] * v->y + m[2] * v->z;
    out->y = m[3] * v->x + m[4] * v->y + m[5] * v->z;
    out->z = m[6] * v->x + m[7] * v->y + m[8] * v->z;
}

void mathVec3_TransformInPlace(mathVec3* v, const mathFrame* frame)
{
    const mathVec3 in = *v;
    mathVec3_TransformByRotation(v, &in, frame);
}

void mathVec4_TransformPoint(mathVec4* out, const mathVec3* p, const mathMatrix* matrix)
{
    const float* m = matrix->m;
    float* o = comp(out);
    for (int j = 0; j < 4; ++j)
        o[j] = p->x * m[j] + p->y * m[4 + j] + p->z * m[8 + j] + m[12 + j];
}

void mathVec4_Transform(mathVec4* v, const mathMatrix* matrix)
{
    const mathVec4 in = *v;
    const float* m = matrix->m;
    float* o = comp(v);
    for (int j = 0; j < 4; ++j)
        o[j] = in.x * m[j] + in.y * m[4 + j] + in.z * m[8 + j] + in.w * m[12 + j];
}

void mathVec4_TransformPointInPlace(mathVec4* v, const mathMatrix* matrix)
{
    const mathVec3 p = {v->x, v->y, v->z};
    mathVec4_TransformPoint(v, &p, matrix);
}
