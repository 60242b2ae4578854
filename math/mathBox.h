#pragma once
#include "mathTypes.h"

// Grows the box to hold p. The minimum and maximum tests are independent, so a box that starts
// with its minimum at the largest float and its maximum at the smallest takes the first point
// as both.
void mathBox_AddPoint(mathBox* box, const mathVec3* p);
