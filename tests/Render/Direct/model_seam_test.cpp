// Lights and model drawing through the DirectDraw double: lit vertex colours against a
// computation of their own, bone blending, clipping, the pass list of a model part and the
// triangle count.
#include <gtest/gtest.h>
#include <cmath>
#include <vector>
#include "drawTestSupport.h"
#include "fakeDirectDraw.h"
#include "fakeDraw.h"
#include "modelTestSupport.h"
#include "rasterTestWindow.h"
#include "rlCamera.h"
#include "rlClip.h"
#include "rlDevice.h"
#include "rlBatch.h"
#include "rlLight.h"
#include "rlMain.h"
#include "rlMode.h"
#include "rlModel.h"

namespace {

class RasterModels : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake_Install(FakeConfig());
        rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(true);
        ASSERT_EQ(rlMain_Open(&settings), 1);
        rlCamera_SetCurrent(&camera);
        rlLight_ClearLights();
        const float black[3] = {0, 0, 0};
        rlLight_SetAmbient(black);
        fakeDraw_Draws().clear();
    }
    void TearDown() override
    {
        rlLight_ClearLights();
        rlLight_NewModel(nullptr);
        rlCamera_pCurrent = nullptr;
        rlMain_Close();
        EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
        fake_Uninstall();
    }
    std::vector<rlClipVertex> verts(size_t call) const
    {
        const FakeDrawCall& c = fakeDraw_Draws().at(call);
        std::vector<rlClipVertex> out(c.numVerts);
        memcpy(out.data(), c.verts.data(), out.size() * sizeof(rlClipVertex));
        return out;
    }

    RasterTestWindow window;
    renderSettings settings;
    Camera camera = drawTest_Camera();
};

Light makeLight(uint32_t kind, mathVec3 position, mathVec3 direction, mathVec3 colour, float intensity)
{
    Light light = {};
    light.kind = kind;
    light.red = colour.x;
    light.green = colour.y;
    light.blue = colour.z;
    light.intensity = light.baseIntensity = intensity;
    light.position[0] = position.x;
    light.position[1] = position.y;
    light.position[2] = position.z;
    light.direction[0] = direction.x;
    light.direction[1] = direction.y;
    light.direction[2] = direction.z;
    light.coneLimit = 0.5f;
    light.range = 1000;
    light.falloff = 1.0f;
    return light;
}

// The lit colour as the lighting rules state it, with an exact square root.
std::vector<float> expectedLight(const std::vector<Light>& lights, mathVec3 p, mathVec3 n, const float ambient[3])
{
    std::vector<float> sum = {ambient[0] / 392, ambient[1] / 392, ambient[2] / 392};
    for (const Light& l : lights) {
        const double dx = l.position[0] - p.x, dy = l.position[1] - p.y, dz = l.position[2] - p.z;
        const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double dn = dx * n.x + dy * n.y + dz * n.z;
        const double toward = (dx * l.direction[0] + dy * l.direction[1] + dz * l.direction[2]) / len;
        double f = 0;
        if (l.kind == 2) {
            f = -(n.x * l.direction[0] + n.y * l.direction[1] + n.z * l.direction[2]) * l.intensity;
        } else if (dn > 0 && (l.kind == 0 || (l.kind == 1 && toward <= -l.coneLimit))) {
            f = (l.intensity - len * l.falloff) * dn / len;
        } else if (dn > 0 && l.kind == 3 && toward <= 0) {
            f = -toward * dn / (len * len * len) * l.falloff * l.intensity;
        }
        if (f <= 0) continue;
        sum[0] += float(f * l.red / 392);
        sum[1] += float(f * l.green / 392);
        sum[2] += float(f * l.blue / 392);
    }
    const float largest = std::max({sum[0], sum[1], sum[2]});
    if (largest > 255)
        for (float& c : sum) c *= 255 / largest;
    return sum;
}

void expectColour(uint32_t argb, const std::vector<float>& rgb, uint32_t alpha, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(argb >> 24, alpha);
    EXPECT_NEAR(double((argb >> 16) & 0xFF), rgb[0], 1.0);
    EXPECT_NEAR(double((argb >> 8) & 0xFF), rgb[1], 1.0);
    EXPECT_NEAR(double(argb & 0xFF), rgb[2], 1.0);
}

}  // namespace

TEST_F(RasterModels, LitVertexColoursFollowTheLightingRules)
{
    struct Case {
        const char* what;
        std::vector<Light> lights;
        float ambient[3];
    };
    const Case cases[] = {
        {"point in front", {makeLight(0, {0, 0, 0}, {0, 0, 1}, {255, 200, 100}, 200)}, {0, 0, 0}},
        {"two points and ambient",
         {makeLight(0, {5, 5, 0}, {0, 0, 1}, {100, 0, 255}, 150), makeLight(0, {-5, 0, 2}, {0, 0, 1}, {0, 255, 0}, 80)},
         {392, 784, 1568}},
        {"point behind the face", {makeLight(0, {0, 0, 30}, {0, 0, 1}, {255, 255, 255}, 500)}, {0, 0, 0}},
        {"point out of reach", {makeLight(0, {0, 0, -5}, {0, 0, 1}, {255, 255, 255}, 10)}, {0, 0, 0}},
        {"directional towards the face", {makeLight(2, {0, 0, 0}, {0, 0.6f, 0.8f}, {200, 100, 50}, 300)}, {0, 0, 0}},
        {"directional facing away", {makeLight(2, {0, 0, 0}, {0, 0, -1}, {255, 255, 255}, 300)}, {0, 0, 0}},
        {"spot inside its cone", {makeLight(1, {0, 0, 0}, {0, 0, 1}, {80, 160, 240}, 100)}, {0, 0, 0}},
        {"spot outside its cone", {makeLight(1, {0, 0, 0}, {0, 0, -1}, {80, 160, 240}, 100)}, {0, 0, 0}},
        {"inverse-square spot", {makeLight(3, {0, 1, 0}, {0, 0, 1}, {255, 255, 255}, 40000)}, {0, 0, 0}},
        {"ambient only", {}, {3920, 1960, 392}},
    };
    for (const Case& c : cases) {
        rlLight_ClearLights();
        rlLight_SetAmbient(c.ambient);
        for (const Light& light : c.lights) rlLight_AddLight(nullptr, &light, 0);
        TestModel model(camera, 1, {{0, 0, 10}});
        model.verts = {TestModel::vertex(0, 0, 0), TestModel::vertex(1, 2, -1)};
        ModelInstance* instance = model.finish(nullptr);
        instance->alpha = 0.5f;
        rlLight_NewModel(instance);
        uint32_t lit[2];
        rlLight_LightVertices(model.verts.data(), 2, nullptr, false, lit);
        for (int v = 0; v < 2; v++) {
            const mathVec3 p = model.verts[v].position;
            const mathVec3 world = {p.x, p.y, p.z + 10};
            expectColour(lit[v], expectedLight(c.lights, world, model.verts[v].normal, c.ambient), 128, c.what);
        }
    }
}

TEST_F(RasterModels, AnOverBrightLightClampsByItsLargestChannel)
{
    const Light light = makeLight(2, {0, 0, 0}, {0, 0, 1}, {255, 127.5f, 0}, 784);
    rlLight_AddLight(nullptr, &light, 0);
    TestModel model(camera, 1);
    model.verts = {TestModel::vertex(0, 0, 10)};
    rlLight_NewModel(model.finish(nullptr));
    uint32_t lit;
    rlLight_LightVertices(model.verts.data(), 1, nullptr, false, &lit);
    EXPECT_EQ(lit, 0xFFFF8000u);   // (510, 255, 0) becomes (255, 128, 0)
}

TEST_F(RasterModels, UnlitInstancesAndVertexColours)
{
    const Light light = makeLight(0, {0, 0, 0}, {0, 0, 1}, {255, 255, 255}, 100);
    const float ambient[3] = {392 * 10, 392 * 20, 392 * 30};
    rlLight_SetAmbient(ambient);
    EXPECT_EQ(rlLight_AmbientWord(), 0xFF0A141Eu);
    rlLight_AddLight(nullptr, &light, 0);
    TestModel model(camera, 1);
    model.verts = {TestModel::vertex(0, 0, 10)};
    model.vertexColours = {0x00102030};
    ModelInstance* instance = model.finish(nullptr, INSTANCE_VERTEX_DATA);
    uint32_t lit;

    // Lights add to the instance's own vertex colours.
    rlLight_NewModel(instance);
    rlLight_LightVertices(model.verts.data(), 1, model.vertexColours.data(), false, &lit);
    const std::vector<float> lightOnly = expectedLight({light}, {0, 0, 10}, {0, 0, -1}, ambient);
    expectColour(lit, {lightOnly[0] + 16, lightOnly[1] + 32, lightOnly[2] + 48}, 255, "colours and light");

    // A fullbright material and the unlit flag give white.
    rlLight_LightVertices(model.verts.data(), 1, model.vertexColours.data(), true, &lit);
    EXPECT_EQ(lit, 0xFFFFFFFFu);
    instance->flags = INSTANCE_UNLIT;
    rlLight_NewModel(instance);
    rlLight_LightVertices(model.verts.data(), 1, nullptr, false, &lit);
    EXPECT_EQ(lit, 0xFFFFFFFFu);
    EXPECT_EQ(rlLight_NumLights(), 0);

    // The other unlit flag empties the list: the next instance gets ambient only, and with no
    // lights its vertex colours come through as they are.
    rlLight_AddLight(nullptr, &light, 0);
    instance->flags = INSTANCE_UNLIT_ALT;
    rlLight_NewModel(instance);
    TestModel second(camera, 1);
    second.verts = {TestModel::vertex(0, 0, 10)};
    rlLight_NewModel(second.finish(nullptr));
    rlLight_LightVertices(second.verts.data(), 1, nullptr, false, &lit);
    EXPECT_EQ(lit, 0xFF0A141Eu);
    second.instance.flags = INSTANCE_VERTEX_DATA;
    rlLight_NewModel(&second.instance);
    rlLight_LightVertices(second.verts.data(), 1, model.vertexColours.data(), false, &lit);
    EXPECT_EQ(lit, 0x00102030u);

    // Nine lights: the ninth is ignored.
    rlLight_ClearLights();
    for (int i = 0; i < 9; i++) rlLight_AddLight(nullptr, &light, 0);
    EXPECT_EQ(rlLight_NumLights(), 8);
}

TEST_F(RasterModels, BonesBlendWithTheirParentAndBadBonesMeanBoneZero)
{
    Material material = drawTest_Material(3);
    TestModel model(camera, 2, {{0, 0, 10}, {2, 0, 10}});
    model.verts = {TestModel::vertex(0, 0, 0, 1, 0.5f),   // halfway between bone 1 and its parent
                   TestModel::vertex(0, 1, 0, 0, 0.5f),   // a root bone: weight 1
                   TestModel::vertex(1, 0, 0, 200, 1.0f)};   // no such bone: bone 0
    model.tris = {{{0, 1, 2}}};
    EXPECT_EQ(rlModel_Draw(model.finish(&material), nullptr, 0), 1);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    const std::vector<rlClipVertex> v = verts(0);
    EXPECT_FLOAT_EQ(v[0].x, 320 + 320 * 1.0f / 10);
    EXPECT_FLOAT_EQ(v[1].x, 320);
    EXPECT_FLOAT_EQ(v[1].y, 240 - 240 * 1.0f / 10);
    EXPECT_FLOAT_EQ(v[2].x, 320 + 320 * 1.0f / 10);
    EXPECT_EQ(fakeDraw_Draws()[0].indices, (std::vector<uint16_t>{0, 1, 2}));
}

TEST_F(RasterModels, PartsAreSkippedDrawnWholeOrClipped)
{
    Material material = drawTest_Material(3);
    RasterStats stats = {};
    rlMain_GetStats(&stats, 1);
    TestModel model(camera, 1, {{0, 0, 10}});
    model.verts = {TestModel::vertex(-1, -1, 0), TestModel::vertex(1, -1, 0), TestModel::vertex(0, 1, 0),
                   TestModel::vertex(8, 0, 0), TestModel::vertex(20, 0, 0), TestModel::vertex(8, 2, 0),
                   TestModel::vertex(30, 0, 0), TestModel::vertex(40, 0, 0), TestModel::vertex(30, 2, 0)};
    model.tris = {{{0, 1, 2}}, {{3, 4, 5}}, {{6, 7, 8}}, {{0, 1, 40}}};   // inside, crossing, outside, bad
    ModelInstance* instance = model.finish(&material);
    const int drawn = rlModel_Draw(instance, instance, 0);
    ASSERT_EQ(fakeDraw_Draws().size(), 1u);
    const FakeDrawCall& call = fakeDraw_Draws()[0];
    EXPECT_EQ(drawn, int(call.indices.size() / 3));
    EXPECT_EQ(drawn, 3);   // the crossing triangle clipped to a quadrilateral at the right edge
    EXPECT_GT(call.numVerts, 9);
    const std::vector<rlClipVertex> v = verts(0);
    for (size_t i = 3; i < call.indices.size(); i++) EXPECT_LE(v[call.indices[i]].x, 640.5f);
    rlMain_GetStats(&stats, 1);
    EXPECT_EQ(stats.numTriangles, 3u);

    // Wholly inside: drawn without clipping; a hidden part and a part beyond a plane: nothing.
    fakeDraw_Draws().clear();
    EXPECT_EQ(rlModel_Draw(instance, instance, RL_MODEL_INSIDE), 3);
    EXPECT_EQ(fakeDraw_Draws()[0].numVerts, 9);
    model.part.partFlags = INSTANCE_PART_HIDDEN;
    EXPECT_EQ(rlModel_Draw(instance, instance, 0), 0);
    model.part.partFlags = 0;
    model.pose(0, camera, {0, 0, -50});
    EXPECT_EQ(rlModel_Draw(instance, instance, 0), 0);
    model.model.numParts = 0;
    EXPECT_EQ(rlModel_Draw(instance, instance, 0), 0);
    EXPECT_EQ(rlModel_Draw(nullptr, nullptr, 0), 0);
}

TEST_F(RasterModels, ALayeredPartWithOverlayAndTintDrawsSixPasses)
{
    Bitmap textures[5] = {};
    for (int i = 0; i < 5; i++) textures[i].rasterHandle = 0;   // no uploads: binding keeps none
    Material material = drawTest_Material(3, &textures[0]);
    material.flags = MATERIAL_LAYERED;
    material.numPasses = 4;
    for (int i = 1; i < 4; i++) material.passes[i] = material.passes[0];
    Material overlay = drawTest_Material(17);
    TestModel model(camera, 1, {{0, 0, 10}});
    model.verts = {TestModel::vertex(-1, -1, 0), TestModel::vertex(1, -1, 0), TestModel::vertex(0, 1, 0)};
    model.tris = {{{0, 1, 2}}};
    ModelInstance* instance = model.finish(&material, INSTANCE_OVERLAY | INSTANCE_TINT);
    instance->pOverlay = &overlay;
    instance->overlayStrength = 0.5f;
    instance->tintColour = 0x804020;
    instance->tintLevel = 0.5f;
    EXPECT_EQ(rlModel_Draw(instance, instance, 0), 6);
    ASSERT_EQ(fakeDraw_Draws().size(), 6u);
    EXPECT_EQ(verts(4)[0].colour >> 24, 128u);   // the overlay's strength as vertex alpha
    EXPECT_EQ(rlMode_Cache()->mode, 28);
    EXPECT_EQ(rlMode_Cache()->textureFactor, 0xFF402010u);

    // Fading: a plain material draws in rgba; faded out, only the effect passes remain.
    fakeDraw_Draws().clear();
    material.flags = 0;
    instance->flags = 0;
    instance->alpha = 0.5f;
    EXPECT_EQ(rlModel_Draw(instance, instance, 0), 1);
    EXPECT_EQ(rlMode_Cache()->mode, 4);
    instance->alpha = 0.0f;
    instance->flags = INSTANCE_TINT;
    EXPECT_EQ(rlModel_Draw(instance, instance, 0), 1);
    EXPECT_EQ(rlMode_Cache()->mode, 28);
    instance->flags = INSTANCE_TINT | INSTANCE_OPAQUE;
    EXPECT_EQ(rlModel_Draw(instance, instance, 0), 1);
    EXPECT_EQ(rlMode_Cache()->mode, 3);
}

TEST_F(RasterModels, APartOfTheMostVerticesAFileAllowsIsDrawnWholeInBatchesThatFit)
{
    // 65,535 vertices, each at a screen position of its own, and 65,533 triangles
    // (i, i + 1, i + 2) that name every one of them.
    Material material = drawTest_Material(3);
    TestModel model(camera, 1, {{0, 0, 10}});
    const int numVerts = 0xFFFF;
    for (int i = 0; i < numVerts; i++)
        model.verts.push_back(TestModel::vertex(float(i % 256) / 128 - 1, float(i / 256) / 128 - 1, 0));
    for (int i = 0; i + 2 < numVerts; i++) model.tris.push_back({{uint16_t(i), uint16_t(i + 1), uint16_t(i + 2)}});
    ModelInstance* instance = model.finish(&material);

    for (int flags : {int(RL_MODEL_INSIDE), 0}) {
        SCOPED_TRACE(flags);
        fakeDraw_Draws().clear();
        EXPECT_EQ(rlModel_Draw(instance, instance, flags), numVerts - 2);
        EXPECT_GT(fakeDraw_Draws().size(), 1u);
        // The calls in order give back every triangle, each corner where its vertex maps.
        int t = 0, misplaced = 0;
        for (size_t call = 0; call < fakeDraw_Draws().size(); call++) {
            const FakeDrawCall& c = fakeDraw_Draws()[call];
            EXPECT_LE(c.numVerts, int(RL_BATCH_MAX_VERTS));
            const std::vector<rlClipVertex> v = verts(call);
            for (size_t k = 0; k + 2 < c.indices.size() && t + 2 < numVerts; k += 3, t++)
                for (int corner = 0; corner < 3; corner++) {
                    const uint16_t index = c.indices[k + corner];
                    const mathVec3& p = model.verts[t + corner].position;
                    misplaced += index >= c.numVerts || std::fabs(v[index].x - (320 + 32 * p.x)) > 1e-3f ||
                                 std::fabs(v[index].y - (240 - 24 * p.y)) > 1e-3f;
                }
        }
        EXPECT_EQ(t, numVerts - 2);
        EXPECT_EQ(misplaced, 0);
    }

    // Moved half past the right edge: the clipped triangles stay within the screen.
    model.pose(0, camera, {10, 0, 10});
    fakeDraw_Draws().clear();
    EXPECT_GT(rlModel_Draw(instance, instance, 0), numVerts / 3);
    for (size_t call = 0; call < fakeDraw_Draws().size(); call++) {
        const FakeDrawCall& c = fakeDraw_Draws()[call];
        EXPECT_LE(c.numVerts, int(RL_BATCH_MAX_VERTS));
        const std::vector<rlClipVertex> v = verts(call);
        int outside = 0;
        for (uint16_t index : c.indices) outside += index >= c.numVerts || v[index].x > 640.5f;
        EXPECT_EQ(outside, 0);
    }
}
