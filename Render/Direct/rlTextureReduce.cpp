// The 2 x 2 box filter of mip levels, the one the viewer's texture cache reduces with.
#include "rlTexture.h"

#include "bitmapReduce.h"

int rlTexture_Reduce(uint32_t format, const uint8_t* source, int width, int height, uint8_t* dest)
{
    return bitmapFormat_Halve(format, source, width, height, dest);
}
