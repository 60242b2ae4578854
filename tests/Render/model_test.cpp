// Model files read into one block, hostile files refused whole, and the model cache.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "fixtureFiles.h"
#include "fixtureMutations.h"
#include "fixtureQev.h"
#include "fixtureSampleGame.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "renderModel.h"
#include "stdFile.h"

using fixtures::QevModel;
using fixtures::WorkFolder;

namespace {

const char kFolder[] = "3D\\Models\\";

class RenderModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixtures::MakeFolders("3D\\Models\\sub");
        stdFile_Startup();
        ASSERT_EQ(renderModel_Startup(), 1);
    }
    void TearDown() override
    {
        renderModel_Shutdown();
        stdFile_Shutdown();
    }
    static void Write(const std::string& name, const QevModel& model)
    {
        ASSERT_TRUE(fixtures::WriteQev(kFolder + name + ".qev", model));
    }
    static void WriteRaw(const std::string& name, const fixtures::Bytes& bytes)
    {
        ASSERT_TRUE(fixtures::WriteBytes(kFolder + name + ".qev", bytes));
    }
    static Model* Load(const std::string& name)
    {
        return renderModel_Load(name.c_str(), RENDERMODEL_NO_MATERIALS);
    }
    WorkFolder work{fixtures::TestFolderName()};
};

QevModel Sample(uint32_t version = 7, bool collapse = true)
{
    return fixtures::MakeQevModel({"skin", "metal"}, 2, 5, collapse, version);
}

// Every index of a loaded model lies inside its arrays.
void ExpectConsistent(const Model* m)
{
    uint32_t verts = 0, tris = 0;
    for (uint32_t p = 0; p < m->numParts; p++) {
        const ModelPart& part = m->pParts[p];
        EXPECT_EQ(part.pVerts, m->pVerts + verts);
        EXPECT_EQ(part.pTris, m->pTris + tris);
        for (uint32_t t = 0; t < part.numTris; t++) {
            for (uint16_t v : part.pTris[t].v) ASSERT_LT(v, part.numVerts);
        }
        for (uint32_t c = 0; part.pCollapse && c < part.numVerts; c++) ASSERT_LT(part.pCollapse[c], part.numVerts);
        verts += part.numVerts;
        tris += part.numTris;
    }
    EXPECT_LE(verts, m->numVerts);
    EXPECT_LE(tris, m->numTris);
    for (uint32_t v = 0; v < m->numVerts; v++) {
        ASSERT_LT(m->pVerts[v].bone, m->numBones);
        if (m->pVerts[v].weight < 1.0f) {
            ASSERT_NE(m->pBones[m->pVerts[v].bone].pParent, nullptr);
        }
    }
    for (uint32_t b = 0; b < m->numBones; b++) {
        const ModelBone* parent = m->pBones[b].pParent;
        if (parent) {
            EXPECT_LT(parent, &m->pBones[b]);
        }
    }
    for (uint32_t a = 0; a < m->numAttach; a++) EXPECT_LT(strlen(m->pAttach[a].name), 32u);
}

}  // namespace

TEST_F(RenderModel, Version7IsReadIntoOneBlock)
{
    QevModel file = Sample();
    file.bones[1].frame = {0, 1, 0, -1, 0, 0, 0, 0, 1, 7, 8, 9};
    file.otherFlags = 0x40;
    Write("hero", file);
    Model* m = Load("hero");
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->name, "hero");
    EXPECT_EQ(m->refCount, 1);
    EXPECT_EQ(m->flags, 0x41u);
    EXPECT_EQ(m->numMaterials, 2);
    EXPECT_EQ(m->numBones, 2);
    EXPECT_EQ(m->numAttach, 1);
    EXPECT_EQ(m->numParts, 2);
    EXPECT_EQ(m->numVerts, 10u);
    EXPECT_EQ(m->numTris, 6u);
    EXPECT_EQ(m->blockSize, sizeof(Model) + 2 * 108 + 32 + 2 * 28 + 10 * 40 + 6 * 6 + 10 * 2);
    EXPECT_EQ((uint8_t*)m->pBones, (uint8_t*)m + sizeof(Model));
    EXPECT_EQ((uint8_t*)m->pCollapse + 20, (uint8_t*)m + m->blockSize);

    EXPECT_EQ(m->pBones[0].pParent, nullptr);
    EXPECT_EQ(m->pBones[1].pParent, &m->pBones[0]);
    EXPECT_EQ(m->pBones[1].pLinkA, &m->pBones[0]);
    EXPECT_EQ(m->pBones[1].pLinkB, nullptr);
    EXPECT_FLOAT_EQ(m->pBones[1].translation.y, 1.0f);
    EXPECT_FLOAT_EQ(m->pBones[1].frame.m[1], 1.0f);
    EXPECT_FLOAT_EQ(m->pBones[1].frame.m[11], 9.0f);
    EXPECT_STREQ(m->pAttach[0].name, "body");

    fixtures::Bytes bytes = fixtures::QevBytes(file);
    auto at = fixtures::QevSectionOffsets(file);
    EXPECT_EQ(memcmp(m->pVerts, &bytes[at[fixtures::QEV_VERTICES]], 400), 0);
    EXPECT_EQ(memcmp(m->pTris, &bytes[at[fixtures::QEV_TRIANGLES]], 36), 0);
    EXPECT_EQ(m->pParts[1].pVerts, m->pVerts + 5);
    EXPECT_EQ(m->pParts[1].pTris, m->pTris + 3);
    EXPECT_EQ(m->pParts[1].pCollapse, m->pCollapse + 5);
    EXPECT_EQ(m->pParts[1].minVerts, 3);
    EXPECT_EQ(m->pParts[0].pMaterial, nullptr);  // materials not asked for
    EXPECT_EQ(m->ppMaterials[0], nullptr);
    ExpectConsistent(m);

    const float corners[8][3] = {{-1, -1, -1}, {1, 1, 1}, {-1, -1, 1}, {-1, 1, 1},
                                 {1, 1, -1},   {1, -1, -1}, {1, -1, 1}, {-1, 1, -1}};
    for (int c = 0; c < 8; c++) {
        EXPECT_EQ(m->corners[c].x, corners[c][0]);
        EXPECT_EQ(m->corners[c].y, corners[c][1]);
        EXPECT_EQ(m->corners[c].z, corners[c][2]);
    }
    renderModel_Release(m);
}

TEST_F(RenderModel, Version6KeepsOnlyTheTranslationAndNoCollapseMapMeansNull)
{
    QevModel file = Sample(6, false);
    file.bones[1].translation = {4, 5, 6};
    Write("old", file);
    Model* m = Load("old");
    ASSERT_NE(m, nullptr);
    EXPECT_FLOAT_EQ(m->pBones[1].translation.x, 4.0f);
    EXPECT_FLOAT_EQ(m->pBones[1].translation.z, 6.0f);
    const float identity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(memcmp(m->pBones[1].frame.m, identity, sizeof identity), 0);
    EXPECT_EQ(m->pCollapse, nullptr);
    EXPECT_EQ(m->pParts[1].pCollapse, nullptr);
    EXPECT_EQ(m->flags & MODEL_COLLAPSE_MAP, 0u);
    ExpectConsistent(m);
    renderModel_Release(m);
}

TEST_F(RenderModel, RootBonesBindBlendedVerticesAloneAndLateParentsAreNone)
{
    QevModel file = Sample();
    file.vertices[0].weight = 0.25f;   // root bone 0: nothing to blend with
    file.bones[0].parent = 1;          // not before bone 0: no parent
    file.bones.push_back(file.bones[1]);
    file.bones[2].parent = 2;          // itself
    Write("bones", file);
    Model* m = Load("bones");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->pBones[0].pParent, nullptr);
    EXPECT_EQ(m->pBones[2].pParent, nullptr);
    EXPECT_EQ(m->pVerts[0].weight, 1.0f);
    EXPECT_EQ(m->pVerts[1].weight, 0.5f);  // bone 1 has a parent
    renderModel_Release(m);
}

TEST_F(RenderModel, DamagedFilesAreRefusedWhole)
{
    struct Case {
        const char* what;
        std::function<void(QevModel&)> damage;
    };
    const Case cases[] = {
        {"version 5", [](QevModel& f) { f.version = 5; }},
        {"256 materials", [](QevModel& f) { f.materials.assign(256, "m"); }},
        {"material name without NUL", [](QevModel& f) { f.materials[1] = std::string(32, 'x'); }},
        {"attachment name without NUL", [](QevModel& f) { f.attachments[0] = std::string(40, 'a'); }},
        {"256 attachments", [](QevModel& f) { f.attachments.assign(256, "a"); }},
        {"huge vertex count", [](QevModel& f) { f.claimedVerts = 0x10000000; }},
        {"vertex count overflowing 32 bits", [](QevModel& f) { f.claimedVerts = 0xFFFFFFFF; }},
        {"huge triangle count", [](QevModel& f) { f.claimedTris = 0x7FFFFFFF; }},
        {"more bones than there are", [](QevModel& f) { f.claimedBones = 0xFFFF; }},
        {"more parts than there are", [](QevModel& f) { f.claimedParts = 3; }},
        {"huge material count", [](QevModel& f) { f.claimedMaterials = 0x08000000; }},
        {"bone link past the bones", [](QevModel& f) { f.bones[1].linkB = 2; }},
        {"negative bone link", [](QevModel& f) { f.bones[1].linkA = -2; }},
        {"parent past the bones", [](QevModel& f) { f.bones[1].parent = 9; }},
        {"vertex of a missing bone", [](QevModel& f) { f.vertices[3].bone = 2; }},
        {"vertices without bones", [](QevModel& f) { f.bones.clear(); }},
        {"triangle index past its part", [](QevModel& f) { f.triangles[4][2] = 5; }},
        {"collapse entry past its part", [](QevModel& f) { f.collapse[7] = 5; }},
        {"part past the vertices", [](QevModel& f) { f.parts[1].numVerts = 6; }},
        {"part past the triangles", [](QevModel& f) { f.parts[1].numTris = 4; }},
        {"fewest vertices above all", [](QevModel& f) { f.parts[0].minVerts = 6; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QevModel file = Sample();
        c.damage(file);
        Write("bad", file);
        EXPECT_EQ(Load("bad"), nullptr);
        EXPECT_EQ(renderModel_Find("bad"), nullptr);
    }
}

TEST_F(RenderModel, AFileCutAnywhereIsRefused)
{
    for (bool collapse : {true, false}) {
        QevModel file = Sample(7, collapse);
        fixtures::Bytes bytes = fixtures::QevBytes(file);
        auto at = fixtures::QevSectionOffsets(file);
        for (int s = fixtures::QEV_VERSION; s < fixtures::QEV_END; s++) {
            for (size_t cut : {at[s], at[s] + 1, (at[s] + at[s + 1]) / 2}) {
                if (cut >= bytes.size()) continue;
                SCOPED_TRACE(testing::Message() << "section " << s << " cut at " << cut);
                WriteRaw("cut", fixtures::Truncated(bytes, cut));
                EXPECT_EQ(Load("cut"), nullptr);
            }
        }
        WriteRaw("whole", bytes);
        Model* m = Load("whole");
        ASSERT_NE(m, nullptr);
        renderModel_Free(m);
    }
}

TEST_F(RenderModel, NoSingleByteDamageGivesAnInconsistentModel)
{
    QevModel file = fixtures::MakeQevModel({"m"}, 2, 4, true);
    int loaded = 0;
    fixtures::ForEachMutation(fixtures::QevBytes(file), [&](const fixtures::Bytes& bad) {
        WriteRaw("mutant", bad);
        Model* m = Load("mutant");
        if (!m) return;
        loaded++;
        ExpectConsistent(m);
        renderModel_Free(m);
    });
    EXPECT_GT(loaded, 0);  // damage to floats and names is taken as it stands
}

TEST_F(RenderModel, ReleasedModelsWaitOnTheRingAndARepeatLoadRevivesThem)
{
    Write("a", Sample());
    Model* a = Load("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Load("a"), a);
    EXPECT_EQ(a->refCount, 2);
    renderModel_Release(a);
    renderModel_Release(a);
    EXPECT_EQ(a->refCount, 0);
    EXPECT_TRUE(a->flags & MODEL_PARKED);
    EXPECT_EQ(renderModel_Find("a"), a);
    EXPECT_EQ(Load("a"), a);
    EXPECT_EQ(a->refCount, 1);
    EXPECT_FALSE(a->flags & MODEL_PARKED);

    // Parked again, then 32 more parkings: the 33rd takes its slot and frees it.
    renderModel_Release(a);
    std::vector<Model*> others;
    for (int i = 0; i < 32; i++) {
        std::string name = "m" + std::to_string(i);
        Write(name, Sample());
        others.push_back(Load(name));
        ASSERT_NE(others.back(), nullptr);
    }
    for (int i = 0; i < 31; i++) renderModel_Release(others[i]);
    EXPECT_EQ(renderModel_Find("a"), a);
    renderModel_Release(others[31]);
    EXPECT_EQ(renderModel_Find("a"), nullptr);
    EXPECT_EQ(renderModel_Find("m0"), others[0]);
}

TEST_F(RenderModel, ALongerPathOfTheSameNameLeavesTheOthersEntry)
{
    Write("bob", Sample());
    Write("sub\\bob", Sample(6));
    Model* shorter = Load("bob");
    Model* longer = Load("sub\\bob");
    ASSERT_NE(shorter, nullptr);
    ASSERT_NE(longer, nullptr);
    EXPECT_NE(shorter, longer);
    EXPECT_STREQ(longer->name, "bob");
    renderModel_Free(longer);
    EXPECT_EQ(renderModel_Find("bob"), shorter);
    EXPECT_EQ(Load("bob"), shorter);
}

TEST_F(RenderModel, ANameLongerThan31CharactersStillHitsTheCache)
{
    const std::string name = "a_model_with_a_very_long_file_name_indeed";
    Write(name, Sample());
    Model* m = Load(name);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(strlen(m->name), 31u);
    EXPECT_EQ(Load(name), m);
    EXPECT_EQ(m->refCount, 2);
}

TEST_F(RenderModel, MissingFilesAndOverlongNamesGiveNull)
{
    EXPECT_EQ(Load("nothing"), nullptr);
    EXPECT_EQ(Load(std::string(200, 'n')), nullptr);
    EXPECT_EQ(renderModel_Load(nullptr, 0), nullptr);
}

TEST_F(RenderModel, ReadSkeletonTakesVersion7Bones)
{
    Write("skel", Sample());
    Write("skel6", Sample(6));
    Model* m = renderModel_ReadSkeleton("skel.qev", "rig");
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->name, "rig");
    EXPECT_EQ(m->refCount, 1);
    EXPECT_EQ(m->pBones[1].pParent, &m->pBones[0]);
    EXPECT_EQ(renderModel_Find("rig"), nullptr);
    renderModel_Free(m);
    EXPECT_EQ(renderModel_ReadSkeleton("skel6.qev", "rig"), nullptr);
}

TEST_F(RenderModel, ShutdownWithoutStartupReturns0)
{
    EXPECT_EQ(renderModel_Shutdown(), 1);
    EXPECT_EQ(renderModel_Shutdown(), 0);
    EXPECT_EQ(renderModel_Startup(), 1);
    EXPECT_EQ(renderModel_Startup(), 1);
}

TEST_F(RenderModel, TheSampleCrateLoadsInBothVersions)
{
    ASSERT_TRUE(fixtures::WriteSampleGame("."));
    Write("crate6", fixtures::SampleCrate(6));
    for (const char* name : {"crate", "crate6"}) {
        SCOPED_TRACE(name);
        Model* m = Load(name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->numVerts, 24u);
        EXPECT_EQ(m->numTris, 12u);
        EXPECT_EQ(m->numParts, 2);
        EXPECT_EQ(m->pParts[1].pVerts, m->pVerts + 16);
        EXPECT_EQ(m->pVerts[16].bone, 1);
        EXPECT_FLOAT_EQ(m->pBones[1].translation.z, 16.0f);
        EXPECT_FLOAT_EQ(m->corners[1].x, 16.0f);
        ExpectConsistent(m);
    }
}
