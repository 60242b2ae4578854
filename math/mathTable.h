#pragma once

// A quarter turn of sines and tangents; every trigonometric value of the library is read from
// these two tables by linear interpolation (see mathAngle).
constexpr int MATH_TABLE_SIZE = 4096;

extern const float mathSineTable[MATH_TABLE_SIZE];
extern const float mathTanTable[MATH_TABLE_SIZE];
