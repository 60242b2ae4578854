#include "mathVecRotate.h"

#include "mathFrame.h"
#include "mathVec.h"

void mathVec3_RotateByAngles(mathVec3* out, const mathVec3* in, const mathAngles* angles)
{
    mathFrame rotation;
    mathFrame_RotationFromAngles(&rotation, angles);
    mathVec3_TransformByRotation(out, in, &rotation);
}

void mathVec3_RotateZ(mathVec3* out, const mathVec3* in, float angle)
{
    const mathAngles yawOnly = {0.0f, 0.0f, angle};
    mathVec3_RotateByAngles(out, in, &yawOnly);
}

void mathVec3_RotateByAnglesInPlace(mathVec3* v, const mathAngles* angles)
{
    const mathVec3 in = *v;
    mathVec3_RotateByAngles(v, &in, angles);
}
