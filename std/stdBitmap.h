// The std library's bitmaps: a named cache of reference-counted bitmaps loaded from TGA
// files, the TGA reader and its conversion into the pixel formats, solid and duplicated
// bitmaps, and rectangle copies between bitmaps.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"
#include "stdFile.h"

struct stdHash;

struct TgaHeader {
    uint8_t idLength;
    uint8_t colorMapType;
    uint8_t imageType;
    uint16_t colorMapOrigin;
    uint16_t colorMapLength;
    uint8_t colorMapEntrySize;
    uint16_t xOrigin;
    uint16_t yOrigin;
    uint16_t width;
    uint16_t height;
    uint8_t pixelDepth;
    uint8_t imageDescriptor;
};

enum {
    TGA_HEADER_SIZE = 18,
    TGA_TYPE_TRUECOLOR = 2,
    TGA_TOP_ORIGIN = 0x20,
};

stdHash* stdBitmap_Startup();
void stdBitmap_Shutdown();
int stdBitmap_GetLiveCount();
Bitmap* stdBitmap_Find(const char* name);
Bitmap* stdBitmap_Load(const char* name, uint32_t format, int type);
int stdBitmap_Release(Bitmap* bitmap);
Bitmap* stdBitmap_CreateSolid(int width, int height, int red, int green, int blue, int alpha,
                              uint32_t format);
Bitmap* stdBitmap_Duplicate(const Bitmap* bitmap);

// Pixel bytes of an image, or 0 when they would not fit a block of memory.
uint32_t stdBitmap_PixelBytes(uint32_t width, uint32_t height, uint32_t format);
int stdBitmap_ReadTgaHeader(TgaHeader* header, stdFileHandle file);
int stdBitmap_WriteTgaHeader(const TgaHeader* header, stdFileHandle file);
int stdBitmap_SkipToPixels(const TgaHeader* header, stdFileHandle file);
// 1 when the file, from where it stands, holds every pixel the header claims, in a depth the
// reader converts (24 or 32): asked before any block is allocated for the pixels.
int stdBitmap_HoldsPixels(const TgaHeader* header, stdFileHandle file);
int stdBitmap_ReadPixels(stdFileHandle file, uint8_t* pixels, const TgaHeader* header,
                         uint32_t format);
int stdBitmap_HasPartialAlpha(stdFileHandle file);

void stdBitmap_Blit32(Bitmap* dest, int destX, int destY, int width, int height,
                      const Bitmap* source, int sourceX, int sourceY);
void stdBitmap_Blit16(Bitmap* dest, int destX, int destY, int width, int height,
                      const Bitmap* source, int sourceX, int sourceY);
void stdBitmap_BlitClipped(Bitmap* dest, int destX, int destY, int width, int height,
                           const Bitmap* source, int sourceX, int sourceY);
void stdBitmap_BlitClipped16(Bitmap* dest, int destX, int destY, int width, int height,
                             const Bitmap* source, int sourceX, int sourceY);
