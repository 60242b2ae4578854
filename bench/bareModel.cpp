#include "bareModel.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "mathFrame.h"

namespace {

struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t colour;
    float u, v;
};
const DWORD kScreenFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

void ToClip(const mathMatrix& matrix, const mathVec3& p, float* out)
{
    const float* m = matrix.m;
    for (int i = 0; i < 4; i++) out[i] = p.x * m[i] + p.y * m[4 + i] + p.z * m[8 + i] + m[12 + i];
}

// Each light adds (intensity - distance x falloff) x the cosine of its angle to the normal,
// times its colour / 392; a colour brighter than 255 is scaled down whole.
uint32_t Lit(const ModelVertex& vertex, const Light* lights, int numLights)
{
    float sum[3] = {0, 0, 0};
    for (int i = 0; i < numLights; i++) {
        const Light& light = lights[i];
        const float d[3] = {light.position[0] - vertex.position.x, light.position[1] - vertex.position.y,
                            light.position[2] - vertex.position.z};
        const float dn = d[0] * vertex.normal.x + d[1] * vertex.normal.y + d[2] * vertex.normal.z;
        if (!(dn > 0.0f)) continue;
        const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        const float factor = (light.intensity - length * light.falloff) * dn / length / 392.0f;
        if (!(factor > 0.0f)) continue;
        sum[0] += factor * light.red;
        sum[1] += factor * light.green;
        sum[2] += factor * light.blue;
    }
    const float scale = std::min(1.0f, 255.0f / std::max({sum[0], sum[1], sum[2], 1.0f}));
    return 0xFF000000u | uint32_t(sum[0] * scale + 0.5f) << 16 | uint32_t(sum[1] * scale + 0.5f) << 8 |
           uint32_t(sum[2] * scale + 0.5f);
}

// A vertex in clip space as the raster library takes it: through its bone, blended with the
// bone's parent below weight 1.
void ToClip(const ModelInstance* instance, const ModelVertex& v, float* out)
{
    const InstanceBone& bone = instance->pBones[v.bone];
    ToClip(bone.clip, v.position, out);
    if (v.weight < 1.0f && bone.link >= 0) {
        float q[4];
        ToClip(instance->pBones[bone.link].clip, v.position, q);
        for (int k = 0; k < 4; k++) out[k] = q[k] + (out[k] - q[k]) * v.weight;
    }
}

}  // namespace

bool bareModel_Inside(const ModelInstance* instance)
{
    for (int p = 0; p < instance->pModel->numParts; p++) {
        const InstancePart& part = instance->pParts[p];
        for (int i = 0; i < part.lodVerts; i++) {
            float c[4];
            ToClip(instance, part.pModelPart->pVerts[i], c);
            if (!(c[3] > 0.0f) || std::fabs(c[0]) > c[3] || std::fabs(c[1]) > c[3] || std::fabs(c[2]) > c[3])
                return false;
        }
    }
    return true;
}

int bareModel_Draw(IDirect3DDevice7* device, const ModelInstance* instance, const Camera* camera,
                   const Light* lights, int numLights, const bareTextures& textures)
{
    const Model* model = instance->pModel;
    std::vector<Light> boneLights(size_t(model->numBones) * numLights);
    for (int b = 0; b < model->numBones; b++)
        for (int i = 0; i < numLights; i++) {
            Light& light = boneLights[size_t(b) * numLights + i];
            light = lights[i];
            const mathVec3 world = {light.position[0], light.position[1], light.position[2]};
            mathVec3 local;
            mathFrame_TransformPoints(&instance->pBones[b].inverse, &world, &local, 1);
            light.position[0] = local.x;
            light.position[1] = local.y;
            light.position[2] = local.z;
        }
    static std::vector<ScreenVertex> screen;
    int drawn = 0;
    for (int p = 0; p < model->numParts; p++) {
        const InstancePart& part = instance->pParts[p];
        const ModelVertex* verts = part.pModelPart->pVerts;
        screen.resize(part.lodVerts);
        for (int i = 0; i < part.lodVerts; i++) {
            const ModelVertex& v = verts[i];
            float c[4];
            ToClip(instance, v, c);
            const float r = 1.0f / c[3];
            screen[i] = {camera->centreX + r * camera->scaleX * c[0], camera->centreY - r * camera->scaleY * c[1],
                         r * c[2], r, Lit(v, &boneLights[size_t(v.bone) * numLights], numLights), v.u, v.v};
        }
        const auto texture = part.pMaterial ? textures.find(part.pMaterial->passes[0].pTexture) : textures.end();
        device->SetTexture(0, texture != textures.end() ? texture->second : nullptr);
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, kScreenFormat, screen.data(), part.lodVerts,
                                     const_cast<WORD*>(&part.pTris[0].v[0]), part.drawTris * 3u, 0);
        drawn += part.drawTris;
    }
    return drawn;
}
