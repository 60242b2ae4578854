// Benchmark: loading a texture (read, convert, reduce to the default 256 limit) against reading
// the same file's bytes raw through the file layer, for square 24-bit images from 64 to 2048
// pixels. The ratio should stay flat: the reduction works in place, in time proportional to
// the image, and the reduced image is copied once.
//
//   wine build/bin/render_texture_bench.exe [repeats]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "benchTiming.h"
#include "fixtureFiles.h"
#include "fixtureTga.h"
#include "renderBitmap.h"
#include "stdFile.h"

namespace {

uint32_t Noise(int x, int y)
{
    return 0xFF000000u | ((uint32_t)(x * 2654435761u ^ y * 40503u) & 0xFFFFFF);
}

double TimeLoad(const char* name, int repeats)
{
    const double start = bench_Seconds();
    for (int i = 0; i < repeats; i++) {
        Bitmap* bitmap = renderBitmap_Load(name, 0);
        if (!bitmap) {
            fprintf(stderr, "load of %s failed\n", name);
            exit(1);
        }
        renderBitmap_Release(bitmap);
    }
    return (bench_Seconds() - start) / repeats;
}

}  // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? atoi(argv[1]) : 10;
    fixtures::WorkFolder work("texture_bench");
    stdFile_Startup();
    renderBitmap_Startup();
    printf("%6s %10s %10s %12s %12s %7s\n", "side", "bytes", "stored", "raw ms", "load ms", "ratio");
    for (int side : {64, 256, 512, 1024, 2048}) {
        const fixtures::Bytes bytes =
            fixtures::TgaBytes(fixtures::MakeTga((uint16_t)side, (uint16_t)side, 24, false, Noise));
        const std::string name = "bench" + std::to_string(side) + ".tga";
        fixtures::WriteBytes(name, bytes);
        TimeLoad(name.c_str(), 1);  // warm the file cache
        const double raw = bench_TimeRawRead(name.c_str(), bytes.size(), STDFILE_TYPE_MATERIAL, repeats);
        const double load = TimeLoad(name.c_str(), repeats);
        const int stored = side > 256 ? 256 : side;
        printf("%6d %10zu %6dx%-3d %12.3f %12.3f %7.2f\n", side, bytes.size(), stored, stored,
               raw * 1000, load * 1000, load / raw);
    }
    renderBitmap_Shutdown();
    stdFile_Shutdown();
    return 0;
}
