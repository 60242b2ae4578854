// The bitmap record shared by the viewer and the raster library. The raster library reads it
// when it uploads a texture and writes its raster handle back, so the layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

// Pixel formats; rows are packed and kept bottom-up.
enum : uint32_t {
    BITMAP_FORMAT_565 = 0,       // 16-bit: red 11-15, green 5-10, blue 0-4
    BITMAP_FORMAT_4444 = 1,      // 16-bit: alpha 12-15, red 8-11, green 4-7, blue 0-3
    BITMAP_FORMAT_1555 = 2,      // 16-bit: alpha 15, red 10-14, green 5-9, blue 0-4
    BITMAP_FORMAT_8A = 3,        // 8-bit
    BITMAP_FORMAT_8B = 4,        // 8-bit
    BITMAP_FORMAT_8888 = 5,      // 32-bit: bytes blue, green, red, alpha
    BITMAP_FORMAT_X888 = 6,      // 32-bit: bytes blue, green, red, 255
};

// headerFlags
enum : uint32_t { BITMAP_STANDALONE = 0x1 };

// textureFlags
enum : uint32_t {
    BITMAP_TEX_LOADED = 0x4,
    BITMAP_TEX_ONEBIT_ALPHA = 0x8,
    BITMAP_TEX_TRUECOLOR = 0x10,
    BITMAP_TEX_SINGLE_LEVEL = 0x20,
};

struct Bitmap {
    // The bitmap header: a std bitmap is this header directly followed by its pixel rows.
    char name[32];
    uint16_t refCount;
    uint32_t headerFlags;
    uint32_t format;
    uint16_t width;
    uint16_t height;
    uint8_t* pixels;
    // Texture bitmaps only.
    uint32_t rasterHandle;
    uint32_t textureFlags;
    uint8_t* levels[4];
    uint8_t levelCount;
    uint32_t byteSize;
};

#define BITMAP_HEADER_SIZE offsetof(Bitmap, rasterHandle)

static_assert(offsetof(Bitmap, name) == 0);
static_assert(offsetof(Bitmap, refCount) == 32);
static_assert(offsetof(Bitmap, headerFlags) == 36);
static_assert(offsetof(Bitmap, format) == 40);
static_assert(offsetof(Bitmap, width) == 44);
static_assert(offsetof(Bitmap, height) == 46);
static_assert(offsetof(Bitmap, pixels) == 48);
static_assert(BITMAP_HEADER_SIZE == 52);
static_assert(offsetof(Bitmap, textureFlags) == 56);
static_assert(offsetof(Bitmap, levels) == 60);
static_assert(offsetof(Bitmap, levelCount) == 76);
static_assert(offsetof(Bitmap, byteSize) == 80);
static_assert(sizeof(Bitmap) == 84);

// Bytes per pixel of a format; unknown formats count as 2.
inline uint32_t bitmapFormat_BytesPerPixel(uint32_t format)
{
    switch (format) {
    case BITMAP_FORMAT_8A:
    case BITMAP_FORMAT_8B: return 1;
    case BITMAP_FORMAT_8888:
    case BITMAP_FORMAT_X888: return 4;
    default: return 2;
    }
}
