// Loading a texture through renderBitmap_Load (read, convert to 5-6-5, reduce to the size limit
// of 256) against the simplest way to the same pixels: the file's pixels read in one piece,
// packed to 5-6-5, then halved by the 2 x 2 mean into a fresh image until they fit. Square 24-bit
// images from 64 to 2048 pixels; the ratio should stay flat as the image grows.
//
//   render_texture_bench.exe [rounds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "bench.h"
#include "fixtureFiles.h"
#include "fixtureTga.h"
#include "renderBitmap.h"
#include "renderSettings.h"
#include "stdBitmap.h"
#include "stdFile.h"

namespace {

uint32_t Noise(int x, int y)
{
    return 0xFF000000u | ((uint32_t)(x * 2654435761u ^ y * 40503u) & 0xFFFFFF);
}

uint16_t Mean565(uint16_t a, uint16_t b, uint16_t c, uint16_t d)
{
    auto mean = [&](int shift, int mask) {
        return (((a >> shift & mask) + (b >> shift & mask) + (c >> shift & mask) + (d >> shift & mask) + 2) >> 2)
               << shift;
    };
    return (uint16_t)(mean(11, 31) | mean(5, 63) | mean(0, 31));
}

// Blocks left uninitialised, as the loader's are: each byte is written once.
template <class T>
std::unique_ptr<T[]> Block(size_t count)
{
    return std::unique_ptr<T[]>(new T[count]);
}

// The pixels of the named image at the size limit; *side is their width and height.
std::unique_ptr<uint16_t[]> BareLoad(const char* name, int* side)
{
    stdFileHandle file = stdFile_Open(name, "rb", STDFILE_TYPE_MATERIAL);
    uint8_t header[TGA_HEADER_SIZE];
    stdFile_Read(header, TGA_HEADER_SIZE, 1, file);
    int width = header[12] | header[13] << 8, height = header[14] | header[15] << 8;
    const size_t count = (size_t)width * height;
    const auto bgr = Block<uint8_t>(count * 3);
    stdFile_Read(bgr.get(), 3, (uint32_t)count, file);
    stdFile_Close(file);
    auto image = Block<uint16_t>(count);
    for (size_t i = 0; i < count; i++)
        image[i] = (uint16_t)((bgr[3 * i + 2] >> 3) << 11 | (bgr[3 * i + 1] >> 2) << 5 | bgr[3 * i] >> 3);
    const int limit = (int)renderSettings_current.maxMipSize;
    while (width > limit || height > limit) {
        auto half = Block<uint16_t>((size_t)(width / 2) * (height / 2));
        for (int y = 0; y < height / 2; y++)
            for (int x = 0; x < width / 2; x++) {
                const uint16_t* top = &image[(size_t)2 * y * width + 2 * x];
                half[(size_t)y * (width / 2) + x] = Mean565(top[0], top[1], top[width], top[width + 1]);
            }
        image = std::move(half);
        width /= 2;
        height /= 2;
    }
    *side = width;
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? atoi(argv[1]) : 9;
    fixtures::WorkFolder work("texture_bench");
    stdFile_Startup();
    renderBitmap_Startup();
    printf("Texture load: median of %d loads in ms, ratio = renderBitmap_Load / bare\n", rounds);
    printf("%6s %10s %8s %10s %10s %7s\n", "side", "bytes", "stored", "bare", "load", "ratio");
    for (int side : {64, 256, 512, 1024, 2048}) {
        const fixtures::Bytes bytes =
            fixtures::TgaBytes(fixtures::MakeTga((uint16_t)side, (uint16_t)side, 24, false, Noise));
        const std::string name = "bench" + std::to_string(side) + ".tga";
        fixtures::WriteBytes(name, bytes);
        Bitmap* loaded = renderBitmap_Load(name.c_str(), 0);
        int bareSide = 0;
        const auto bare = BareLoad(name.c_str(), &bareSide);
        if (!loaded || loaded->format != BITMAP_FORMAT_565 || loaded->width != bareSide || loaded->height != bareSide ||
            memcmp(loaded->pixels, bare.get(), (size_t)bareSide * bareSide * 2)) {
            fprintf(stderr, "the bare load does not give the loader's pixels of %s\n", name.c_str());
            return 1;
        }
        const int stored = loaded->width;
        renderBitmap_Release(loaded);
        const benchPair t = bench_Compare(
            rounds, [&] { BareLoad(name.c_str(), &bareSide); }, [&] { renderBitmap_Release(renderBitmap_Load(name.c_str(), 0)); });
        printf("%6d %10zu %4dx%-3d %10.3f %10.3f %7.2f\n", side, bytes.size(), stored, stored, t.bare * 1000,
               t.subject * 1000, t.Ratio());
        fflush(stdout);
    }
    renderBitmap_Shutdown();
    stdFile_Shutdown();
    return 0;
}
