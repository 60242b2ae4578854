// The same textured mesh of about 50,000 triangles under one point light, drawn on the real
// device through rlModel_Draw and through the bare draw of bareModel.h (each vertex to the
// screen through its bone and lit by the same formula, one indexed draw a part, the same
// texture and drawing mode); both clear and present alike. Prints the median ms a frame of
// each and their ratio.
//
//   raster_model_bench.exe [frames a round]
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "bareModel.h"
#include "bench.h"
#include "drawTestSupport.h"
#include "modelTestSupport.h"
#include "rasterTestWindow.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlLight.h"
#include "rlMain.h"
#include "rlMode.h"
#include "rlModel.h"
#include "rlTexture.h"

namespace {

constexpr int GRID = 61;   // vertices a side: 7,200 triangles a part
constexpr int PARTS = 7;

struct Mesh {
    std::vector<ModelVertex> verts;
    std::vector<ModelTriangle> tris;
    std::vector<ModelPart> parts;
    std::vector<InstancePart> instanceParts;
    std::vector<InstanceBone> bones;
    Model model = {};
    ModelInstance instance = {};
};

void buildMesh(Mesh& mesh, const Camera& camera, Material* material)
{
    for (int p = 0; p < PARTS; p++)
        for (int y = 0; y < GRID; y++)
            for (int x = 0; x < GRID; x++) {
                const float fx = -1.8f + 3.6f * x / (GRID - 1), fy = -1.3f + 2.6f * y / (GRID - 1);
                ModelVertex v = TestModel::vertex(fx, fy, 0.01f * p);
                v.u = float(x) / (GRID - 1);
                v.v = float(y) / (GRID - 1);
                mesh.verts.push_back(v);
            }
    for (int y = 0; y + 1 < GRID; y++)
        for (int x = 0; x + 1 < GRID; x++) {
            const uint16_t a = uint16_t(y * GRID + x), b = uint16_t(a + 1), c = uint16_t(a + GRID + 1),
                           d = uint16_t(a + GRID);
            mesh.tris.push_back({{a, b, c}});
            mesh.tris.push_back({{a, c, d}});
        }
    TestModel bones(camera, 1, {{0, 0, 3}});
    mesh.bones = bones.bones;
    mesh.parts.resize(PARTS);
    mesh.instanceParts.resize(PARTS);
    for (int p = 0; p < PARTS; p++) {
        ModelPart& part = mesh.parts[p];
        part.pMaterial = material;
        part.pTris = mesh.tris.data();
        part.pVerts = &mesh.verts[size_t(p) * GRID * GRID];
        part.numTris = uint16_t(mesh.tris.size());
        part.numVerts = GRID * GRID;
        InstancePart& ip = mesh.instanceParts[p];
        ip.pModelPart = &part;
        ip.pMaterial = material;
        ip.pTris = mesh.tris.data();
        ip.drawTris = part.numTris;
        ip.lodVerts = part.numVerts;
    }
    mesh.model.numParts = PARTS;
    mesh.model.numBones = 1;
    mesh.model.pParts = mesh.parts.data();
    mesh.instance.pModel = &mesh.model;
    mesh.instance.alpha = mesh.instance.fade = 1.0f;
    mesh.instance.colour = {255, 255, 255};
    mesh.instance.pBones = mesh.bones.data();
    mesh.instance.pParts = mesh.instanceParts.data();
}

Light pointLight(void)
{
    Light light = {};
    light.kind = RL_LIGHT_POINT;
    light.red = light.green = light.blue = 255;
    light.intensity = light.baseIntensity = 400;
    light.position[2] = -2;
    light.falloff = 1.0f;
    light.range = 1000;
    return light;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? atoi(argv[1]) : 20;
    const int rounds = 5;
    RasterTestWindow window(true);
    rlMain_Startup(window.hwnd);
    renderSettings settings = rasterTestSettings(true);
    if (!rlMain_Open(&settings)) {
        printf("the device did not open\n");
        return 1;
    }
    Camera camera = drawTest_Camera();
    rlCamera_SetCurrent(&camera);
    std::vector<uint32_t> pixels(64 * 64);
    for (int i = 0; i < 64 * 64; i++) pixels[i] = ((i / 64 / 8 + i % 64 / 8) & 1) ? 0xFFFFFFFF : 0xFF8080FF;
    Bitmap texture = {};
    texture.format = BITMAP_FORMAT_8888;
    texture.width = texture.height = 64;
    texture.pixels = texture.levels[0] = reinterpret_cast<uint8_t*>(pixels.data());
    rlTexture_PreCacheMipMap(&texture);
    // The bare draw binds the library's own texture surface, so the library's binding cache
    // stays true; the first binding uploads it.
    rlTexture_SetStage(texture.rasterHandle, 0);
    const bareTextures textures = {{&texture, rlTexture_Get(texture.rasterHandle)->surfaces[0]}};
    Material material = drawTest_Material(3, &texture);
    Mesh mesh;
    buildMesh(mesh, camera, &material);
    const Light light = pointLight();

    int libraryTriangles = 0, bareTriangles = 0;
    // Rounds of frames, each cleared and presented alike around its draw.
    auto framesOf = [&](auto draw) {
        return [&, draw] {
            for (int i = 0; i < frames; i++) {
                rlMain_Clear(0xFF000000, 0);
                draw();
                rlMain_Swap(0);
                RasterTestWindow::pumpMessages();
            }
        };
    };
    const benchPair t = bench_Compare(rounds, framesOf([&] {
        rlMode_SetMode(3);
        bareTriangles = bareModel_Draw(rlDevice_state.pDevice, &mesh.instance, &camera, &light, 1, textures);
    }), framesOf([&] {
        rlLight_ClearLights();
        rlLight_AddLight(nullptr, &light, 0);
        rlLight_NewModel(&mesh.instance);
        libraryTriangles = rlModel_Draw(&mesh.instance, &mesh.instance, 0);
    }));
    printf("Model drawing: median of %d rounds of %d frames, ms a frame, ratio = rlModel_Draw / bare\n", rounds,
           frames);
    printf("%-14s %9s %9s %-7s | %8s %8s %6s\n", "mesh", "tris", "bare", "view", "library", "bare", "ratio");
    printf("%-14s %9d %9d %-7s | %8.2f %8.2f %6.2f\n", "grid, 1 light", libraryTriangles, bareTriangles,
           bareModel_Inside(&mesh.instance) ? "inside" : "CLIPPED", t.subject * 1000 / frames,
           t.bare * 1000 / frames, t.Ratio());
    rlMain_Close();
    return 0;
}
