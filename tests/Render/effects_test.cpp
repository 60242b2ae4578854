// Instance effects and queries: fades, scale blends, overlays, children, model swaps, part
// groups, bone points, the collision mesh and per-vertex values, each at its limits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "animTestSupport.h"
#include "fixtureTga.h"
#include "mathFrame.h"
#include "renderMixer.h"
#include "renderModelInstanceEffects.h"
#include "renderModelInstance.h"
#include "stdFile.h"

using fixtures::QevModel;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Two parts in the groups "head" (0) and "Arms" (1).
QevModel GroupModel()
{
    QevModel model = fixtures::MakeQevModel({}, 2, 4, false);
    model.attachments = {"head", "Arms"};
    model.parts[1].group = 1;
    return model;
}

class Effects : public animtest::InstanceFolder {
protected:
    Effects() { body = MakeInstance("body", animtest::SkeletonModel()); }
    ~Effects() override { renderModelInstance_Free(body, 1); }

    ModelInstance* body = nullptr;
};

}  // namespace

TEST_F(Effects, FadesRunToTheirTargetOrActAtOnce)
{
    ASSERT_NE(body, nullptr);
    renderModelInstance_FadeTo(body, 0.0f, 500.0f);
    EXPECT_TRUE(body->flags & INSTANCE_FADE);
    EXPECT_FLOAT_EQ(body->alphaRate, -2.0f);
    renderModelInstance_Update(body, 0.25f);
    EXPECT_FLOAT_EQ(body->alpha, 0.5f);
    renderModelInstance_Update(body, 0.5f);
    EXPECT_EQ(body->alpha, 0.0f);
    EXPECT_FALSE(body->flags & INSTANCE_FADE);

    body->flags |= INSTANCE_FADE;
    renderModelInstance_FadeTo(body, 0.0f, 500.0f);
    EXPECT_FALSE(body->flags & INSTANCE_FADE) << "a fade to the current alpha only stops";

    // Zero, negative or not-a-number times act at once instead of never ending.
    for (float ms : {0.0f, -200.0f, kNaN}) {
        renderModelInstance_FadeTo(body, 0.75f, ms);
        EXPECT_EQ(body->alpha, 0.75f) << ms;
        EXPECT_FALSE(body->flags & INSTANCE_FADE) << ms;
        body->alpha = 0.25f;
    }
    renderModelInstance_FadeTo(body, 1.0f, 1000.0f);
    for (int i = 0; i < 12; i++) renderModelInstance_Update(body, 0.1f);
    EXPECT_EQ(body->alpha, 1.0f);
    EXPECT_FALSE(body->flags & INSTANCE_FADE);
}

TEST_F(Effects, ScaleBlendsAndTheirLimits)
{
    renderModelInstance_ScaleTo(body, 0.0f, -1.0f);
    EXPECT_FLOAT_EQ(body->scale.x, 0.01f);
    EXPECT_TRUE(body->flags & INSTANCE_SCALED);
    renderModelInstance_ScaleTo(body, 100.0f, 0.0f);
    EXPECT_EQ(body->scale.z, 50.0f) << "0 seconds: at once, not an infinite rate";
    EXPECT_FALSE(body->flags & INSTANCE_SCALE_BLEND);
    renderModelInstance_ScaleTo(body, 1.0f, 0.0f);
    EXPECT_FALSE(body->flags & INSTANCE_SCALED);

    renderModelInstance_ScaleTo(body, 3.0f, 2.0f);
    renderModelInstance_Update(body, 0.5f);
    EXPECT_FLOAT_EQ(body->scale.y, 1.5f);
    EXPECT_TRUE(body->flags & INSTANCE_SCALED);
    renderModelInstance_Update(body, 0.0f);
    EXPECT_FLOAT_EQ(body->scale.y, 1.5f) << "a step of 0 holds the blend";
    renderModelInstance_Update(body, 5.0f);
    EXPECT_EQ(body->scale.y, 3.0f);
    EXPECT_FALSE(body->flags & INSTANCE_SCALE_BLEND);

    mathVec3 factors = {0.001f, 2.0f, 80.0f};
    renderModelInstance_ScaleToVector(body, &factors, 0.0f);
    EXPECT_EQ(factors.x, 0.01f) << "clamped in the caller's vector";
    EXPECT_EQ(factors.z, 50.0f);
    EXPECT_EQ(body->scale.y, 2.0f);
    mathVec3 back = {1, 1, 1};
    renderModelInstance_ScaleToVector(body, &back, 1000.0f);
    renderModelInstance_Update(body, 0.5f);
    EXPECT_FLOAT_EQ(body->scale.z, 25.5f);
    renderModelInstance_Update(body, 0.5f);
    EXPECT_FALSE(body->flags & INSTANCE_SCALED);

    // The draw scales the frame first.
    renderModelInstance_ScaleTo(body, 2.0f, 0.0f);
    mathFrame frame;
    mathFrame_Identity(&frame);
    ASSERT_EQ(renderModel_Draw(body, &frame, 0), 1);
    EXPECT_FLOAT_EQ(body->pBones[0].world.m[0], 2.0f);
}

TEST_F(Effects, TintRisesWhileOnAndFallsAfter)
{
    body->flags |= INSTANCE_TINT;
    renderModelInstance_Update(body, 0.2f);
    EXPECT_FLOAT_EQ(body->tintLevel, 0.6f);
    renderModelInstance_Update(body, 1.0f);
    EXPECT_EQ(body->tintLevel, 1.0f);
    body->flags &= ~INSTANCE_TINT;
    renderModelInstance_Update(body, 0.1f);
    EXPECT_FLOAT_EQ(body->tintLevel, 0.7f);
    renderModelInstance_Update(body, 1.0f);
    EXPECT_EQ(body->tintLevel, 0.0f);
}

TEST_F(Effects, OverlaysRunOnceReturnOrCycle)
{
    // The overlay material is the texture of its name.
    fixtures::MakeFolders("3D\\Materials");
    ASSERT_TRUE(fixtures::WriteTga("3D\\Materials\\glow.tga",
                                   fixtures::MakeTga(4, 4, 32, false, [](int, int) { return 0xFF808080u; })));
    renderModelInstance_SetOverlay(body, "glow", INSTANCE_OVERLAY_ONLY, 0.0f, 1.0f, 2.0f);
    ASSERT_NE(body->pOverlay, nullptr);
    EXPECT_TRUE(body->flags & INSTANCE_OVERLAY);
    EXPECT_TRUE(body->flags & INSTANCE_OVERLAY_ONLY);
    renderModelInstance_Update(body, 1.0f);
    EXPECT_FLOAT_EQ(body->overlayStrength, 0.5f);
    renderModelInstance_Update(body, 1.5f);
    EXPECT_EQ(body->overlayStrength, 1.0f);
    EXPECT_FALSE(body->flags & INSTANCE_OVERLAY_TIMER);
    EXPECT_TRUE(body->flags & INSTANCE_OVERLAY) << "ends at 1: the overlay stays";

    renderModelInstance_SetOverlay(body, "glow", INSTANCE_OVERLAY_RETURN, 0.2f, 0.8f, 1.0f);
    renderModelInstance_Update(body, 1.0f);
    EXPECT_FLOAT_EQ(body->overlayStrength, 0.8f);
    renderModelInstance_Update(body, 0.5f);
    EXPECT_FLOAT_EQ(body->overlayStrength, 0.5f);
    renderModelInstance_Update(body, 0.5f);
    EXPECT_FLOAT_EQ(body->overlayStrength, 0.2f) << "there and back once";
    EXPECT_FALSE(body->flags & INSTANCE_OVERLAY_TIMER);

    renderModelInstance_SetOverlay(body, "glow", INSTANCE_OVERLAY_CYCLE, 0.0f, 1.0f, 1.0f);
    for (int i = 0; i < 5; i++) renderModelInstance_Update(body, 1.0f);
    EXPECT_TRUE(body->flags & INSTANCE_OVERLAY_TIMER) << "cycles on";
    EXPECT_EQ(body->overlayStrength, 1.0f);

    renderModelInstance_SetOverlay(body, "glow", 0, 0.0f, 0.4f, 0.0f);
    EXPECT_EQ(body->overlayStrength, 0.4f) << "0 seconds: at once, no timer";
    EXPECT_FALSE(body->flags & (INSTANCE_OVERLAY_TIMER | INSTANCE_OVERLAY_CYCLE));

    // A fade to 0 releases the material.
    renderModelInstance_SetOverlay(body, "glow", 0, 1.0f, 0.0f, 0.5f);
    renderModelInstance_Update(body, 1.0f);
    EXPECT_EQ(body->pOverlay, nullptr);
    EXPECT_FALSE(body->flags & INSTANCE_OVERLAY);

    body->flags |= 0x2000;
    renderModelInstance_SetOverlay(body, "glow", 0x1000, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(body->pOverlay, nullptr) << "a lower priority changes nothing";
    renderModelInstance_SetOverlay(body, "glow", 0x2000, 0.0f, 1.0f, 0.0f);
    EXPECT_NE(body->pOverlay, nullptr);
    renderModelInstance_ClearOverlay(body);
    EXPECT_EQ(body->pOverlay, nullptr);
    EXPECT_EQ(body->overlayStrength, 0.0f);
}

TEST_F(Effects, ChildrenFollowTheirParent)
{
    ASSERT_TRUE(WriteModel("sword", animtest::SkeletonModel(3)));
    ASSERT_TRUE(WriteModel("ring", animtest::SkeletonModel(1)));
    EXPECT_EQ(renderModelInstance_AttachChild(body, "ring", 0), 0) << "fewer bones than the parent";
    EXPECT_EQ(body->children[0], nullptr);
    EXPECT_EQ(renderModelInstance_AttachChild(body, "absent", 0), 0);
    EXPECT_EQ(renderModelInstance_AttachChild(body, "sword", 4), 0);
    EXPECT_EQ(renderModelInstance_AttachChild(body, "sword", -1), 0);
    EXPECT_EQ(renderModelInstance_AttachChild(nullptr, "sword", 0), 0);

    renderModelInstance_FadeTo(body, 0.5f, 0.0f);
    ASSERT_EQ(renderModelInstance_AttachChild(body, "sword", 2), 1);
    ModelInstance* sword = body->children[2];
    EXPECT_EQ(sword->alpha, 0.5f);
    renderModelInstance_FadeTo(body, 1.0f, 100.0f);
    renderModelInstance_Update(body, 1.0f);
    EXPECT_EQ(sword->alpha, 1.0f) << "the child takes the parent's fade";

    // The child takes the parent's bone poses and is drawn after it, with the parent as root;
    // its bone past the parent's keeps its own pose.
    ASSERT_EQ(renderMixer_Create(body, 0), 1);
    raster.ClearCalls();
    body->flags |= INSTANCE_HIDDEN;
    mathFrame frame;
    mathFrame_Identity(&frame);
    ASSERT_EQ(renderModel_Draw(body, &frame, 0), 1);
    const int draw = FAKE_RASTER_SLOT(funcModel_Draw);
    ASSERT_EQ(raster.Count(draw), 1);
    EXPECT_EQ(raster.Last(draw)->Arg<ModelInstance*>(0), sword);
    EXPECT_EQ(raster.Last(draw)->Arg<ModelInstance*>(1), body);
    EXPECT_EQ(memcmp(&sword->pBones[1].world, &body->pBones[1].world, sizeof(mathFrame)), 0);
    EXPECT_FLOAT_EQ(sword->pBones[2].world.m[0], 1.0f);

    EXPECT_EQ(renderModelInstance_DetachChild(body, 2), 1);
    EXPECT_EQ(body->children[2], nullptr);
    EXPECT_EQ(renderModelInstance_DetachChild(body, 2), 0);
    EXPECT_EQ(renderModelInstance_DetachChild(body, 9), 0);
}

TEST_F(Effects, SwappingTheModelKeepsTheState)
{
    EXPECT_EQ(renderModelInstance_SwapModel(body, "body"), body) << "already shown";
    ASSERT_TRUE(WriteModel("other", animtest::SkeletonModel(2)));
    ASSERT_TRUE(WriteModel("big", animtest::SkeletonModel(3)));
    EXPECT_EQ(renderModelInstance_SwapModel(body, "big"), nullptr) << "another bone count";
    EXPECT_EQ(renderModelInstance_SwapModel(body, "absent"), nullptr);
    ASSERT_TRUE(WriteModel("sword", animtest::SkeletonModel(2)));
    ASSERT_EQ(renderModelInstance_AttachChild(body, "sword", 1), 1);
    ModelInstance* sword = body->children[1];
    ASSERT_EQ(renderMixer_Create(body, 0), 1);
    Mixer* mixer = body->pMixer;
    body->flags |= INSTANCE_UNLIT | INSTANCE_VERTEX_DATA;
    body->alpha = 0.3f;
    body->scale = {2, 2, 2};

    ModelInstance* swapped = renderModelInstance_SwapModel(body, "other");
    ASSERT_NE(swapped, nullptr);
    body = swapped;   // the old instance is gone
    EXPECT_STREQ(swapped->pModel->name, "other");
    EXPECT_EQ(swapped->pMixer, mixer);
    EXPECT_EQ(mixer->pInstance, swapped);
    EXPECT_EQ(swapped->children[1], sword);
    EXPECT_EQ(swapped->flags, (uint32_t)INSTANCE_UNLIT) << "the old per-vertex values stay behind";
    EXPECT_EQ(swapped->alpha, 0.3f);
    EXPECT_EQ(swapped->scale.x, 2.0f);
}

TEST_F(Effects, PartGroupsByNameAndIndex)
{
    ModelInstance* figure = MakeInstance("figure", GroupModel());
    ASSERT_NE(figure, nullptr);
    EXPECT_EQ(renderModelInstance_FindGroup(figure, "ARMS"), 1);
    EXPECT_EQ(renderModelInstance_FindGroup(figure, "legs"), -1);
    EXPECT_EQ(renderModelInstance_HideGroup(figure, "arms"), 1);
    EXPECT_EQ(figure->pParts[0].partFlags, 0);
    EXPECT_EQ(figure->pParts[1].partFlags, INSTANCE_PART_HIDDEN);
    EXPECT_EQ(renderModelInstance_ShowGroup(figure, "Arms"), 1);
    EXPECT_EQ(figure->pParts[1].partFlags, 0);
    EXPECT_EQ(renderModelInstance_HideGroup(figure, "legs"), 0);
    renderModelInstance_HideGroupIndex(figure, 0);
    EXPECT_EQ(figure->pParts[0].partFlags, INSTANCE_PART_HIDDEN);
    renderModelInstance_HideGroupIndex(figure, 3);
    renderModelInstance_HideGroupIndex(figure, -1);
    EXPECT_EQ(figure->pParts[1].partFlags, 0) << "indices past the groups change nothing";

    // Names of the children's models are found too.
    QevModel cloak = animtest::SkeletonModel();
    cloak.attachments = {"cape"};
    ASSERT_TRUE(WriteModel("cloak", cloak));
    ASSERT_EQ(renderModelInstance_AttachChild(body, "cloak", 3), 1);
    EXPECT_EQ(renderModelInstance_FindGroup(body, "CAPE"), 0);
    renderModelInstance_Free(figure, 1);
}

TEST_F(Effects, BonePointsCheckTheirBone)
{
    ASSERT_EQ(renderMixer_Create(body, 0), 1);
    NextFrame();
    renderMixer_Evaluate(body);   // bone 1 sits at (0, 1, 1) in the model
    mathFrame frame;
    mathFrame_Identity(&frame);
    frame.m[9] = 100;
    mathVec3 p = {1, 0, 0}, out = {-1, -1, -1};
    ASSERT_EQ(renderModelInstance_BonePoint(body, 1, &out, &frame, &p), 1);
    EXPECT_FLOAT_EQ(out.x, 101.0f);
    EXPECT_FLOAT_EQ(out.y, 1.0f);
    EXPECT_FLOAT_EQ(out.z, 1.0f);
    for (int bone : {2, -1, 65535}) {
        mathVec3 untouched = {-1, -1, -1};
        EXPECT_EQ(renderModelInstance_BonePoint(body, bone, &untouched, &frame, &p), 0) << bone;
        EXPECT_EQ(untouched.x, -1.0f);
    }
}

TEST_F(Effects, TheCollisionMeshIsInWorldSpace)
{
    mathFrame frame;
    mathFrame_Identity(&frame);
    frame.m[11] = 10;
    const Model* model = body->pModel;
    Collision* collision = renderModel_BuildCollision(model, &frame);
    ASSERT_NE(collision, nullptr);
    ASSERT_EQ(collision->numTriangles, 3u);
    EXPECT_EQ(collision->box.vMax.x, model->box.vMax.x);
    for (uint32_t t = 0; t < collision->numTriangles; t++) {
        const CollisionTriangle& tri = collision->pTriangles[t];
        const ModelTriangle& source = model->pParts[0].pTris[t];
        for (int k = 0; k < 3; k++) {
            const mathVec3& v = model->pParts[0].pVerts[source.v[k]].position;
            EXPECT_FLOAT_EQ(tri.corners[k].z, v.z + 10.0f);
        }
        for (int k = 0; k < 3; k++)
            EXPECT_NEAR(tri.normal.x * tri.corners[k].x + tri.normal.y * tri.corners[k].y +
                            tri.normal.z * tri.corners[k].z,
                        tri.d, 1e-3);
    }
    renderModel_FreeCollision(collision);
    QevModel empty = animtest::SkeletonModel();
    empty.parts[0].numTris = 0;
    empty.triangles.clear();
    ModelInstance* bare = MakeInstance("bare", empty);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(renderModel_BuildCollision(bare->pModel, &frame), nullptr);
    renderModelInstance_Free(bare, 1);
}

TEST_F(Effects, VertexValuesAreSlicedByPart)
{
    ModelInstance* figure = MakeInstance("figure", GroupModel());   // 2 parts of 4 vertices
    std::vector<uint32_t> values = {1, 2, 3, 4, 5, 6, 7, 8};
    fixtures::Bytes bytes;
    for (uint32_t v : values) fixtures::PutU32(bytes, v);
    ASSERT_TRUE(fixtures::WriteBytes("values.bin", bytes));
    auto read = [&](uint32_t count) {
        stdFileHandle file = stdFile_OpenPath("values.bin", "rb");
        int ok = renderModelInstance_ReadVertexData(figure, count, file);
        stdFile_Close(file);
        return ok;
    };
    EXPECT_EQ(read(7), 0) << "fewer values than vertices";
    EXPECT_EQ(read(9), 0) << "short read";
    EXPECT_EQ(read(0xFFFFFFFF), 0);
    EXPECT_FALSE(figure->flags & INSTANCE_VERTEX_DATA);
    EXPECT_EQ(figure->pParts[0].pVertexData, nullptr);
    ASSERT_EQ(read(8), 1);
    EXPECT_TRUE(figure->flags & INSTANCE_VERTEX_DATA);
    EXPECT_EQ(figure->pParts[0].pVertexData[0], 1u);
    EXPECT_EQ(figure->pParts[1].pVertexData[3], 8u);
    renderModelInstance_Free(figure, 1);
}
