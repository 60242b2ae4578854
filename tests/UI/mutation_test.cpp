// The UI library's loaders fed about 2,000 seeded mutants each (fixtureLoaderMutations.h), in
// the viewer's sample UI folder on the fake raster table: UI scripts, fonts through the UI
// resources and a textbox that lays out and draws text with them, and TGA images as UI bitmaps
// and as UI textures. Each mutant must load within a heap bound derived from its size and leave
// nothing behind; the good file loads the same after a refused one.
#include <gtest/gtest.h>

#include <string>

#include "fixtureLoaderMutations.h"
#include "fixtureTga.h"
#include "fixtureWix.h"
#include "fixtureYub.h"
#include "renderBitmap.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiResource.h"
#include "uiTestSupport.h"
#include "uiTextbox.h"

using fixtures::Bytes;
using fixtures::LoaderUnderMutation;
using fixtures::MutationDigest;

namespace {

const char kScript[] = "Ui\\qevview.wix";
const size_t kScreenBitmap = sizeof(Bitmap) + (size_t)UI_WIDTH * UI_HEIGHT * 4;

class UiMutations : public uitest::UiTest {
protected:
    void SetUp() override
    {
        // The viewer's UI folder first, so that the UI starts with its default font.
        ASSERT_TRUE(fixtures::WriteSampleUi("."));
        UiTest::SetUp();
        StartUi();
        bitmaps = stdBitmap_GetLiveCount();
    }
    // What a load may leave behind besides the heap: open files, bitmaps and textures.
    std::string LeftBehind() const
    {
        if (stdFile_GetOpenCount()) return "a file open";
        if (stdBitmap_GetLiveCount() != bitmaps) return "a UI bitmap";
        if (renderBitmap_GetStats()->numTextures) return "a texture";
        return "";
    }
    // Opens the dialog and runs frames with the cursor in each corner and over the widgets;
    // a textbox of the name gets lines first.
    void RunFrames(uiDialog* dialog, const char* textbox)
    {
        if (uiTextbox* t = dynamic_cast<uiTextbox*>((uiElement*)uiResource_Find(textbox))) {
            uiTextbox_Printf(t, "Framerate: %d, Faces %d", 60, 1234);
            uiTextbox_Printf(t, "LOD locked.\nLOD unlocked. A row of words to wrap");
        }
        uiDialog_Open(dialog);
        const float corners[][2] = {{0, 0}, {639, 479}, {30, 450}, {300, 460}, {639, 0}};
        for (const auto& c : corners) {
            uiCursor_SetPos(c[0], c[1]);
            ui_Update();
            ui_Draw();
        }
    }
    // The quads' textures as the frames left them: what the widgets drew into them.
    static void AddQuads(MutationDigest& d, const uiDialog* dialog)
    {
        for (const uiQuad* q = dialog->pQuads; q; q = q->pNext) {
            d.Add(q->x).Add(q->y).Add(q->width).Add(q->height).Add(q->uvs);
            if (const Bitmap* b = q->pBitmap) {
                d.AddText(b->name).Add(b->width).Add(b->height).Add(b->format);
                d.Add(b->pixels, (size_t)b->width * b->height * bitmapFormat_BytesPerPixel(b->format));
            }
        }
    }

    int bitmaps = 0;
};

}  // namespace

TEST_F(UiMutations, Scripts)
{
    const Bytes script = fixtures::ReadBytes(kScript);
    LoaderUnderMutation loader;
    loader.format = "wix";
    loader.good = script;
    loader.fields = fixtures::MutationNumbersOf(std::string(script.begin(), script.end()));
    // A widget's picture of at most the screen, or a texture or bitmap of the folder (the
    // largest, the status strip, 512 x 32).
    loader.bound = [](size_t) { return kScreenBitmap; };
    loader.write = [](const Bytes& b) { return fixtures::WriteBytes(kScript, b); };
    loader.prepare = [this] { raster.ClearCalls(); };
    loader.load = [this] {
        uiDialog* d = uiDialog_LoadScript(kScript);
        if (!d) return std::string("!no dialog");
        MutationDigest digest;
        digest.AddText(d->name).AddText(d->music).Add(d->flags).Add(d->x).Add(d->y).Add(d->visGroup);
        digest.Add(d->left).Add(d->top).Add(d->right).Add(d->bottom).Add(d->format);
        for (uiElement* e = uiDialog_NextElement(d, nullptr); e; e = uiDialog_NextElement(d, e)) {
            digest.AddText(e->name).Add(e->kind).Add(e->rect).Add(e->flags).Add(e->color);
            digest.Add(e->numOverlaps).Add(e->pBitmap ? e->pBitmap->width : -1);
        }
        RunFrames(d, "qvuiTextbox");
        AddQuads(digest, d);
        uiDialog_Free(d);
        raster.ClearCalls();
        return digest.Text();
    };
    loader.leftBehind = [this] { return LeftBehind(); };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(UiMutations, FontsThroughAUiTextbox)
{
    fixtures::YubFont yub = fixtures::MakeYub(6, 9, 7, {'F', 'r', 'a', 'e', ' ', 'L', 'O', 'D', '.', '1', '2'},
                                              [](int code, int c, int r) { return (uint8_t)(code * 5 + c * 40 + r * 9); },
                                              12);
    yub.pointerField = 0xDEADBEEF;
    yub.countField = 5;
    LoaderUnderMutation loader =
        fixtures::YubUnderMutation("yub (UI)", yub, "Ui\\mfont.yub", {'F', 'r', ' ', 'L', '.'});
    ASSERT_TRUE(fixtures::WriteText("Ui\\text.wix", "quad pos=0,0 size=128,64 mat=qvpanel.tga\n"
                                                    "element textbox name=t pos=4,4 size=120,56 "
                                                    "font=mfont.yub textboxflags=5\n"));
    // The font's record and glyph bitmap, or what the script makes: the panel texture (128 x 64)
    // and the textbox's own picture.
    loader.bound = [](size_t bytes) { return STDFONT_RECORD_SIZE + bytes + sizeof(Bitmap) + 128 * 64 * 4; };
    loader.prepare = [this] { raster.ClearCalls(); };
    loader.load = [this] {
        stdFont* font = uiResource_LoadFont("mfont.yub");
        if (!font) return std::string();
        MutationDigest digest;
        uiDialog* d = uiDialog_LoadScript("Ui\\text.wix");
        digest.Add(uiResource_Find("t") != nullptr);
        RunFrames(d, "t");
        AddQuads(digest, d);
        uiDialog_Free(d);
        uiResource_FreeFont(font);
        raster.ClearCalls();
        return digest.Text();
    };
    loader.leftBehind = [this] {
        return uiResource_Find("mfont.yub") ? std::string("the font") : LeftBehind();
    };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(UiMutations, TgaAsUiBitmaps)
{
    fixtures::TgaImage image = fixtures::MakeTga(7, 5, 32, true, uitest::Opaque);
    image.id = "id";
    LoaderUnderMutation loader =
        fixtures::TgaUnderMutation("tga (UI bitmap)", image, "Ui\\img.tga", BITMAP_HEADER_SIZE);
    loader.load = [] {
        Bitmap* bitmap = uiResource_LoadBitmap("img", BITMAP_FORMAT_8888);
        if (!bitmap) return std::string();
        MutationDigest d;
        d.Add(bitmap->width).Add(bitmap->height).Add(bitmap->format);
        d.Add(bitmap->pixels, (size_t)bitmap->width * bitmap->height * 4);
        Bitmap* copy = uiResource_BitmapData("img.TGA");
        if (copy) d.Add(copy->pixels, (size_t)copy->width * copy->height * 4);
        uiResource_FreeBitmap(copy);
        uiResource_FreeBitmap(bitmap);
        return d.Text();
    };
    loader.leftBehind = [this] { return LeftBehind(); };
    fixtures::RunLoaderMutations(loader);
}

TEST_F(UiMutations, TgaAsUiTextures)
{
    fixtures::TgaImage image = fixtures::MakeTga(6, 4, 24, false, uitest::Opaque);
    LoaderUnderMutation loader =
        fixtures::TgaUnderMutation("tga (UI texture)", image, "Ui\\Materials\\tex.tga", sizeof(Bitmap));
    loader.prepare = [this] { raster.ClearCalls(); };
    loader.load = [this] {
        Bitmap* texture = uiResource_LoadMaterial("tex");
        if (!texture) return std::string();
        MutationDigest d;
        d.Add(texture->width).Add(texture->height).Add(texture->format).Add(texture->rasterHandle != 0);
        d.Add(texture->pixels, (size_t)texture->width * texture->height *
                                   bitmapFormat_BytesPerPixel(texture->format));
        uiResource_FreeMaterial(texture);
        raster.ClearCalls();
        return d.Text();
    };
    loader.leftBehind = [this] { return LeftBehind(); };
    fixtures::RunLoaderMutations(loader);
}
