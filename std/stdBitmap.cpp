#include "stdBitmap.h"

#include <cstdlib>
#include <cstring>

#include "stdHash.h"

namespace {

stdHash* g_pHash;
int g_liveCount;

// A pixel block must stay well inside the 32-bit address space.
const uint64_t kMaxPixelBytes = 0x40000000;
const int kChunkPixels = 2048;
uint8_t g_chunk[kChunkPixels * 4];

void CopyName(char* out, const char* name)
{
    size_t length = name ? strnlen(name, 31) : 0;
    if (length) memcpy(out, name, length);  // a null name is no source, not even for 0 bytes
    out[length] = 0;
}

int IsConvertible(uint32_t format)
{
    return format == BITMAP_FORMAT_565 || format == BITMAP_FORMAT_4444 ||
           format == BITMAP_FORMAT_1555 || format == BITMAP_FORMAT_8888 ||
           format == BITMAP_FORMAT_X888;
}

int SourceBytes(const TgaHeader* header)
{
    return header->pixelDepth == 24 ? 3 : 4;
}

// Allocates a std bitmap: the header directly followed by its pixels.
Bitmap* NewBitmap(uint32_t width, uint32_t height, uint32_t format)
{
    if (width > 0xFFFF || height > 0xFFFF) return nullptr;
    uint32_t bytes = stdBitmap_PixelBytes(width, height, format);
    if (bytes == 0 && width && height) return nullptr;
    Bitmap* bitmap = (Bitmap*)calloc(1, BITMAP_HEADER_SIZE + bytes);
    if (!bitmap) return nullptr;
    bitmap->refCount = 1;
    bitmap->format = format;
    bitmap->width = (uint16_t)width;
    bitmap->height = (uint16_t)height;
    bitmap->pixels = (uint8_t*)bitmap + BITMAP_HEADER_SIZE;
    g_liveCount++;
    return bitmap;
}

void FreeBitmap(Bitmap* bitmap)
{
    free(bitmap);
    g_liveCount--;
}

void Store16(uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

void ConvertPixel(uint8_t* out, const uint8_t* in, int hasAlpha, uint32_t format)
{
    uint32_t b = in[0], g = in[1], r = in[2], a = hasAlpha ? in[3] : 255;
    switch (format) {
    case BITMAP_FORMAT_565:
        Store16(out, (r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
        break;
    case BITMAP_FORMAT_4444:
        Store16(out, (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4);
        break;
    case BITMAP_FORMAT_1555:
        Store16(out, (a >= 128 ? 0x8000u : 0u) | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
        break;
    case BITMAP_FORMAT_8888:
        out[0] = (uint8_t)b, out[1] = (uint8_t)g, out[2] = (uint8_t)r, out[3] = (uint8_t)a;
        break;
    default:  // BITMAP_FORMAT_X888
        out[0] = (uint8_t)b, out[1] = (uint8_t)g, out[2] = (uint8_t)r, out[3] = 255;
        break;
    }
}

struct ClipRect {
    int destX, destY, sourceX, sourceY, width, height;
};

// Clips a copy to both bitmaps; 0 when nothing is left to copy.
int Clip(ClipRect* c, const Bitmap* dest, const Bitmap* source)
{
    if (c->destX < 0) c->sourceX -= c->destX, c->width += c->destX, c->destX = 0;
    if (c->destY < 0) c->sourceY -= c->destY, c->height += c->destY, c->destY = 0;
    // A source origin left of or below the source moves the destination instead of
    // reading outside the source.
    if (c->sourceX < 0) c->destX -= c->sourceX, c->width += c->sourceX, c->sourceX = 0;
    if (c->sourceY < 0) c->destY -= c->sourceY, c->height += c->sourceY, c->sourceY = 0;
    if (c->destX >= dest->width || c->destY >= dest->height) return 0;
    if (c->sourceX >= source->width || c->sourceY >= source->height) return 0;
    int w = c->sourceX + c->width < source->width ? c->sourceX + c->width : source->width;
    w -= c->sourceX;
    if (w > dest->width - c->destX) w = dest->width - c->destX;
    int h = c->sourceY + c->height < source->height ? c->sourceY + c->height : source->height;
    h -= c->sourceY;
    if (h > dest->height - c->destY) h = dest->height - c->destY;
    if (w <= 0 || h <= 0) return 0;
    c->width = w;
    c->height = h;
    return 1;
}

// Copies a clipped rectangle; a keyed copy skips source pixels that keep() refuses.
template <typename Pixel, typename Keep>
void Copy(Bitmap* dest, int destX, int destY, int width, int height, const Bitmap* source,
          int sourceX, int sourceY, Keep keep)
{
    if (!dest || !source || !dest->pixels || !source->pixels) return;
    if (bitmapFormat_BytesPerPixel(dest->format) != sizeof(Pixel) ||
        bitmapFormat_BytesPerPixel(source->format) != sizeof(Pixel))
        return;
    ClipRect c = {destX, destY, sourceX, sourceY, width, height};
    if (!Clip(&c, dest, source)) return;
    for (int row = 0; row < c.height; row++) {
        Pixel* d = (Pixel*)dest->pixels + (size_t)(c.destY + row) * dest->width + c.destX;
        const Pixel* s = (const Pixel*)source->pixels + (size_t)(c.sourceY + row) * source->width + c.sourceX;
        for (int x = 0; x < c.width; x++) {
            if (keep(s[x])) d[x] = s[x];
        }
    }
}

}  // namespace

stdHash* stdBitmap_Startup()
{
    if (!g_pHash) g_pHash = stdHash_Create(557, "stdBitmap");
    g_liveCount = 0;
    return g_pHash;
}

void stdBitmap_Shutdown()
{
    stdHash_Free(g_pHash);
    g_pHash = nullptr;
}

int stdBitmap_GetLiveCount()
{
    return g_liveCount;
}

Bitmap* stdBitmap_Find(const char* name)
{
    char key[32];
    CopyName(key, name);
    return (Bitmap*)stdHash_Find(g_pHash, key);
}

uint32_t stdBitmap_PixelBytes(uint32_t width, uint32_t height, uint32_t format)
{
    uint64_t bytes = (uint64_t)width * height * bitmapFormat_BytesPerPixel(format);
    return bytes <= kMaxPixelBytes ? (uint32_t)bytes : 0;
}

Bitmap* stdBitmap_Load(const char* name, uint32_t format, int type)
{
    if (!g_pHash || !name) return nullptr;
    // The cache key is the name as the bitmap keeps it, cut to 31 characters.
    char key[32];
    CopyName(key, name);
    if (Bitmap* cached = (Bitmap*)stdHash_Find(g_pHash, key)) {
        // The count is 16 bits: one more reference would wrap it to 0 and let the next
        // release free a bitmap that is still held.
        if (cached->refCount == 0xFFFF) return nullptr;
        cached->refCount++;
        return cached;
    }
    if (!IsConvertible(format)) return nullptr;
    stdFileHandle file = stdFile_Open(name, "rb", type);
    if (!file) return nullptr;
    TgaHeader header;
    Bitmap* bitmap = nullptr;
    // Nothing is allocated for pixels that the file does not hold.
    if (stdBitmap_ReadTgaHeader(&header, file) && header.imageType == TGA_TYPE_TRUECOLOR &&
        stdBitmap_SkipToPixels(&header, file) && stdBitmap_HoldsPixels(&header, file))
        bitmap = NewBitmap(header.width, header.height, format);
    if (bitmap) {
        CopyName(bitmap->name, key);
        if (!stdBitmap_ReadPixels(file, bitmap->pixels, &header, format) ||
            !stdHash_Add(g_pHash, bitmap->name, bitmap)) {
            FreeBitmap(bitmap);
            bitmap = nullptr;
        }
    }
    stdFile_Close(file);
    return bitmap;
}

int stdBitmap_Release(Bitmap* bitmap)
{
    if (!bitmap) return 0;
    if (bitmap->headerFlags & BITMAP_STANDALONE) {
        FreeBitmap(bitmap);
        return 0;
    }
    if (bitmap->refCount > 0) bitmap->refCount--;
    if (bitmap->refCount > 0) return bitmap->refCount;
    if (stdHash_Find(g_pHash, bitmap->name) == bitmap) stdHash_Remove(g_pHash, bitmap->name);
    FreeBitmap(bitmap);
    return 0;
}

Bitmap* stdBitmap_CreateSolid(int width, int height, int red, int green, int blue, int alpha,
                              uint32_t format)
{
    if (width < 0 || height < 0 || format > BITMAP_FORMAT_X888) return nullptr;
    Bitmap* bitmap = NewBitmap((uint32_t)width, (uint32_t)height, format);
    if (!bitmap) return nullptr;
    bitmap->headerFlags = BITMAP_STANDALONE;
    uint32_t r = (uint32_t)red & 0xFF, g = (uint32_t)green & 0xFF, b = (uint32_t)blue & 0xFF,
             a = (uint32_t)alpha & 0xFF;
    uint32_t count = (uint32_t)width * (uint32_t)height;
    uint32_t value;
    switch (format) {
    case BITMAP_FORMAT_565: value = (r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3; break;
    case BITMAP_FORMAT_4444: value = (a & 0xF0) << 8 | (r & 0xF0) << 4 | (g & 0xF0) | b >> 4; break;
    case BITMAP_FORMAT_1555: value = (a & 0x80) << 8 | (r & 0xF8) << 7 | (g & 0xF8) << 2 | b >> 3; break;
    case BITMAP_FORMAT_8888: value = a << 24 | r << 16 | g << 8 | b; break;
    case BITMAP_FORMAT_X888: value = 0xFF000000u | r << 16 | g << 8 | b; break;
    default: value = (r * 77 + g * 150 + b * 29) >> 8; break;  // 8-bit: the grey level
    }
    uint32_t bytes = bitmapFormat_BytesPerPixel(format);
    for (uint32_t i = 0; i < count; i++) {
        uint8_t* p = bitmap->pixels + (size_t)i * bytes;
        for (uint32_t k = 0; k < bytes; k++) p[k] = (uint8_t)(value >> (8 * k));
    }
    return bitmap;
}

Bitmap* stdBitmap_Duplicate(const Bitmap* bitmap)
{
    if (!bitmap) return nullptr;
    Bitmap* copy = NewBitmap(bitmap->width, bitmap->height, bitmap->format);
    if (!copy) return nullptr;
    memcpy(copy, bitmap, BITMAP_HEADER_SIZE);
    copy->pixels = (uint8_t*)copy + BITMAP_HEADER_SIZE;
    uint32_t bytes = stdBitmap_PixelBytes(bitmap->width, bitmap->height, bitmap->format);
    if (bytes && bitmap->pixels) memcpy(copy->pixels, bitmap->pixels, bytes);  // else the zeroed pixels stay
    copy->refCount = 1;
    copy->headerFlags |= BITMAP_STANDALONE;
    return copy;
}

int stdBitmap_ReadTgaHeader(TgaHeader* header, stdFileHandle file)
{
    uint8_t b[TGA_HEADER_SIZE];
    if (stdFile_Seek(file, 0, 0) != 0) return 0;
    if (stdFile_Read(b, 1, sizeof b, file) != sizeof b) return 0;
    header->idLength = b[0];
    header->colorMapType = b[1];
    header->imageType = b[2];
    header->colorMapOrigin = (uint16_t)(b[3] | b[4] << 8);
    header->colorMapLength = (uint16_t)(b[5] | b[6] << 8);
    header->colorMapEntrySize = b[7];
    header->xOrigin = (uint16_t)(b[8] | b[9] << 8);
    header->yOrigin = (uint16_t)(b[10] | b[11] << 8);
    header->width = (uint16_t)(b[12] | b[13] << 8);
    header->height = (uint16_t)(b[14] | b[15] << 8);
    header->pixelDepth = b[16];
    header->imageDescriptor = b[17];
    return 1;
}

int stdBitmap_WriteTgaHeader(const TgaHeader* header, stdFileHandle file)
{
    uint8_t b[TGA_HEADER_SIZE] = {
        header->idLength, header->colorMapType, header->imageType,
        (uint8_t)header->colorMapOrigin, (uint8_t)(header->colorMapOrigin >> 8),
        (uint8_t)header->colorMapLength, (uint8_t)(header->colorMapLength >> 8),
        header->colorMapEntrySize,
        (uint8_t)header->xOrigin, (uint8_t)(header->xOrigin >> 8),
        (uint8_t)header->yOrigin, (uint8_t)(header->yOrigin >> 8),
        (uint8_t)header->width, (uint8_t)(header->width >> 8),
        (uint8_t)header->height, (uint8_t)(header->height >> 8),
        header->pixelDepth, header->imageDescriptor};
    if (stdFile_Seek(file, 0, 0) != 0) return 0;
    return stdFile_Write(b, 1, sizeof b, file) == sizeof b;
}

// Moves from the end of the header past the ID field and any colour map to the pixels.
int stdBitmap_SkipToPixels(const TgaHeader* header, stdFileHandle file)
{
    long skip = header->idLength;
    if (header->colorMapType != 0)
        skip += (long)header->colorMapLength * ((header->colorMapEntrySize + 7) / 8);
    return stdFile_Seek(file, TGA_HEADER_SIZE + skip, 0) == 0;
}

int stdBitmap_HoldsPixels(const TgaHeader* header, stdFileHandle file)
{
    if (header->pixelDepth != 24 && header->pixelDepth != 32) return 0;
    const long here = stdFile_Tell(file);
    const long length = stdFile_Length(file);
    if (here < 0 || length < here) return 0;
    return (uint64_t)(length - here) >=
           (uint64_t)header->width * header->height * (uint32_t)SourceBytes(header);
}

int stdBitmap_ReadPixels(stdFileHandle file, uint8_t* pixels, const TgaHeader* header,
                         uint32_t format)
{
    if (!pixels || !header || !IsConvertible(format)) return 0;
    int inBytes = SourceBytes(header);
    uint32_t outBytes = bitmapFormat_BytesPerPixel(format);
    uint32_t width = header->width, height = header->height;
    if (stdBitmap_PixelBytes(width, height, format) == 0 && width && height) return 0;
    // The whole pixel section must be there: a short file is refused before any conversion.
    if (!stdBitmap_HoldsPixels(header, file)) return 0;
    int topDown = (header->imageDescriptor & TGA_TOP_ORIGIN) != 0;
    for (uint32_t row = 0; row < height; row++) {
        uint32_t memoryRow = topDown ? height - 1 - row : row;
        uint8_t* out = pixels + (size_t)memoryRow * width * outBytes;
        for (uint32_t x = 0; x < width;) {
            uint32_t n = width - x < (uint32_t)kChunkPixels ? width - x : (uint32_t)kChunkPixels;
            if (stdFile_Read(g_chunk, (uint32_t)inBytes, n, file) != n) return 0;
            for (uint32_t i = 0; i < n; i++, x++)
                ConvertPixel(out + (size_t)x * outBytes, g_chunk + i * inBytes, inBytes == 4, format);
        }
    }
    return 1;
}

int stdBitmap_HasPartialAlpha(stdFileHandle file)
{
    TgaHeader header;
    if (!stdBitmap_ReadTgaHeader(&header, file) || header.pixelDepth == 24) return 0;
    if (!stdBitmap_SkipToPixels(&header, file)) return 0;
    uint64_t left = (uint64_t)header.width * header.height;
    while (left > 0) {
        uint32_t n = left < (uint64_t)kChunkPixels ? (uint32_t)left : (uint32_t)kChunkPixels;
        uint32_t got = stdFile_Read(g_chunk, 4, n, file);
        for (uint32_t i = 0; i < got; i++) {
            uint8_t a = g_chunk[i * 4 + 3];
            if (a > 0 && a < 255) return 8;
        }
        if (got < n) break;
        left -= n;
    }
    return 0;
}

void stdBitmap_Blit32(Bitmap* dest, int destX, int destY, int width, int height,
                      const Bitmap* source, int sourceX, int sourceY)
{
    Copy<uint32_t>(dest, destX, destY, width, height, source, sourceX, sourceY,
                   [](uint32_t) { return true; });
}

void stdBitmap_Blit16(Bitmap* dest, int destX, int destY, int width, int height,
                      const Bitmap* source, int sourceX, int sourceY)
{
    Copy<uint16_t>(dest, destX, destY, width, height, source, sourceX, sourceY,
                   [](uint16_t) { return true; });
}

void stdBitmap_BlitClipped(Bitmap* dest, int destX, int destY, int width, int height,
                           const Bitmap* source, int sourceX, int sourceY)
{
    Copy<uint32_t>(dest, destX, destY, width, height, source, sourceX, sourceY,
                   [](uint32_t p) { return p > 0xFFFFFFu; });
}

void stdBitmap_BlitClipped16(Bitmap* dest, int destX, int destY, int width, int height,
                             const Bitmap* source, int sourceX, int sourceY)
{
    Copy<uint16_t>(dest, destX, destY, width, height, source, sourceX, sourceY,
                   [](uint16_t p) { return (p & 0x8000) != 0; });
}
