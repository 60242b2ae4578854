// Writes the seed corpora of the native fuzz targets (tests/fuzz) with the fixture writers:
//
//   FOLDER\<format>\*   sound and damaged files of one format, one folder per target
//   FOLDER\game\        the viewer's sample game folder with its UI files, where the targets
//                       find the textures, bitmaps, fonts and models that their inputs name
//
// Usage: fuzz_seeds.exe FOLDER (scripts/fuzz.sh runs it under wine).
#include <cstdio>
#include <string>
#include <vector>

#include "fixtureDaz.h"
#include "fixtureFiles.h"
#include "fixtureJup.h"
#include "fixtureKez.h"
#include "fixtureProfile.h"
#include "fixtureQev.h"
#include "fixtureSampleGame.h"
#include "fixtureTga.h"
#include "fixtureViewerSample.h"
#include "fixtureWix.h"
#include "fixtureYub.h"
#include "fixtureZip.h"
#include "renderSettings.h"
#include "stdConfig.h"

using namespace fixtures;

namespace {

std::string g_root;
bool g_ok = true;

void Seed(const std::string& format, const std::string& name, const Bytes& bytes)
{
    g_ok = MakeFolders(g_root + "\\" + format) && WriteBytes(g_root + "\\" + format + "\\" + name, bytes) && g_ok;
}

void Seed(const std::string& format, const std::string& name, const std::string& text)
{
    Seed(format, name, Bytes(text.begin(), text.end()));
}

uint32_t Gradient(int x, int y)
{
    return 0x80000000u | (uint32_t)(x * 37 & 0xFF) << 16 | (uint32_t)(y * 59 & 0xFF) << 8 | 0x40;
}

void Models()
{
    Seed("qev", "crate7.qev", QevBytes(SampleCrate(7)));
    Seed("qev", "crate6.qev", QevBytes(SampleCrate(6)));
    Seed("qev", "totem.qev", QevBytes(MakeSampleTotem()));
    Seed("qev", "parts.qev", QevBytes(MakeQevModel({"a", "b"}, 3, 5, true)));
    Seed("qev", "plain6.qev", QevBytes(MakeQevModel({"a"}, 1, 4, false, 6)));
    Seed("qev", "tubes.qev", QevBytes(MakeSampleTubes(2, 5, 4, 8.0f, 20.0f)));
    QevModel claims = SampleCrate(7);
    claims.claimedVerts = 1000;
    claims.claimedBones = 300;
    Seed("qev", "claims.qev", QevBytes(claims));
}

void Tracks()
{
    JupFile file;
    file.duration = 30;
    JupCurve turn;
    turn.keys = {MakeCubicKey(0, 1, 0, 3, 0, 0), MakeCubicKey(10, 0.5f, 30, 1, 0.1f, -0.01f),
                 MakeCubicKey(20, 2, 45, 0, 0, 0)};
    JupCurve move;
    move.bone = 1;
    move.kind = 1;
    move.keys = {MakeCubicKey(0, 1, 0, 0, 1, 0), MakeCubicKey(15, 1, 5, -1, 0, 0)};
    file.curves = {turn, move};
    file.tags = {{5, 1}, {25, 2}};
    Seed("jup", "two_curves.jup", JupBytes(file));
    file.writeTagCount = false;
    Seed("jup", "no_tags.jup", JupBytes(file));
    JupFile empty;
    empty.version = 2;
    Seed("jup", "version2.jup", JupBytes(empty));
    file.claimedTags = 100;
    file.writeTagCount = true;
    Seed("jup", "claimed_tags.jup", JupBytes(file));
}

void Materials()
{
    Seed("daz", "plain.daz", DazWriter().Comment("a crate side").Texture("crate_side").Line("sound wood").Text());
    Seed("daz", "masked.daz", DazWriter().Line("masked twosided").Texture("crate_lid", true).CrLf().Text());
    Seed("daz", "frames.daz",
         DazWriter().Line("numframes 3").Line("pageflip 100").Texture("crate_side").Texture("crate_lid")
             .Texture("totem").Texture("dflt").NoFinalNewline().Text());
    Seed("daz", "effects.daz",
         DazWriter().Texture("totem").Line("detail crate_side").Line("detailscale 50")
             .Line("glow crate_lid").Line("glowramp 2").Line("flicker 3").Line("slide 0 (0.5,0.25)")
             .Line("fullylit addblend subblend nosmooth specular envmap").Line("sound metal").Text());
    Seed("daz", "passes.daz",
         DazWriter().Pass(0, "crate_side", {"rgb"}).Pass(1, "$lightmap").Pass(2, "$lightadd", {"addparticle"}, true)
             .Pass(4, "totem").Line("slide 2 (1,-1)").Text());
    Seed("daz", "control.daz", DazWithControlBytes(DazWriter().Texture("crate_side").Text()));
    Seed("daz", "overlong.daz", DazOverlongLine("texture crate_lid", 700) + "\n");
}

uint8_t Box(int, int, int)
{
    return 255;
}

uint8_t Ramp(int code, int c, int r)
{
    return (uint8_t)(code * 16 + c * 8 + r);
}

void Fonts()
{
    std::vector<int> printable;
    for (int code = 33; code < 127; code++) printable.push_back(code);
    Seed("yub", "boxes.yub", YubBytes(MakeYub(6, 9, 7, printable, Box, 11)));
    YubFont small = MakeYub(3, 4, 4, {65, 66, 67, 200, 255}, Ramp);
    small.glyphs[66].xOffset = -2;
    small.glyphs[67].yOffset = 3;
    Seed("yub", "small.yub", YubBytes(small));
    YubFont system = MakeYubFromSystemFont("Arial", 13);
    if (system.lineHeight) Seed("yub", "arial13.yub", YubBytes(system));
}

void Scripts()
{
    for (size_t i = 0; const WixDamage& damage : DamagedWix("qvpanel.tga"))
        Seed("wix", "damaged" + std::to_string(i++) + ".wix", damage.text);
    WixScript widgets;
    widgets.dialogLines = {"; every widget class", "name=widgets", "pos=100,50", "ontop=1", "visgroup=2",
                           "music=none"};
    widgets.quads = {{0, 0, 128, 64, "qvpanel.tga"}, {128, 0, -64, 64, "qvpanel.tga"}, {0, 64, 472, 32, "qvstrip.tga"}};
    widgets.elements = {
        {"static", {"name=frame", "pos=4,4", "size=120,56", "color=255,10,20,30", "flags=0x2"}},
        {"textbox", {"name=text", "parent=frame", "pos=8,8", "size=100,20", "font=defaultFont15.yub",
                     "maxitems=3", "itemspacing=2", "tbtextcolor=10,200,30", "textboxflags=0x3"}},
        {"button", {"name=ok", "pos=8,40", "size=32,16", "bitmap=qvbutton.tga", "rollover=qvbutton.tga",
                    "depressed=qvbutton.tga", "buttonvalue=7", "key=1", "hintstring=ok_hint"}},
        {"checkbox", {"name=check", "pos=48,40", "size=16,16", "bitmap=qvbutton.tga",
                      "checkedbitmap=qvbutton.tga", "radiogroup=1"}},
        {"icon", {"name=icon", "pos=70,40", "size=16,16", "bitmap=qvbutton.tga", "flash=qvbutton.tga"}},
        {"icongrid", {"name=grid", "pos=0,64", "size=96,32", "gridsize=6,2", "gridid=3", "flags=0x8"}},
    };
    Seed("wix", "widgets.wix", WixText(widgets));
}

void Strings()
{
    Seed("kez", "plain.kez",
         KezWriter().Comment("menu texts").Define("hello", "World  wide").Blank().Line("  // a comment")
             .Define("Take", "Take %N of %a").Define("item_name", "the sword").Line("keyonly").Text());
    Seed("kez", "crlf.kez",
         KezWriter().CrLf().Define("hello", "again").Define("HELLO", "replaced").NoFinalNewline().Text());
    Seed("kez", "long.kez", KezWriter().Define("long", std::string(1500, 'x')).Define(std::string(60, 'k'), "v").Text());
}

void Images()
{
    Seed("tga", "tiny24.tga", TgaBytes(MakeTga(5, 3, 24, false, Gradient)));
    Seed("tga", "top32.tga", TgaBytes(MakeTga(4, 4, 32, true, Gradient)));
    TgaImage odd = MakeTga(33, 17, 32, false, Gradient);
    odd.id = "an id field";
    Seed("tga", "odd.tga", TgaBytes(odd));
    Seed("tga", "claims.tga", TgaWithClaimedSize(MakeTga(8, 8, 24, false, Gradient), 300, 200));
    Seed("tga", "cut.tga", Truncated(TgaBytes(MakeTga(16, 16, 32, false, Gradient)), 200));
}

void Archives()
{
    Bytes binary;
    for (int i = 0; i < 300; i++) binary.push_back((uint8_t)(i * 7));
    Seed("vop", "entries.vop",
         ZipWriter().Add("3D/Anims/turn.jup", binary).Add("Strings\\game.kez", "hello world\r\nsecond line\nlast")
             .Add("empty.txt", Bytes()).Add("Ui\\wide.txt", std::string("w\0i\0d\0e\0\n\0", 10)).Build());
    ZipEntry deflated, described, claims;
    deflated.name = "packed.bin", deflated.data = binary, deflated.deflate = true;
    described.name = "described.bin", described.data = binary, described.flags = 0x8;
    claims.name = "claims.bin", claims.data = binary, claims.claimedCompressed = 5000;
    Seed("vop", "odd.vop", ZipWriter().Add(deflated).Add(described).Add("after.txt", "a\nb\n").Add(claims).Build());
}

// The settings file as the viewer writes it at exit, and one written by the fixture writer.
void Settings()
{
    renderSettings settings;
    renderSettings_Construct(&settings);
    renderSettings_Save(&settings);
    Seed("ini", "palvera.ini", ReadBytes(stdConfig_GetPath()));
    Seed("ini", "written.ini",
         ProfileText({{"render", {{"optionFlags", "8"}, {"gamma", ProfileFloat(2.0f)}, {"modelLODMax", "00"},
                                  {"screenWidth", "-1"}, {"driver", "blitvane.dll"}}},
                      {"renderCustom", {{"maxThingLights", "300"}, {"shadowDetail", ProfileFloat(-1e30f)}}}}));
}

void Game()
{
    const std::string game = g_root + "\\game";
    g_ok = WriteViewerSample(game) && WriteSampleUi(game) && g_ok;
    // The UI bitmaps that the damaged scripts name.
    g_ok = WriteTga(game + "\\Ui\\wide.tga", MakeTga(20, 20, 32, false, Gradient)) &&
           WriteTga(game + "\\Ui\\tiny.tga", MakeTga(4, 4, 32, false, Gradient)) && g_ok;
    // The sample's own files of the fuzzed formats are seeds too.
    Seed("wix", "qevview.wix", ReadBytes(game + "\\Ui\\qevview.wix"));
    Seed("yub", "defaultFont15.yub", ReadBytes(game + "\\Ui\\defaultFont15.yub"));
    Seed("daz", "crate_lid.daz", ReadBytes(game + "\\Materials\\crate_lid.daz"));
    Seed("daz", "totem.daz", ReadBytes(game + "\\Materials\\totem.daz"));
    Seed("tga", "cursor.tga", ReadBytes(game + "\\Ui\\Materials\\CursorDefault.tga"));
    Seed("vop", "sample.vop", ReadBytes(game + "\\" + kSampleArchive));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    g_root = argv[1];
    RemoveTree(g_root);
    g_ok = MakeFolders(g_root);
    Models();
    Tracks();
    Materials();
    Fonts();
    Scripts();
    Strings();
    Images();
    Archives();
    Settings();
    Game();
    if (!g_ok) fprintf(stderr, "fuzz_seeds: some files could not be written below %s\n", g_root.c_str());
    return g_ok ? 0 : 1;
}
