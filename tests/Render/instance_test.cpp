// Model instances: level of detail through the collapse map and from distance, the cull test,
// bone evaluation and the hand-over to the raster library's draw slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "animExpect.h"
#include "animTestSupport.h"
#include "mathFrame.h"
#include "mathMatrix.h"
#include "renderMixer.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "fixtureAllocations.h"
#include "fixtureViewerSample.h"
#include "stdFile.h"

using fixtures::QevModel;

namespace {

// One bone and one part of 16 vertices in a strip of 14 triangles (t, t + 1, t + 2); the
// lowest detail keeps 14 vertices. Vertex 15 collapses into 14 and 14 into 13, so that each
// dropped vertex turns the last triangle left into an edge.
QevModel StripModel(uint16_t collapse14 = 13, uint16_t collapse15 = 14)
{
    QevModel model;
    model.bones.resize(1);
    model.attachments = {"body"};
    for (int i = 0; i < 16; i++) {
        fixtures::QevVertex v;
        v.position = {(float)(i % 4) * 5 - 7.5f, 0, (float)(i / 4) * 5 - 7.5f};
        model.vertices.push_back(v);
        model.collapse.push_back((uint16_t)i);
    }
    model.collapse[14] = collapse14;
    model.collapse[15] = collapse15;
    for (uint16_t t = 0; t < 14; t++) model.triangles.push_back({t, (uint16_t)(t + 1), (uint16_t)(t + 2)});
    fixtures::QevPart part;
    part.material = -1;
    part.numTris = 14;
    part.numVerts = 16;
    part.minVerts = 14;
    model.parts = {part};
    model.box = {-10, -10, -10, 10, 10, 10};
    return model;
}

using Edge = std::pair<uint16_t, uint16_t>;

// Edges that only one of the triangles has: the border of the surface they make.
std::set<Edge> OpenEdges(const ModelTriangle* tris, int count)
{
    std::multiset<Edge> edges;
    for (int t = 0; t < count; t++)
        for (int k = 0; k < 3; k++) {
            const uint16_t a = tris[t].v[k], b = tris[t].v[(k + 1) % 3];
            edges.insert({std::min(a, b), std::max(a, b)});
        }
    std::set<Edge> open;
    for (const Edge& e : edges)
        if (edges.count(e) == 1) open.insert(e);
    return open;
}

// The full surface's border with every vertex walked down the collapse map below target:
// the only border the surface may have at that detail. Any other open edge is a crack.
std::set<Edge> CollapsedBorder(const ModelPart& part, int target)
{
    std::set<Edge> border;
    for (Edge e : OpenEdges(part.pTris, part.numTris)) {
        while (e.first >= target) e.first = part.pCollapse[e.first];
        while (e.second >= target) e.second = part.pCollapse[e.second];
        if (e.first != e.second) border.insert({std::min(e.first, e.second), std::max(e.first, e.second)});
    }
    return border;
}

const int kDraw = FAKE_RASTER_SLOT(funcModel_Draw);
const int kNewModel = FAKE_RASTER_SLOT(funcLight_NewModel);

class Instance : public animtest::InstanceFolder {
protected:
    Instance()
    {
        saved = renderSettings_current;
        renderSettings_current.modelLODMin = 0.0f;
        renderSettings_current.modelLODMax = 1.0f;
        renderSettings_current.modelLODMinDist = 200.0f;
        renderSettings_current.modelLODScale = 0.01f;
        mathFrame_Identity(&origin);
    }
    ~Instance() override { renderSettings_current = saved; }

    int Draw(ModelInstance* instance, float x, float y, uint32_t flags = 0)
    {
        mathFrame frame = origin;
        frame.m[9] = x;
        frame.m[10] = y;
        return renderModel_Draw(instance, &frame, flags);
    }

    renderSettings saved;
    mathFrame origin;
};

}  // namespace

TEST_F(Instance, CreationBindsBonesPartsAndTriangles)
{
    ModelInstance* strip = MakeInstance("strip", StripModel());
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->detail, 1.0f);
    EXPECT_EQ(strip->alpha, 1.0f);
    EXPECT_EQ(strip->fade, 1.0f);
    EXPECT_EQ(strip->scale.y, 1.0f);
    EXPECT_NE(strip->pTriangles, strip->pModel->pTris) << "a collapse map gets its own triangles";
    EXPECT_EQ(memcmp(strip->pTriangles, strip->pModel->pTris, 14 * sizeof(ModelTriangle)), 0);
    EXPECT_EQ(strip->pParts[0].drawTris, 14);
    EXPECT_EQ(strip->pParts[0].lodVerts, 16);
    EXPECT_EQ(strip->pBones[0].link, -1);

    ModelInstance* body = MakeInstance("body", animtest::SkeletonModel());
    EXPECT_EQ(body->pTriangles, body->pModel->pTris) << "no collapse map: the model's triangles";
    EXPECT_EQ(body->pBones[1].link, 0);
    renderModel_SetLOD(body, 0.0f);
    EXPECT_EQ(body->detail, 1.0f) << "level of detail needs a collapse map";
    EXPECT_EQ(body->pParts[0].drawTris, 3);
    renderModelInstance_Free(strip, 1);
    renderModelInstance_Free(body, 1);
    EXPECT_EQ(renderModelInstance_Create(nullptr), nullptr);
    EXPECT_EQ(renderModelInstance_Load("absent"), nullptr);
}

TEST_F(Instance, LevelOfDetailWalksTheCollapseMap)
{
    ModelInstance* strip = MakeInstance("strip", StripModel());
    struct Case {
        float detail;
        float kept;
        uint16_t verts, tris;
    } cases[] = {
        {0.0f, 0.0f, 14, 12},   {0.5f, 0.5f, 15, 13}, {1.0f, 1.0f, 16, 14},
        {-3.0f, 0.0f, 14, 12},  {7.0f, 1.0f, 16, 14}, {0.49f, 0.49f, 14, 12},
    };
    for (const Case& c : cases) {
        renderModel_SetLOD(strip, c.detail);
        EXPECT_EQ(strip->detail, c.kept) << c.detail;
        EXPECT_EQ(strip->pParts[0].lodVerts, c.verts) << c.detail;
        EXPECT_EQ(strip->pParts[0].drawTris, c.tris) << c.detail;
    }
    renderModel_SetLOD(strip, 0.0f);
    const ModelTriangle& last = strip->pParts[0].pTris[12];
    EXPECT_EQ(last.v[2], 13) << "15 and 14 walked down to 13";

    renderSettings_current.modelLODMin = 0.2f;
    renderSettings_current.modelLODMax = 0.6f;
    renderModel_SetLOD(strip, 0.0f);
    EXPECT_FLOAT_EQ(strip->detail, 0.2f);
    renderModel_SetLOD(strip, 1.0f);
    EXPECT_FLOAT_EQ(strip->detail, 0.6f);
    renderModelInstance_Free(strip, 1);
}

// A map whose entries point at each other cannot hold the walk: it stops after as many steps as
// the part has vertices, at an index of the part.
TEST_F(Instance, ACollapseCycleEnds)
{
    ModelInstance* strip = MakeInstance("cycle", StripModel(15, 14));
    renderModel_SetLOD(strip, 0.0f);
    const InstancePart& part = strip->pParts[0];
    EXPECT_EQ(part.lodVerts, 14);
    EXPECT_LE(part.drawTris, 14);
    for (int t = 0; t < 14; t++) {
        for (uint16_t v : part.pTris[t].v) EXPECT_LT(v, 16);
    }
    renderModelInstance_Free(strip, 1);
}

TEST_F(Instance, DetailFromDistance)
{
    ModelInstance* strip = MakeInstance("strip", StripModel());
    renderModelInstance_SetLODFromDistance(strip, 300.0f);
    EXPECT_FLOAT_EQ(strip->detail, 0.5f);
    EXPECT_EQ(strip->pParts[0].drawTris, 13);
    renderModelInstance_SetLODFromDistance(strip, 150.0f);
    EXPECT_FLOAT_EQ(strip->detail, 1.0f) << "nearer than the minimum distance: full detail";

    // Through the draw: the depth is the clip-space z of bone 0's origin.
    ASSERT_EQ(Draw(strip, 0, 0), 1);
    float depth = strip->pBones[0].clip.m[14];
    EXPECT_EQ(strip->lodDistance, depth);
    float v = (depth - 200.0f) * 0.01f;
    EXPECT_FLOAT_EQ(strip->detail, v > 0 ? 1.0f / (v + 1.0f) : 1.0f);

    // Moves of 10 or less keep the detail; the lock keeps it but records the depth.
    PlaceCamera(700.0f);
    ASSERT_EQ(Draw(strip, 0, 0), 1);
    float farDetail = strip->detail;
    EXPECT_LT(farDetail, 0.5f);
    ASSERT_EQ(Draw(strip, 0, 9.0f), 1);
    EXPECT_EQ(strip->detail, farDetail);
    strip->flags |= INSTANCE_LOD_LOCKED;
    ASSERT_EQ(Draw(strip, 0, -400.0f), 1);
    EXPECT_EQ(strip->detail, farDetail);
    EXPECT_EQ(strip->lodDistance, strip->pBones[0].clip.m[14]);
    strip->flags &= ~INSTANCE_LOD_LOCKED;
    ASSERT_EQ(Draw(strip, 0, -300.0f, DRAW_KEEP_LOD), 1);
    EXPECT_EQ(strip->detail, farDetail) << "the draw flag 0x10 keeps the detail";
    camera->flags |= CAMERA_FULL_DETAIL;
    ASSERT_EQ(Draw(strip, 0, 0), 1);
    EXPECT_EQ(strip->detail, 1.0f);
    renderModelInstance_Free(strip, 1);
}

TEST_F(Instance, TheCullTestDropsWhatLiesOutsideOnePlane)
{
    ModelInstance* strip = MakeInstance("strip", StripModel());
    struct Case {
        float x, y;
        int drawn;
    } cases[] = {
        {0, 0, 1},        {0, -600, 0},   // behind the eye
        {2000, 0, 0},     {-2000, 0, 0},  {0, 2000, 0},   // beyond the far plane
        {300, 0, 1},      // straddling the side plane
    };
    for (const Case& c : cases) {
        raster.ClearCalls();
        EXPECT_EQ(Draw(strip, c.x, c.y), c.drawn) << c.x << ", " << c.y;
        EXPECT_EQ(raster.Count(kDraw), c.drawn) << c.x << ", " << c.y;
        EXPECT_EQ(raster.Count(kNewModel), c.drawn) << c.x << ", " << c.y;
    }
    mathVec4 behind = {0, 0, 0, 0};
    EXPECT_EQ(renderModel_Outcode(&behind), 32u);
    mathVec4 corner = {2, -2, 0.5f, 1};
    EXPECT_EQ(renderModel_Outcode(&corner), 1u | 8u);
    renderModelInstance_Free(strip, 1);
}

TEST_F(Instance, TheDrawHandsTheInstanceToTheRasterLibrary)
{
    ModelInstance* strip = MakeInstance("strip", StripModel());
    raster.ClearCalls();
    ASSERT_EQ(Draw(strip, 0, 0, DRAW_TINT), 1);
    EXPECT_EQ(raster.Slots(), (std::vector<int>{kNewModel, kDraw}));
    EXPECT_EQ(raster.Last(kNewModel)->Arg<ModelInstance*>(0), strip);
    const fakes::RasterCall* draw = raster.Last(kDraw);
    EXPECT_EQ(draw->Arg<ModelInstance*>(0), strip);
    EXPECT_EQ(draw->Arg<ModelInstance*>(1), strip);
    EXPECT_EQ(draw->Word(2), (uint32_t)DRAW_TINT);
    EXPECT_TRUE(strip->flags & INSTANCE_TINT);
    EXPECT_TRUE(strip->pModel->flags & MODEL_MATERIALS_CACHED);

    strip->tintLevel = 0.5f;
    Draw(strip, 0, 0);
    EXPECT_FALSE(strip->flags & INSTANCE_TINT);
    EXPECT_EQ(strip->colour.x, 75.0f);
    EXPECT_EQ(strip->colour.z, 75.0f);

    raster.ClearCalls();
    strip->flags |= INSTANCE_HIDDEN;
    EXPECT_EQ(Draw(strip, 0, 0), 1);
    EXPECT_EQ(raster.Slots(), (std::vector<int>{kNewModel})) << "hidden: lights only";
    EXPECT_EQ(renderModel_Draw(nullptr, &origin, 0), 0);
    renderModelInstance_Free(strip, 1);
}

// Without a mixer every bone takes the instance frame; with one, the rest frame, then the
// pose, then the instance frame, and the clip matrices that follow from it.
TEST_F(Instance, BoneFramesFromTheInstanceFrame)
{
    ModelInstance* body = MakeInstance("body", animtest::SkeletonModel());
    mathFrame frame;
    mathAngles angles = {0, 0, 90};
    mathVec3 at = {5, 10, 0};
    mathFrame_FromAngles(&frame, &angles, &at);
    renderModelInstance_EvaluateBones(body, &frame, &camera->viewProjection, camera);
    mathMatrix clip;
    mathMatrix_MultiplyFrame(&clip, &camera->viewProjection, &frame);
    for (int b = 0; b < 2; b++) {
        EXPECT_EQ(memcmp(&body->pBones[b].world, &frame, sizeof frame), 0);
        for (int i = 0; i < 16; i++) EXPECT_FLOAT_EQ(body->pBones[b].clip.m[i], clip.m[i]);
    }
    // The eye in bone space: the camera at (0, -300, 0) seen from a bone at (5, 10, 0) turned
    // by 90 degrees.
    mathVec3 back;
    mathFrame_TransformPoints(&frame, &body->pBones[0].eye, &back, 1);
    EXPECT_NEAR(back.x, 0.0f, 1e-3);
    EXPECT_NEAR(back.y, -300.0f, 1e-3);

    ASSERT_EQ(renderMixer_Create(body, 0), 1);
    renderModelInstance_EvaluateBones(body, &frame, &camera->viewProjection, camera);
    const InstanceBone& child = body->pBones[1];
    mathFrame expected;
    mathFrame_Multiply(&expected, &child.world, &body->pModel->pBones[1].frame);
    for (int i = 0; i < 12; i++) EXPECT_FLOAT_EQ(child.modelFrame.m[i], expected.m[i]);
    mathFrame identity;
    mathFrame_Multiply(&identity, &child.inverse, &child.modelFrame);
    EXPECT_NEAR(identity.m[0], 1.0f, 1e-5);
    EXPECT_NEAR(identity.m[9], 0.0f, 1e-3);
    renderModelInstance_Free(body, 1);
}

// A model and its animation from the files the fixtures write: played, evaluated on the first
// frame, and at the draw slot the instance carries the poses of the keys.
TEST_F(Instance, AnAnimatedModelReachesTheDrawSlotPosed)
{
    fixtures::JupFile file;
    file.duration = 30;
    fixtures::JupCurve turn;
    turn.bone = 1;
    turn.keys = {fixtures::MakeCubicKey(0, 0.5f, 5, 2, 0.5f, -0.1f)};
    file.curves = {turn};
    ASSERT_TRUE(WriteAnim("wave", file));
    ModelInstance* body = MakeInstance("body", animtest::SkeletonModel());
    ASSERT_EQ(renderMixer_Create(body, 0), 1);
    ASSERT_EQ(body->pMixer->Play(renderKeyframe_GetTrack("wave", 0), 30.0f, 0), 1);
    body->pMixer->Advance(0.2f);   // frame 6

    mathFrame seen[2];
    raster.SetHandler(kDraw, [&](const fakes::RasterCall& c) {
        const ModelInstance* node = c.Arg<ModelInstance*>(0);
        for (int b = 0; b < 2; b++) seen[b] = node->pBones[b].pose;
        return 1u;
    });
    ASSERT_EQ(Draw(body, 0, 0), 1);
    double angles[3], zero[3] = {0, 0, 0}, rest0[3] = {0, 0, 1}, rest1[3] = {0, 1, 0};
    animtest::KeyAt(turn.keys[0], 6.0, angles);
    animtest::Affine pose0 = animtest::Local(zero, rest0);
    animtest::ExpectFrame(seen[0], pose0, 1e-4, "bone 0");
    animtest::ExpectFrame(seen[1], animtest::Then(animtest::Local(angles, rest1), pose0), 2e-3, "bone 1");
    renderModelInstance_Free(body, 1);
}

namespace {

// A bone-less mesh file: material names, counts, vertices, triangles, parts, box, extras. The
// counts in its header may claim other than the 4 vertices, 2 triangles and 1 part it holds.
fixtures::Bytes MeshBytes(uint16_t badIndex = 0, uint32_t claimedVerts = 4, uint32_t claimedTris = 2,
                          uint16_t claimedParts = 1)
{
    using fixtures::PutU16;
    using fixtures::PutU32;
    const auto putF = fixtures::PutF32;
    fixtures::Bytes b;
    PutU32(b, 0);   // materials
    PutU32(b, claimedVerts);
    PutU32(b, claimedTris);
    PutU16(b, claimedParts);
    PutU32(b, 0x40);
    for (int i = 0; i < 4; i++) {
        float v[8] = {(float)(i & 1), 0, (float)(i >> 1), 0, -1, 0, 0, 0};
        for (float f : v) putF(b, f);
        putF(b, 1.0f);
        PutU32(b, 0);   // bone 0
    }
    for (uint16_t i : {0, 1, 2, 1, 3, (int)(badIndex ? badIndex : 2)}) PutU16(b, i);
    PutU32(b, 0xFFFFFFFF);   // material index: none
    for (int i = 0; i < 3; i++) PutU32(b, 0);
    PutU16(b, 2);            // triangles
    PutU16(b, 4);            // vertices
    PutU16(b, 4);            // minimum vertices
    for (int i = 0; i < 6; i++) b.push_back(0);
    for (float f : {0.f, 0.f, 0.f, 1.f, 0.f, 1.f}) putF(b, f);
    PutU32(b, 2);            // extras
    for (int i = 0; i < 32; i++) b.push_back((uint8_t)i);
    return b;
}

ModelInstance* ReadMeshFile(const fixtures::Bytes& bytes)
{
    if (!fixtures::WriteBytes("mesh.bin", bytes)) return nullptr;
    stdFileHandle file = stdFile_OpenPath("mesh.bin", "rb");
    ModelInstance* mesh = renderModel_ReadMesh(file);
    stdFile_Close(file);
    return mesh;
}

}  // namespace

TEST_F(Instance, BonelessMeshesAreReadWholeOrNotAtAll)
{
    ModelInstance* mesh = ReadMeshFile(MeshBytes());
    ASSERT_NE(mesh, nullptr);
    const Model* model = mesh->pModel;
    EXPECT_TRUE(mesh->flags & INSTANCE_MESH);
    EXPECT_EQ(std::string(model->name).rfind("AUTO_", 0), 0u);
    EXPECT_EQ(renderModel_Find(model->name), nullptr) << "not in the model cache";
    EXPECT_EQ(model->numBones, 1);
    EXPECT_EQ(model->pBones[0].frame.m[0], 1.0f);
    EXPECT_EQ(model->numAttach, 1);
    EXPECT_EQ(model->pAttach[0].name[0], 0);
    EXPECT_EQ(model->pCollapse, nullptr);
    EXPECT_EQ(model->flags, 0x40u);
    EXPECT_EQ(model->box.vMax.z, 1.0f);
    ASSERT_EQ(model->numExtras, 2u);
    EXPECT_EQ(((const uint8_t*)model->pExtras)[31], 31);
    EXPECT_EQ(mesh->pParts[0].drawTris, 2);
    EXPECT_EQ(mesh->pParts[0].pTris[1].v[1], 3);
    EXPECT_EQ(Draw(mesh, 0, 0), 1);
    renderModelInstance_Free(mesh, 1);

    EXPECT_EQ(ReadMeshFile(MeshBytes(4)), nullptr) << "a triangle naming a fifth vertex";
    fixtures::Bytes good = MeshBytes();
    for (size_t n = 0; n < good.size(); n++) {
        fixtures::Bytes cut(good.begin(), good.begin() + (long)n);
        EXPECT_EQ(ReadMeshFile(cut), nullptr) << n;
    }
}

TEST_F(Instance, AMeshFileClaimingMoreThanItHoldsIsRefusedBeforeTheClaimSizesAnything)
{
    // What a mesh may take: the model's record, its one bone and attachment, and its arrays at
    // most twice their bytes in the file (a part takes 28 bytes there and more in memory).
    ASSERT_TRUE(fixtures::AllocationsCounted());
    const auto bound = [](size_t fileSize) {
        return sizeof(Model) + sizeof(ModelBone) + sizeof(ModelAttach) + 2 * fileSize;
    };
    struct Claim {
        uint32_t verts, tris;
        uint16_t parts;
    };
    for (const Claim c : {Claim{4, 2, 1}, Claim{0x10002, 2, 1}, Claim{4, 0x100000, 1},
                          Claim{4, 2, 0xFFFF}, Claim{0x3000000, 2, 1}, Claim{5, 2, 1}}) {
        SCOPED_TRACE(testing::Message() << c.verts << " vertices, " << c.tris << " triangles, "
                                        << c.parts << " parts");
        const fixtures::Bytes bytes = MeshBytes(0, c.verts, c.tris, c.parts);
        ASSERT_TRUE(fixtures::WriteBytes("claims.bin", bytes));
        stdFileHandle file = stdFile_OpenPath("claims.bin", "rb");
        ASSERT_TRUE(file);
        ModelInstance* mesh;
        size_t largest, live;
        {
            fixtures::AllocationWatch watch;
            mesh = renderModel_ReadMesh(file);
            largest = watch.Largest();
            live = watch.LiveBlocks();
        }
        stdFile_Close(file);
        const bool truthful = c.verts == 4 && c.tris == 2 && c.parts == 1;
        EXPECT_EQ(mesh != nullptr, truthful);
        EXPECT_LE(largest, bound(bytes.size()));
        if (mesh) {
            renderModelInstance_Free(mesh, 1);
        } else {
            EXPECT_EQ(live, 0u);
        }
    }
}

TEST_F(Instance, TheShadowInstanceIsMadeOnceAtTheShadowDetail)
{
    ASSERT_TRUE(WriteModel("strip", StripModel()));
    Model* model = renderModel_Load("strip", 0);
    renderSettings_current.shadowDetail = 0.0f;
    ModelInstance* shadow = renderModel_GetShadowInstance(model);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->detail, 0.0f);
    EXPECT_EQ(shadow->pParts[0].drawTris, 12);
    EXPECT_EQ(renderModel_GetShadowInstance(model), shadow);
    EXPECT_EQ(model->refCount, 1) << "the shadow instance takes no reference";
    renderModel_Free(model);   // and the shadow instance with it
    EXPECT_EQ(renderModel_GetShadowInstance(nullptr), nullptr);
}

// The viewer's sample models at every vertex count their collapse maps give: the surface
// that is drawn has no border but its own, walked down the map (a hole where a ring is half
// collapsed would show as a notch in the silhouette).
TEST_F(Instance, EveryDetailOfTheViewerSampleLeavesNoHole)
{
    const std::pair<const char*, QevModel> models[] = {
        {"totem", fixtures::MakeSampleTotem()},
        {"tubes", fixtures::MakeSampleTubes(2, 12, 6, 10.0f, 20.0f)},
    };
    for (const auto& [name, qev] : models) {
        ModelInstance* instance = MakeInstance(name, qev);
        ASSERT_NE(instance, nullptr) << name;
        const Model* model = instance->pModel;
        int steps = 1;
        for (int p = 0; p < model->numParts; p++)
            steps = std::max(steps, 4 * (model->pParts[p].numVerts - model->pParts[p].minVerts));
        int holes = 0;
        for (int step = 0; step <= steps; step++) {
            renderModel_SetLOD(instance, float(step) / float(steps));
            for (int p = 0; p < model->numParts; p++) {
                const InstancePart& part = instance->pParts[p];
                const std::set<Edge> drawn = OpenEdges(part.pTris, part.drawTris);
                const std::set<Edge> border = CollapsedBorder(model->pParts[p], part.lodVerts);
                for (const Edge& e : drawn)
                    if (!border.count(e) && holes++ < 5)
                        ADD_FAILURE() << name << " part " << p << " at " << part.lodVerts << " vertices: open edge "
                                      << e.first << "-" << e.second;
            }
        }
        EXPECT_EQ(holes, 0) << name;
        renderModelInstance_Free(instance, 1);
    }
}
