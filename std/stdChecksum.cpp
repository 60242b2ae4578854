#include "stdChecksum.h"

uint32_t stdChecksum_Update(const void* data, uint32_t length, uint32_t value)
{
    const uint8_t* bytes = (const uint8_t*)data;
    for (uint32_t i = 0; i < length; i++) value = ((value << 1) | (value >> 31)) ^ bytes[i];
    return value;
}
