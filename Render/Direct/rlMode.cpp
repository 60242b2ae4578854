// The render-state cache, the 43 drawing modes, the default states and fog.
#include "rlMode.h"
#include <cstring>
#include "rlDevice.h"

namespace {

rlModeCache initialCache()
{
    rlModeCache initial = {};
    initial.textureFactor = 0xFFFFFFFF;
    return initial;
}

rlModeCache cache = initialCache();

void renderState(D3DRENDERSTATETYPE state, DWORD value)
{
    rlDevice_state.pDevice->SetRenderState(state, value);
}

void stageState(int stage, D3DTEXTURESTAGESTATETYPE state, DWORD value)
{
    rlDevice_state.pDevice->SetTextureStageState(stage, state, value);
}

DWORD wordOf(float value)
{
    DWORD word;
    memcpy(&word, &value, sizeof word);
    return word;
}

// Keeps a new value; true when it differs from the kept one and must be sent.
bool changes(uint32_t& kept, uint32_t value)
{
    if (kept == value) return false;
    kept = value;
    return true;
}

void setZWrite(uint32_t on)
{
    if (cache.flags & RL_FLAG_NO_ZWRITE) on = 0;
    if (changes(cache.zWrite, on)) renderState(D3DRENDERSTATE_ZWRITEENABLE, on);
}

void setZFunc(uint32_t func)
{
    if (func == D3DCMP_LESSEQUAL && (cache.flags & RL_FLAG_Z_GREATER)) func = D3DCMP_GREATEREQUAL;
    if (changes(cache.zFunc, func)) renderState(D3DRENDERSTATE_ZFUNC, func);
}

struct StageOp {
    DWORD op, arg1, arg2;
    bool bFactor;   // the texture factor is sent first
};

// Colour kinds 1 to 10; 0 is only recorded.
const StageOp COLOUR_KINDS[11] = {
    {},
    {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_MODULATECOLOR_ADDALPHA, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR, true},
    {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR, true},
    {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_DISABLE, 0, 0, false},
    {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, false},
    {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR, true},
    {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR, false},
};

// Alpha kinds 1 to 9; 0 and 7 are only recorded.
const StageOp ALPHA_KINDS[10] = {
    {},
    {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, false},
    {D3DTOP_DISABLE, 0, 0, false},
    {},
    {D3DTOP_SELECTARG2, D3DTA_DIFFUSE, D3DTA_CURRENT, false},
    {D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_CURRENT, false},
};

void sendStageOp(int stage, const StageOp& op, D3DTEXTURESTAGESTATETYPE opState,
                 D3DTEXTURESTAGESTATETYPE arg1State, D3DTEXTURESTAGESTATETYPE arg2State)
{
    if (!op.op) return;
    if (op.bFactor) rlMode_SetTextureFactor(cache.textureFactor);
    stageState(stage, opState, op.op);
    if (op.op == D3DTOP_DISABLE) return;
    stageState(stage, arg1State, op.arg1);
    stageState(stage, arg2State, op.arg2);
}

void setColourKind(int stage, uint32_t kind)
{
    if (!changes(cache.colourKind[stage], kind) || kind > 10) return;
    sendStageOp(stage, COLOUR_KINDS[kind], D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2);
}

void setAlphaKind(int stage, uint32_t kind)
{
    if (!changes(cache.alphaKind[stage], kind) || kind > 9) return;
    sendStageOp(stage, ALPHA_KINDS[kind], D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2);
}

struct Blend {
    DWORD source, dest, enable;
};

// Blend kinds 1 to 11; any other is only recorded.
const Blend BLEND_KINDS[12] = {
    {},
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, TRUE},
    {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO, TRUE},
    {D3DBLEND_ONE, D3DBLEND_ONE, TRUE},
    {D3DBLEND_INVDESTCOLOR, D3DBLEND_ONE, TRUE},
    {D3DBLEND_ONE, D3DBLEND_ZERO, FALSE},
    {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR, TRUE},
    {D3DBLEND_DESTCOLOR, D3DBLEND_SRCCOLOR, TRUE},
    {D3DBLEND_ZERO, D3DBLEND_ONE, TRUE},
    {D3DBLEND_DESTCOLOR, D3DBLEND_SRCALPHA, TRUE},
    {D3DBLEND_DESTCOLOR, D3DBLEND_ONE, TRUE},
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE, TRUE},
};

void setBlendKind(uint32_t kind)
{
    if (!changes(cache.blendKind, kind) || kind < 1 || kind > 11) return;
    renderState(D3DRENDERSTATE_SRCBLEND, BLEND_KINDS[kind].source);
    renderState(D3DRENDERSTATE_DESTBLEND, BLEND_KINDS[kind].dest);
    renderState(D3DRENDERSTATE_ALPHABLENDENABLE, BLEND_KINDS[kind].enable);
}

// The only filter the modes ask for is linear magnification and minification.
void setLinearFilter(int stage)
{
    if (!changes(cache.filter[stage], D3DTFG_LINEAR)) return;
    stageState(stage, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    stageState(stage, D3DTSS_MINFILTER, D3DTFN_LINEAR);
}

void setAddress(int stage, uint32_t address)
{
    if (changes(cache.address[stage], address)) stageState(stage, D3DTSS_ADDRESS, address);
}

void setMipFilter(int stage, uint32_t filter)
{
    if (changes(cache.mipFilter[stage], filter)) stageState(stage, D3DTSS_MIPFILTER, filter);
}

void setTexCoordIndex(int stage, uint32_t index)
{
    if (changes(cache.texCoordIndex[stage], index)) stageState(stage, D3DTSS_TEXCOORDINDEX, index);
}

void setCull(uint32_t cull)
{
    if (cull == D3DCULL_CW && (cache.flags & RL_FLAG_CULL_CCW)) cull = D3DCULL_CCW;
    if (changes(cache.cull, cull)) renderState(D3DRENDERSTATE_CULLMODE, cull);
}

void setAlphaTest(uint32_t on)
{
    if (changes(cache.alphaTest, on)) renderState(D3DRENDERSTATE_ALPHATESTENABLE, on);
}

// Fog is switched only while a fog is set.
void setFogEnable(uint32_t on)
{
    if (cache.flags & RL_FLAG_NO_FOG) on = 0;
    if (!cache.bFogActive) return;
    if (changes(cache.fogEnable, on)) renderState(D3DRENDERSTATE_FOGENABLE, on);
}

void setZBias(uint32_t bias)
{
    if (changes(cache.zBias, bias)) renderState(D3DRENDERSTATE_ZBIAS, bias);
}

// One row of the mode table; -1 leaves a state as it is.
struct ModeRow {
    int8_t zWrite, zFunc, colour0, alpha0, colour1, alpha1, blend, address0, mip0, cull,
        alphaTest, fog, zBias, texCoord0;
};

constexpr int8_t _ = -1;
constexpr int8_t LE = D3DCMP_LESSEQUAL, AL = D3DCMP_ALWAYS;
constexpr int8_t WR = D3DTADDRESS_WRAP, CL = D3DTADDRESS_CLAMP;
constexpr int8_t MN = D3DTFP_NONE, ML = D3DTFP_LINEAR;
constexpr int8_t CN = D3DCULL_NONE, CW = D3DCULL_CW;

const ModeRow MODES[RL_NUM_MODES + 1] = {
    // ZW  ZF  C0  A0 C1 A1  BL AD0  MIP  CU AT FOG ZB TC
    {_, _, _, _, _, _, _, _, _, _, _, _, _, _},          // 0: none
    {0, LE, 3, 4, 7, 6, 5, CL, ML, CW, 0, 0, 0, 0},      // 1 sky
    {1, _, 1, 4, 7, 6, 5, _, ML, _, 0, 0, 0, 0},         // 2 clearbuffer
    {1, LE, 1, 4, 7, 6, 5, WR, ML, CW, 0, 1, 0, 0},      // 3 rgb
    {1, LE, 1, 1, 7, 6, 1, WR, ML, CN, 0, 1, 0, 0},      // 4 rgba
    {1, LE, 1, 2, 7, 6, 1, WR, ML, CN, 0, 1, 0, 0},      // 5 rgb_texalpha
    {1, LE, 1, 3, 7, 6, 1, WR, ML, CN, 0, 1, 0, 0},      // 6 rgba_texalpha
    {1, LE, 2, 1, 7, 6, 5, WR, ML, CW, 0, 1, 0, 0},      // 7 rgb_addvert
    {0, LE, 3, 4, 7, 6, 2, WR, ML, CW, 0, 1, 0, 0},      // 8 fullmodulate
    {1, LE, 3, 4, 7, 6, 5, WR, ML, CW, 0, 1, 0, 0},      // 9 fullbright
    {1, LE, 1, 4, 7, 6, 3, WR, ML, CW, 0, 1, 0, 0},      // 10 rgb_add
    {0, AL, 1, 3, 7, 6, 1, CL, MN, CN, 0, 0, 0, 0},      // 11 screenpoly
    {1, LE, 1, 4, 7, 6, 5, CL, ML, CW, 0, 1, 0, 0},      // 12 rgb_decal
    {0, AL, 1, 3, 7, 6, 3, CL, ML, CW, 0, 1, 0, 0},      // 13 glow
    {1, LE, 1, 2, 7, 6, 5, WR, ML, CW, 1, 1, 0, 0},      // 14 rgb_masked
    {1, LE, 3, 2, 8, 8, 5, WR, ML, CN, 1, 1, 0, 0},      // 15 maskedwall
    {_, _, _, _, _, _, _, _, _, _, _, _, _, _},          // 16 maskedlightmap
    {0, LE, 1, 3, 7, 6, 3, WR, ML, CN, 0, 1, 0, 0},      // 17 addparticle
    {0, LE, 1, 3, 7, 6, 6, CL, ML, CN, 0, 1, 0, 0},      // 18 subparticle
    {0, LE, 1, 3, 7, 6, 1, CL, ML, CN, 0, 1, 0, 0},      // 19 blendparticle
    {0, LE, 1, 4, 7, 6, 3, WR, ML, CN, 0, 1, 0, 0},      // 20 addbeam
    {1, LE, 3, 6, 8, 2, 5, WR, ML, CN, 0, 1, 0, 0},      // 21 lightmappedwall
    {1, LE, 9, 4, 7, 6, 5, CL, ML, CN, 0, 1, 0, 1},      // 22 lightmap
    {0, LE, 9, 4, 7, 6, 3, CL, ML, CW, 0, 0, 1, 1},      // 23 lightmapadd
    {1, LE, 1, 2, 7, 6, 5, WR, ML, CN, 1, 1, 0, 0},      // 24 maskedwallrgb
    {1, LE, 1, 4, 7, 6, 5, WR, ML, CN, 0, 1, 0, 0},      // 25 rgb2sided
    {1, LE, 3, 2, 7, 6, 1, WR, ML, CN, 0, 1, 0, 0},      // 26 full_texalpha
    {1, LE, 3, 4, 7, 6, 5, CL, ML, CN, 0, 1, 0, 0},      // 27 full_texalpha_add
    {0, LE, 10, 4, 7, 6, 3, WR, ML, CW, 0, 1, 0, 0},     // 28 full_addconstant
    {0, LE, 1, 4, 7, 6, 3, CL, ML, CW, 0, 1, 1, 0},      // 29 lightblob
    {0, LE, 1, 4, 7, 6, 6, CL, ML, CW, 0, 1, 1, 0},      // 30 shadow
    {1, AL, 4, 4, 7, 6, 8, _, ML, CN, 0, 0, 0, 0},       // 31 zonly
    {1, LE, 3, 2, 8, 9, 1, WR, ML, CN, 0, 1, 0, 0},      // 32 alphalightmapped
    {0, LE, 3, 2, 8, 8, 3, WR, ML, CN, 0, 1, 0, 0},      // 33 addlightmapped
    {0, LE, 3, 4, 7, 6, 7, WR, ML, CN, 0, 1, 0, 0},      // 34 detailmodulate
    {0, LE, 9, 4, 7, 6, 3, WR, ML, CW, 0, 1, 0, 0},      // 35 solidglow
    {0, LE, 4, 4, 7, 6, 5, WR, ML, CW, 0, 1, 1, 0},      // 36 outline
    {0, LE, 1, 4, 7, 6, 9, CL, ML, CW, 0, 1, 1, 0},      // 37 saturate_decal
    {0, LE, 1, 4, 7, 6, 10, WR, ML, CN, 0, 1, 0, 0},     // 38 rgb_modplusdest
    {0, LE, 3, 4, 7, 6, 10, WR, ML, CN, 0, 1, 0, 0},     // 39 full_modplusdest
    {0, LE, 3, 4, 7, 6, 2, CL, ML, CW, 0, 0, 0, 1},      // 40 lightmap_mod
    {0, LE, 3, 1, 7, 6, 11, WR, ML, CW, 0, 1, 0, 0},     // 41 full_add
    {0, LE, 3, 1, 7, 6, 11, WR, ML, CN, 0, 0, 0, 0},     // 42 lightvolume
    {0, LE, 3, 4, 7, 6, 6, WR, ML, CW, 0, 1, 0, 0},      // 43 full_sub
};

// The modes that draw with two texture stages also set up stage 1.
bool isTwoStageMode(int mode)
{
    return mode == 15 || mode == 21 || mode == 32 || mode == 33;
}

void applyRow(int mode)
{
    const ModeRow& row = MODES[mode];
    if (row.zWrite != _) setZWrite(row.zWrite);
    if (row.zFunc != _) setZFunc(row.zFunc);
    if (row.colour0 != _) setColourKind(0, row.colour0);
    if (row.alpha0 != _) setAlphaKind(0, row.alpha0);
    if (row.colour1 != _) setColourKind(1, row.colour1);
    if (row.alpha1 != _) setAlphaKind(1, row.alpha1);
    if (row.blend != _) setBlendKind(row.blend);
    if (row.address0 != _) {
        setAddress(0, row.address0);
        setLinearFilter(0);
    }
    if (row.mip0 != _) setMipFilter(0, row.mip0);
    if (row.cull != _) setCull(row.cull);
    if (row.alphaTest != _) setAlphaTest(row.alphaTest);
    if (row.fog != _) setFogEnable(row.fog);
    if (row.zBias != _) setZBias(row.zBias);
    if (row.texCoord0 != _) setTexCoordIndex(0, row.texCoord0);
    if (isTwoStageMode(mode)) {
        setLinearFilter(0);
        setLinearFilter(1);
        setAddress(1, D3DTADDRESS_CLAMP);
        setMipFilter(1, mode == 21 ? D3DTFP_LINEAR : D3DTFP_NONE);
        setTexCoordIndex(1, 1);
    }
}

}  // namespace

const rlModeCache* rlMode_Cache(void)
{
    return &cache;
}

void rlMode_SetTextureFactor(uint32_t argb)
{
    cache.textureFactor = argb;
    if (rlDevice_state.pDevice) renderState(D3DRENDERSTATE_TEXTUREFACTOR, argb);
}

void rlMode_SetFillMode(int fillMode)
{
    if (rlDevice_state.pDevice) renderState(D3DRENDERSTATE_FILLMODE, fillMode);
}

void __cdecl rlMode_SetMode(int mode)
{
    if (mode == cache.mode || !rlDevice_state.pDevice) return;
    cache.modeChanges++;
    if (mode >= 1 && mode <= RL_NUM_MODES) applyRow(mode);
    cache.mode = mode;
}

void __cdecl rlMode_SetFlags(uint32_t flags)
{
    cache.flags = flags;
    if ((flags & RL_FLAG_NO_FOG) && cache.bFogActive && cache.fogEnable && rlDevice_state.pDevice) {
        cache.fogEnable = 0;
        renderState(D3DRENDERSTATE_FOGENABLE, FALSE);
    }
    cache.mode = 0;
}

void __cdecl rlMode_SetColor(void) {}

void __cdecl rlMode_SetFog(int kind, float a, float b, const float* colour)
{
    if (!rlDevice_state.pDevice) return;
    if (kind == 0) {
        if (cache.bFogActive && cache.fogEnable) {
            cache.fogEnable = 0;
            renderState(D3DRENDERSTATE_FOGENABLE, FALSE);
        }
        cache.bFogActive = false;
        cache.fogKind = 0;
        return;
    }
    switch (kind) {
    case 1:
        renderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
        renderState(D3DRENDERSTATE_FOGSTART, wordOf(a));
        renderState(D3DRENDERSTATE_FOGEND, wordOf(b));
        break;
    case 2:
    case 3:
        renderState(D3DRENDERSTATE_FOGDENSITY, wordOf(a));
        renderState(D3DRENDERSTATE_FOGTABLEMODE, kind == 2 ? D3DFOG_EXP : D3DFOG_EXP2);
        break;
    default: return;   // not a fog kind: the current fog stays
    }
    cache.bFogActive = true;
    setFogEnable(1);
    cache.fogKind = kind;
    cache.fogA = a;
    cache.fogB = b;
    uint32_t packed = 0;
    for (int i = 0; i < 3; i++) {
        cache.fogColour[i] = colour ? colour[i] : 0.0f;
        const float c = cache.fogColour[i];
        const uint32_t byte = c <= 0.0f ? 0u : c >= 255.0f ? 255u : static_cast<uint32_t>(c);
        packed |= byte << (16 - 8 * i);
    }
    cache.fogPacked = packed;
    renderState(D3DRENDERSTATE_FOGCOLOR, packed);
}

// The fog kept from before a device was re-created; kind 0 means none was set.
void rlMode_ReapplyFog(void)
{
    if (cache.fogKind == 0) return;
    const float colour[3] = {cache.fogColour[0], cache.fogColour[1], cache.fogColour[2]};
    rlMode_SetFog(cache.fogKind, cache.fogA, cache.fogB, colour);
}

void rlMode_Reset(void)
{
    cache = initialCache();
}

void rlMode_SetDefaults(void)
{
    if (!rlDevice_state.pDevice) return;
    const renderSettings* settings = rlDevice_state.pSettings;
    const uint32_t options = settings ? settings->optionFlags : 0;
    const uint32_t detail = settings ? settings->detailFlags : 0;
    // Every cached state becomes unknown, so the first setter call sends it. The fog record
    // is kept (a resolution change sends it again) but the new device starts without fog.
    rlModeCache fresh;
    memset(&fresh, 0xFF, sizeof fresh);
    fresh.mode = 0;
    fresh.modeChanges = cache.modeChanges;
    fresh.flags = cache.flags;
    fresh.textureFactor = cache.textureFactor;
    fresh.bFogActive = false;
    fresh.fogKind = cache.fogKind;
    fresh.fogA = cache.fogA;
    fresh.fogB = cache.fogB;
    memcpy(fresh.fogColour, cache.fogColour, sizeof fresh.fogColour);
    fresh.fogPacked = cache.fogPacked;
    cache = fresh;

    setZFunc(D3DCMP_LESSEQUAL);
    setZWrite(1);
    renderState(D3DRENDERSTATE_ZENABLE, (options & RENDER_OPTION_WBUFFER) ? D3DZB_USEW : D3DZB_TRUE);
    setColourKind(0, 1);
    setAlphaKind(0, 1);
    setBlendKind(5);
    setColourKind(1, 7);
    setAlphaKind(1, 6);
    cache.fogEnable = 0;
    renderState(D3DRENDERSTATE_FOGENABLE, FALSE);
    setCull(D3DCULL_NONE);
    for (int stage = 0; stage < 2; stage++) {
        setAddress(stage, D3DTADDRESS_WRAP);
        stageState(stage, D3DTSS_MIPMAPLODBIAS, wordOf(-1.0f));
        setLinearFilter(stage);
        // The mode table asks for linear mip filtering; without the linear-mips detail flag
        // the device keeps point filtering until a mode asks for something else.
        stageState(stage, D3DTSS_MIPFILTER, (detail & RENDER_DETAIL_LINEAR_MIPS) ? D3DTFP_LINEAR : D3DTFP_POINT);
        cache.mipFilter[stage] = D3DTFP_LINEAR;
        setTexCoordIndex(stage, stage);
    }
    stageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
    stageState(2, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    renderState(D3DRENDERSTATE_ALPHAREF, 128);
    setAlphaTest(0);
    renderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATER);
    renderState(D3DRENDERSTATE_CLIPPING, FALSE);
    renderState(D3DRENDERSTATE_LIGHTING, FALSE);
    renderState(D3DRENDERSTATE_EXTENTS, FALSE);
    renderState(D3DRENDERSTATE_DITHERENABLE, TRUE);
    renderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    renderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE);
    renderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    renderState(D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID);
    D3DMATERIAL7 material = {};
    material.diffuse = {{1.0f}, {1.0f}, {1.0f}, {0.0f}};
    material.ambient = {{1.0f}, {1.0f}, {1.0f}, {0.0f}};
    material.specular = {{1.0f}, {1.0f}, {1.0f}, {0.0f}};
    material.power = 10.0f;
    rlDevice_state.pDevice->SetMaterial(&material);
}
