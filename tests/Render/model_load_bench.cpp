// Benchmark: loading a model file against reading the same bytes raw through the file layer,
// for models of growing size up to one part of 65,535 vertices. The ratio should stay flat:
// loading costs time in proportion to the file's size.
//
//   wine build/bin/render_model_bench.exe [repeats]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "benchTiming.h"
#include "fixtureFiles.h"
#include "fixtureQev.h"
#include "renderModel.h"
#include "stdFile.h"

namespace {

double TimeLoad(const char* name, int repeats)
{
    const double start = bench_Seconds();
    for (int i = 0; i < repeats; i++) {
        Model* model = renderModel_Load(name, RENDERMODEL_NO_MATERIALS);
        if (!model) {
            fprintf(stderr, "load of %s failed\n", name);
            exit(1);
        }
        renderModel_Free(model);
    }
    return (bench_Seconds() - start) / repeats;
}

}  // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? atoi(argv[1]) : 50;
    fixtures::WorkFolder work("model_bench");
    fixtures::MakeFolders("3D\\Models");
    stdFile_Startup();
    renderModel_Startup();
    printf("%8s %10s %12s %12s %7s\n", "vertices", "bytes", "raw ms", "load ms", "ratio");
    for (int verts : {4096, 16384, 65535}) {
        const fixtures::QevModel model = fixtures::MakeQevModel({"skin"}, 1, verts, true);
        const fixtures::Bytes bytes = fixtures::QevBytes(model);
        char name[32];
        snprintf(name, sizeof name, "bench%d.qev", verts);
        fixtures::WriteBytes(std::string("3D\\Models\\") + name, bytes);
        TimeLoad(name, 2);  // warm the file cache
        const double raw = bench_TimeRawRead(name, bytes.size(), STDFILE_TYPE_MODEL, repeats);
        const double load = TimeLoad(name, repeats);
        printf("%8d %10zu %12.3f %12.3f %7.2f\n", verts, bytes.size(), raw * 1000, load * 1000, load / raw);
    }
    renderModel_Shutdown();
    stdFile_Shutdown();
    return 0;
}
