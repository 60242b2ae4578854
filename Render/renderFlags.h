// The render flags word, mirrored into the raster library whenever it changes.
#pragma once
#include <cstdint>

void renderFlags_Set(uint32_t bits);
void renderFlags_Clear(uint32_t bits);
void renderFlags_Toggle(uint32_t bits);
uint32_t renderFlags_Get();
