// Frames per second of the viewer on the real device: the bare loop (clear and present only)
// as the baseline, then whole viewer frames on the sample model and on a model of about 50,000
// triangles, each with its ratio to the baseline.
//   qevview_bench.exe [FRAMES]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "QevView.h"
#include "fixtureFiles.h"
#include "fixtureViewerSample.h"
#include "renderMain.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "renderSettings.h"

namespace {

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

template <typename Step> double FramesPerSecond(int frames, Step step)
{
    for (int i = 0; i < 10; ++i) step();   // warm up: textures uploaded, caches filled
    double start = Seconds();
    for (int i = 0; i < frames; ++i) step();
    return frames / (Seconds() - start);
}

void BareFrame()
{
    renderMain_EndFrame(0);
    renderMain_rasterLib.funcMain_Clear(0, 0);
}

int Triangles(const Model* model) { return model ? (int)model->numTris : 0; }

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? atoi(argv[1]) : 300;
    fixtures::WorkFolder work("qevview_bench_game");
    if (!fixtures::WriteViewerSample("")) return 1;
    if (!QevView_CreateWindow(GetModuleHandleA(nullptr), SW_SHOW)) return 1;
    SetForegroundWindow(QevView_app.hWindow);
    QevView_ParseCommandLine(&QevView_app.commandLine, "-model totem.qev -anim turn.jup");
    if (!QevView_Startup()) {
        fprintf(stderr, "the viewer did not start\n");
        return 1;
    }
    printf("viewer frames on the real device, %d frames each, %dx%dx%d\n", frames,
           renderSettings_current.screenWidth, renderSettings_current.screenHeight, renderSettings_current.screenDepth);
    const double bare = FramesPerSecond(frames, BareFrame);
    printf("%-34s %9.1f fps  1.00 x bare\n", "bare loop (clear, present)", bare);

    const double sample = FramesPerSecond(frames, QevView_Frame);
    printf("%-26s %5d tris %9.1f fps  %.2f x bare\n", "sample model, animated", Triangles(QevView_app.pModel),
           sample, sample / bare);

    Model* dense = renderModel_Load(fixtures::kSampleDenseModel, 0);
    ModelInstance* instance = dense ? renderModelInstance_Create(dense) : nullptr;
    if (!instance) {
        fprintf(stderr, "the dense model did not load\n");
        return 1;
    }
    QevView_app.pModel = dense;
    QevView_app.pInstance = instance;
    QevView_app.controls.bPlaying = 0;
    const double heavy = FramesPerSecond(frames, QevView_Frame);
    printf("%-26s %5d tris %9.1f fps  %.2f x bare\n", "dense model", Triangles(dense), heavy, heavy / bare);
    QevView_Shutdown();
    return 0;
}
