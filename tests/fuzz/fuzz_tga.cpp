// TGA images through each of their readers: the std bitmap cache in every pixel format it
// converts into, the UI bitmaps, the texture cache (reduced to two size limits, 16- and 32-bit)
// and the UI textures, and the partial-alpha scan. Every loaded image is read whole.
#include <initializer_list>

#include "fuzzSupport.h"
#include "renderBitmap.h"
#include "renderSettings.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "uiResource.h"

namespace {

const char kFile[] = "fuzz.TGA";

struct TextureSetting {
    uint32_t optionFlags;
    uint32_t maxMipSize;
    uint32_t skipMips;
    uint8_t loadFlags;
};

const TextureSetting kTextureSettings[] = {
    {0, 32, 1, 0},
    {RENDER_OPTION_TRUECOLOR, 256, 0, RENDERBITMAP_LOAD_FULL_ALPHA | RENDERBITMAP_LOAD_SINGLE_LEVEL},
};

void ReadWhole(const Bitmap* bitmap)
{
    uint32_t bytes = bitmap->width * bitmap->height * bitmapFormat_BytesPerPixel(bitmap->format);
    volatile uint8_t sum = 0;
    for (uint32_t i = 0; i < bytes; i++) sum = sum + bitmap->pixels[i];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartLibraries();
    uiResource_Startup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput(kFile, data, size);
    fuzz::Scope scope(size);
    for (uint32_t format : {BITMAP_FORMAT_565, BITMAP_FORMAT_4444, BITMAP_FORMAT_1555, BITMAP_FORMAT_8888,
                            BITMAP_FORMAT_X888}) {
        if (Bitmap* bitmap = stdBitmap_Load(kFile, format, STDFILE_TYPE_UI)) {
            ReadWhole(bitmap);
            stdBitmap_Release(bitmap);
        }
    }
    if (Bitmap* bitmap = uiResource_LoadBitmap("fuzz", BITMAP_FORMAT_1555)) {
        ReadWhole(bitmap);
        uiResource_FreeBitmap(bitmap);
    }
    const renderSettings saved = renderSettings_current;
    for (const TextureSetting& setting : kTextureSettings) {
        renderSettings_current.optionFlags = setting.optionFlags;
        renderSettings_current.maxMipSize = setting.maxMipSize;
        renderSettings_current.skipMips = setting.skipMips;
        if (Bitmap* texture = renderBitmap_Load("fuzz", setting.loadFlags)) {
            ReadWhole(texture);
            renderBitmap_Release(texture);
        }
        if (Bitmap* texture = uiResource_LoadMaterial("fuzz")) {
            ReadWhole(texture);
            uiResource_FreeMaterial(texture);
        }
    }
    renderSettings_current = saved;
    if (stdFileHandle file = stdFile_Open(kFile, "rb", STDFILE_TYPE_UI)) {
        stdBitmap_HasPartialAlpha(file);
        stdFile_Close(file);
    }
    fuzz::NextFrame(16);
    return 0;
}
