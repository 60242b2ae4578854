#include "stdBits.h"

int stdBits_Count(uint32_t value)
{
    int count = 0;
    for (; value; value &= value - 1) count++;
    return count;
}
