#pragma once
#include <cstddef>
#include <cstdint>

// The math library's records: plain arrays of 32-bit floats (or integers) with no header.
// The world is right-handed, X right, Y forward, Z up. Points are row vectors: a frame maps
// p to p * R + t, a matrix maps (x, y, z, w) to (x, y, z, w) * M.

struct mathVec2 { float x, y; };
struct mathVec3 { float x, y, z; };
struct mathVec4 { float x, y, z, w; };

// Euler angles in degrees: x is the pitch about X, y the roll about Y, z the yaw about Z.
typedef mathVec3 mathAngles;

// Rotation rows 0 to 2 (the frame's right, forward and up axes) in m[0..8], translation in m[9..11].
struct mathFrame { float m[12]; };

// Row-major 4 x 4; the translation lies in row 3 (m[12], m[13], m[14]).
struct mathMatrix { float m[16]; };

// Both edges inclusive.
struct mathRect { int32_t minX, minY, maxX, maxY; };

struct mathBox { mathVec3 vMin, vMax; };

// Frames, matrices and vectors are stored inside model files and shared with the raster library.
static_assert(sizeof(mathVec2) == 8 && sizeof(mathVec3) == 12 && sizeof(mathVec4) == 16);
static_assert(sizeof(mathFrame) == 48 && sizeof(mathMatrix) == 64);
static_assert(sizeof(mathRect) == 16 && sizeof(mathBox) == 24);
static_assert(offsetof(mathRect, maxX) == 8 && offsetof(mathBox, vMax) == 12);
