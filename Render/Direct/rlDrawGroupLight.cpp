#include "rlDrawGroup.h"
#include <algorithm>
#include <cmath>
#include "cameraRecord.h"
#include "lightRecord.h"
#include "renderModes.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlDraw.h"
#include "rlBatch.h"

namespace {

constexpr DWORD FVF_TEX1 = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

bool append(rlPass* passes, int* numPasses, const rlPass& pass)
{
    if (*numPasses >= RL_GROUP_MAX_PASSES) return false;
    passes[(*numPasses)++] = pass;
    return true;
}

uint32_t grey(uint8_t level)
{
    return 0xFF000000 | uint32_t(level) * 0x010101u;
}

rlPass lightmapPass(int mode, uint32_t texture, uint8_t level)
{
    rlPass pass = {};
    pass.mode = mode;
    pass.texture = texture;
    pass.factor = grey(level);
    pass.passFlags = RL_PASS_FACTOR;
    pass.scaleU = pass.scaleV = 1.0f;
    return pass;
}

// The lightmaps of the other light groups, each added at its group's level; unlit groups
// are left out.
void appendGroupLightmaps(const rlSurfaceGroup* group, rlPass* passes, int* numPasses)
{
    if (!group->pLightmaps) return;
    const uint32_t count = std::min<uint32_t>(group->numLightmaps, LIGHTGROUP_COUNT);
    for (uint32_t i = 0; i < count; i++) {
        const rlGroupLightmap& lightmap = group->pLightmaps[i];
        const uint8_t level = rlDrawGroup_LightLevel(lightmap.lightGroup);
        if (lightmap.texture && level) append(passes, numPasses, lightmapPass(RENDERMODE_LIGHTMAPADD, lightmap.texture, level));
    }
}

// Two unit axes of a plane with this unit normal: the world axis least along the normal,
// flattened into the plane, and the normal crossed with it.
void planeAxes(const mathVec3& n, mathVec3* a, mathVec3* b)
{
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    mathVec3 e = {0, 0, 0};
    if (ax <= ay && ax <= az) e.x = 1;
    else if (ay <= az) e.y = 1;
    else e.z = 1;
    const float d = e.x * n.x + e.y * n.y + e.z * n.z;
    mathVec3 u = {e.x - n.x * d, e.y - n.y * d, e.z - n.z * d};
    const float length = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
    u = {u.x / length, u.y / length, u.z / length};
    *a = u;
    *b = {n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
}

uint8_t blobChannel(float scale, float colour)
{
    return static_cast<uint8_t>(std::clamp(scale * colour, 0.0f, 255.0f) + 0.5f);
}

bool attachedNow(uint32_t frame)
{
    return frame == rlDevice_state.frameNumber;
}

}  // namespace

uint8_t rlDrawGroup_LightLevel(uint32_t lightGroup)
{
    if (lightGroup == 0) return 255;
    const LightGroup* table = rlDevice_state.pSettings ? rlDevice_state.pSettings->pLightGroups : nullptr;
    if (!table || lightGroup >= LIGHTGROUP_COUNT || !table[lightGroup].enabled) return 0;
    return table[lightGroup].alpha;
}

int rlDrawGroup_BuildPasses(const rlSurfaceGroup* group, rlPass* passes, int* blobAt)
{
    const Material* material = group->pMaterial;
    int numPasses = 0;
    *blobAt = -1;
    const uint32_t debug = rlDevice_state.pSettings ? rlDevice_state.pSettings->debugFlags : 0;
    if (debug & (RL_DEBUG_FULLBRIGHT | RL_DEBUG_GROUP_COLOURS)) {
        // One pass of the group alone: no lightmaps, no light blobs.
        rlPass pass = lightmapPass((debug & RL_DEBUG_GROUP_COLOURS) ? RENDERMODE_RGB : RENDERMODE_FULLBRIGHT,
                                   material ? rlPass_Handle(material->passes[0].pTexture) : 0, 255);
        pass.passFlags = 0;
        append(passes, &numPasses, pass);
        return numPasses;
    }
    if (material && (material->flags & MATERIAL_LAYERED)) {
        // The layers say where the lightmaps and the light blobs go.
        rlPass texturePasses[RL_MAX_PASSES];
        rlPass_BuildMaterial(material, texturePasses);
        int nextTexture = 0;
        const int numLayers = std::min<int>(material->numPasses, MATERIAL_MAX_PASSES);
        for (int i = 0; i < numLayers; i++) {
            const MaterialPass& layer = material->passes[i];
            if (layer.kind == MATERIAL_PASS_TEXTURE) {
                append(passes, &numPasses, texturePasses[nextTexture++]);
            } else if (layer.kind == MATERIAL_PASS_LIGHTMAP) {
                if (group->lightmap) append(passes, &numPasses, lightmapPass(int(layer.mode), group->lightmap, 255));
                appendGroupLightmaps(group, passes, &numPasses);
                if (*blobAt < 0) *blobAt = numPasses;
            } else if (layer.kind == MATERIAL_PASS_LIGHTADD) {
                *blobAt = numPasses;
            }
        }
        if (*blobAt < 0) *blobAt = numPasses;
        return numPasses;
    }
    // Otherwise the material's pass with light group 0's lightmap on stage 1, the other light
    // groups' lightmaps added over it, then the light blobs.
    rlPass pass;
    if (rlPass_BuildMaterial(material, &pass) == 0) pass = lightmapPass(RENDERMODE_RGB, 0, 255);
    if (group->lightmap) {
        pass.texture2 = group->lightmap;
        pass.passFlags |= RL_PASS_TEXTURE2;
        pass.mode = RENDERMODE_LIGHTMAPPEDWALL;
    }
    append(passes, &numPasses, pass);
    appendGroupLightmaps(group, passes, &numPasses);
    *blobAt = numPasses;
    return numPasses;
}

bool rlDrawGroup_BuildBlob(const rlSurfaceGroup* group, const rlLightNode* node, rlClipVertex* verts, uint8_t* codes,
                       int* count)
{
    *count = 0;
    const Light* light = node->pLight;
    if (!light || node->face >= group->numFaces || !rlCamera_pCurrent) return false;
    const rlSurfaceFace& face = group->pFaces[node->face];
    const mathVec3& n = face.normal;
    const mathVec3 position = {light->position[0], light->position[1], light->position[2]};
    // The light's height above the face plane; behind the face or out of reach lights nothing.
    const float distance = position.x * n.x + position.y * n.y + position.z * n.z - face.distance;
    const float range = light->range;
    if (!(distance >= 0.0f && distance < range)) return false;
    const float radius = std::sqrt(range * range - distance * distance);
    const mathVec3 foot = {position.x - n.x * distance, position.y - n.y * distance, position.z - n.z * distance};
    mathVec3 axisU, axisV;
    planeAxes(n, &axisU, &axisV);
    const float scale = (range - distance) / 392.0f;
    const uint32_t colour = 0xFF000000 | uint32_t(blobChannel(scale, light->red)) << 16 |
                            uint32_t(blobChannel(scale, light->green)) << 8 | blobChannel(scale, light->blue);
    const int numVerts = std::min<int>(face.numIndices, RL_FACE_MAX_VERTS);
    if (numVerts < 3) return false;
    const float toTexture = 0.5f / radius;
    for (int i = 0; i < numVerts; i++) {
        const uint16_t index = group->pIndices[face.firstIndex + i];
        if (index >= group->numPoints) return false;
        const mathVec3& p = group->pPoints[index];
        const mathVec3 offset = {p.x - foot.x, p.y - foot.y, p.z - foot.z};
        rlClip_TransformPoints(&rlCamera_pCurrent->viewProjection, &p, 1, &verts[i], &codes[i]);
        verts[i].colour = colour;
        verts[i].u = 0.5f + (offset.x * axisU.x + offset.y * axisU.y + offset.z * axisU.z) * toTexture;
        verts[i].v = 0.5f + (offset.x * axisV.x + offset.y * axisV.y + offset.z * axisV.z) * toTexture;
    }
    *count = numVerts;
    return true;
}

int rlDrawGroup_DrawLightBlobs(const rlSurfaceGroup* group)
{
    if (!group->pLightNodes || !rlDevice_state.pDevice) return 0;
    const float* eye = &rlCamera_pCurrent->frame.m[9];
    int drawn = 0;
    for (uint32_t i = 0; i < group->numLightNodes; i++) {
        const rlLightNode& node = group->pLightNodes[i];
        if (!attachedNow(node.frame) || node.face >= group->numFaces) continue;
        const rlSurfaceFace& face = group->pFaces[node.face];
        if (eye[0] * face.normal.x + eye[1] * face.normal.y + eye[2] * face.normal.z <= face.distance) continue;
        rlClipVertex verts[RL_CLIP_MAX_POLYGON];
        uint8_t codes[RL_CLIP_MAX_POLYGON];
        int count;
        if (!rlDrawGroup_BuildBlob(group, &node, verts, codes, &count)) continue;
        uint16_t polygon[RL_CLIP_MAX_POLYGON];
        uint8_t all = 0xFF, any = 0;
        for (int k = 0; k < count; k++) {
            polygon[k] = static_cast<uint16_t>(k);
            all &= codes[k];
            any |= codes[k];
        }
        if (all) continue;
        int numVerts = count;
        if (any) {
            rlClipArray<rlClipVertex> array = {verts, codes, count, RL_CLIP_MAX_POLYGON};
            count = rlPolygon_Clip(&array, polygon, count);
            numVerts = array.numVerts;
            if (count < 3) continue;
        }
        rlClip_ScreenMap(rlCamera_pCurrent, verts, numVerts);
        rlClipVertex fan[RL_CLIP_MAX_POLYGON];
        for (int k = 0; k < count; k++) fan[k] = verts[polygon[k]];
        rlPass pass = {};
        pass.mode = RENDERMODE_LIGHTBLOB;
        pass.texture = node.pMaterial ? rlPass_Handle(node.pMaterial->passes[0].pTexture) : 0;
        pass.factor = 0xFFFFFFFF;
        const rlClipVertex* passVerts = rlPass_Apply(&pass, fan, count);
        rlDevice_state.pDevice->DrawPrimitive(D3DPT_TRIANGLEFAN, FVF_TEX1,
                                              const_cast<rlClipVertex*>(passVerts), count, 0);
        drawn += count - 2;
    }
    return drawn;
}

int rlDrawGroup_DrawDecals(const rlSurfaceGroup* group)
{
    if (!group->pDecals) return 0;
    int drawn = 0;
    for (uint32_t i = 0; i < group->numDecals; i++) {
        const rlDecalNode& decal = group->pDecals[i];
        if (!attachedNow(decal.frame) || !decal.pMaterial || !decal.pPoints) continue;
        drawn += rlDraw_Face(int(std::min<uint32_t>(decal.numPoints, RL_FACE_MAX_VERTS)), &decal.pPoints[0].x,
                             decal.pUV ? &decal.pUV[0].x : nullptr, decal.pColours, 0, decal.pMaterial, 0);
    }
    return drawn;
}
