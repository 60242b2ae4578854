// Drawing modes, the state cache, fog and the pass list, through the DirectDraw double: what
// reaches the device, and that only changes do.
#include <gtest/gtest.h>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>
#include "drawTestSupport.h"
#include "fakeDirectDraw.h"
#include "fakeDraw.h"
#include "rasterTestWindow.h"
#include "rlDevice.h"
#include "rlMain.h"
#include "rlMode.h"
#include "rlPass.h"

namespace {

class RasterModes : public ::testing::Test {
protected:
    void SetUp() override { open(0, 0); }
    void TearDown() override
    {
        rlMain_Close();
        EXPECT_EQ(fake_LiveObjects(), 0) << fake_LiveDescription();
        EXPECT_EQ(fakeDraw_LiveBuffers(), 0);
        fake_Uninstall();
    }
    void open(uint32_t options, uint32_t detail)
    {
        rlMain_Close();
        fake_Install(FakeConfig());
        rlMain_Startup(window.hwnd);
        settings = rasterTestSettings(true);
        settings.optionFlags |= options;
        settings.detailFlags = detail;
        ASSERT_EQ(rlMain_Open(&settings), 1);
        rlMode_SetFlags(0);
    }
    size_t sent() { return fakeDraw_States().size(); }

    RasterTestWindow window;
    renderSettings settings;
};

// The mode table as written for content authors: ZW ZF C0 A0 C1 A1 BL AD0 MIP CU AT FOG ZB TC.
const char* const MODE_ROWS[] = {
    "1 0 LE 3 4 7 6 5 CL L CW 0 0 0 0",    "2 1 - 1 4 7 6 5 - L - 0 0 0 0",
    "3 1 LE 1 4 7 6 5 WR L CW 0 1 0 0",    "4 1 LE 1 1 7 6 1 WR L N 0 1 0 0",
    "5 1 LE 1 2 7 6 1 WR L N 0 1 0 0",     "6 1 LE 1 3 7 6 1 WR L N 0 1 0 0",
    "7 1 LE 2 1 7 6 5 WR L CW 0 1 0 0",    "8 0 LE 3 4 7 6 2 WR L CW 0 1 0 0",
    "9 1 LE 3 4 7 6 5 WR L CW 0 1 0 0",    "10 1 LE 1 4 7 6 3 WR L CW 0 1 0 0",
    "11 0 AL 1 3 7 6 1 CL N N 0 0 0 0",    "12 1 LE 1 4 7 6 5 CL L CW 0 1 0 0",
    "13 0 AL 1 3 7 6 3 CL L CW 0 1 0 0",   "14 1 LE 1 2 7 6 5 WR L CW 1 1 0 0",
    "15 1 LE 3 2 8 8 5 WR L N 1 1 0 0",    "16 - - - - - - - - - - - - - -",
    "17 0 LE 1 3 7 6 3 WR L N 0 1 0 0",    "18 0 LE 1 3 7 6 6 CL L N 0 1 0 0",
    "19 0 LE 1 3 7 6 1 CL L N 0 1 0 0",    "20 0 LE 1 4 7 6 3 WR L N 0 1 0 0",
    "21 1 LE 3 6 8 2 5 WR L N 0 1 0 0",    "22 1 LE 9 4 7 6 5 CL L N 0 1 0 1",
    "23 0 LE 9 4 7 6 3 CL L CW 0 0 1 1",   "24 1 LE 1 2 7 6 5 WR L N 1 1 0 0",
    "25 1 LE 1 4 7 6 5 WR L N 0 1 0 0",    "26 1 LE 3 2 7 6 1 WR L N 0 1 0 0",
    "27 1 LE 3 4 7 6 5 CL L N 0 1 0 0",    "28 0 LE 10 4 7 6 3 WR L CW 0 1 0 0",
    "29 0 LE 1 4 7 6 3 CL L CW 0 1 1 0",   "30 0 LE 1 4 7 6 6 CL L CW 0 1 1 0",
    "31 1 AL 4 4 7 6 8 - L N 0 0 0 0",     "32 1 LE 3 2 8 9 1 WR L N 0 1 0 0",
    "33 0 LE 3 2 8 8 3 WR L N 0 1 0 0",    "34 0 LE 3 4 7 6 7 WR L N 0 1 0 0",
    "35 0 LE 9 4 7 6 3 WR L CW 0 1 0 0",   "36 0 LE 4 4 7 6 5 WR L CW 0 1 1 0",
    "37 0 LE 1 4 7 6 9 CL L CW 0 1 1 0",   "38 0 LE 1 4 7 6 10 WR L N 0 1 0 0",
    "39 0 LE 3 4 7 6 10 WR L N 0 1 0 0",   "40 0 LE 3 4 7 6 2 CL L CW 0 0 0 1",
    "41 0 LE 3 1 7 6 11 WR L CW 0 1 0 0",  "42 0 LE 3 1 7 6 11 WR L N 0 0 0 0",
    "43 0 LE 3 4 7 6 6 WR L CW 0 1 0 0",
};

struct Op {
    DWORD op, arg1, arg2;
};

Op colourKind(int kind)
{
    switch (kind) {
    case 1: return {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case 2: return {D3DTOP_MODULATECOLOR_ADDALPHA, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case 3: return {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case 4: case 5: return {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR};
    case 6: return {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case 7: return {D3DTOP_DISABLE, 0, 0};
    case 8: return {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT};
    case 9: return {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR};
    default: return {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR};
    }
}

Op alphaKind(int kind)
{
    switch (kind) {
    case 1: case 5: return {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case 2: case 4: return {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case 3: return {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case 6: return {D3DTOP_DISABLE, 0, 0};
    case 8: return {D3DTOP_SELECTARG2, D3DTA_DIFFUSE, D3DTA_CURRENT};
    default: return {D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_CURRENT};
    }
}

const Op BLENDS[12] = {{},
                       {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 1}, {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO, 1},
                       {D3DBLEND_ONE, D3DBLEND_ONE, 1},              {D3DBLEND_INVDESTCOLOR, D3DBLEND_ONE, 1},
                       {D3DBLEND_ONE, D3DBLEND_ZERO, 0},             {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR, 1},
                       {D3DBLEND_DESTCOLOR, D3DBLEND_SRCCOLOR, 1},   {D3DBLEND_ZERO, D3DBLEND_ONE, 1},
                       {D3DBLEND_DESTCOLOR, D3DBLEND_SRCALPHA, 1},   {D3DBLEND_DESTCOLOR, D3DBLEND_ONE, 1},
                       {D3DBLEND_SRCALPHA, D3DBLEND_ONE, 1}};

void expectStage(int stage, const Op& op, bool colour, const std::string& where)
{
    const auto opState = colour ? D3DTSS_COLOROP : D3DTSS_ALPHAOP;
    EXPECT_EQ(fakeDraw_StageState(stage, opState), op.op) << where;
    if (op.op == D3DTOP_DISABLE) return;
    EXPECT_EQ(fakeDraw_StageState(stage, colour ? D3DTSS_COLORARG1 : D3DTSS_ALPHAARG1), op.arg1) << where;
    EXPECT_EQ(fakeDraw_StageState(stage, colour ? D3DTSS_COLORARG2 : D3DTSS_ALPHAARG2), op.arg2) << where;
}

// The device's state after a mode equals the row (a dash: whatever the mode before left).
void expectRow(const std::string& row)
{
    std::istringstream in(row);
    std::string f[15];
    for (std::string& field : f) in >> field;
    const std::string where = "mode " + f[0];
    auto given = [&](int i) { return f[i] != "-"; };
    auto num = [&](int i) { return std::stoi(f[i]); };
    if (given(1)) {
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZWRITEENABLE), num(1)) << where;
    }
    if (given(2)) {
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZFUNC), f[2] == "LE" ? D3DCMP_LESSEQUAL : D3DCMP_ALWAYS) << where;
    }
    if (given(3)) expectStage(0, colourKind(num(3)), true, where);
    if (given(4)) expectStage(0, alphaKind(num(4)), false, where);
    if (given(5)) expectStage(1, colourKind(num(5)), true, where);
    if (given(6)) expectStage(1, alphaKind(num(6)), false, where);
    if (given(7)) {
        const Op& blend = BLENDS[num(7)];
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_SRCBLEND), blend.op) << where;
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_DESTBLEND), blend.arg1) << where;
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ALPHABLENDENABLE), blend.arg2) << where;
    }
    if (given(8)) {
        EXPECT_EQ(fakeDraw_StageState(0, D3DTSS_ADDRESS), f[8] == "WR" ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP) << where;
        EXPECT_EQ(fakeDraw_StageState(0, D3DTSS_MAGFILTER), D3DTFG_LINEAR) << where;
        EXPECT_EQ(fakeDraw_StageState(0, D3DTSS_MINFILTER), D3DTFN_LINEAR) << where;
    }
    if (given(9)) {
        EXPECT_EQ(fakeDraw_StageState(0, D3DTSS_MIPFILTER), f[9] == "N" ? D3DTFP_NONE : D3DTFP_LINEAR) << where;
    }
    if (given(10)) {
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_CULLMODE), f[10] == "N" ? D3DCULL_NONE : D3DCULL_CW) << where;
    }
    if (given(11)) {
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ALPHATESTENABLE), num(11)) << where;
    }
    if (given(12)) {
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), num(12)) << where;
    }
    if (given(13)) {
        EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZBIAS), num(13)) << where;
    }
    if (given(14)) {
        EXPECT_EQ(fakeDraw_StageState(0, D3DTSS_TEXCOORDINDEX), num(14)) << where;
    }
    const int mode = num(0);
    if (mode == 15 || mode == 21 || mode == 32 || mode == 33) {
        EXPECT_EQ(fakeDraw_StageState(1, D3DTSS_ADDRESS), D3DTADDRESS_CLAMP) << where;
        EXPECT_EQ(fakeDraw_StageState(1, D3DTSS_MIPFILTER), mode == 21 ? D3DTFP_LINEAR : D3DTFP_NONE) << where;
        EXPECT_EQ(fakeDraw_StageState(1, D3DTSS_TEXCOORDINDEX), 1) << where;
        EXPECT_EQ(fakeDraw_StageState(1, D3DTSS_MAGFILTER), D3DTFG_LINEAR) << where;
    }
}

}  // namespace

TEST_F(RasterModes, DefaultsAreSetAtOpen)
{
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_LESSEQUAL);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZWRITEENABLE), 1);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZENABLE), D3DZB_TRUE);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 0);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_NONE);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ALPHAREF), 128);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ALPHAFUNC), D3DCMP_GREATER);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_LIGHTING), 0);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_CLIPPING), 0);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 0);
    expectStage(0, colourKind(1), true, "defaults");
    expectStage(1, colourKind(7), true, "defaults");
    expectStage(1, alphaKind(6), false, "defaults");
    EXPECT_EQ(fakeDraw_StageState(2, D3DTSS_COLOROP), D3DTOP_DISABLE);
    EXPECT_EQ(fakeDraw_StageState(1, D3DTSS_TEXCOORDINDEX), 1);
    EXPECT_EQ(fakeDraw_StageState(0, D3DTSS_MIPFILTER), D3DTFP_POINT);
    float bias;
    const DWORD biasWord = DWORD(fakeDraw_StageState(1, D3DTSS_MIPMAPLODBIAS));
    memcpy(&bias, &biasWord, 4);
    EXPECT_EQ(bias, -1.0f);
    EXPECT_EQ(fakeDraw_Calls("SetMaterial"), 1);
    EXPECT_EQ(rlMode_Cache()->mode, 0);

    // The w-buffer option and linear mip filtering from the settings.
    open(RENDER_OPTION_WBUFFER, RENDER_DETAIL_LINEAR_MIPS);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZENABLE), D3DZB_USEW);
    EXPECT_EQ(fakeDraw_StageState(0, D3DTSS_MIPFILTER), D3DTFP_LINEAR);
    EXPECT_EQ(fakeDraw_StageState(1, D3DTSS_MIPFILTER), D3DTFP_LINEAR);
}

// With fog set every state of a row is observable; modes run forwards, then backwards. Linear
// mip filtering is on, as the modes ask for it (without it the device keeps point filtering
// until a mode asks for something else).
TEST_F(RasterModes, EveryModeSetsItsDocumentedStates)
{
    open(0, RENDER_DETAIL_LINEAR_MIPS);
    const float grey[3] = {128, 128, 128};
    rlMode_SetFog(1, 10.0f, 100.0f, grey);
    for (const char* row : MODE_ROWS) {
        rlMode_SetMode(std::stoi(row));
        expectRow(row);
        EXPECT_EQ(rlMode_Cache()->mode, std::stoi(row));
    }
    for (int i = 42; i >= 0; i--) {
        rlMode_SetMode(std::stoi(MODE_ROWS[i]));
        expectRow(MODE_ROWS[i]);
    }
}

TEST_F(RasterModes, OnlyChangedStatesReachTheDevice)
{
    rlMode_SetMode(3);
    size_t before = sent();
    const uint32_t changes = rlMode_Cache()->modeChanges;
    rlMode_SetMode(3);
    EXPECT_EQ(sent(), before);
    EXPECT_EQ(rlMode_Cache()->modeChanges, changes);

    // rgb and rgb_add differ only in their blend kind: three states.
    rlMode_SetMode(10);
    ASSERT_EQ(sent(), before + 3);
    EXPECT_EQ(fakeDraw_States()[before].state, DWORD(D3DRENDERSTATE_SRCBLEND));
    EXPECT_EQ(rlMode_Cache()->modeChanges, changes + 1);

    // Mode 16 and numbers outside the table only become current.
    before = sent();
    rlMode_SetMode(16);
    rlMode_SetMode(44);
    rlMode_SetMode(-3);
    EXPECT_EQ(sent(), before);
    EXPECT_EQ(rlMode_Cache()->mode, -3);

    // Back to a mode after those: only what differs from rgb_add.
    rlMode_SetMode(3);
    EXPECT_EQ(sent(), before + 3);
}

TEST_F(RasterModes, RenderFlagsOverrideStatesAndReapplyTheMode)
{
    rlMode_SetMode(3);
    const uint32_t changes = rlMode_Cache()->modeChanges;
    rlMode_SetFlags(RL_FLAG_NO_ZWRITE | RL_FLAG_Z_GREATER | RL_FLAG_CULL_CCW);
    size_t before = sent();
    rlMode_SetMode(3);
    EXPECT_EQ(rlMode_Cache()->modeChanges, changes + 1);
    EXPECT_EQ(sent(), before + 3);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZWRITEENABLE), 0);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_GREATEREQUAL);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
    // ALWAYS and NONE are not overridden.
    rlMode_SetMode(11);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_ALWAYS);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_NONE);
    rlMode_SetFlags(0);
    rlMode_SetMode(3);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZWRITEENABLE), 1);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_LESSEQUAL);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CW);
}

TEST_F(RasterModes, FogKindsAndTheNoFogFlag)
{
    // No fog set: modes never switch fog on, and switching it off sends nothing.
    rlMode_SetMode(3);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 0);
    size_t before = sent();
    rlMode_SetFog(0, 0, 0, nullptr);
    EXPECT_EQ(sent(), before);

    const float colour[3] = {255.9f, 128.5f, 7.2f};
    rlMode_SetFog(1, 5.0f, 50.0f, colour);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGTABLEMODE), D3DFOG_LINEAR);
    float start, end;
    DWORD word = DWORD(fakeDraw_RenderState(D3DRENDERSTATE_FOGSTART));
    memcpy(&start, &word, 4);
    word = DWORD(fakeDraw_RenderState(D3DRENDERSTATE_FOGEND));
    memcpy(&end, &word, 4);
    EXPECT_EQ(start, 5.0f);
    EXPECT_EQ(end, 50.0f);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGCOLOR), 0xFF8007);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 1);

    rlMode_SetFog(3, 0.25f, 0, colour);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGTABLEMODE), D3DFOG_EXP2);
    rlMode_SetFog(2, 0.25f, 0, colour);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGTABLEMODE), D3DFOG_EXP);

    // The flag switches fog off at once and keeps it off in every mode.
    rlMode_SetFlags(RL_FLAG_NO_FOG);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 0);
    rlMode_SetMode(3);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 0);
    rlMode_SetFlags(0);
    rlMode_SetMode(3);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 1);
    rlMode_SetFog(0, 0, 0, nullptr);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 0);
    EXPECT_FALSE(rlMode_Cache()->bFogActive);
}

TEST_F(RasterModes, FactorKindsSendTheKeptTextureFactorFirst)
{
    rlMode_SetTextureFactor(0x80402010);
    rlMode_SetMode(1);
    const size_t before = sent();
    rlMode_SetMode(22);   // colour kind 9
    bool factorBeforeOp = false;
    for (size_t i = before; i < sent(); i++) {
        const FakeStateCall& call = fakeDraw_States()[i];
        if (call.stage == 0 && call.state == D3DTSS_COLOROP) break;
        factorBeforeOp |= call.stage < 0 && call.state == D3DRENDERSTATE_TEXTUREFACTOR && call.value == 0x80402010;
    }
    EXPECT_TRUE(factorBeforeOp);
}

namespace {

Bitmap bitmapWithHandle(uint32_t handle)
{
    Bitmap bitmap;
    memset(&bitmap, 0, sizeof bitmap);
    bitmap.rasterHandle = handle;
    return bitmap;
}

}  // namespace

TEST(RasterPasses, MaterialsGiveTheirPasses)
{
    Bitmap t1 = bitmapWithHandle(11), t2 = bitmapWithHandle(12), t4 = bitmapWithHandle(14);
    Material plain = drawTest_Material(19, &t1);
    rlPass passes[RL_MAX_PASSES];
    ASSERT_EQ(rlPass_BuildMaterial(&plain, passes), 1);
    EXPECT_EQ(passes[0].mode, 19);
    EXPECT_EQ(passes[0].texture, 11u);
    EXPECT_EQ(passes[0].passFlags, 0u);
    EXPECT_EQ(rlPass_BuildMaterial(nullptr, passes), 0);

    // Layers: texture layers only, each with its own texture (none when it has none), and
    // with the slide flag each with its own offsets.
    Material layered = drawTest_Material(3, &t1);
    layered.flags = MATERIAL_LAYERED | MATERIAL_SLIDE;
    layered.numPasses = 4;
    layered.passes[0].offsetU = 0.5f;
    layered.passes[1] = {0.25f, 0.75f, 0, 0, 0, 17, 17, 17, MATERIAL_PASS_TEXTURE, &t2};
    layered.passes[2] = {0, 0, 0, 0, 0, 22, 22, 22, MATERIAL_PASS_LIGHTMAP, nullptr};
    layered.passes[3] = {0, 0, 0, 0, 0, 10, 10, 10, MATERIAL_PASS_TEXTURE, nullptr};
    ASSERT_EQ(rlPass_BuildMaterial(&layered, passes), 3);
    EXPECT_EQ(passes[0].mode, 3);
    EXPECT_EQ(passes[0].texture, 11u);
    EXPECT_EQ(passes[0].offsetU, 0.5f);
    EXPECT_EQ(passes[1].mode, 17);
    EXPECT_EQ(passes[1].texture, 12u);
    EXPECT_EQ(passes[1].passFlags, uint32_t(RL_PASS_OFFSET_UV));
    EXPECT_EQ(passes[1].offsetV, 0.75f);
    EXPECT_EQ(passes[2].mode, 10);
    EXPECT_EQ(passes[2].texture, 0u);
    (void)t4;

    // A count beyond the four layers a material holds is not read past.
    layered.numPasses = 200;
    EXPECT_EQ(rlPass_BuildMaterial(&layered, passes), 3);
}

// A new full-screen resolution re-creates the device: defaults, the kept fog and a new vertex
// buffer go to it, and the old buffer is given back.
TEST_F(RasterModes, AResolutionChangeSendsDefaultsFogAndANewVertexBuffer)
{
    rlMain_Close();
    fake_Install(FakeConfig());
    rlMain_Startup(window.hwnd);
    settings = rasterTestSettings(false);
    ASSERT_EQ(rlMain_Open(&settings), 1);
    const float colour[3] = {10, 20, 30};
    rlMode_SetFog(2, 0.5f, 0, colour);
    rlMode_SetMode(3);
    fakeDraw_States().clear();
    rlMain_SetResolution(800, 600, 16);
    ASSERT_TRUE(rlDevice_state.bOpen);
    EXPECT_EQ(rlMode_Cache()->mode, 0);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_LESSEQUAL);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGTABLEMODE), D3DFOG_EXP);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGCOLOR), 0x0A141E);
    EXPECT_EQ(fakeDraw_RenderState(D3DRENDERSTATE_FOGENABLE), 1);
    EXPECT_EQ(fakeDraw_Calls("CreateVertexBuffer"), 2);
    EXPECT_EQ(fakeDraw_LiveBuffers(), 1);
}
