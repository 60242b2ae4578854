#pragma once
#include <cstdint>

// Running checksum: per byte, rotate the value left by one bit, then exclusive-or the byte.
uint32_t stdChecksum_Update(const void* data, uint32_t length, uint32_t value);
