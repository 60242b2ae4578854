// Editing of 16-bit strings in place.
#pragma once
#include <cstdint>

int stdWString_Delete(uint16_t* text, int position, int count);
void stdWString_Insert(uint16_t* buffer, int capacity, int position, const uint16_t* text);
