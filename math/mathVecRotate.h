// Vectors rotated by Euler angles. They are built on the frame's rotation, so they sit above
// both the vector and the frame functions, which the frame functions use.
#pragma once
#include "mathTypes.h"

// Rotations by Euler angles in the pitch, roll, yaw order (mathFrame_RotationFromAngles).
void mathVec3_RotateByAngles(mathVec3* out, const mathVec3* in, const mathAngles* angles);
void mathVec3_RotateZ(mathVec3* out, const mathVec3* in, float angle);
void mathVec3_RotateByAnglesInPlace(mathVec3* v, const mathAngles* angles);
