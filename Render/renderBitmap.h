// The render front-end's bitmap operations: TGA saving and rectangle copies that pick the
// copy for the destination's pixel size.
#pragma once
#include "bitmapRecord.h"

int renderBitmap_SaveTga(const Bitmap* bitmap, const char* fileName);
void renderBitmap_Blit(Bitmap* dest, int destX, int destY, int width, int height,
                       const Bitmap* source, int sourceX, int sourceY);
