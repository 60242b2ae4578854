// Bitmap fonts (.yub): a record of 256 glyphs over one 8-bit coverage bitmap, drawn into 16-
// and 32-bit bitmaps through colour ramps that are built once per colour and kept until the
// last font is freed.
//
// A font file is the 6196-byte record followed by rows x pitch bytes of glyph bitmap. Loading
// checks the file's size against both and every glyph's extent against the glyph bitmap: a
// glyph that would reach outside it counts as absent. Drawing clips glyphs on all four sides.
#pragma once
#include <cstddef>
#include <cstdint>

#include "bitmapRecord.h"

enum {
    STDFONT_NUM_GLYPHS = 256,
    STDFONT_NAME_SIZE = 32,
    STDFONT_RECORD_SIZE = 6196,
    STDFONT_PATH_SIZE = 128,
    STDFONT_NO_GLYPH = -1,  // bitmapOffset of a code without a glyph
};

struct stdFontGlyph {
    int32_t xOffset;       // added to the pen's x for the glyph's left column
    int32_t yOffset;       // added to the pen's y for the target row of glyph row 0
    int32_t width;
    int32_t height;
    int32_t advance;       // pen step after the glyph
    int32_t bitmapOffset;  // first byte of glyph row 0 in the glyph bitmap, or STDFONT_NO_GLYPH
};

struct stdFont {
    uint32_t lineHeight;
    uint32_t pitch;  // bytes per row of the glyph bitmap
    stdFontGlyph glyphs[STDFONT_NUM_GLYPHS];
    uint8_t* pBitmap;
    char name[STDFONT_NAME_SIZE];
    uint32_t refCount;  // kept by the UI resources
    uint32_t rows;
};

static_assert(sizeof(stdFontGlyph) == 24);
static_assert(offsetof(stdFont, glyphs) == 8);
static_assert(offsetof(stdFont, pBitmap) == 6152);
static_assert(offsetof(stdFont, name) == 6156);
static_assert(offsetof(stdFont, refCount) == 6188);
static_assert(offsetof(stdFont, rows) == 6192);
static_assert(sizeof(stdFont) == STDFONT_RECORD_SIZE);

// Opens name with the extension "yub" (replacing any other) from the UI folders; null when it
// cannot be opened, is shorter than it claims, or the name does not fit.
stdFont* stdFont_Load(const char* name);
void stdFont_Free(stdFont* font);
int stdFont_GetLoadedCount();
int stdFont_GetRampCount();

stdFont* stdFont_SetCurrent(stdFont* font);
stdFont* stdFont_GetCurrent();
int stdFont_TextWidth(const stdFont* font, const char* text);
int stdFont_CharWidth(const stdFont* font, int code);

// Draw the text with the current font at pen (x, y), y counted in memory rows (row 0 is the
// bitmap's bottom row). Draw16 takes a 2-byte target, Draw32 a 4-byte one; another target, a
// null text or no current font draws nothing. The fifth argument is not read.
void stdFont_Draw16(Bitmap* target, int x, int y, const char* text, int reserved, int red,
                    int green, int blue);
void stdFont_Draw32(Bitmap* target, int x, int y, const char* text, int reserved, int red,
                    int green, int blue);
