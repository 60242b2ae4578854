#pragma once
#include "mathTypes.h"

// 4 x 4 row-major matrices applied to row vectors; the translation lies in row 3. Products are
// named like the frame products ("b then a" passes a point through b first). Unless said
// otherwise an output must not overlap an input.

// Rows 0 to 2 the FA rotation (roll, then pitch, then yaw) with 0 appended; row 3 (position, 1).
void mathMatrix_FromAngles(mathMatrix* out, const mathAngles* angles, const mathVec3* position);
void mathMatrix_RotationFromAngles(mathMatrix* out, const mathAngles* angles);

void mathMatrix_Identity(mathMatrix* out);
void mathMatrix_Copy(mathMatrix* out, const mathMatrix* in);
void mathMatrix_Translation(mathMatrix* out, const mathVec3* offset);
void mathMatrix_Scaling(mathMatrix* out, const mathVec3* scale);
void mathMatrix_FromFrame(mathMatrix* out, const mathFrame* frame);
// out may be in.
void mathMatrix_Transpose(mathMatrix* out, const mathMatrix* in);

// Inverse of a rigid frame as a matrix with column 3 = (0, 0, 0, 1).
void mathMatrix_InvertFrame(mathMatrix* out, const mathFrame* in);
// out = b then a, all 16 elements.
void mathMatrix_MultiplyGeneral(mathMatrix* out, const mathMatrix* a, const mathMatrix* b);
// out = b then a, the frame taken as its 4 x 4 matrix (view frame then projection).
void mathMatrix_MultiplyFrame(mathMatrix* out, const mathMatrix* a, const mathFrame* b);
// m = b then m; m = m then b. b must not be m.
void mathMatrix_MultiplyPre(mathMatrix* m, const mathMatrix* b);
void mathMatrix_MultiplyPost(mathMatrix* m, const mathMatrix* b);
// The FA order, unlike the frame rotate operations.
void mathMatrix_RotatePre(mathMatrix* m, const mathAngles* angles);
void mathMatrix_RotatePost(mathMatrix* m, const mathAngles* angles);
// The offset taken in m's own axes.
void mathMatrix_TranslatePre(mathMatrix* m, const mathVec3* offset);
// The offset added to the translation row; returns m.
mathMatrix* mathMatrix_Translate(mathMatrix* m, const mathVec3* offset);
void mathMatrix_ScalePre(mathMatrix* m, const mathVec3* scale);
void mathMatrix_ScalePost(mathMatrix* m, const mathVec3* scale);

void mathMatrix_SetRow(mathMatrix* matrix, int row, const mathVec4* v);
// The first three floats of the row.
void mathMatrix_GetRow(const mathMatrix* matrix, int row, mathVec3* v);

// out[k] = in[k] * (upper 3 x 3) + (m[12], m[13], m[14]); no w, no division.
void mathMatrix_TransformPoints(const mathMatrix* matrix, const mathVec3* in, mathVec3* out, int count);
