// Bitmap fonts (.yub): the font loader, then every
// character drawn with the font into 16- and 32-bit bitmaps at pen positions inside and across
// every edge, and measured.
#include "fuzzSupport.h"
#include "stdBitmap.h"
#include "stdFont.h"

namespace {

const int kPens[][2] = {{0, 0}, {-7, 5}, {20, -4}, {40, 20}, {-300, -300}, {2000, 3}};

void DrawAll(stdFont* font)
{
    stdFont_SetCurrent(font);
    Bitmap* targets[] = {stdBitmap_CreateSolid(48, 24, 0, 0, 0, 0, BITMAP_FORMAT_1555),
                         stdBitmap_CreateSolid(48, 24, 0, 0, 0, 0, BITMAP_FORMAT_8888)};
    char text[17];
    for (int first = 1; first < 256; first += 16) {
        int n = 0;
        for (int code = first; code < first + 16 && code < 256; code++) text[n++] = (char)code;
        text[n] = 0;
        stdFont_TextWidth(font, text);
        for (const auto& pen : kPens) {
            stdFont_Draw16(targets[0], pen[0], pen[1], text, 0, 255, 200, 100);
            stdFont_Draw32(targets[1], pen[0], pen[1], text, 0, 255, 200, 100);
        }
    }
    for (int code = 0; code < 256; code++) stdFont_CharWidth(font, code);
    for (Bitmap* target : targets) stdBitmap_Release(target);
    stdFont_SetCurrent(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartLibraries();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput("fuzz.yub", data, size);
    fuzz::Scope scope(size);
    if (stdFont* font = stdFont_Load("fuzz")) {
        DrawAll(font);
        stdFont_Free(font);
    }
    return 0;
}
