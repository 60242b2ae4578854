#pragma once
#include <cstdint>

int stdBits_Count(uint32_t value);
