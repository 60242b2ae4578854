// Benchmark: drawing a model instance through renderModel_Draw against handing the same
// instance to the raster table's two slots directly (the bare cost of any draw), for a still
// model, a model whose distance changes its level of detail every frame, and an animated one.
// A still model should cost little over the bare hand-over: its level of detail is only
// rebuilt when the depth moved by more than 10 and a part's vertex count changes.
//
//   wine build/bin/render_anim_bench.exe [frames]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "benchTiming.h"
#include "fakeRaster.h"
#include "fixtureFiles.h"
#include "fixtureJup.h"
#include "fixtureQev.h"
#include "mathFrame.h"
#include "renderBitmap.h"
#include "renderCamera.h"
#include "renderKeyframe.h"
#include "renderMain.h"
#include "renderMaterial.h"
#include "renderMixer.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "stdFile.h"

namespace {

// Microseconds a frame of draw(i), with the fake table's call log emptied now and then.
template <class Draw>
double TimeFrames(fakes::FakeRaster& raster, int frames, Draw draw)
{
    const double start = bench_Seconds();
    for (int i = 0; i < frames; i++) {
        draw(i);
        renderMain_EndFrame(0);
        if ((i & 255) == 255) raster.ClearCalls();
    }
    return (bench_Seconds() - start) * 1e6 / frames;
}

void PlaceCamera(Camera* camera, float distance)
{
    mathFrame frame;
    mathFrame_Identity(&frame);
    frame.m[10] = -distance;
    renderCamera_SetFrame(camera, &frame);
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? atoi(argv[1]) : 20000;
    fixtures::WorkFolder work("anim_bench");
    fixtures::MakeFolders("3D\\Models");
    fixtures::MakeFolders("3D\\Anims");
    stdFile_Startup();
    renderBitmap_Startup();
    renderMaterial_Startup();
    renderModel_Startup();
    renderKeyframe_Startup();
    fakes::FakeRaster raster;
    if (!raster.Bind()) return 1;
    renderSettings_current.modelLODMin = 0.0f;
    renderSettings_current.modelLODMax = 1.0f;
    renderSettings_current.modelLODMinDist = 200.0f;
    renderSettings_current.modelLODScale = 0.01f;
    Camera* camera = renderCamera_Create(90.0f, 0, 1.0f, 1000.0f, 1.0f);
    Viewport* viewport = renderViewport_Create(0, 0, 0, 639, 479);
    renderCamera_SetViewport(camera, viewport);
    PlaceCamera(camera, 300.0f);
    renderCamera_Select(camera);

    fixtures::JupFile walk;
    walk.duration = 60;
    for (uint32_t bone = 0; bone < 2; bone++) {
        fixtures::JupCurve curve;
        curve.bone = bone;
        for (int k = 0; k < 30; k++) curve.keys.push_back(fixtures::MakeCubicKey((float)k * 2, 0.5f, 1, 2, 0.5f, 0.1f));
        walk.curves.push_back(curve);
    }
    fixtures::WriteJup("3D\\Anims\\walk.jup", walk);

    mathFrame origin;
    mathFrame_Identity(&origin);
    printf("%8s %10s %10s %10s %10s %8s %8s %8s\n", "vertices", "bare us", "still us", "moving us",
           "anim us", "still", "moving", "anim");
    for (int verts : {256, 1024, 4096}) {
        char name[32];
        snprintf(name, sizeof name, "bench%d", verts);
        fixtures::WriteQev(std::string("3D\\Models\\") + name + ".qev",
                           fixtures::MakeQevModel({}, 1, verts, true));
        ModelInstance* instance = renderModelInstance_Load(name);
        if (!instance) return 1;
        const double bare = TimeFrames(raster, frames, [&](int) {
            renderMain_rasterLib.funcLight_NewModel(instance);
            renderMain_rasterLib.funcModel_Draw(instance, instance, 0);
        });
        const double still = TimeFrames(raster, frames, [&](int) { renderModel_Draw(instance, &origin, 0); });
        const double moving = TimeFrames(raster, frames, [&](int i) {
            PlaceCamera(camera, (i & 1) ? 300.0f : 600.0f);
            renderModel_Draw(instance, &origin, 0);
        });
        PlaceCamera(camera, 300.0f);
        renderMixer_Create(instance, 0);
        instance->pMixer->Play(renderKeyframe_GetTrack("walk", 0), 30.0f, 0);
        const double anim = TimeFrames(raster, frames, [&](int) {
            instance->pMixer->Advance(0.016f);
            renderModel_Draw(instance, &origin, 0);
        });
        printf("%8d %10.3f %10.3f %10.3f %10.3f %8.2f %8.2f %8.2f\n", verts, bare, still, moving, anim,
               still / bare, moving / bare, anim / bare);
        renderModelInstance_Free(instance, 1);
    }
    renderCamera_Select(nullptr);
    renderCamera_Free(camera);
    renderViewport_Free(viewport);
    return 0;
}
