#include "mathBox.h"

namespace {

void addAxis(float* lo, float* hi, float v)
{
    if (!(v >= *lo)) *lo = v;
    if (v > *hi) *hi = v;
}

} // namespace

void mathBox_AddPoint(mathBox* box, const mathVec3* p)
{
    addAxis(&box->vMin.x, &box->vMax.x, p->x);
    addAxis(&box->vMin.y, &box->vMax.y, p->y);
    addAxis(&box->vMin.z, &box->vMax.z, p->z);
}
