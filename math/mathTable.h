#pragma once
// A quarter turn of sines and tangents; every trigonometric value of the library is read from
// these two tables by linear interpolation (see mathAngle). They lie in one block, the tangents
// directly after the sines.
constexpr int MATH_TABLE_SIZE = 4096;
extern const float mathTable_aTrig[2][MATH_TABLE_SIZE];
inline constexpr const float (&mathSineTable)[MATH_TABLE_SIZE] = mathTable_aTrig[0];
inline constexpr const float (&mathTanTable)[MATH_TABLE_SIZE] = mathTable_aTrig[1];
