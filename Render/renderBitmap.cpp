#include "renderBitmap.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bitmapReduce.h"
#include "renderAssert.h"
#include "renderMainRaster.h"
#include "renderSettings.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "stdHash.h"
#include "stdPath.h"

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

// The texture cache.

namespace {

uint32_t bStartup;
stdHash* g_pTable;
renderBitmapStats g_stats;

void CopyName(char* out, const char* name)
{
    size_t length = strnlen(name, sizeof(Bitmap::name) - 1);
    memcpy(out, name, length);
    out[length] = 0;
}

// Halves in place while the image is above the size limit or fewer levels than asked for were
// skipped; returns the number of halvings. The work stays inside the image's own block, so an
// image of any size reduces.
int Reduce(uint8_t* pixels, uint32_t* width, uint32_t* height, uint32_t format,
           uint32_t maxSize, uint32_t skipLevels)
{
    int level = 0;
    while ((*width > maxSize || *height > maxSize || (uint32_t)level < skipLevels) &&
           *width >= 2 && *height >= 2) {
        if (!bitmapFormat_Halve(format, pixels, (int)*width, (int)*height, pixels)) break;
        *width /= 2;
        *height /= 2;
        level++;
    }
    return level;
}

uint32_t PickFormat(const TgaHeader* header, uint32_t textureFlags)
{
    if (header->pixelDepth == 24)
        return (textureFlags & BITMAP_TEX_TRUECOLOR) ? BITMAP_FORMAT_X888 : BITMAP_FORMAT_565;
    if (textureFlags & BITMAP_TEX_TRUECOLOR) return BITMAP_FORMAT_8888;
    return (textureFlags & BITMAP_TEX_ONEBIT_ALPHA) ? BITMAP_FORMAT_1555 : BITMAP_FORMAT_4444;
}

// Reads the pixels of an open TGA file into a new block in the given format; null when the
// image is no uncompressed true-colour image or its pixels are cut short.
uint8_t* ReadImage(stdFileHandle file, TgaHeader* header, uint32_t textureFlags, uint32_t* format)
{
    if (!stdBitmap_ReadTgaHeader(header, file)) return nullptr;
    // A compressed or colour-mapped image read as raw pixels would give garbage.
    if (header->imageType != TGA_TYPE_TRUECOLOR || header->width == 0 || header->height == 0)
        return nullptr;
    // Nothing is allocated for pixels that the file does not hold.
    if (!stdBitmap_SkipToPixels(header, file) || !stdBitmap_HoldsPixels(header, file))
        return nullptr;
    *format = PickFormat(header, textureFlags);
    uint32_t bytes = stdBitmap_PixelBytes(header->width, header->height, *format);
    if (bytes == 0) return nullptr;
    uint8_t* pixels = (uint8_t*)malloc(bytes);
    RENDER_ASSERT_TEXT(pixels, "pData");
    if (!pixels) return nullptr;
    if (!stdBitmap_ReadPixels(file, pixels, header, *format)) {
        free(pixels);
        return nullptr;
    }
    return pixels;
}

void AddInUse(Bitmap* bitmap)
{
    g_stats.numTextures++;
    g_stats.bytesInUse += renderBitmap_ComputeSize(bitmap);
    if (g_stats.bytesInUse > g_stats.peakBytes) g_stats.peakBytes = g_stats.bytesInUse;
}

void HandOver(Bitmap* bitmap)
{
    if (renderMain_IsBound()) renderMain_rasterLib.funcTexture_PreCacheMipMap(bitmap);
}

// Gives the raster handle back, takes the texture out of the table and frees it.
void Destroy(Bitmap* bitmap)
{
    if (bitmap->rasterHandle && renderMain_IsBound()) renderMain_rasterLib.funcTexture_UncacheMipMap(bitmap);
    if (g_pTable && bitmap->name[0] && stdHash_Find(g_pTable, bitmap->name) == bitmap)
        stdHash_Remove(g_pTable, bitmap->name);
    if (bitmap->textureFlags & BITMAP_TEX_LOADED) {
        free(bitmap->pixels);
        g_stats.numTextures--;
        g_stats.bytesInUse -= bitmap->byteSize;
    }
    free(bitmap);
}

}  // namespace

int renderBitmap_Startup()
{
    RENDER_ASSERT(!bStartup);
    if (bStartup) return 1;
    g_pTable = stdHash_Create(RENDERBITMAP_TABLE_SIZE, "renderBitmap");
    if (!g_pTable) return 0;
    memset(&g_stats, 0, sizeof g_stats);
    bStartup = 1;
    return 1;
}

// The textures themselves stay: their owners still hold them.
int renderBitmap_Shutdown()
{
    RENDER_ASSERT(bStartup);
    if (!bStartup) return 0;
    stdHash_Free(g_pTable);
    g_pTable = nullptr;
    bStartup = 0;
    return 1;
}

namespace {
int ReadFrom(Bitmap* bitmap, int resourceType);
}  // namespace

Bitmap* renderBitmap_Load(const char* name, uint8_t loadFlags)
{
    return renderBitmap_LoadFrom(name, loadFlags, STDFILE_TYPE_MATERIAL);
}

Bitmap* renderBitmap_LoadFrom(const char* name, uint8_t loadFlags, int resourceType)
{
    if (!bStartup || !name || !*name) return nullptr;
    char key[sizeof(Bitmap::name)];
    CopyName(key, name);
    if (Bitmap* cached = (Bitmap*)stdHash_Find(g_pTable, key)) {
        // The count is 16 bits: one more would wrap to 0 and free a texture still in use.
        if (cached->refCount == 0xFFFF) return nullptr;
        cached->refCount++;
        return cached;
    }
    Bitmap* bitmap = (Bitmap*)calloc(1, sizeof(Bitmap));
    if (!bitmap) return nullptr;
    bitmap->refCount = 1;
    memcpy(bitmap->name, key, sizeof key);
    if (renderSettings_current.optionFlags & RENDER_OPTION_TRUECOLOR) bitmap->textureFlags |= BITMAP_TEX_TRUECOLOR;
    if (!(loadFlags & RENDERBITMAP_LOAD_FULL_ALPHA)) bitmap->textureFlags |= BITMAP_TEX_ONEBIT_ALPHA;
    if (loadFlags & RENDERBITMAP_LOAD_SINGLE_LEVEL) bitmap->textureFlags |= BITMAP_TEX_SINGLE_LEVEL;
    if (!(loadFlags & RENDERBITMAP_LOAD_DEFERRED) && !ReadFrom(bitmap, resourceType)) {
        free(bitmap);
        return nullptr;
    }
    if (!stdHash_Add(g_pTable, bitmap->name, bitmap)) {
        Destroy(bitmap);
        return nullptr;
    }
    return bitmap;
}

int renderBitmap_Read(Bitmap* bitmap)
{
    return ReadFrom(bitmap, STDFILE_TYPE_MATERIAL);
}

namespace {

int ReadFrom(Bitmap* bitmap, int resourceType)
{
    if (!bitmap) return 0;
    if (bitmap->textureFlags & BITMAP_TEX_LOADED) return 1;
    char path[MAX_PATH];
    CopyName(path, bitmap->name);
    stdPath_SetExtension(path, sizeof path, "TGA");
    stdFileHandle file = stdFile_Open(path, "rb", resourceType);
    if (!file) return 0;
    TgaHeader header;
    uint32_t format = 0;
    uint8_t* pixels = ReadImage(file, &header, bitmap->textureFlags, &format);
    stdFile_Close(file);
    if (!pixels) return 0;

    uint32_t width = header.width, height = header.height;
    if (!(bitmap->textureFlags & BITMAP_TEX_SINGLE_LEVEL) &&
        Reduce(pixels, &width, &height, format, renderSettings_current.maxMipSize,
               renderSettings_current.skipMips) > 0) {
        // The reduced image moves into a block of its own size.
        uint32_t bytes = stdBitmap_PixelBytes(width, height, format);
        uint8_t* exact = (uint8_t*)malloc(bytes);
        if (!exact) {
            free(pixels);
            return 0;
        }
        memcpy(exact, pixels, bytes);
        free(pixels);
        pixels = exact;
    }
    bitmap->pixels = pixels;
    bitmap->levels[0] = pixels;
    bitmap->format = format;
    bitmap->width = (uint16_t)width;
    bitmap->height = (uint16_t)height;
    bitmap->levelCount = 0;
    bitmap->textureFlags |= BITMAP_TEX_LOADED;
    AddInUse(bitmap);
    HandOver(bitmap);
    return 1;
}

}  // namespace

Bitmap* renderBitmap_CreateBlank(int width, int height, uint32_t format)
{
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return nullptr;
    uint32_t bytes = stdBitmap_PixelBytes((uint32_t)width, (uint32_t)height, format);
    if (bytes == 0) return nullptr;
    Bitmap* bitmap = (Bitmap*)calloc(1, sizeof(Bitmap));
    uint8_t* pixels = (uint8_t*)calloc(1, bytes);
    if (!bitmap || !pixels) {
        free(bitmap);
        free(pixels);
        return nullptr;
    }
    bitmap->format = format;
    bitmap->width = (uint16_t)width;
    bitmap->height = (uint16_t)height;
    bitmap->pixels = pixels;
    bitmap->levels[0] = pixels;
    bitmap->textureFlags = BITMAP_TEX_LOADED | BITMAP_TEX_SINGLE_LEVEL;
    bitmap->refCount = 1;
    AddInUse(bitmap);
    return bitmap;
}

int renderBitmap_Cache(Bitmap* bitmap)
{
    if (bitmap) HandOver(bitmap);
    return 1;
}

void renderBitmap_Release(Bitmap* bitmap)
{
    RENDER_ASSERT_TEXT(bitmap, "this");
    if (!bitmap) return;
    RENDER_ASSERT(bitmap->refCount > 0);
    if (bitmap->refCount == 0) return;
    if (--bitmap->refCount == 0) Destroy(bitmap);
}

uint32_t renderBitmap_ComputeSize(Bitmap* bitmap)
{
    RENDER_ASSERT_TEXT(bitmap, "this");
    if (!bitmap) return 0;
    uint32_t size = sizeof(Bitmap);
    uint32_t bytes = bitmapFormat_BytesPerPixel(bitmap->format);
    for (uint32_t i = 0; i <= bitmap->levelCount && i < 4; i++)
        size += (uint32_t)(bitmap->width >> i) * (uint32_t)(bitmap->height >> i) * bytes;
    bitmap->byteSize = size;
    return size;
}

void renderBitmap_Init(Bitmap* bitmap)
{
    if (!bitmap) return;
    memset(bitmap, 0, sizeof *bitmap);
    bitmap->refCount = 1;
}

const renderBitmapStats* renderBitmap_GetStats()
{
    return &g_stats;
}
