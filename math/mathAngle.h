#pragma once
#include "mathTypes.h"

// Angles in degrees. A NaN or infinite angle has no place on the circle: the wraps give NaN for
// it, and the table readers give NaN without touching a table.

// The angle in [0, 360).
float mathAngle_Wrap360(float degrees);
// The angle in (-180, 180].
float mathAngle_Wrap180(float degrees);
// Each of the three angles into [-180, 180]; angles already there (-180 and 180 included) stay.
void mathAngles_Wrap180(mathAngles* angles);
// The turn from a to b, in [-180, 180].
float mathAngle_Difference(float a, float b);

// Sine and cosine interpolated in mathSineTable; largest error about 0.00038.
void mathAngle_SinCos(float degrees, float* sine, float* cosine);
// Tangent interpolated in mathTanTable.
float mathAngle_Tan(float degrees);

// Arcsine in degrees of x in [-1, 1]; largest errors 0.18, 0.041 and 0.012 degrees. A value
// beyond, as a unit vector's component may be by a rounding step, counts as +-1, never NaN.
float mathAngle_ArcSin3(float x);
float mathAngle_ArcSin5(float x);
float mathAngle_ArcSin7(float x);

// -atan2(b, a) in degrees, in [-180, 180]; (0, 0) gives 0. With a direction's y as a and its x
// as b this is its yaw. Largest errors 0.67, 0.29, 0.16 and 0.095 degrees.
float mathAngle_ArcTan2_3(float a, float b);
float mathAngle_ArcTan2_5(float a, float b);
float mathAngle_ArcTan2_7(float a, float b);
float mathAngle_ArcTan2_9(float a, float b);
