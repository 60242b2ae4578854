#pragma once
#include "mathTypes.h"

// 3 x 4 frames: rotation rows (right, forward, up) then the translation; p' = p * R + t.
// Products are named by what their destination becomes: "b then a" passes a point through b
// first. Unless said otherwise an output must not overlap an input.
//
// Three rotation orders exist, all from the table sine:
//   FA  (FromAngles, InverseFromAngles, the matrix builders): roll, then pitch, then yaw;
//   XYZ (RotationFromAngles, RotatePre/Post, the vector rotations): pitch, then roll, then yaw;
//   ZXY (RotationFromAnglesZXY): yaw, then pitch, then roll.

void mathFrame_FromAngles(mathFrame* out, const mathAngles* angles, const mathVec3* position);
void mathFrame_RotationFromAngles(mathFrame* out, const mathAngles* angles);
void mathFrame_RotationFromAnglesZXY(mathFrame* out, const mathAngles* angles);
// The transposed FA rotation with translation -position (not rotated).
void mathFrame_InverseFromAngles(mathFrame* out, const mathAngles* angles, const mathVec3* position);
// Forward row = direction (not normalised), the others built around it; no translation.
void mathFrame_FromDirection(mathFrame* out, const mathVec3* direction);
// Rotation by the angle about a unit axis, counter-clockwise looking down the axis.
void mathFrame_FromAxisAngle(mathFrame* out, const mathVec3* axis, float angle);
// Looks from eye to target, turned by roll about the line of sight; eye == target leaves the
// frame as it was.
void mathFrame_LookAt(mathFrame* frame, const mathVec3* eye, const mathVec3* target, float roll);
// The FA angles of the frame's rotation, pitch in [-90, 90].
void mathFrame_ToAngles(const mathFrame* frame, mathAngles* angles);
void mathFrame_Orthonormalize(mathFrame* frame);

void mathFrame_Identity(mathFrame* out);
void mathFrame_Copy(mathFrame* out, const mathFrame* in);
void mathFrame_Translation(mathFrame* out, const mathVec3* offset);
void mathFrame_Scaling(mathFrame* out, const mathVec3* scale);
// The first three elements of each row of the matrix.
void mathFrame_FromMatrix(mathFrame* out, const mathMatrix* matrix);

// Inverse of a rigid frame.
void mathFrame_Invert(mathFrame* out, const mathFrame* in);
// out = b then a.
void mathFrame_Multiply(mathFrame* out, const mathFrame* a, const mathFrame* b);
// m = b then m; m = m then b. b must not be m.
void mathFrame_MultiplyPre(mathFrame* m, const mathFrame* b);
void mathFrame_MultiplyPost(mathFrame* m, const mathFrame* b);
void mathFrame_RotatePre(mathFrame* m, const mathAngles* angles);
void mathFrame_RotatePost(mathFrame* m, const mathAngles* angles);
// The offset taken in m's own axes.
void mathFrame_TranslatePre(mathFrame* m, const mathVec3* offset);
// The offset added to the translation, in parent axes; returns m.
mathFrame* mathFrame_Translate(mathFrame* m, const mathVec3* offset);
void mathFrame_ScalePre(mathFrame* m, const mathVec3* scale);
void mathFrame_ScalePost(mathFrame* m, const mathVec3* scale);

// Row 0 to 2 of the rotation, or 3 for the translation.
void mathFrame_SetRow(mathFrame* frame, int row, const mathVec3* v);
void mathFrame_GetRow(const mathFrame* frame, int row, mathVec3* v);

// out[k] = in[k] * R + t for count points.
void mathFrame_TransformPoints(const mathFrame* frame, const mathVec3* in, mathVec3* out, int count);
