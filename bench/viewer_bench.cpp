// The viewer's whole frame (timer, input, camera and lights, animation, the model through the
// raster library, the user interface, present and clear) on the real device, against a bare
// Direct3D 7 program on a window of its own that draws the same model in the same pose with the
// same lights and textures and presents it the same way (bareDevice.h, bareModel.h). The sample
// totem (animated) and a model of about 50,000 triangles; every figure is the median of the
// rounds, in ms a frame.
//
//   qevview_bench.exe [frames a round]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "QevView.h"
#include "bareDevice.h"
#include "bareModel.h"
#include "bench.h"
#include "fixtureFiles.h"
#include "fixtureViewerSample.h"
#include "materialRecord.h"
#include "renderMain.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "renderSettings.h"

namespace {

const int kRounds = 5;

std::vector<Light> LightsOn()
{
    std::vector<Light> lights;
    for (int i = 0; i < QEVVIEW_NUM_LIGHTS; i++)
        if (QevView_app.controls.aLightOn[i]) lights.push_back(QevView_app.aLights[i]);
    return lights;
}

// Triangles the raster library drew in one viewer frame.
int ViewerTriangles()
{
    QevView_Frame();
    return (int)renderMain_GetFrameStats()->numTriangles;
}

// The viewer's current model against the bare program drawing it.
bool Compare(const char* name, bareDevice* bare, int frames)
{
    ModelInstance* instance = QevView_app.pInstance;
    // A first frame reads the textures and poses the model.
    const int viewerTriangles = ViewerTriangles();
    for (int p = 0; p < instance->pModel->numParts; p++) {
        const Material* material = instance->pParts[p].pMaterial;
        if (material && !bareDevice_AddTexture(bare, material->passes[0].pTexture)) {
            fprintf(stderr, "a texture of %s is not 5-6-5\n", name);
            return false;
        }
    }
    const std::vector<Light> lights = LightsOn();
    int bareTriangles = 0;
    const benchPair t = bench_Compare(
        kRounds,
        [&] {
            for (int i = 0; i < frames; i++) {
                bareDevice_Clear(bare);
                bareTriangles = bareModel_Draw(bare->pDevice, instance, QevView_app.pCamera, lights.data(),
                                               (int)lights.size(), bare->textures);
                bareDevice_Present(bare);
            }
        },
        [&] {
            for (int i = 0; i < frames; i++) QevView_Frame();
        });
    printf("%-24s %6d %6d %s | %8.2f %8.2f %6.2f\n", name, viewerTriangles, bareTriangles,
           bareModel_Inside(instance) ? "inside" : "CLIPPED", t.subject * 1000 / frames, t.bare * 1000 / frames,
           t.Ratio());
    fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? atoi(argv[1]) : 20;
    fixtures::WorkFolder work("qevview_bench_game");
    if (!fixtures::WriteViewerSample("")) return 1;
    if (!QevView_CreateWindow(GetModuleHandleA(nullptr), SW_SHOW)) return 1;
    SetForegroundWindow(QevView_app.hWindow);
    QevView_ParseCommandLine(&QevView_app.commandLine, "-model totem.qev -anim turn.jup");
    if (!QevView_Startup()) {
        fprintf(stderr, "the viewer did not start\n");
        return 1;
    }
    bareDevice bare;
    if (!bareDevice_Open(&bare, 0, 500)) {
        fprintf(stderr, "the bare device did not open\n");
        return 1;
    }
    printf("Viewer frame: median of %d rounds of %d frames, ms a frame, ratio = viewer / bare Direct3D 7\n",
           kRounds, frames);
    printf("%-24s %6s %6s %-7s | %8s %8s %6s\n", "model", "tris", "bare", "view", "viewer", "bare", "ratio");
    if (!Compare("sample totem, animated", &bare, frames)) return 1;

    Model* dense = renderModel_Load(fixtures::kSampleDenseModel, 0);
    ModelInstance* instance = dense ? renderModelInstance_Create(dense) : nullptr;
    if (!instance) {
        fprintf(stderr, "the dense model did not load\n");
        return 1;
    }
    QevView_app.pModel = dense;
    QevView_app.pInstance = instance;
    QevView_app.controls.bPlaying = 0;
    if (!Compare("dense model", &bare, frames)) return 1;
    bareDevice_Close(&bare);
    QevView_Shutdown();
    return 0;
}
