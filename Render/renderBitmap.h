// The render front-end's bitmaps: the texture cache, which loads named TGA images from the
// material folders, reduces them to the size limits of the render settings and hands them to
// the raster library; blank textures for drawn text; TGA saving and rectangle copies that pick
// the copy for the destination's pixel size.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"

// Load flags of renderBitmap_Load.
enum : uint8_t {
    RENDERBITMAP_LOAD_DEFERRED = 0x1,     // register the name; renderBitmap_Read reads on first use
    RENDERBITMAP_LOAD_FULL_ALPHA = 0x2,   // images with alpha keep 4-bit alpha (format 1)
    RENDERBITMAP_LOAD_SINGLE_LEVEL = 0x4, // no size reduction, no mip levels
};

enum { RENDERBITMAP_TABLE_SIZE = 1024 };

struct renderBitmapStats {
    uint32_t numTextures;   // textures holding pixels
    uint32_t bytesInUse;    // sum of their byte sizes
    uint32_t peakBytes;
};

int renderBitmap_Startup();
int renderBitmap_Shutdown();
// The texture of this name with one more reference, else a new one read from the material
// folders; null when it cannot be read.
Bitmap* renderBitmap_Load(const char* name, uint8_t loadFlags);
// The same with a new texture read from the folders of the file layer's resource type (the UI
// resources read theirs from the UI folders). A deferred load reads from the material folders.
Bitmap* renderBitmap_LoadFrom(const char* name, uint8_t loadFlags, int resourceType);
// Reads, reduces and hands a texture to the raster library; 1 at once when already loaded.
int renderBitmap_Read(Bitmap* bitmap);
// An unnamed zeroed single-level texture in no table, not handed over until renderBitmap_Cache.
Bitmap* renderBitmap_CreateBlank(int width, int height, uint32_t format);
int renderBitmap_Cache(Bitmap* bitmap);
// Drops one reference; the last one gives the raster handle back and frees the texture.
void renderBitmap_Release(Bitmap* bitmap);
uint32_t renderBitmap_ComputeSize(Bitmap* bitmap);
void renderBitmap_Init(Bitmap* bitmap);
const renderBitmapStats* renderBitmap_GetStats();

int renderBitmap_SaveTga(const Bitmap* bitmap, const char* fileName);
void renderBitmap_Blit(Bitmap* dest, int destX, int destY, int width, int height,
                       const Bitmap* source, int sourceX, int sourceY);
