// Material files: the grammar, passes and modes, the "dflt" chain, the cache and its ring,
// and page flipping, flicker, glow and sliding on the fake clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakeClock.h"
#include "fakeRaster.h"
#include "fixtureDaz.h"
#include "fixtureFiles.h"
#include "fixtureMutations.h"
#include "fixtureQev.h"
#include "fixtureRestore.h"
#include "fixtureTestFolder.h"
#include "fixtureTga.h"
#include "fixtureZip.h"
#include "renderBitmap.h"
#include "renderLightGroup.h"
#include "renderMaterial.h"
#include "renderModel.h"
#include "renderModes.h"
#include "renderTimer.h"
#include "stdFile.h"

using fixtures::DazWriter;
using fixtures::WorkFolder;

namespace {

uint32_t Opaque(int x, int y) { return 0xFF000000u | (uint32_t)(x * 40 + y); }
uint32_t SeeThrough(int x, int y) { return (x & 1) ? 0x80FF0000u : (uint32_t)(y * 3); }

class RenderMaterial : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixtures::MakeFolders("Materials");
        fixtures::MakeFolders("3D\\Models");
        for (const char* name : {"stone", "wood", "brick", "f1", "f2", "f3", "f4", "dflt"})
            Tga(name, 24);
        Tga("glass", 32);
        Tga("glass2", 32);
        Tga("detail", 24);
        MakeGame();
    }
    void TearDown() override
    {
        renderModel_Shutdown();
        renderMaterial_Shutdown();
        renderBitmap_Shutdown();
        stdFile_Shutdown();
    }
    // Starts the caches; files written before this are found in pack archives too.
    void MakeGame()
    {
        stdFile_Shutdown();
        ASSERT_EQ(stdFile_Startup(), 1);
        ASSERT_EQ(renderBitmap_Startup(), 1);
        ASSERT_EQ(renderMaterial_Startup(), 1);
        ASSERT_EQ(renderModel_Startup(), 1);
        renderTimer_Start(&renderTimer_viewer);
        renderTimer_Tick(&renderTimer_viewer);  // the clock starts at 1 ms
    }
    static void Tga(const std::string& name, uint8_t depth)
    {
        ASSERT_TRUE(fixtures::WriteTga("Materials\\" + name + ".tga",
                                       fixtures::MakeTga(4, 4, depth, false, depth == 32 ? SeeThrough : Opaque)));
    }
    static void Daz(const std::string& name, const DazWriter& daz)
    {
        ASSERT_TRUE(daz.Write("Materials\\" + name + ".daz"));
    }
    static void DazText(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(fixtures::WriteText("Materials\\" + name + ".daz", text));
    }
    Material* Load(const std::string& name) { return renderMaterial_Load(name.c_str(), 0); }
    // One frame of the frame clock, and the animated materials updated by its step.
    void Tick(uint32_t ms)
    {
        clock.Advance(ms);
        renderTimer_Tick(&renderTimer_viewer);
        renderMaterial_UpdateAll(renderTimer_viewer.clocks[0].frameSeconds);
    }
    static uint32_t Now() { return renderTimer_viewer.clocks[0].totalMs; }

    WorkFolder work{fixtures::TestFolderName()};
    // The cases set light groups and run the frame clock: both are the process's.
    fixtures::Restore<LightGroup[LIGHTGROUP_COUNT]> groups{renderLightGroup_table};
    fixtures::Restore<renderTimer> timer{renderTimer_viewer};
    fakes::FakeRaster raster;
    fakes::FakeClock clock{5000};
    bool bound = raster.Bind();
};

}  // namespace

TEST_F(RenderMaterial, CommentsSeveralKeywordsALineAndEveryFlag)
{
    Daz("all", DazWriter()
                   .Comment("twosided on a comment line changes nothing")
                   .Line("# neither does this: addblend")
                   .Line("TEXTURE stone")
                   .Line("specular envmap nofilter alpha constalpha Nosmooth  \t fullylit")
                   .Line("subblend whatever sound metal detail detail glow glass detailscale 50")
                   .Line("flicker 3 glowramp 4 numframes 2 pageflip 100 slide 2(0.5,-0.25)")
                   .CrLf());
    Material* m = Load("all");
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->name, "all");
    const uint32_t expected = MATERIAL_SPECULAR | MATERIAL_ENVMAP | MATERIAL_NOSMOOTH | MATERIAL_FULLYLIT |
                              MATERIAL_SUBBLEND | MATERIAL_DETAIL | MATERIAL_GLOW | MATERIAL_FLICKER |
                              MATERIAL_GLOWRAMP | MATERIAL_FRAMES | MATERIAL_PAGEFLIP | MATERIAL_FLIPPING |
                              MATERIAL_SLIDE | MATERIAL_ANIMATED;
    EXPECT_EQ(m->flags, expected);
    EXPECT_EQ(m->sound, 2u);
    EXPECT_EQ(m->passes[0].detailScale, 20.0f);
    EXPECT_EQ(m->flickerGroup, 3);
    EXPECT_EQ(m->glowGroup, 4);
    EXPECT_EQ(m->maxFrames, 2);
    EXPECT_EQ(m->flipInterval, 100u);
    EXPECT_EQ(m->nextFlip, Now() + 100);
    EXPECT_EQ(m->passes[2].slideU, 0.5f);
    EXPECT_EQ(m->passes[2].slideV, -0.25f);
    ASSERT_NE(m->pDetail, nullptr);
    EXPECT_STREQ(m->pDetail->name, "detail");
    ASSERT_NE(m->pGlow, nullptr);
    EXPECT_STREQ(m->passes[0].pTexture->name, "stone");
    EXPECT_EQ(m->passes[0].mode, (uint32_t)RENDERMODE_SUBPARTICLE);
    EXPECT_EQ(m->passes[0].spriteMode, (uint32_t)RENDERMODE_SUBPARTICLE);
    EXPECT_EQ(renderMaterial_FirstAnimated(), m);
    EXPECT_EQ(m->numPasses, 1);
    EXPECT_EQ(m->glowColour, 0xFFFFFFFFu);
    EXPECT_EQ(m->refCount, 1u);
}

TEST_F(RenderMaterial, DefaultModesFollowTheFlags)
{
    struct Case {
        const char* keywords;
        const char* texture;
        RenderMode mode, sprite;
    };
    const Case cases[] = {
        {"", "stone", RENDERMODE_RGB, RENDERMODE_BLENDPARTICLE},
        {"addblend subblend masked", "stone", RENDERMODE_ADDPARTICLE, RENDERMODE_ADDPARTICLE},
        {"subblend masked", "stone", RENDERMODE_SUBPARTICLE, RENDERMODE_SUBPARTICLE},
        {"masked fullylit", "glass", RENDERMODE_RGB_MASKED, RENDERMODE_RGB_MASKED},
        {"fullylit twosided", "glass2", RENDERMODE_RGB_TEXALPHA, RENDERMODE_BLENDPARTICLE},
        {"twosided fullylit", "stone", RENDERMODE_FULLBRIGHT, RENDERMODE_FULLBRIGHT},
        {"twosided", "stone", RENDERMODE_RGB2SIDED, RENDERMODE_BLENDPARTICLE},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keywords);
        const std::string name = "modes" + std::to_string(n++);
        Daz(name, DazWriter().Line(c.keywords).Texture(c.texture));
        Material* m = Load(name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->passes[0].mode, (uint32_t)c.mode);
        EXPECT_EQ(m->passes[0].modelMode, (uint32_t)c.mode);
        EXPECT_EQ(m->passes[0].spriteMode, (uint32_t)c.sprite);
    }
}

TEST_F(RenderMaterial, TexturesAlphaAndMasking)
{
    // The first texture that got a raster handle stays.
    Daz("two", DazWriter().Texture("stone").Texture("wood"));
    Material* two = Load("two");
    ASSERT_NE(two, nullptr);
    EXPECT_STREQ(two->passes[0].pTexture->name, "stone");
    EXPECT_NE(two->passes[0].pTexture->rasterHandle, 0u);
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 1u);  // the second was never read

    // An image with alpha keeps four alpha bits, and marks the material.
    Daz("glassy", DazWriter().Texture("glass", true));
    Material* glassy = Load("glassy");
    ASSERT_NE(glassy, nullptr);
    EXPECT_EQ(glassy->passes[0].pTexture->format, (uint32_t)BITMAP_FORMAT_4444);
    EXPECT_TRUE(glassy->passes[0].pTexture->textureFlags & BITMAP_TEX_SINGLE_LEVEL);
    EXPECT_TRUE(glassy->flags & MATERIAL_ALPHA);

    // "masked" after the texture leaves its format and still picks the masked mode; on the
    // texture's own line it would be taken for an argument.
    Daz("late", DazWriter().Line("texture glass masked").Line("masked"));
    Material* late = Load("late");
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->passes[0].pTexture->format, (uint32_t)BITMAP_FORMAT_4444);
    EXPECT_EQ(late->passes[0].mode, (uint32_t)RENDERMODE_RGB_MASKED);
}

TEST_F(RenderMaterial, DeferredTexturesAreReadOnTheFirstCacheOfThePass)
{
    Daz("later", DazWriter().Texture("brick").Texture("wood"));
    Material* m = renderMaterial_Load("later", RENDERMATERIAL_DEFER_PIXELS);
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->name, "later");
    Bitmap* brick = m->passes[0].pTexture;
    ASSERT_NE(brick, nullptr);
    EXPECT_STREQ(brick->name, "brick");
    EXPECT_EQ(brick->rasterHandle, 0u);
    EXPECT_EQ(raster.Count(FAKE_RASTER_SLOT(funcTexture_PreCacheMipMap)), 0);
    renderMaterial_CachePass(m);
    EXPECT_NE(brick->rasterHandle, 0u);
    EXPECT_TRUE(m->flags & MATERIAL_PASS_READ);
    renderMaterial_CachePass(m);
    EXPECT_EQ(raster.Count(FAKE_RASTER_SLOT(funcTexture_PreCacheMipMap)), 1);
}

TEST_F(RenderMaterial, FrameTablesTakeAsManyTexturesAsTheyHold)
{
    Daz("anim", DazWriter()
                    .Line("numframes 3")
                    .Texture("f1").Texture("f2").Texture("f3").Texture("f4")
                    .Line("numframes 9"));
    Material* m = Load("anim");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->maxFrames, 3);
    EXPECT_EQ(m->numFrames, 3);
    EXPECT_STREQ(m->pFrames[2]->name, "f3");
    EXPECT_EQ(m->passes[0].pTexture, m->pFrames[0]);
    renderMaterial_SetFrame(m, 7);
    EXPECT_EQ(m->curFrame, 2);
    EXPECT_EQ(m->passes[0].pTexture, m->pFrames[2]);
}

// A picture can be a frame and a pass's texture at once: each reference the material took is
// released once when it is freed, whatever the order of the lines.
TEST_F(RenderMaterial, APictureThatIsAFrameAndAPassTextureIsReleasedWithTheMaterial)
{
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"pass 0 names a frame", DazWriter().Line("numframes 2").Texture("f1").Pass(0, "f1").Text()},
        {"pass 1 names a frame", DazWriter().Line("numframes 2").Texture("f1").Texture("f2").Pass(1, "f2").Text()},
        {"a texture line before the table names its first frame",
         DazWriter().Texture("f1").Line("numframes 2").Texture("f1").Text()},
        {"pass 0 names a picture before it becomes a frame",
         DazWriter().Line("numframes 2 pageflip 5").Pass(0, "f2").Texture("f2").Texture("f1").Text()},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "shared" + std::to_string(n++);
        DazText(name, c.text);
        Material* m = Load(name);
        ASSERT_NE(m, nullptr) << c.what;
        EXPECT_EQ(m->passes[0].pTexture, m->pFrames[0]) << c.what;
        for (int i = 0; i < 3; i++) Tick(10);
        renderMaterial_Free(m);
        EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u) << c.what;
    }
}

TEST_F(RenderMaterial, PassLinesMakeLayers)
{
    Daz("layers", DazWriter()
                      .Pass(0, "stone", {"unknownmode", "rgba", "ADDPARTICLE"})
                      .Pass(1, "$lightmap")
                      .Pass(3, "$lightadd", {"lightmapadd"})
                      .Pass(2, "brick", {}, true)
                      .Line("pass 4 twosided")
                      .Pass(2, "missing", {"glow"}));
    Material* m = Load("layers");
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->flags & MATERIAL_LAYERED);
    EXPECT_TRUE(m->flags & MATERIAL_TWOSIDED);  // read as a keyword after pass 4
    EXPECT_EQ(m->numPasses, 4);
    EXPECT_EQ(m->passes[0].mode, (uint32_t)RENDERMODE_ADDPARTICLE);
    EXPECT_EQ(m->passes[0].spriteMode, (uint32_t)RENDERMODE_ADDPARTICLE);
    EXPECT_EQ(m->passes[0].kind, MATERIAL_PASS_TEXTURE);
    EXPECT_EQ(m->passes[1].kind, MATERIAL_PASS_LIGHTMAP);
    EXPECT_EQ(m->passes[1].pTexture, nullptr);
    EXPECT_EQ(m->passes[1].mode, (uint32_t)RENDERMODE_RGB);
    EXPECT_EQ(m->passes[1].spriteMode, 0u);
    EXPECT_EQ(m->lightmapPass, 1);
    EXPECT_EQ(m->lightaddPass, 3);
    EXPECT_EQ(m->passes[3].kind, MATERIAL_PASS_LIGHTADD);
    EXPECT_EQ(m->passes[3].mode, (uint32_t)RENDERMODE_LIGHTMAPADD);
    // The last pass 2 line found no texture: its modes stay, the old texture is gone.
    EXPECT_EQ(m->passes[2].mode, (uint32_t)RENDERMODE_GLOW);
    EXPECT_EQ(m->passes[2].pTexture, nullptr);

    Daz("two", DazWriter().Pass(0, "stone").Pass(1, "$lightmap"));
    Material* two = Load("two");
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->numPasses, 2);
    EXPECT_STREQ(two->passes[0].pTexture->name, "stone");

    Daz("nomip", DazWriter().Pass(0, "brick", {}, true));
    Material* nomip = Load("nomip");
    EXPECT_TRUE(nomip->passes[0].pTexture->textureFlags & BITMAP_TEX_SINGLE_LEVEL);
}

TEST_F(RenderMaterial, DetailScaleIsClampedAndSoundsAreLookedUp)
{
    const std::pair<const char*, float> scales[] = {{"50", 20.0f}, {"0", 0.1f}, {"-3", 0.1f}, {"2.5", 2.5f}};
    int n = 0;
    for (const auto& [text, value] : scales) {
        const std::string name = "scale" + std::to_string(n++);
        Daz(name, DazWriter().Texture("stone").Line(std::string("detailscale ") + text + " sound Wood"));
        Material* m = Load(name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->passes[0].detailScale, value) << text;
        EXPECT_EQ(m->sound, 7u);
    }
    Daz("quiet", DazWriter().Texture("stone").Line("sound gravel"));
    EXPECT_EQ(Load("quiet")->sound, 5u);
}

TEST_F(RenderMaterial, TheDefaultChain)
{
    // No file: the texture of the same name; neither: "dflt".
    Material* wood = Load("wood");
    ASSERT_NE(wood, nullptr);
    EXPECT_STREQ(wood->name, "wood");
    EXPECT_STREQ(wood->passes[0].pTexture->name, "wood");
    EXPECT_EQ(wood->passes[0].mode, (uint32_t)RENDERMODE_RGB);

    Material* none = Load("nothing_at_all");
    ASSERT_NE(none, nullptr);
    EXPECT_STREQ(none->name, "dflt");

    // A file whose texture is missing, or without any texture.
    Daz("broken", DazWriter().Texture("missing"));
    EXPECT_EQ(Load("broken"), none);
    Daz("empty", DazWriter().Line("twosided"));
    EXPECT_EQ(Load("empty"), none);
    EXPECT_EQ(none->refCount, 3u);
    EXPECT_EQ(renderMaterial_Find("broken"), nullptr);

    // Without a way to make "dflt" there is no material.
    Daz("dflt", DazWriter().Texture("missing"));
    renderMaterial_Shutdown();
    ASSERT_EQ(renderMaterial_Startup(), 1);
    EXPECT_EQ(Load("nothing_at_all"), nullptr);
    EXPECT_EQ(Load("DFLT"), nullptr);
}

TEST_F(RenderMaterial, ReleasedMaterialsWaitOnTheRing)
{
    Material* wood = Load("wood");
    EXPECT_EQ(Load("wood"), wood);
    EXPECT_EQ(renderMaterial_Release(wood), 1);
    EXPECT_EQ(renderMaterial_Release(wood), 0);
    EXPECT_TRUE(wood->flags & MATERIAL_PARKED);
    EXPECT_EQ(renderMaterial_Find("wood"), wood);
    EXPECT_EQ(Load("wood"), wood);
    EXPECT_FALSE(wood->flags & MATERIAL_PARKED);
    EXPECT_EQ(wood->refCount, 1u);

    renderMaterial_Release(wood);
    for (int i = 0; i < 32; i++) {
        const std::string name = "m" + std::to_string(i);
        Daz(name, DazWriter().Texture("stone"));
        Material* m = Load(name);
        ASSERT_NE(m, nullptr);
        renderMaterial_Release(m);
        EXPECT_EQ(renderMaterial_Find("wood"), i < 31 ? wood : nullptr);
    }

    const std::string longName = "a_material_with_a_rather_long_name_too";
    Daz(longName, DazWriter().Texture("stone"));
    Material* m = Load(longName);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(strlen(m->name), 31u);
    EXPECT_EQ(Load(longName), m);
}

TEST_F(RenderMaterial, PageFlippingFollowsTheClock)
{
    Daz("flip", DazWriter().Line("numframes 3").Texture("f1").Texture("f2").Texture("f3").Line("pageflip 100"));
    Material* m = Load("flip");
    ASSERT_NE(m, nullptr);
    Tick(99);
    EXPECT_EQ(m->curFrame, 0);
    Tick(2);
    EXPECT_EQ(m->curFrame, 1);
    EXPECT_EQ(m->passes[0].pTexture, m->pFrames[1]);
    Tick(250);  // two more flips
    EXPECT_EQ(m->curFrame, 0);
    // A clock an hour ahead (a timer read back from a file): one update, the right page.
    renderTimer_viewer.clocks[0].totalMs += 3600u * 1000u + 150;
    renderMaterial_UpdateAll(0);
    EXPECT_EQ(m->curFrame, 36002 % 3);
    EXPECT_EQ(m->nextFlip - Now(), 99u);

    // An interval of 0 or less, or flipping with no frames: nothing runs, nothing breaks.
    Daz("stuck", DazWriter().Texture("stone").Line("pageflip 0 pageflip -5"));
    Material* stuck = Load("stuck");
    EXPECT_FALSE(stuck->flags & (MATERIAL_PAGEFLIP | MATERIAL_FLIPPING));
    Bitmap* shown = stuck->passes[0].pTexture;
    renderMaterial_SetFrame(stuck, 3);
    EXPECT_EQ(stuck->passes[0].pTexture, shown);
    EXPECT_EQ(stuck->curFrame, 0);
    Daz("empty", DazWriter().Line("numframes 2 pageflip 10 flicker 1").Pass(0, "stone"));
    Material* empty = Load("empty");
    ASSERT_NE(empty, nullptr);
    Tick(100);
    EXPECT_EQ(empty->numFrames, 0);
    EXPECT_EQ(empty->passes[0].pTexture->name[0], 's');
}

TEST_F(RenderMaterial, FlickerGlowRampAndSliding)
{
    Daz("lamp", DazWriter()
                    .Line("numframes 2").Texture("f1").Texture("f2")
                    .Line("flicker 5 glowramp 6 slide 0(0.75,-0.5) flicker 40 glowramp 300"));
    Material* m = Load("lamp");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->flickerGroup, 5);   // groups past the table are ignored
    EXPECT_EQ(m->glowGroup, 6);
    renderLightGroup_table[5].alpha = 200;
    renderLightGroup_table[6].alpha = 0x40;
    Tick(1000);
    EXPECT_EQ(m->curFrame, 1);
    EXPECT_EQ(m->glowColour, 0xFF404040u);
    EXPECT_FLOAT_EQ(m->passes[0].offsetU, 0.75f);
    EXPECT_FLOAT_EQ(m->passes[0].offsetV, -0.5f);
    Tick(1000);
    EXPECT_FLOAT_EQ(m->passes[0].offsetU, 0.5f);   // 1.5 brought back by one
    EXPECT_FLOAT_EQ(m->passes[0].offsetV, -1.0f);  // -1 is kept
    Tick(1000);
    EXPECT_FLOAT_EQ(m->passes[0].offsetV, -0.5f);
    renderLightGroup_table[5].alpha = 0;
    Tick(10);
    EXPECT_EQ(m->curFrame, 0);

    // Stopping one animation leaves the others running.
    renderMaterial_SetFlicker(m, 0);
    EXPECT_FALSE(m->flags & MATERIAL_FLICKER);
    EXPECT_TRUE(m->flags & MATERIAL_ANIMATED);
    renderMaterial_SetGlowRamp(m, 0);
    renderMaterial_SetSlide(m, 0, 0, 0);
    EXPECT_FALSE(m->flags & MATERIAL_ANIMATED);
    EXPECT_EQ(renderMaterial_FirstAnimated(), nullptr);
    renderMaterial_SetSlide(m, 1, 0.1f, 0);
    EXPECT_EQ(renderMaterial_FirstAnimated(), m);
    renderMaterial_SetPageFlip(m, 50);
    EXPECT_TRUE(m->flags & MATERIAL_FLIPPING);
    EXPECT_EQ(m->pNextAnimated, nullptr);  // in the list once
}

TEST_F(RenderMaterial, OverlongLinesAndControlBytes)
{
    // The rest of a line past 511 characters is not read as a line of its own.
    const std::string line = fixtures::DazOverlongLine("twosided texture stone", 700) + " fullylit";
    DazText("long", line + "\nspecular\n");
    Material* m = Load("long");
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->flags & MATERIAL_TWOSIDED);
    EXPECT_FALSE(m->flags & MATERIAL_FULLYLIT);
    EXPECT_TRUE(m->flags & MATERIAL_SPECULAR);

    // A NUL ends what is read of its line.
    DazText("control", fixtures::DazWithControlBytes("twosided addblend\ntexture stone"));
    Material* control = Load("control");
    ASSERT_NE(control, nullptr);
    EXPECT_STREQ(control->name, "control");
    EXPECT_TRUE(control->flags & MATERIAL_TWOSIDED);
    EXPECT_FALSE(control->flags & MATERIAL_ADDBLEND);

    Daz("last", DazWriter().Texture("stone").Line("nosmooth").NoFinalNewline());
    EXPECT_TRUE(Load("last")->flags & MATERIAL_NOSMOOTH);

    // Missing arguments end their keyword quietly.
    Daz("bare", DazWriter().Texture("stone").Line("slide").Line("pass").Line("numframes").Line("sound"));
    EXPECT_STREQ(Load("bare")->name, "bare");
}

TEST_F(RenderMaterial, NoDamagedFileCrashesOrLeaks)
{
    const std::string good = DazWriter()
                                 .Line("numframes 2 pageflip 9")
                                 .Texture("f1").Texture("f2")
                                 .Pass(1, "$lightmap", {"lightmap"})
                                 .Line("slide 1(1,2) flicker 2")
                                 .Text();
    int n = 0;
    fixtures::ForEachMutation(good, [&](const std::string& bad) {
        const std::string name = "mut" + std::to_string(n++);
        DazText(name, bad);
        Material* m = Load(name);
        ASSERT_NE(m, nullptr);
        renderMaterial_UpdateAll(0.5f);
        renderMaterial_Free(m);
    });
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, 0u);
}

TEST_F(RenderMaterial, ModelsKeepTheirMaterialsAndFilesComeFromPackArchives)
{
    // Everything inside an archive in the game folder.
    fixtures::QevModel qev = fixtures::MakeQevModel({"wood", "packed", "wood"}, 3, 4, false);
    qev.parts[2].material = 7;  // names no material
    fixtures::ZipWriter zip;
    zip.Add("3D/Models/crate.qev", fixtures::QevBytes(qev));
    zip.Add("Materials/packed.daz", DazWriter().Texture("inpack").Text());
    zip.Add("Materials/inpack.tga", fixtures::TgaBytes(fixtures::MakeTga(2, 2, 24, false, Opaque)));
    ASSERT_TRUE(zip.Write("data.vop"));
    MakeGame();

    Model* model = renderModel_Load("crate", 0);
    ASSERT_NE(model, nullptr);
    Material* wood = model->ppMaterials[0];
    ASSERT_NE(wood, nullptr);
    EXPECT_EQ(model->ppMaterials[2], wood);
    EXPECT_EQ(wood->refCount, 2u);
    EXPECT_STREQ(model->ppMaterials[1]->passes[0].pTexture->name, "inpack");
    EXPECT_EQ(model->pParts[0].pMaterial, wood);
    EXPECT_EQ(model->pParts[1].pMaterial, model->ppMaterials[1]);
    EXPECT_EQ(model->pParts[2].pMaterial, nullptr);
    EXPECT_EQ(renderModel_FindMaterial(model, model->ppMaterials[1]), 1);
    EXPECT_EQ(renderModel_FindMaterial(model, nullptr), -1);

    renderModel_CacheMaterials(model);
    EXPECT_TRUE(model->flags & MODEL_MATERIALS_CACHED);
    EXPECT_TRUE(wood->flags & MATERIAL_PASS_READ);

    renderModel_Free(model);
    EXPECT_EQ(renderMaterial_Find("wood"), wood);
    EXPECT_EQ(wood->refCount, 0u);
    EXPECT_TRUE(wood->flags & MATERIAL_PARKED);
}
