// The render front-end's loaders fed about 2,000 seeded mutants each (fixtureLoaderMutations.h):
// models, keyframe tracks, materials and TGA textures through the texture cache. Each mutant
// must load within a heap bound derived from its size and leave nothing behind; the good file
// loads the same after a refused one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assertRecorder.h"
#include "fakeClock.h"
#include "fakeRaster.h"
#include "fixtureDaz.h"
#include "fixtureJup.h"
#include "fixtureLoaderMutations.h"
#include "fixtureQev.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "renderBitmap.h"
#include "renderKeyframe.h"
#include "renderMaterial.h"
#include "renderModel.h"
#include "renderTimer.h"
#include "stdFile.h"

using fixtures::Bytes;
using fixtures::LoaderUnderMutation;
using fixtures::MutationDigest;

namespace {

uint32_t Pixel(int x, int y)
{
    return 0x80000000u | (uint32_t)(x * 0x102030 + y * 0x050607);
}

class RenderMutations : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"3D\\Models", "3D\\Anims", "Materials"})
            ASSERT_TRUE(fixtures::MakeFolders(folder));
        for (const char* name : {"stone", "f1", "f2", "glass", "dflt"}) {
            ASSERT_TRUE(fixtures::WriteTga(std::string("Materials\\") + name + ".tga",
                                           fixtures::MakeTga(4, 4, name[0] == 'g' ? 32 : 24, false, Pixel)));
        }
        ASSERT_EQ(stdFile_Startup(), 1);
        ASSERT_EQ(raster.Bind(), 1);
        ASSERT_EQ(renderBitmap_Startup(), 1);
        ASSERT_EQ(renderMaterial_Startup(), 1);
        ASSERT_EQ(renderModel_Startup(), 1);
        renderTimer_Start(&renderTimer_viewer);
        renderTimer_Tick(&renderTimer_viewer);
    }
    void TearDown() override
    {
        renderKeyframe_Shutdown();
        renderModel_Shutdown();
        renderMaterial_Shutdown();
        renderBitmap_Shutdown();
        stdFile_Shutdown();
    }

    fixtures::WorkFolder work{fixtures::TestFolderName()};
    fakes::FakeRaster raster;
    fakes::FakeClock clock{5000};
    fakes::AssertRecorder asserts;   // a file of 128 key tags or more raises one, as it should
};

// The model's arrays as the loader laid them out, indices as positions: what two loads of one
// file must agree on. "!" and the index that lies outside its array for a model no one may get.
std::string DescribeModel(const Model* m)
{
    MutationDigest d;
    d.Add(m->flags).Add(m->numParts).Add(m->numBones).Add(m->numMaterials).Add(m->numAttach);
    d.Add(m->numTris).Add(m->numVerts).Add(m->name, sizeof m->name).Add(m->box).Add(m->corners);
    d.Add(m->pVerts, (size_t)m->numVerts * sizeof(ModelVertex));
    d.Add(m->pTris, (size_t)m->numTris * sizeof(ModelTriangle));
    if (m->pCollapse) d.Add(m->pCollapse, (size_t)m->numVerts * 2);
    for (uint32_t b = 0; b < m->numBones; b++) {
        const ModelBone& bone = m->pBones[b];
        const long parent = bone.pParent ? (long)(bone.pParent - m->pBones) : -1;
        if (parent >= (long)m->numBones || parent < -1) return "!parent";
        d.Add(bone.translation).Add(bone.frame).Add(parent);
    }
    uint32_t verts = 0, tris = 0;
    for (uint32_t p = 0; p < m->numParts; p++) {
        const ModelPart& part = m->pParts[p];
        if (part.pVerts != m->pVerts + verts || part.pTris != m->pTris + tris) return "!part";
        for (uint32_t t = 0; t < part.numTris; t++) {
            for (uint16_t v : part.pTris[t].v) {
                if (v >= part.numVerts) return "!triangle";
            }
        }
        for (uint32_t c = 0; part.pCollapse && c < part.numVerts; c++) {
            if (part.pCollapse[c] >= part.numVerts) return "!collapse";
        }
        verts += part.numVerts;
        tris += part.numTris;
        d.Add(part.numTris).Add(part.numVerts).Add(part.minVerts).Add(part.group);
    }
    if (verts > m->numVerts || tris > m->numTris) return "!counts";
    for (uint32_t v = 0; v < m->numVerts; v++) {
        if (m->pVerts[v].bone >= m->numBones) return "!bone";
        if (m->pVerts[v].weight < 1.0f && !m->pBones[m->pVerts[v].bone].pParent) return "!blend";
    }
    return d.Text();
}

}  // namespace

TEST_F(RenderMutations, Models)
{
    const fixtures::QevModel model = fixtures::MakeQevModel({"skin", "metal"}, 2, 5, true, 7);
    LoaderUnderMutation loader;
    loader.format = "qev";
    loader.good = fixtures::QevBytes(model);
    const auto at = fixtures::QevSectionOffsets(model);
    fixtures::AddField(loader.fields, at[fixtures::QEV_VERSION], 4);
    fixtures::AddField(loader.fields, at[fixtures::QEV_MATERIALS], 4);
    const size_t counts = at[fixtures::QEV_COUNTS];
    const size_t countFields[][2] = {{0, 2}, {2, 2}, {4, 4}, {8, 4}, {12, 2}, {14, 4}};
    for (const auto& f : countFields) fixtures::AddField(loader.fields, counts + f[0], f[1]);
    for (size_t b = 0; b < model.bones.size(); b++) {
        for (size_t link : {60u, 62u, 64u}) fixtures::AddField(loader.fields, at[fixtures::QEV_BONES] + b * 66 + link, 2);
    }
    for (size_t v = 0; v < 3; v++) fixtures::AddField(loader.fields, at[fixtures::QEV_VERTICES] + v * 40 + 36, 1);
    for (size_t c = 0; c < 3; c++) fixtures::AddField(loader.fields, at[fixtures::QEV_COLLAPSE] + c * 2, 2);
    for (size_t i = 0; i < 6; i++) fixtures::AddField(loader.fields, at[fixtures::QEV_TRIANGLES] + i * 2, 2);
    const size_t partFields[][2] = {{0, 4}, {16, 2}, {18, 2}, {20, 2}, {25, 1}};
    for (size_t p = 0; p < model.parts.size(); p++) {
        for (const auto& f : partFields) fixtures::AddField(loader.fields, at[fixtures::QEV_PARTS] + p * 28 + f[0], f[1]);
    }
    // The model's one block: its header, and arrays at most twice their bytes in the file (a
    // version 6 bone takes 54 bytes there and 108 in memory).
    loader.bound = [](size_t bytes) { return sizeof(Model) + 2 * bytes; };
    loader.write = [](const Bytes& b) { return fixtures::WriteBytes("3D\\Models\\m.qev", b); };
    loader.load = [] {
        Model* m = renderModel_Load("m", RENDERMODEL_NO_MATERIALS);
        if (!m) return std::string();
        std::string described = DescribeModel(m);
        renderModel_Free(m);
        return described;
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.leftBehind = [] { return renderModel_Find("m") ? std::string("the model") : std::string(); };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(RenderMutations, KeyframeTracks)
{
    fixtures::JupFile file;
    file.flags = 0x5;
    file.duration = 30;
    for (uint32_t bone : {0u, 1u}) {
        fixtures::JupCurve curve;
        curve.bone = bone;
        curve.kind = bone;
        for (float frame : {0.0f, 10.0f, 20.0f}) curve.keys.push_back(fixtures::MakeCubicKey(frame, 0.1f, bone, 1, 2, 3));
        file.curves.push_back(curve);
    }
    file.tags = {{5.0f, 7}, {25.0f, 9}};
    LoaderUnderMutation loader;
    loader.format = "jup";
    loader.good = fixtures::JupBytes(file);
    for (size_t f : {0u, 4u, 8u}) fixtures::AddField(loader.fields, f, 4);
    size_t curveAt = 16;
    for (const fixtures::JupCurve& curve : file.curves) {
        for (size_t f : {0u, 4u, 8u}) fixtures::AddField(loader.fields, curveAt + f, 4);
        curveAt += 12 + 56 * curve.keys.size();
    }
    fixtures::AddField(loader.fields, curveAt, 4);  // the key-tag count
    // The track record, its curve records (16 bytes for a curve's 12 in the file) and its keys
    // and tags (as many bytes as in the file).
    loader.bound = [](size_t bytes) { return sizeof(Track) + 2 * bytes; };
    loader.write = [](const Bytes& b) { return fixtures::WriteBytes("3D\\Anims\\t.jup", b); };
    loader.prepare = [] { renderKeyframe_Startup(); };
    loader.load = [] {
        Track* track = renderKeyframe_GetTrack("t", TRACK_LOAD_NOW);
        std::string described;
        if (track && (track->flags & TRACK_LOADED)) {
            MutationDigest d;
            d.Add(track->flags).Add(track->duration).Add(track->numCurves).Add(track->numKeyTags);
            for (uint32_t c = 0; c < track->numCurves; c++) {
                const TrackCurve& curve = track->curves[c];
                d.Add(curve.bone).Add(curve.kind).Add(curve.numKeys);
                d.Add(curve.keys, (size_t)curve.numKeys * sizeof(TrackKey));
            }
            d.Add(track->keyTags, (size_t)track->numKeyTags * sizeof(KeyTag));
            d.Add(renderKeyframe_GetKeyTagFrame(track, 9));
            described = d.Text();
        }
        renderKeyframe_ReleaseTrack(track);
        renderKeyframe_Shutdown();  // frees the track parked by the release
        return described;
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.freesOnlyItsOwn = false;  // the shutdown frees the table the start-up made
    fixtures::RunLoaderMutations(loader);
}

TEST_F(RenderMutations, Materials)
{
    const std::string text = fixtures::DazWriter()
                                 .Comment("a material of 3 frames")
                                 .Line("numframes 3 pageflip 100 masked")
                                 .Texture("f1")
                                 .Texture("f2", true)
                                 .Line("texture stone detail glass detailscale 5 sound metal")
                                 .Pass(1, "$lightmap", {"rgb"})
                                 .Pass(2, "glass", {"addparticle"}, true)
                                 .Line("slide 2(0.5,-0.25) flicker 3 glowramp 4 twosided")
                                 .CrLf()
                                 .Text();
    LoaderUnderMutation loader;
    loader.format = "daz";
    loader.good.assign(text.begin(), text.end());
    loader.fields = fixtures::MutationNumbersOf(text);
    // The material record, or one texture of the folder's 4 x 4 images, or a frame table of
    // at most 255 pointers.
    loader.bound = [](size_t) { return sizeof(Bitmap) + 4096; };
    loader.write = [](const Bytes& b) { return fixtures::WriteBytes("Materials\\mat.daz", b); };
    // The fake raster table records every texture handed to it: emptied around each load.
    loader.prepare = [this] { raster.ClearCalls(); };
    loader.load = [this] {
        Material* m = renderMaterial_Load("mat", 0);
        if (!m) return std::string("!no material, not even dflt");
        renderMaterial_Update(m, 0.25f);
        MutationDigest d;
        d.Add(m->flags).Add(m->numPasses).Add(m->numFrames).Add(m->maxFrames).Add(m->curFrame);
        d.Add(m->lightmapPass).Add(m->lightaddPass).Add(m->flipInterval).Add(m->glowColour);
        d.Add(m->flickerGroup).Add(m->glowGroup).Add(m->sound).AddText(m->name);
        for (const MaterialPass& p : m->passes) {
            d.Add(p.offsetU).Add(p.offsetV).Add(p.detailScale).Add(p.slideU).Add(p.slideV);
            d.Add(p.mode).Add(p.modelMode).Add(p.spriteMode).Add(p.kind);
            d.AddText(p.pTexture ? p.pTexture->name : "-");
        }
        for (const Bitmap* b : {m->pDetail, m->pGlow}) d.AddText(b ? b->name : "-");
        const bool fallback = strcmp(m->name, "dflt") == 0;
        renderMaterial_Free(m);
        raster.ClearCalls();
        // A file refused whole comes back as the fallback material.
        return fallback ? std::string() : d.Text();
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.leftBehind = [] {
        if (renderMaterial_Find("mat") || renderMaterial_Find("dflt")) return std::string("a material");
        if (renderBitmap_GetStats()->numTextures) return std::string("a texture");
        return std::string();
    };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(RenderMutations, TgaThroughTheTextureCache)
{
    fixtures::TgaImage image = fixtures::MakeTga(7, 5, 32, false, Pixel);
    image.id = "id";
    LoaderUnderMutation loader =
        fixtures::TgaUnderMutation("tga (texture cache)", image, "Materials\\img.tga", sizeof(Bitmap));
    loader.prepare = [this] { raster.ClearCalls(); };
    loader.load = [this] {
        Bitmap* texture = renderBitmap_Load("img", RENDERBITMAP_LOAD_FULL_ALPHA);
        if (!texture) return std::string();
        MutationDigest d;
        d.Add(texture->width).Add(texture->height).Add(texture->format).Add(texture->textureFlags);
        d.Add(texture->pixels, (size_t)texture->width * texture->height *
                                   bitmapFormat_BytesPerPixel(texture->format));
        renderBitmap_Release(texture);
        raster.ClearCalls();
        return d.Text();
    };
    loader.openFiles = stdFile_GetOpenCount;
    loader.leftBehind = [] {
        return renderBitmap_GetStats()->numTextures ? std::string("a texture") : std::string();
    };
    fixtures::RunLoaderMutations(loader);
}
