#include "stdFont.h"

#include <cstdlib>
#include <cstring>

#include "stdFile.h"
#include "stdHash.h"
#include "stdPath.h"

namespace {

const int kCodeSkipped = 255;  // never drawn and does not move the pen

stdFont* g_pCurrent;
int g_numFonts;
stdHash* g_pRamps;  // colour key -> ramp of 256 pixels, built on first use

uint32_t RampKey(int bytes, int red, int green, int blue)
{
    if (bytes == 2) return 0x8000u | (uint32_t)(red & 0xF8) << 7 | (uint32_t)(green & 0xF8) << 2 |
                           (uint32_t)blue >> 3;
    return 0xFF000000u | (uint32_t)red << 16 | (uint32_t)green << 8 | (uint32_t)blue;
}

// Entry i is the colour scaled by i / 256: format 1555 with the alpha bit set, or 8888 with
// alpha 255. Entry 0 stays 0, so that empty coverage leaves the target alone.
void* BuildRamp(int bytes, int red, int green, int blue)
{
    void* ramp = calloc(STDFONT_NUM_GLYPHS, (size_t)bytes);
    if (!ramp) return nullptr;
    for (int i = 1; i < STDFONT_NUM_GLYPHS; i++) {
        uint32_t r = (uint32_t)(red * i) >> 8;
        uint32_t g = (uint32_t)(green * i) >> 8;
        uint32_t b = (uint32_t)(blue * i) >> 8;
        if (bytes == 2) {
            ((uint16_t*)ramp)[i] = (uint16_t)(0x8000u | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
        } else {
            ((uint32_t*)ramp)[i] = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    return ramp;
}

const void* FindRamp(int bytes, int red, int green, int blue)
{
    if (!g_pRamps) return nullptr;
    red &= 0xFF;
    green &= 0xFF;
    blue &= 0xFF;
    uint32_t key = RampKey(bytes, red, green, blue);
    if (void* ramp = stdHash_FindInt(g_pRamps, key)) return ramp;
    void* ramp = BuildRamp(bytes, red, green, blue);
    if (ramp && !stdHash_AddInt(g_pRamps, key, ramp)) {
        free(ramp);
        ramp = nullptr;
    }
    return ramp;
}

void FreeRamps()
{
    if (!g_pRamps) return;
    for (uint32_t b = 0; b < g_pRamps->bucketCount; b++) {
        for (stdHashEntry* e = g_pRamps->buckets[b]; e; e = e->next) free(e->value);
    }
    stdHash_Free(g_pRamps);
    g_pRamps = nullptr;
}

// A glyph with a bitmap must lie wholly inside the glyph bitmap; else it counts as absent.
void DropBadGlyphs(stdFont* font, uint64_t bitmapBytes)
{
    for (stdFontGlyph& glyph : font->glyphs) {
        if (glyph.bitmapOffset == STDFONT_NO_GLYPH) continue;
        bool ok = glyph.width >= 0 && glyph.height >= 0 && glyph.bitmapOffset >= 0 &&
                  (uint64_t)glyph.bitmapOffset <= bitmapBytes;
        if (ok && glyph.width > 0 && glyph.height > 0) {
            uint64_t end = (uint64_t)glyph.bitmapOffset +
                           (uint64_t)(glyph.height - 1) * font->pitch + (uint64_t)glyph.width;
            ok = end <= bitmapBytes;
        }
        if (!ok) glyph.bitmapOffset = STDFONT_NO_GLYPH;
    }
}

// The record's pointer and count fields hold whatever the file had there: they are set before
// anything can free or follow them, whether the read was whole or not. The glyph bitmap is
// allocated only once the file is known to hold all of it.
int ReadFont(stdFont* font, stdFileHandle file)
{
    const long length = stdFile_Length(file);
    const uint32_t got = stdFile_Read(font, 1, STDFONT_RECORD_SIZE, file);
    font->pBitmap = nullptr;
    font->refCount = 0;
    if (got != STDFONT_RECORD_SIZE || length < STDFONT_RECORD_SIZE) return 0;
    const uint64_t bytes = (uint64_t)font->rows * font->pitch;
    if (bytes > (uint64_t)(length - STDFONT_RECORD_SIZE)) return 0;
    font->pBitmap = (uint8_t*)calloc(bytes ? (size_t)bytes : 1, 1);
    if (!font->pBitmap) return 0;
    if (bytes && stdFile_Read(font->pBitmap, 1, (uint32_t)bytes, file) != bytes) return 0;
    DropBadGlyphs(font, bytes);
    return 1;
}

template <class Pixel>
void DrawText(Bitmap* target, int x, int y, const char* text, int red, int green, int blue)
{
    const stdFont* font = g_pCurrent;
    if (!font || !target || !target->pixels || !text) return;
    if (bitmapFormat_BytesPerPixel(target->format) != sizeof(Pixel)) return;
    const Pixel* ramp = (const Pixel*)FindRamp(sizeof(Pixel), red, green, blue);
    if (!ramp) return;
    const int64_t targetWidth = target->width;
    const int64_t targetHeight = target->height;
    Pixel* pixels = (Pixel*)target->pixels;

    int64_t pen = x;
    for (const unsigned char* p = (const unsigned char*)text; *p; p++) {
        if (*p == kCodeSkipped) continue;
        const stdFontGlyph& glyph = font->glyphs[*p];
        if (glyph.bitmapOffset == STDFONT_NO_GLYPH) continue;
        const int64_t left = pen + glyph.xOffset;
        const int64_t first = (int64_t)y + glyph.yOffset;  // target row of glyph row 0
        const int64_t from = left > 0 ? left : 0;
        const int64_t to = left + glyph.width < targetWidth ? left + glyph.width : targetWidth;
        pen += glyph.advance;
        if (from >= to) continue;
        // Glyph rows below the target are passed over; the first one above it ends the glyph.
        for (int64_t row = first >= 0 ? 0 : -first; row < glyph.height && first + row < targetHeight;
             row++) {
            const uint8_t* source =
                font->pBitmap + glyph.bitmapOffset + row * font->pitch + (from - left);
            Pixel* dest = pixels + (first + row) * targetWidth + from;
            for (int64_t c = 0; c < to - from; c++) {
                if (Pixel value = ramp[source[c]]) dest[c] = value;
            }
        }
    }
}

}  // namespace

stdFont* stdFont_Load(const char* name)
{
    if (!name || !*name) return nullptr;
    char path[STDFONT_PATH_SIZE];
    if (!stdPath_MakeFileName(path, sizeof path, name, "yub", STDPATH_REPLACE_EXTENSION))
        return nullptr;
    stdFileHandle file = stdFile_Open(path, "rb", STDFILE_TYPE_UI);
    if (!file) return nullptr;
    stdFont* font = (stdFont*)calloc(1, sizeof(stdFont));
    int ok = font && ReadFont(font, file);
    stdFile_Close(file);
    if (ok && !g_pRamps) ok = (g_pRamps = stdHash_Create(512, "stdFont")) != nullptr;
    if (!ok) {
        if (font) free(font->pBitmap);
        free(font);
        return nullptr;
    }
    strncpy(font->name, name, STDFONT_NAME_SIZE - 1);
    font->name[STDFONT_NAME_SIZE - 1] = 0;
    g_numFonts++;
    return font;
}

void stdFont_Free(stdFont* font)
{
    if (!font) return;
    if (g_pCurrent == font) g_pCurrent = nullptr;
    free(font->pBitmap);
    free(font);
    if (g_numFonts > 0 && --g_numFonts == 0) FreeRamps();
}

int stdFont_GetLoadedCount()
{
    return g_numFonts;
}

int stdFont_GetRampCount()
{
    return g_pRamps ? (int)g_pRamps->count : 0;
}

stdFont* stdFont_SetCurrent(stdFont* font)
{
    stdFont* previous = g_pCurrent;
    g_pCurrent = font;
    return previous;
}

stdFont* stdFont_GetCurrent()
{
    return g_pCurrent;
}

int stdFont_TextWidth(const stdFont* font, const char* text)
{
    if (!font || !text) return 0;
    int64_t width = 0;
    for (const unsigned char* p = (const unsigned char*)text; *p; p++) {
        width += font->glyphs[*p].advance;
    }
    if (width > INT32_MAX) return INT32_MAX;
    if (width < INT32_MIN) return INT32_MIN;
    return (int)width;
}

int stdFont_CharWidth(const stdFont* font, int code)
{
    return font ? font->glyphs[code & 0xFF].advance : 0;
}

void stdFont_Draw16(Bitmap* target, int x, int y, const char* text, int, int red, int green,
                    int blue)
{
    DrawText<uint16_t>(target, x, y, text, red, green, blue);
}

void stdFont_Draw32(Bitmap* target, int x, int y, const char* text, int, int red, int green,
                    int blue)
{
    DrawText<uint32_t>(target, x, y, text, red, green, blue);
}
