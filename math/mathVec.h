#pragma once
#include "mathTypes.h"

// Vector operations, destination first. Outputs of the copy-style operations may be the same
// vector as an input except where said. Normalising treats a zero or NaN length as zero and
// leaves the vector as it was; a division by zero follows the float rules.

mathVec2* mathVec2_Set(mathVec2* out, float x, float y);
mathVec3* mathVec3_Set(mathVec3* out, float x, float y, float z);
mathVec4* mathVec4_Set(mathVec4* out, float x, float y, float z, float w);

void mathVec2_Copy(mathVec2* out, const mathVec2* in);
void mathVec3_Copy(mathVec3* out, const mathVec3* in);
void mathVec4_Copy(mathVec4* out, const mathVec4* in);

void mathVec2_NegateCopy(mathVec2* out, const mathVec2* in);
void mathVec3_NegateCopy(mathVec3* out, const mathVec3* in);
void mathVec4_NegateCopy(mathVec4* out, const mathVec4* in);

mathVec2* mathVec2_Negate(mathVec2* v);
mathVec3* mathVec3_Negate(mathVec3* v);
mathVec4* mathVec4_Negate(mathVec4* v);

void mathVec2_Add(mathVec2* out, const mathVec2* a, const mathVec2* b);
void mathVec3_Add(mathVec3* out, const mathVec3* a, const mathVec3* b);
void mathVec4_Add(mathVec4* out, const mathVec4* a, const mathVec4* b);

mathVec2* mathVec2_AddTo(mathVec2* a, const mathVec2* b);
mathVec3* mathVec3_AddTo(mathVec3* a, const mathVec3* b);
mathVec4* mathVec4_AddTo(mathVec4* a, const mathVec4* b);

void mathVec2_Sub(mathVec2* out, const mathVec2* a, const mathVec2* b);
void mathVec3_Sub(mathVec3* out, const mathVec3* a, const mathVec3* b);
void mathVec4_Sub(mathVec4* out, const mathVec4* a, const mathVec4* b);

mathVec2* mathVec2_SubFrom(mathVec2* a, const mathVec2* b);
mathVec3* mathVec3_SubFrom(mathVec3* a, const mathVec3* b);
mathVec4* mathVec4_SubFrom(mathVec4* a, const mathVec4* b);

float mathVec2_Dot(const mathVec2* a, const mathVec2* b);
float mathVec3_Dot(const mathVec3* a, const mathVec3* b);
float mathVec4_Dot(const mathVec4* a, const mathVec4* b);

float mathVec2_Length(const mathVec2* v);
float mathVec3_Length(const mathVec3* v);
float mathVec4_Length(const mathVec4* v);

// The length of b - a.
float mathVec2_Distance(const mathVec2* a, const mathVec2* b);
float mathVec3_Distance(const mathVec3* a, const mathVec3* b);

// Return the length L of the input; out = in / L (a zero length copies in unchanged).
float mathVec2_NormalizeCopy(mathVec2* out, const mathVec2* in);
float mathVec3_NormalizeCopy(mathVec3* out, const mathVec3* in);
float mathVec4_NormalizeCopy(mathVec4* out, const mathVec4* in);

// Return the former length L; v = v / L (a zero length leaves v unchanged). The 3- and
// 4-component forms multiply by 1 / L.
float mathVec2_Normalize(mathVec2* v);
float mathVec3_Normalize(mathVec3* v);
float mathVec4_Normalize(mathVec4* v);

void mathVec2_ScaleCopy(mathVec2* out, const mathVec2* in, float s);
void mathVec3_ScaleCopy(mathVec3* out, const mathVec3* in, float s);
void mathVec4_ScaleCopy(mathVec4* out, const mathVec4* in, float s);

mathVec2* mathVec2_Scale(mathVec2* v, float s);
mathVec3* mathVec3_Scale(mathVec3* v, float s);
mathVec4* mathVec4_Scale(mathVec4* v, float s);

// in / s; the 3- and 4-component forms multiply by 1 / s.
void mathVec2_DivideCopy(mathVec2* out, const mathVec2* in, float s);
void mathVec3_DivideCopy(mathVec3* out, const mathVec3* in, float s);
void mathVec4_DivideCopy(mathVec4* out, const mathVec4* in, float s);

mathVec2* mathVec2_Divide(mathVec2* v, float s);
mathVec3* mathVec3_Divide(mathVec3* v, float s);
mathVec4* mathVec4_Divide(mathVec4* v, float s);

// out = a x b (right-handed); out must differ from a and b.
void mathVec3_Cross(mathVec3* out, const mathVec3* a, const mathVec3* b);
// a = a x b, from copies, so b may be a; returns a.
mathVec3* mathVec3_CrossWith(mathVec3* a, const mathVec3* b);

// Pitch and yaw of the unit direction d, roll 0: the angles whose mathFrame_FromAngles has d
// as its forward row.
void mathVec3_ToAngles(const mathVec3* d, mathAngles* angles);

// (b - a) x (c - a), normalised unless its length is zero.
void mathVec3_TriangleNormal(const mathVec3* a, const mathVec3* b, const mathVec3* c, mathVec3* out);

// A uniformly distributed random direction drawn with rand().
void mathVec2_RandomUnit(mathVec2* out);
void mathVec3_RandomUnit(mathVec3* out);

// Transforms by a frame's rotation (no translation); out must differ from v.
void mathVec3_TransformByRotation(mathVec3* out, const mathVec3* v, const mathFrame* frame);
// out = v * transpose(R): the rotation undone for a rigid frame.
void mathVec3_InverseRotate(mathVec3* out, const mathVec3* v, const mathFrame* frame);
void mathVec3_TransformInPlace(mathVec3* v, const mathFrame* frame);

// out = (p, 1) * M, all four components, no division; out must not overlap p.
void mathVec4_TransformPoint(mathVec4* out, const mathVec3* p, const mathMatrix* matrix);
// v = v * M.
void mathVec4_Transform(mathVec4* v, const mathMatrix* matrix);
// v = (x, y, z, 1) * M; the stored w is not read.
void mathVec4_TransformPointInPlace(mathVec4* v, const mathMatrix* matrix);
