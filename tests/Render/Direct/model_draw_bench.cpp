// Benchmark, run by hand: the same textured, lit mesh of about 50,000 triangles drawn through
// rlModel_Draw and through a bare Direct3D 7 loop of its own (transform to the screen, one
// indexed draw per part), in one run on the real device. Prints the frame times and their ratio.
#include <windows.h>
#include <cstdio>
#include <vector>
#include "drawTestSupport.h"
#include "modelTestSupport.h"
#include "rasterTestWindow.h"
#include "rlCamera.h"
#include "rlClip.h"
#include "rlDevice.h"
#include "rlLight.h"
#include "rlMain.h"
#include "rlMode.h"
#include "rlModel.h"
#include "rlTexture.h"

namespace {

constexpr int GRID = 61;   // vertices a side: 7,200 triangles a part
constexpr int PARTS = 7;
constexpr int FRAMES = 60;

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

void addLight(void)
{
    rlLight_ClearLights();
    Light light = {};
    light.kind = RL_LIGHT_POINT;
    light.red = light.green = light.blue = 255;
    light.intensity = light.baseIntensity = 400;
    light.position[2] = -2;
    light.falloff = 1.0f;
    light.range = 1000;
    rlLight_AddLight(nullptr, &light, 0);
}

// The bare loop: the bone's clip matrix to the screen, one white vertex colour, one indexed
// triangle list per part, in the same drawing mode and texture.
void drawBare(const Mesh& mesh, const Camera& camera, uint32_t texture, std::vector<rlClipVertex>& screen,
              std::vector<uint16_t>& indices)
{
    rlTexture_SetStage(texture, 0);
    rlMode_SetMode(3);
    const float* m = mesh.bones[0].clip.m;
    for (int p = 0; p < PARTS; p++) {
        const ModelVertex* verts = mesh.parts[p].pVerts;
        for (int i = 0; i < GRID * GRID; i++) {
            const mathVec3& v = verts[i].position;
            const float x = v.x * m[0] + v.y * m[4] + v.z * m[8] + m[12];
            const float y = v.x * m[1] + v.y * m[5] + v.z * m[9] + m[13];
            const float z = v.x * m[2] + v.y * m[6] + v.z * m[10] + m[14];
            const float r = 1.0f / (v.x * m[3] + v.y * m[7] + v.z * m[11] + m[15]);
            screen[i] = {camera.centreX + r * camera.scaleX * x, camera.centreY - r * camera.scaleY * y, r * z, r,
                         0xFFFFFFFF, verts[i].u, verts[i].v};
        }
        rlDevice_state.pDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                                            screen.data(), GRID * GRID, indices.data(), DWORD(indices.size()), 0);
    }
}

double seconds(void)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main()
{
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
    Material material = drawTest_Material(3, &texture);
    Mesh mesh;
    buildMesh(mesh, camera, &material);
    std::vector<rlClipVertex> screen(GRID * GRID);
    std::vector<uint16_t> indices(&mesh.tris[0].v[0], &mesh.tris[0].v[0] + 3 * mesh.tris.size());

    double library = 0, bare = 0;
    int triangles = 0;
    for (int round = 0; round < 2; round++)   // the first round warms both up
        for (int pathIndex = 0; pathIndex < 2; pathIndex++) {
            const double start = seconds();
            for (int frame = 0; frame < FRAMES; frame++) {
                rlMain_Clear(0xFF000000, 0);
                if (pathIndex == 0) {
                    addLight();
                    rlLight_NewModel(&mesh.instance);
                    triangles = rlModel_Draw(&mesh.instance, &mesh.instance, 0);
                } else {
                    drawBare(mesh, camera, texture.rasterHandle, screen, indices);
                }
                rlMain_Swap(0);
                RasterTestWindow::pumpMessages();
            }
            const double perFrame = (seconds() - start) / FRAMES * 1000.0;
            (pathIndex == 0 ? library : bare) = perFrame;
        }
    printf("model drawing benchmark: %d triangles a frame, %d frames each\n", triangles, FRAMES);
    printf("rlModel_Draw: %.2f ms a frame; bare Direct3D 7 loop: %.2f ms a frame; ratio %.2f\n", library, bare,
           library / bare);
    rlMain_Close();
    return 0;
}
