#include "rlPass.h"
#include <algorithm>
#include "materialRecord.h"
#include "modelInstanceRecord.h"
#include "renderModes.h"
#include "rlMode.h"
#include "rlTexture.h"

namespace {

rlClipVertex scratch[RL_PASS_MAX_VERTS];
rlClipVertex2 scratch2[RL_PASS_MAX_VERTS];

rlPass materialPass(const Material* material, const MaterialPass& layer, int mode)
{
    rlPass pass = {};
    pass.mode = mode;
    pass.texture = rlPass_Handle(layer.pTexture);
    pass.factor = 0xFFFFFFFF;
    pass.scaleU = pass.scaleV = 1.0f;
    if (material->flags & MATERIAL_SLIDE) {
        pass.passFlags |= RL_PASS_OFFSET_UV;
        pass.offsetU = layer.offsetU;
        pass.offsetV = layer.offsetV;
    }
    return pass;
}

// Binding, factor and mode: what every pass does before its vertices are drawn.
void bindPass(const rlPass* pass, bool bTwoTextures)
{
    rlTexture_SetStage(pass->texture, 0);
    if (bTwoTextures && (pass->passFlags & RL_PASS_TEXTURE2)) rlTexture_SetStage(pass->texture2, 1);
    if (pass->passFlags & RL_PASS_FACTOR) rlMode_SetTextureFactor(pass->factor);
    rlMode_SetMode(pass->mode);
}

}  // namespace

uint32_t rlPass_Handle(const Bitmap* bitmap)
{
    return bitmap ? bitmap->rasterHandle : 0;
}

bool rlPass_Append(rlPass* passes, int* numPasses, const rlPass& pass)
{
    if (*numPasses >= RL_MAX_PASSES) return false;
    passes[(*numPasses)++] = pass;
    return true;
}

int rlPass_BuildMaterial(const Material* material, rlPass* passes)
{
    if (!material) return 0;
    int numPasses = 0;
    if (material->flags & MATERIAL_LAYERED) {
        const int numLayers = std::min<int>(material->numPasses, MATERIAL_MAX_PASSES);
        for (int i = 0; i < numLayers; i++) {
            const MaterialPass& layer = material->passes[i];
            if (layer.kind != MATERIAL_PASS_TEXTURE) continue;   // lightmap layers draw elsewhere
            rlPass_Append(passes, &numPasses, materialPass(material, layer, (int)layer.mode));
        }
        return numPasses;
    }
    const MaterialPass& first = material->passes[0];
    rlPass_Append(passes, &numPasses, materialPass(material, first, (int)first.spriteMode));
    return numPasses;
}

int rlPass_BuildModelPart(const ModelInstance* instance, const Material* material, rlPass* passes)
{
    if (!instance) return 0;
    const bool bOpaque = (instance->flags & INSTANCE_OPAQUE) != 0;
    const float fade = bOpaque ? 1.0f : instance->alpha * instance->fade;
    int numPasses = 0;
    if (material && fade != 0.0f && !(instance->flags & INSTANCE_OVERLAY_ONLY)) {
        if (material->flags & MATERIAL_LAYERED) {
            numPasses = rlPass_BuildMaterial(material, passes);
        } else {
            const MaterialPass& first = material->passes[0];
            const int mode = fade >= 1.0f ? int(first.modelMode) : RENDERMODE_RGBA;
            rlPass_Append(passes, &numPasses, materialPass(material, first, mode));
        }
    }
    const Material* overlay = instance->pOverlay;
    if ((instance->flags & INSTANCE_OVERLAY) && !bOpaque && instance->overlayStrength != 0.0f && overlay) {
        rlPass pass = materialPass(overlay, overlay->passes[0], int(overlay->passes[0].mode));
        const float strength = std::clamp(instance->overlayStrength, 0.0f, 1.0f);
        pass.factor = uint32_t(strength * 255.0f + 0.5f) << 24 | 0x00FFFFFF;
        pass.passFlags |= RL_PASS_FACTOR_ALPHA;
        rlPass_Append(passes, &numPasses, pass);
    }
    if ((instance->flags & INSTANCE_TINT) && !bOpaque) {
        rlPass pass = {};
        pass.mode = RENDERMODE_FULL_ADDCONSTANT;
        pass.texture = material ? rlPass_Handle(material->passes[0].pTexture) : 0;
        const float level = std::clamp(instance->tintLevel, 0.0f, 1.0f);
        uint32_t factor = 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8)
            factor |= uint32_t(float((instance->tintColour >> shift) & 0xFF) * level + 0.5f) << shift;
        pass.factor = factor;
        pass.passFlags = RL_PASS_FACTOR;
        pass.scaleU = pass.scaleV = 1.0f;
        rlPass_Append(passes, &numPasses, pass);
    }
    return numPasses;
}

const rlClipVertex* rlPass_Apply(const rlPass* pass, const rlClipVertex* verts, int count)
{
    bindPass(pass, false);
    if (!(pass->passFlags & (RL_PASS_OFFSET_UV | RL_PASS_FACTOR_ALPHA))) return verts;
    count = std::min(count, (int)RL_PASS_MAX_VERTS);
    for (int i = 0; i < count; i++) {
        rlClipVertex v = verts[i];
        if (pass->passFlags & RL_PASS_OFFSET_UV) {
            v.u += pass->offsetU;
            v.v += pass->offsetV;
        }
        if (pass->passFlags & RL_PASS_FACTOR_ALPHA) v.colour = (v.colour & 0x00FFFFFF) | (pass->factor & 0xFF000000);
        scratch[i] = v;
    }
    return scratch;
}

const rlClipVertex2* rlPass_ApplyTex2(const rlPass* pass, const rlClipVertex2* verts, int count)
{
    bindPass(pass, true);
    if (!(pass->passFlags & (RL_PASS_OFFSET_UV | RL_PASS_SCALE_UV))) return verts;
    count = std::min(count, (int)RL_PASS_MAX_VERTS);
    for (int i = 0; i < count; i++) {
        rlClipVertex2 v = verts[i];
        if (pass->passFlags & RL_PASS_OFFSET_UV) {
            v.u0 += pass->offsetU;
            v.v0 += pass->offsetV;
        }
        if (pass->passFlags & RL_PASS_SCALE_UV) {
            v.u0 *= pass->scaleU;
            v.v0 *= pass->scaleV;
        }
        scratch2[i] = v;
    }
    return scratch2;
}
