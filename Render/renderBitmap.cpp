#include "renderBitmap.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "stdBitmap.h"
#include "stdFile.h"

namespace {

const int kChunkPixels = 2048;
uint8_t g_row[kChunkPixels * 4];

uint8_t Widen5(uint32_t c) { return (uint8_t)((c << 3) | (c >> 2)); }
uint8_t Widen6(uint32_t c) { return (uint8_t)((c << 2) | (c >> 4)); }
uint8_t Widen4(uint32_t c) { return (uint8_t)((c << 4) | c); }

// One pixel as blue, green, red and, at depth 32, alpha.
void ExpandPixel(uint8_t* out, uint32_t p, uint32_t format)
{
    switch (format) {
    case BITMAP_FORMAT_565:
        out[0] = Widen5(p & 0x1F), out[1] = Widen6((p >> 5) & 0x3F), out[2] = Widen5(p >> 11);
        break;
    case BITMAP_FORMAT_4444:
        out[0] = Widen4(p & 0xF), out[1] = Widen4((p >> 4) & 0xF);
        out[2] = Widen4((p >> 8) & 0xF), out[3] = Widen4(p >> 12);
        break;
    default:  // BITMAP_FORMAT_1555
        out[0] = Widen5(p & 0x1F), out[1] = Widen5((p >> 5) & 0x1F);
        out[2] = Widen5((p >> 10) & 0x1F), out[3] = (p & 0x8000) ? 255 : 0;
        break;
    }
}

int WritePixels(const Bitmap* bitmap, int outBytes, stdFileHandle file)
{
    uint32_t count = (uint32_t)bitmap->width * bitmap->height;
    const uint8_t* in = bitmap->pixels;
    for (uint32_t done = 0; done < count;) {
        uint32_t n = count - done < (uint32_t)kChunkPixels ? count - done : (uint32_t)kChunkPixels;
        for (uint32_t i = 0; i < n; i++, done++) {
            uint32_t p = (uint32_t)(in[done * 2] | in[done * 2 + 1] << 8);
            ExpandPixel(g_row + i * outBytes, p, bitmap->format);
        }
        if (stdFile_Write(g_row, (uint32_t)outBytes, n, file) != n) return 0;
    }
    return 1;
}

}  // namespace

// Writes the image to a temporary file first and puts it in place only when it is complete,
// so that a failed save never destroys an older file of the same name.
int renderBitmap_SaveTga(const Bitmap* bitmap, const char* fileName)
{
    if (!bitmap || !fileName || strlen(fileName) >= 254) return 0;
    int depth;
    if (bitmap->format == BITMAP_FORMAT_565) depth = 24;
    else if (bitmap->format == BITMAP_FORMAT_4444 || bitmap->format == BITMAP_FORMAT_1555) depth = 32;
    else return 0;

    char path[MAX_PATH], temporary[MAX_PATH];
    snprintf(path, sizeof path, "%s.tga", fileName);
    snprintf(temporary, sizeof temporary, "%s.tga.tmp", fileName);
    stdFileHandle file = stdFile_OpenPath(temporary, "wb");
    if (!file) return 0;
    TgaHeader header = {};
    header.imageType = TGA_TYPE_TRUECOLOR;
    header.width = bitmap->width;
    header.height = bitmap->height;
    header.pixelDepth = (uint8_t)depth;
    int ok = stdBitmap_WriteTgaHeader(&header, file) && WritePixels(bitmap, depth / 8, file);
    stdFile_Close(file);
    if (ok) ok = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileA(temporary);
    return ok;
}

void renderBitmap_Blit(Bitmap* dest, int destX, int destY, int width, int height,
                       const Bitmap* source, int sourceX, int sourceY)
{
    if (!dest) return;
    if (dest->format == BITMAP_FORMAT_8888 || dest->format == BITMAP_FORMAT_X888)
        stdBitmap_Blit32(dest, destX, destY, width, height, source, sourceX, sourceY);
    else
        stdBitmap_Blit16(dest, destX, destY, width, height, source, sourceX, sourceY);
}
