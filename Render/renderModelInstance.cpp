#include "renderModelInstance.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "mathFrame.h"
#include "mathMatrix.h"
#include "mathVec.h"
#include "renderCamera.h"
#include "renderMainRaster.h"
#include "renderMaterial.h"
#include "renderMixer.h"
#include "renderModel.h"
#include "renderSettings.h"

namespace {

bool HasCollapseMap(const Model* model)
{
    return (model->flags & MODEL_COLLAPSE_MAP) && model->pCollapse;
}

float DetailFromDepth(float depth)
{
    float v = (depth - renderSettings_current.modelLODMinDist) * renderSettings_current.modelLODScale;
    return v > 0.0f ? 1.0f / (v + 1.0f) : 1.0f;
}

void SetBoneFrames(InstanceBone* bone, const mathFrame* frame, const mathMatrix* viewProjection,
                   const mathVec3* eye)
{
    mathFrame_Invert(&bone->inverse, frame);
    mathFrame_TransformPoints(&bone->inverse, eye, &bone->eye, 1);
    mathMatrix_MultiplyFrame(&bone->clip, viewProjection, frame);
}

// Bones of node from the poses of root (bone i takes root's bone i), then node's children.
void EvaluateTree(ModelInstance* node, const ModelInstance* root, const mathFrame* frame,
                  const mathMatrix* viewProjection, const mathVec3* eye)
{
    const Model* model = node->pModel;
    uint32_t rootBones = root->pModel->numBones;
    for (uint32_t i = 0; i < model->numBones; i++) {
        InstanceBone* bone = &node->pBones[i];
        const mathFrame* pose = i < rootBones ? &root->pBones[i].pose : &bone->pose;
        mathFrame_Multiply(&bone->world, frame, pose);
        mathFrame_Multiply(&bone->modelFrame, &bone->world, &model->pBones[i].frame);
        SetBoneFrames(bone, &bone->modelFrame, viewProjection, eye);
    }
    for (ModelInstance* child : node->children) {
        if (child) EvaluateTree(child, root, frame, viewProjection, eye);
    }
}

// 0 when every corner of the model's box lies outside one plane of the view volume.
int BoxVisible(const ModelInstance* instance)
{
    const mathMatrix* clip = &instance->pBones[0].clip;
    uint32_t code = 255;
    for (const mathVec3& corner : instance->pModel->corners) {
        mathVec4 p;
        renderModel_TransformPoint(&p, &corner, clip);
        code &= renderModel_Outcode(&p);
        if (!code) return 1;
    }
    return 0;
}

void DrawNode(ModelInstance* node, ModelInstance* root, uint32_t drawFlags)
{
    renderModel_CacheMaterials(node->pModel);
    renderMain_rasterLib.funcModel_Draw(node, root, (int)drawFlags);
}

}  // namespace

ModelInstance* renderModelInstance_Create(Model* model)
{
    if (!model) return nullptr;
    bool ownTris = HasCollapseMap(model);
    size_t size = sizeof(ModelInstance) + model->numBones * sizeof(InstanceBone) +
                  model->numParts * sizeof(InstancePart) +
                  (ownTris ? model->numTris * sizeof(ModelTriangle) : 0);
    ModelInstance* instance = (ModelInstance*)calloc(1, size);
    if (!instance) return nullptr;
    instance->pModel = model;
    instance->scale = {1.0f, 1.0f, 1.0f};
    instance->detail = 1.0f;
    instance->alpha = 1.0f;
    instance->fade = 1.0f;
    instance->pBones = (InstanceBone*)(instance + 1);
    instance->pParts = (InstancePart*)(instance->pBones + model->numBones);
    if (ownTris) {
        instance->pTriangles = (ModelTriangle*)(instance->pParts + model->numParts);
        memcpy(instance->pTriangles, model->pTris, model->numTris * sizeof(ModelTriangle));
    } else {
        instance->pTriangles = model->pTris;
    }
    for (uint32_t i = 0; i < model->numBones; i++) {
        const ModelBone* parent = model->pBones[i].pParent;
        instance->pBones[i].link = parent ? (int32_t)(parent - model->pBones) : -1;
        mathFrame_Identity(&instance->pBones[i].pose);
    }
    // Parts take their triangles in order, as the model's parts do.
    ModelTriangle* cursor = instance->pTriangles;
    for (uint32_t i = 0; i < model->numParts; i++) {
        ModelPart* part = &model->pParts[i];
        InstancePart* ip = &instance->pParts[i];
        ip->pModelPart = part;
        ip->pMaterial = part->pMaterial;
        ip->pTris = ownTris ? cursor : part->pTris;
        ip->drawTris = part->numTris;
        ip->lodVerts = part->numVerts;
        cursor += part->numTris;
    }
    return instance;
}

ModelInstance* renderModelInstance_Load(const char* name)
{
    Model* model = renderModel_Load(name, 0);
    if (!model) return nullptr;
    ModelInstance* instance = renderModelInstance_Create(model);
    if (!instance) renderModel_Release(model);
    return instance;
}

void renderModelInstance_Free(ModelInstance* instance, int releaseModel)
{
    if (!instance) return;
    renderMixer_Free(instance);
    for (ModelInstance*& child : instance->children) {
        renderModelInstance_Free(child, 1);
        child = nullptr;
    }
    // The overlay holds a material reference of its own.
    if (instance->pOverlay) renderMaterial_Release(instance->pOverlay);
    if (releaseModel) renderModel_Release(instance->pModel);
    free(instance->pVertexData);
    free(instance);
}

void renderModelInstance_SetLODFromDistance(ModelInstance* instance, float depth)
{
    if (!instance) return;
    if (!(instance->flags & INSTANCE_LOD_LOCKED)) renderModel_SetLOD(instance, DetailFromDepth(depth));
    instance->lodDistance = depth;
}

void renderModelInstance_EvaluateBones(ModelInstance* instance, const mathFrame* frame,
                                       const mathMatrix* viewProjection, const Camera* camera)
{
    if (!instance) return;
    mathVec3 eye = {camera->frame.m[9], camera->frame.m[10], camera->frame.m[11]};
    if (instance->pMixer) {
        renderMixer_Evaluate(instance);
        EvaluateTree(instance, instance, frame, viewProjection, &eye);
        return;
    }
    for (uint32_t i = 0; i < instance->pModel->numBones; i++) {
        InstanceBone* bone = &instance->pBones[i];
        bone->world = *frame;
        SetBoneFrames(bone, frame, viewProjection, &eye);
    }
}

void renderModel_TransformPoint(mathVec4* out, const mathVec3* p, const mathMatrix* matrix)
{
    mathVec4_TransformPoint(out, p, matrix);
}

uint32_t renderModel_Outcode(const mathVec4* p)
{
    if (!(p->w > 0.0f)) return 32;
    uint32_t code = 0;
    if (p->x > p->w) code |= 1;
    if (p->x < -p->w) code |= 2;
    if (p->y > p->w) code |= 4;
    if (p->y < -p->w) code |= 8;
    if (p->z > p->w) code |= 16;
    if (p->z < -p->w) code |= 32;
    return code;
}

int renderModel_Draw(ModelInstance* instance, const mathFrame* frame, uint32_t drawFlags)
{
    if (!instance || !frame || !instance->pModel->numBones) return 0;
    const Camera* camera = renderCamera_GetCurrent();
    if (!camera) return 0;
    mathFrame placed = *frame;
    if (instance->flags & INSTANCE_SCALED) mathFrame_ScalePre(&placed, &instance->scale);
    renderModelInstance_EvaluateBones(instance, &placed, &camera->viewProjection, camera);
    if (!BoxVisible(instance)) return 0;

    if (HasCollapseMap(instance->pModel) && !(drawFlags & DRAW_KEEP_LOD)) {
        if (camera->flags & CAMERA_FULL_DETAIL) {
            renderModel_SetLOD(instance, 1.0f);
        } else {
            float depth = instance->pBones[0].clip.m[14];
            if (std::fabs(depth - instance->lodDistance) > RENDERMODEL_LOD_DEPTH_STEP)
                renderModelInstance_SetLODFromDistance(instance, depth);
        }
    }
    if (drawFlags & DRAW_TINT) instance->flags |= INSTANCE_TINT;
    else instance->flags &= ~INSTANCE_TINT;
    if (instance->tintLevel != 0.0f) {
        float* c = &instance->colour.x;
        for (int i = 0; i < 3; i++) c[i] = instance->tintLevel * (c[i] > 150.0f ? c[i] : 150.0f);
    }
    renderMain_rasterLib.funcLight_NewModel(instance);
    if (!(instance->flags & INSTANCE_HIDDEN)) DrawNode(instance, instance, drawFlags);
    for (ModelInstance* child : instance->children) {
        if (child && !(child->flags & INSTANCE_HIDDEN)) DrawNode(child, instance, drawFlags);
    }
    return 1;
}

namespace {

void FreeShadow(ModelInstance* shadow)
{
    renderModelInstance_Free(shadow, 0);
}

}  // namespace

ModelInstance* renderModel_GetShadowInstance(Model* model)
{
    if (!model) return nullptr;
    if (!model->pShadowInstance) {
        ModelInstance* shadow = renderModelInstance_Create(model);
        if (!shadow) return nullptr;
        renderModel_SetLOD(shadow, renderSettings_current.shadowDetail);
        renderModel_SetShadowFree(FreeShadow);
        model->pShadowInstance = shadow;
    }
    return model->pShadowInstance;
}

ModelInstance* renderModel_ReadMesh(stdFileHandle file)
{
    Model* model = renderModel_ReadMeshModel(file);
    if (!model) return nullptr;
    ModelInstance* instance = renderModelInstance_Create(model);
    if (!instance) {
        // Not in the table: the ring frees it when its slot comes round again.
        renderModel_Park(model);
        return nullptr;
    }
    model->refCount = 1;
    instance->flags |= INSTANCE_MESH;
    return instance;
}
