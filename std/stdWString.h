// 16-bit strings: their length, and editing in place.
#pragma once
#include <cstdint>

// Characters before the terminator; 0 for null.
int stdWString_Length(const uint16_t* wide);

int stdWString_Delete(uint16_t* text, int position, int count);
void stdWString_Insert(uint16_t* buffer, int capacity, int position, const uint16_t* text);
