#include "rlLight.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include "mathFrame.h"
#include "mathScalar.h"
#include "modelInstanceRecord.h"
#include "modelRecord.h"
#include "rlDevice.h"

namespace {

Light lights[RL_MAX_LIGHTS];
int numLights;
int numHardwareLights;   // lights set on the device by the hardware transform path
// Per bone, the frame's lights in that bone's space.
Light boneLights[RL_MAX_LIGHT_BONES][RL_MAX_LIGHTS];
int numBoneLights;

ModelInstance* current;
uint32_t instanceColour, alphaWord;
bool bCurrentUnlit;   // instance flag 0x2: white
bool bVertexColours;  // the instance carries per-vertex colours
float ambient[3];
uint32_t ambientWord;

constexpr float LIGHT_SCALE = 1.0f / 392.0f;

bool hardwarePath(void)
{
    const renderSettings* settings = rlDevice_state.pSettings;
    return rlDevice_state.pDevice && settings && (settings->optionFlags & RENDER_OPTION_HW_TRANSFORM);
}

uint32_t roundByte(float value)
{
    const long v = lroundf(value);
    return v < 0 ? 0u : v > 255 ? 255u : uint32_t(v);
}

// The light's position and direction in a bone's space, through the inverse of the bone's
// frame in the world.
void toBoneSpace(const Light& light, const mathFrame& inverse, Light* out)
{
    *out = light;
    const mathVec3 position = {light.position[0], light.position[1], light.position[2]};
    mathVec3 p;
    mathFrame_TransformPoints(&inverse, &position, &p, 1);
    out->position[0] = p.x;
    out->position[1] = p.y;
    out->position[2] = p.z;
    const float* m = inverse.m;
    const float* d = light.direction;
    for (int i = 0; i < 3; i++) out->direction[i] = d[0] * m[i] + d[1] * m[3 + i] + d[2] * m[6 + i];
}

// The light's contribution factor at a vertex (multiplied by the colour / 392 afterwards).
float lightFactor(const Light& light, const mathVec3& pos, const mathVec3& n)
{
    const float* dir = light.direction;
    if (light.kind == RL_LIGHT_DIRECTIONAL) {
        const float facing = -(n.x * dir[0] + n.y * dir[1] + n.z * dir[2]);
        return facing > 0.0f ? facing * light.intensity : 0.0f;
    }
    const mathVec3 d = {light.position[0] - pos.x, light.position[1] - pos.y, light.position[2] - pos.z};
    const float dn = d.x * n.x + d.y * n.y + d.z * n.z;
    if (!(dn > 0.0f)) return 0.0f;
    const float lengthSquared = d.x * d.x + d.y * d.y + d.z * d.z;
    const float inverseLength = mathScalar_InvSqrtFast(lengthSquared);
    const float towards = (d.x * dir[0] + d.y * dir[1] + d.z * dir[2]) * inverseLength;
    switch (light.kind) {
    case RL_LIGHT_POINT:
    case RL_LIGHT_SPOT: {
        if (light.kind == RL_LIGHT_SPOT && towards > -light.coneLimit) return 0.0f;
        const float length = lengthSquared * inverseLength;
        const float factor = (light.intensity - length * light.falloff) * dn * inverseLength;
        return factor > 0.0f ? factor : 0.0f;
    }
    case RL_LIGHT_INVSQUARE_SPOT: {
        if (towards > 0.0f) return 0.0f;
        const float factor = -towards * dn * inverseLength * inverseLength * inverseLength * light.falloff *
                             light.intensity;
        return factor > 0.0f ? factor : 0.0f;
    }
    default: return 0.0f;
    }
}

}  // namespace

void __cdecl rlLight_AddLight(const mathMatrix*, const Light* light, int)
{
    if (!light || numLights >= RL_MAX_LIGHTS) return;
    const int index = numLights++;
    lights[index] = *light;
    if (!hardwarePath()) return;
    D3DLIGHT7 d3d = {};
    d3d.dltType = D3DLIGHT_POINT;
    d3d.dcvDiffuse.r = d3d.dcvSpecular.r = light->red / 255.0f;
    d3d.dcvDiffuse.g = d3d.dcvSpecular.g = light->green / 255.0f;
    d3d.dcvDiffuse.b = d3d.dcvSpecular.b = light->blue / 255.0f;
    d3d.dvPosition.x = light->position[0];
    d3d.dvPosition.y = light->position[1];
    d3d.dvPosition.z = light->position[2];
    d3d.dvRange = light->range;
    d3d.dvAttenuation1 = 1.0f;
    rlDevice_state.pDevice->SetLight(index, &d3d);
    rlDevice_state.pDevice->LightEnable(index, TRUE);
    numHardwareLights = std::max(numHardwareLights, index + 1);
}

void __cdecl rlLight_ClearLights(void)
{
    if (hardwarePath())
        for (int i = 0; i < numHardwareLights; i++) rlDevice_state.pDevice->LightEnable(i, FALSE);
    numHardwareLights = 0;
    numLights = 0;
}

void __cdecl rlLight_SetAmbient(const float* colour)
{
    if (!colour) return;
    for (int i = 0; i < 3; i++) ambient[i] = colour[i] * LIGHT_SCALE;
    ambientWord = 0xFF000000 | roundByte(ambient[0]) << 16 | roundByte(ambient[1]) << 8 | roundByte(ambient[2]);
}

void __cdecl rlLight_NewModel(ModelInstance* instance)
{
    current = instance;
    numBoneLights = 0;
    if (!instance) return;
    const float alpha = (instance->flags & INSTANCE_OPAQUE) ? 1.0f : instance->alpha * instance->fade;
    alphaWord = roundByte(alpha * 255.0f) << 24;
    instanceColour = alphaWord | roundByte(instance->colour.x) << 16 | roundByte(instance->colour.y) << 8 |
                     roundByte(instance->colour.z);
    bCurrentUnlit = (instance->flags & INSTANCE_UNLIT) != 0;
    bVertexColours = (instance->flags & INSTANCE_VERTEX_DATA) != 0;
    if (instance->flags & (INSTANCE_UNLIT | INSTANCE_UNLIT_ALT)) {
        numLights = 0;   // this instance and everything after it in the frame are unlit
        return;
    }
    const Model* model = instance->pModel;
    if (numLights == 0 || !model || !instance->pBones) return;
    numBoneLights = std::min<int>(model->numBones, RL_MAX_LIGHT_BONES);
    for (int bone = 0; bone < numBoneLights; bone++)
        for (int i = 0; i < numLights; i++) toBoneSpace(lights[i], instance->pBones[bone].inverse, &boneLights[bone][i]);
}

ModelInstance* rlLight_CurrentInstance(void)
{
    return current;
}

uint32_t rlLight_InstanceColour(void)
{
    return instanceColour;
}

uint32_t rlLight_AlphaWord(void)
{
    return alphaWord;
}

int rlLight_NumLights(void)
{
    return numLights;
}

uint32_t rlLight_AmbientWord(void)
{
    return ambientWord;
}

void rlLight_LightVertices(const ModelVertex* verts, int count, const uint32_t* vertexColours,
                           bool bFullbright, uint32_t* out)
{
    if (bFullbright || bCurrentUnlit) {
        std::fill(out, out + count, 0xFFFFFFFFu);
        return;
    }
    const renderSettings* settings = rlDevice_state.pSettings;
    const bool bStartFromColours = bVertexColours && vertexColours &&
                                   !(settings && (settings->debugFlags & RL_DEBUG_NO_VERTEX_COLOURS));
    if (bStartFromColours && numLights == 0) {
        std::copy(vertexColours, vertexColours + count, out);
        return;
    }
    for (int v = 0; v < count; v++) {
        float sum[3] = {0, 0, 0};
        if (bStartFromColours)
            for (int c = 0; c < 3; c++) sum[c] = float((vertexColours[v] >> (16 - 8 * c)) & 0xFF);
        const int bone = verts[v].bone < numBoneLights ? verts[v].bone : 0;
        for (int i = 0; i < numLights && bone < numBoneLights; i++) {
            const Light& light = boneLights[bone][i];
            const float factor = lightFactor(light, verts[v].position, verts[v].normal) * LIGHT_SCALE;
            sum[0] += factor * light.red;
            sum[1] += factor * light.green;
            sum[2] += factor * light.blue;
        }
        for (int c = 0; c < 3; c++) sum[c] += ambient[c];
        const float largest = std::max({sum[0], sum[1], sum[2]});
        if (largest > 255.0f)
            for (float& c : sum) c *= 255.0f / largest;
        out[v] = alphaWord | roundByte(sum[0]) << 16 | roundByte(sum[1]) << 8 | roundByte(sum[2]);
    }
}
