#include "renderModelInstanceEffects.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "mathFrame.h"
#include "mathVec.h"
#include "materialRecord.h"
#include "renderMaterial.h"
#include "renderMixer.h"
#include "renderModel.h"
#include "renderModelInstance.h"

namespace {

const uint32_t kOverlayModes = INSTANCE_OVERLAY_ONLY | INSTANCE_OVERLAY_RETURN | INSTANCE_OVERLAY_CYCLE;

float Clamp(float v, float lo, float hi)
{
    if (!(v >= lo)) return lo;   // also a value that is not a number
    return v > hi ? hi : v;
}

// A time that can be blended over: positive and finite. Anything else acts at once.
bool Timed(float seconds)
{
    return seconds > 0.0f && std::isfinite(seconds);
}

void SetAlphaTree(ModelInstance* instance, float alpha)
{
    instance->alpha = alpha;
    for (ModelInstance* child : instance->children) {
        if (child) SetAlphaTree(child, alpha);
    }
}

void UpdateScaledFlag(ModelInstance* instance)
{
    const mathVec3& s = instance->scale;
    if (s.x != 1.0f || s.y != 1.0f || s.z != 1.0f) instance->flags |= INSTANCE_SCALED;
    else instance->flags &= ~INSTANCE_SCALED;
}

void StartScale(ModelInstance* instance, const mathVec3& target, float seconds)
{
    if (Timed(seconds)) {
        instance->scaleFrom = instance->scale;
        instance->scaleTarget = target;
        instance->scaleRate = 1.0f / seconds;
        instance->scalePos = 0.0f;
        instance->flags |= INSTANCE_SCALE_BLEND;
    } else {
        instance->scale = target;
        instance->flags &= ~INSTANCE_SCALE_BLEND;
        UpdateScaledFlag(instance);
    }
}

void UpdateTint(ModelInstance* instance, float s)
{
    if (instance->tintLevel != 0.0f && !(instance->flags & INSTANCE_TINT)) {
        instance->tintLevel -= 3.0f * s;
        if (instance->tintLevel < 0.0f) instance->tintLevel = 0.0f;
    }
    if ((instance->flags & INSTANCE_TINT) && !(instance->flags & INSTANCE_OPAQUE) &&
        instance->tintLevel < 1.0f) {
        instance->tintLevel += 3.0f * s;
        if (instance->tintLevel > 1.0f) instance->tintLevel = 1.0f;
    }
}

void UpdateFade(ModelInstance* instance, float s)
{
    if (!(instance->flags & INSTANCE_FADE)) return;
    float rate = instance->alphaRate;
    instance->alpha += s * rate;
    bool done = rate > 0.0f ? instance->alpha >= instance->alphaTarget
                            : !(rate < 0.0f) || instance->alpha <= instance->alphaTarget;
    if (done) {
        instance->alpha = instance->alphaTarget;
        instance->flags &= ~INSTANCE_FADE;
    }
    for (ModelInstance* child : instance->children) {
        if (child) child->alpha = instance->alpha;
    }
}

void UpdateScale(ModelInstance* instance, float s)
{
    if (!(instance->flags & INSTANCE_SCALE_BLEND)) return;
    instance->scalePos += s * instance->scaleRate;
    if (instance->scalePos > 1.0f) instance->scalePos = 1.0f;
    float pos = instance->scalePos;
    const mathVec3& from = instance->scaleFrom;
    const mathVec3& to = instance->scaleTarget;
    instance->scale = {from.x + (to.x - from.x) * pos, from.y + (to.y - from.y) * pos,
                       from.z + (to.z - from.z) * pos};
    if (pos >= 1.0f) instance->flags &= ~INSTANCE_SCALE_BLEND;
    UpdateScaledFlag(instance);
}

void UpdateOverlay(ModelInstance* instance, float s)
{
    if (!(instance->flags & INSTANCE_OVERLAY_TIMER)) return;
    instance->overlayPos += s * instance->overlayRate;
    if (instance->overlayPos >= 1.0f) {
        instance->overlayPos = 1.0f;
        if (!(instance->flags & (INSTANCE_OVERLAY_RETURN | INSTANCE_OVERLAY_CYCLE))) {
            instance->overlayStrength = instance->overlayTo;
            instance->flags &= ~INSTANCE_OVERLAY_TIMER;
            if (instance->overlayTo == 0.0f) renderModelInstance_ClearOverlay(instance);
            return;
        }
        float from = instance->overlayFrom;
        instance->overlayFrom = instance->overlayTo;
        instance->overlayTo = from;
        instance->flags &= ~INSTANCE_OVERLAY_RETURN;
        instance->overlayPos = 0.0f;
    }
    instance->overlayStrength = instance->overlayFrom +
                                (instance->overlayTo - instance->overlayFrom) * instance->overlayPos;
}

bool GroupNameEquals(const char* name, const ModelAttach* attach)
{
    for (int i = 0; i < MODEL_ATTACH_NAME_SIZE; i++) {
        char a = name[i], b = attach->name[i];
        if (a >= 'A' && a <= 'Z') a = (char)(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = (char)(b - 'A' + 'a');
        if (a != b) return false;
        if (!a) return true;
    }
    return name[MODEL_ATTACH_NAME_SIZE] == 0;
}

void SetGroupHidden(ModelInstance* instance, int index, bool hidden)
{
    const Model* model = instance->pModel;
    if (index < 0 || index > model->numAttach) return;
    for (uint32_t i = 0; i < model->numParts; i++) {
        InstancePart* ip = &instance->pParts[i];
        if (ip->pModelPart->group != index) continue;
        if (hidden) ip->partFlags |= INSTANCE_PART_HIDDEN;
        else ip->partFlags &= (uint16_t)~INSTANCE_PART_HIDDEN;
    }
}

uint32_t VertexCount(const Model* model)
{
    uint32_t total = 0;
    for (uint32_t i = 0; i < model->numParts; i++) total += model->pParts[i].numVerts;
    return total;
}

}  // namespace

void renderModelInstance_Update(ModelInstance* instance, float seconds)
{
    if (!instance) return;
    if (instance->pMixer && !(instance->flags & INSTANCE_MIXER_PAUSED)) {
        instance->pMixer->Advance(seconds);
        renderMixer_Evaluate(instance);
    }
    UpdateTint(instance, seconds);
    UpdateFade(instance, seconds);
    UpdateScale(instance, seconds);
    UpdateOverlay(instance, seconds);
}

void renderModelInstance_FadeTo(ModelInstance* instance, float alpha, float milliseconds)
{
    if (!instance) return;
    if (alpha == instance->alpha) {
        instance->flags &= ~INSTANCE_FADE;
    } else if (Timed(milliseconds)) {
        instance->alphaTarget = alpha;
        instance->alphaRate = (alpha - instance->alpha) / (milliseconds * 0.001f);
        instance->flags |= INSTANCE_FADE;
    } else {
        instance->alpha = alpha;
        for (ModelInstance* child : instance->children) {
            if (child) child->alpha = alpha;
        }
        instance->flags &= ~INSTANCE_FADE;
    }
}

void renderModelInstance_ScaleTo(ModelInstance* instance, float factor, float seconds)
{
    if (!instance) return;
    float f = Clamp(factor, 0.01f, 50.0f);
    StartScale(instance, {f, f, f}, seconds);
}

void renderModelInstance_ScaleToVector(ModelInstance* instance, mathVec3* factors, float milliseconds)
{
    if (!instance || !factors) return;
    factors->x = Clamp(factors->x, 0.01f, 50.0f);
    factors->y = Clamp(factors->y, 0.01f, 50.0f);
    factors->z = Clamp(factors->z, 0.01f, 50.0f);
    StartScale(instance, *factors, milliseconds * 0.001f);
}

void renderModelInstance_SetOverlay(ModelInstance* instance, const char* materialName, uint32_t flags,
                                    float from, float to, float seconds)
{
    if (!instance || !materialName) return;
    if ((instance->flags & INSTANCE_OVERLAY_PRIORITY) > (flags & INSTANCE_OVERLAY_PRIORITY)) return;
    if (Timed(seconds)) {
        instance->overlayFrom = Clamp(from, 0.0f, 1.0f);
        instance->overlayTo = Clamp(to, 0.0f, 1.0f);
        instance->overlayRate = 1.0f / seconds;
        instance->overlayPos = 0.0f;
        instance->flags |= INSTANCE_OVERLAY_TIMER;
    } else {
        instance->flags &= ~(INSTANCE_OVERLAY_TIMER | INSTANCE_OVERLAY_RETURN | INSTANCE_OVERLAY_CYCLE);
        instance->overlayStrength = to;
    }
    if (instance->pOverlay && strcmp(instance->pOverlay->name, materialName) != 0) {
        renderMaterial_Release(instance->pOverlay);
        instance->pOverlay = nullptr;
    }
    if (!instance->pOverlay) instance->pOverlay = renderMaterial_Load(materialName, 0);
    if (instance->pOverlay) {
        instance->flags = (instance->flags & ~kOverlayModes) | INSTANCE_OVERLAY | (flags & kOverlayModes);
    } else {
        instance->overlayStrength = 0.0f;
        instance->flags &= ~(INSTANCE_OVERLAY | INSTANCE_OVERLAY_ONLY | INSTANCE_OVERLAY_TIMER);
    }
}

void renderModelInstance_ClearOverlay(ModelInstance* instance)
{
    if (!instance) return;
    if (instance->pOverlay) renderMaterial_Release(instance->pOverlay);
    instance->pOverlay = nullptr;
    instance->overlayStrength = 0.0f;
    instance->flags &= ~(INSTANCE_OVERLAY | INSTANCE_OVERLAY_ONLY | INSTANCE_OVERLAY_TIMER);
}

int renderModelInstance_AttachChild(ModelInstance* instance, const char* modelName, int slot)
{
    if (!instance || slot < 0 || slot >= INSTANCE_CHILDREN) return 0;
    renderModelInstance_DetachChild(instance, slot);
    ModelInstance* child = renderModelInstance_Load(modelName);
    if (!child) return 0;
    // The child takes the parent's bone poses by index.
    if (child->pModel->numBones < instance->pModel->numBones) {
        renderModelInstance_Free(child, 1);
        return 0;
    }
    instance->children[slot] = child;
    if (instance->alpha != 1.0f) {
        SetAlphaTree(child, instance->alpha);
        child->flags &= ~INSTANCE_FADE;
    }
    return 1;
}

int renderModelInstance_DetachChild(ModelInstance* instance, int slot)
{
    if (!instance || slot < 0 || slot >= INSTANCE_CHILDREN || !instance->children[slot]) return 0;
    renderModelInstance_Free(instance->children[slot], 1);
    instance->children[slot] = nullptr;
    return 1;
}

ModelInstance* renderModelInstance_SwapModel(ModelInstance* instance, const char* modelName)
{
    if (!instance || !modelName) return nullptr;
    if (strncmp(modelName, instance->pModel->name, MODEL_NAME_SIZE) == 0) return instance;
    Model* model = renderModel_Load(modelName, 0);
    if (!model) return nullptr;
    ModelInstance* swapped = model->numBones == instance->pModel->numBones
                                 ? renderModelInstance_Create(model)
                                 : nullptr;
    if (!swapped) {
        renderModel_Release(model);
        return nullptr;
    }
    swapped->pMixer = instance->pMixer;
    if (swapped->pMixer) swapped->pMixer->pInstance = swapped;
    // The per-vertex values belong to the old model and stay behind.
    swapped->flags = instance->flags & ~INSTANCE_VERTEX_DATA;
    swapped->alpha = instance->alpha;
    swapped->alphaTarget = instance->alphaTarget;
    swapped->alphaRate = instance->alphaRate;
    swapped->scale = instance->scale;
    swapped->scaleTarget = instance->scaleTarget;
    swapped->scaleFrom = instance->scaleFrom;
    swapped->scaleRate = instance->scaleRate;
    swapped->scalePos = instance->scalePos;
    swapped->pOverlay = instance->pOverlay;
    swapped->overlayPos = instance->overlayPos;
    swapped->overlayFrom = instance->overlayFrom;
    swapped->overlayTo = instance->overlayTo;
    swapped->overlayRate = instance->overlayRate;
    swapped->overlayStrength = instance->overlayStrength;
    memcpy(swapped->children, instance->children, sizeof swapped->children);
    memset(instance->children, 0, sizeof instance->children);
    instance->pMixer = nullptr;
    instance->pOverlay = nullptr;
    renderModel_SetLOD(swapped, instance->detail);
    renderModelInstance_Free(instance, 1);
    return swapped;
}

int renderModelInstance_FindGroup(const ModelInstance* instance, const char* name)
{
    if (!instance || !name) return -1;
    const Model* model = instance->pModel;
    for (int i = 0; i < model->numAttach; i++) {
        if (GroupNameEquals(name, &model->pAttach[i])) return i;
    }
    for (const ModelInstance* child : instance->children) {
        int index = renderModelInstance_FindGroup(child, name);
        if (index >= 0) return index;
    }
    return -1;
}

int renderModelInstance_HideGroup(ModelInstance* instance, const char* name)
{
    int index = renderModelInstance_FindGroup(instance, name);
    if (index < 0) return 0;
    SetGroupHidden(instance, index, true);
    return 1;
}

int renderModelInstance_ShowGroup(ModelInstance* instance, const char* name)
{
    int index = renderModelInstance_FindGroup(instance, name);
    if (index < 0) return 0;
    SetGroupHidden(instance, index, false);
    return 1;
}

void renderModelInstance_HideGroupIndex(ModelInstance* instance, int index)
{
    if (instance) SetGroupHidden(instance, index, true);
}

void renderModelInstance_ShowGroupIndex(ModelInstance* instance, int index)
{
    if (instance) SetGroupHidden(instance, index, false);
}

int renderModelInstance_BonePoint(const ModelInstance* instance, int bone, mathVec3* out,
                                  const mathFrame* frame, const mathVec3* p)
{
    if (!instance || !out || !frame || !p || bone < 0 || bone >= instance->pModel->numBones)
        return 0;
    mathVec3 onBone;
    mathFrame_TransformPoints(&instance->pBones[bone].pose, p, &onBone, 1);
    mathFrame_TransformPoints(frame, &onBone, out, 1);
    return 1;
}

Collision* renderModel_BuildCollision(const Model* model, const mathFrame* frame)
{
    if (!model || !frame) return nullptr;
    uint32_t total = 0;
    for (uint32_t i = 0; i < model->numParts; i++) total += model->pParts[i].numTris;
    if (!total) return nullptr;
    Collision* collision = (Collision*)calloc(1, sizeof(Collision));
    CollisionTriangle* triangles = (CollisionTriangle*)calloc(total, sizeof(CollisionTriangle));
    if (!collision || !triangles) {
        free(collision);
        free(triangles);
        return nullptr;
    }
    collision->pTriangles = triangles;
    collision->frame = *frame;
    collision->box = model->box;
    uint32_t n = 0;
    for (uint32_t i = 0; i < model->numParts; i++) {
        const ModelPart* part = &model->pParts[i];
        for (uint32_t t = 0; t < part->numTris; t++) {
            const uint16_t* v = part->pTris[t].v;
            if (v[0] >= part->numVerts || v[1] >= part->numVerts || v[2] >= part->numVerts) continue;
            CollisionTriangle* out = &triangles[n++];
            for (int k = 0; k < 3; k++)
                mathFrame_TransformPoints(frame, &part->pVerts[v[k]].position, &out->corners[k], 1);
            mathVec3_TriangleNormal(&out->corners[0], &out->corners[1], &out->corners[2], &out->normal);
            out->d = mathVec3_Dot(&out->normal, &out->corners[0]);
        }
    }
    collision->numTriangles = n;
    return collision;
}

void renderModel_FreeCollision(Collision* collision)
{
    if (!collision) return;
    free(collision->pTriangles);
    free(collision);
}

int renderModelInstance_ReadVertexData(ModelInstance* instance, uint32_t count, stdFileHandle file)
{
    if (!instance) return 0;
    const Model* model = instance->pModel;
    // Every part's slice must lie inside what is read.
    if (count < VertexCount(model) || count > 0x3FFFFFFF) return 0;
    uint32_t* values = (uint32_t*)malloc((size_t)count * 4 + 4);
    if (!values) return 0;
    if (count && stdFile_Read(values, 4, count, file) != count) {
        free(values);
        return 0;
    }
    free(instance->pVertexData);
    instance->pVertexData = values;
    uint32_t* cursor = values;
    for (uint32_t i = 0; i < model->numParts; i++) {
        instance->pParts[i].pVertexData = cursor;
        cursor += model->pParts[i].numVerts;
    }
    instance->flags |= INSTANCE_VERTEX_DATA;
    return 1;
}
