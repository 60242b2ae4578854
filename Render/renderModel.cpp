#include "renderModel.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mathFrame.h"
#include "modelInstanceRecord.h"
#include "renderMaterial.h"
#include "renderRing.h"
#include "renderSettings.h"
#include "stdFile.h"
#include "stdHash.h"
#include "stdPath.h"

namespace {

stdHash* g_pModelTable;
int g_bStartup;
renderRing<Model> g_freeList;
// The instance module's free for shadow instances; see renderModel_SetShadowFree.
void (*g_pfnFreeShadow)(ModelInstance* shadow);

enum {
    kBoneSizeV7 = 66,         // translation, rest frame, three links
    kBoneSizeOld = 54,        // frame (translation in its last row), three links
    kFileNameSize = 32,
    kPartSize = 28,
    kMeshExtraSize = 16,
};

// Reads that never go past the bytes the file holds: every count is checked against what
// is left before anything is allocated or read.
struct Reader {
    stdFileHandle handle;
    uint64_t remaining;
};

int Reader_Open(Reader* r, const char* path)
{
    r->handle = stdFile_Open(path, "rb", STDFILE_TYPE_MODEL);
    if (!r->handle) return 0;
    long size = stdFile_Length(r->handle);
    if (size < 0) {
        stdFile_Close(r->handle);
        return 0;
    }
    r->remaining = (uint64_t)size;
    return 1;
}

// Reads a file that the caller opened, from where it stands.
int Reader_Attach(Reader* r, stdFileHandle file)
{
    r->handle = file;
    long at = stdFile_Tell(file);
    long size = stdFile_Length(file);
    if (at < 0 || size < at) return 0;
    r->remaining = (uint64_t)(size - at);
    return 1;
}

int Reader_Read(Reader* r, void* out, uint64_t size)
{
    if (size > r->remaining) return 0;
    if (size && stdFile_Read(out, 1, (uint32_t)size, r->handle) != size) return 0;
    r->remaining -= size;
    return 1;
}

template <class T>
int Reader_Get(Reader* r, T* out)
{
    return Reader_Read(r, out, sizeof *out);
}

// The counts of a model file, checked against the bytes that follow them.
struct QevHeader {
    uint32_t version;
    uint32_t numMaterials;
    char materialNames[RENDERMODEL_MAX_MATERIALS][kFileNameSize];
    uint16_t numBones;
    uint16_t numAttach;
    uint32_t numVerts;
    uint32_t numTris;
    uint16_t numParts;
    uint32_t flags;
};

int HasNul(const char* field, size_t size)
{
    return memchr(field, 0, size) != nullptr;
}

uint64_t BoneFileSize(uint32_t version)
{
    return version == 7 ? kBoneSizeV7 : kBoneSizeOld;
}

int ReadMaterialNames(Reader* r, QevHeader* h)
{
    if (!Reader_Get(r, &h->numMaterials) || h->numMaterials > RENDERMODEL_MAX_MATERIALS) return 0;
    for (uint32_t i = 0; i < h->numMaterials; i++) {
        if (!Reader_Read(r, h->materialNames[i], kFileNameSize)) return 0;
        if (!HasNul(h->materialNames[i], kFileNameSize)) return 0;
    }
    return 1;
}

int ReadHeader(Reader* r, QevHeader* h)
{
    if (!Reader_Get(r, &h->version) || h->version < 6) return 0;
    if (!ReadMaterialNames(r, h)) return 0;
    if (!Reader_Get(r, &h->numBones) || !Reader_Get(r, &h->numAttach) ||
        !Reader_Get(r, &h->numVerts) || !Reader_Get(r, &h->numTris) ||
        !Reader_Get(r, &h->numParts) || !Reader_Get(r, &h->flags))
        return 0;
    if (h->numAttach > RENDERMODEL_MAX_ATTACH) return 0;
    const uint64_t body = 24 + (uint64_t)h->numBones * BoneFileSize(h->version) +
                          (uint64_t)h->numAttach * 32 + (uint64_t)h->numVerts * sizeof(ModelVertex) +
                          ((h->flags & MODEL_COLLAPSE_MAP) ? (uint64_t)h->numVerts * 2 : 0) +
                          (uint64_t)h->numTris * sizeof(ModelTriangle) +
                          (uint64_t)h->numParts * kPartSize;
    return body <= r->remaining;
}

// One block: header, bones, attachments, parts, vertices, triangles, collapse map.
Model* AllocBlock(const QevHeader* h)
{
    const uint64_t size = sizeof(Model) + (uint64_t)h->numBones * sizeof(ModelBone) +
                          (uint64_t)h->numAttach * sizeof(ModelAttach) +
                          (uint64_t)h->numParts * sizeof(ModelPart) +
                          (uint64_t)h->numVerts * sizeof(ModelVertex) +
                          (uint64_t)h->numTris * sizeof(ModelTriangle) +
                          ((h->flags & MODEL_COLLAPSE_MAP) ? (uint64_t)h->numVerts * 2 : 0);
    if (size > 0x7FFFFFFF) return nullptr;
    uint8_t* block = (uint8_t*)malloc((size_t)size);
    if (!block) return nullptr;
    // Every array after the bones is read whole from the file: only the header and the
    // bones, which are built field by field, need zeroing.
    memset(block, 0, sizeof(Model) + h->numBones * sizeof(ModelBone));
    Model* model = (Model*)block;
    uint8_t* at = block + sizeof(Model);
    model->pBones = (ModelBone*)at;
    at += h->numBones * sizeof(ModelBone);
    model->pAttach = (ModelAttach*)at;
    at += h->numAttach * sizeof(ModelAttach);
    model->pParts = (ModelPart*)at;
    at += h->numParts * sizeof(ModelPart);
    model->pVerts = (ModelVertex*)at;
    at += h->numVerts * sizeof(ModelVertex);
    model->pTris = (ModelTriangle*)at;
    at += h->numTris * sizeof(ModelTriangle);
    if (h->flags & MODEL_COLLAPSE_MAP) model->pCollapse = (uint16_t*)at;
    model->flags = h->flags & ~(MODEL_PARKED | MODEL_MATERIALS_CACHED);
    model->numParts = h->numParts;
    model->numBones = h->numBones;
    model->numAttach = (uint8_t)h->numAttach;
    model->numVerts = h->numVerts;
    model->numTris = h->numTris;
    model->blockSize = (uint32_t)size;
    return model;
}

ModelBone* BoneLink(Model* model, int16_t index)
{
    return index >= 0 ? &model->pBones[index] : nullptr;
}

// Bones and their links. A link outside -1 to numBones - 1 refuses the file; a parent that
// does not come before its bone counts as none, so that the parent chain always ends.
int ReadBones(Reader* r, Model* model, uint32_t version)
{
    for (uint32_t i = 0; i < model->numBones; i++) {
        ModelBone* bone = &model->pBones[i];
        uint8_t record[kBoneSizeV7];
        const uint64_t size = BoneFileSize(version);
        if (!Reader_Read(r, record, size)) return 0;
        if (version == 7) {
            memcpy(&bone->translation, record, 12);
            memcpy(&bone->frame, record + 12, 48);
        } else {
            memcpy(&bone->translation, record + 36, 12);
            mathFrame_Identity(&bone->frame);
        }
        int16_t links[3];
        memcpy(links, record + size - 6, 6);
        for (int16_t link : links) {
            if (link < -1 || link >= (int)model->numBones) return 0;
        }
        bone->pLinkA = BoneLink(model, links[0]);
        bone->pLinkB = BoneLink(model, links[1]);
        bone->pParent = links[2] < (int)i ? BoneLink(model, links[2]) : nullptr;
    }
    return 1;
}

// Every vertex names a bone of the model; a blended vertex of a root bone is bound to it
// alone, as there is no parent to blend with.
int CheckVertices(Model* model)
{
    for (uint32_t i = 0; i < model->numVerts; i++) {
        ModelVertex* v = &model->pVerts[i];
        if (v->bone >= model->numBones) return 0;
        if (v->weight < 1.0f && !model->pBones[v->bone].pParent) v->weight = 1.0f;
    }
    return 1;
}

// Parts take their runs of vertices, triangles and collapse entries in file order; every
// run and every part-local index stays inside the arrays. The material index of each part
// is kept aside until the materials are loaded.
int ReadParts(Reader* r, Model* model, std::vector<int32_t>* materialIndex)
{
    if (!Reader_Read(r, model->pParts, (uint64_t)model->numParts * kPartSize)) return 0;
    uint32_t firstVert = 0, firstTri = 0;
    for (uint32_t p = 0; p < model->numParts; p++) {
        ModelPart* part = &model->pParts[p];
        int32_t index;
        memcpy(&index, &part->pMaterial, sizeof index);
        materialIndex->push_back(index);
        part->pMaterial = nullptr;
        if (part->numVerts > model->numVerts - firstVert) return 0;
        if (part->numTris > model->numTris - firstTri) return 0;
        if (part->minVerts > part->numVerts) return 0;
        part->pVerts = model->pVerts + firstVert;
        part->pTris = model->pTris + firstTri;
        part->pCollapse = model->pCollapse ? model->pCollapse + firstVert : nullptr;
        for (uint32_t t = 0; t < part->numTris; t++) {
            for (uint16_t v : part->pTris[t].v) {
                if (v >= part->numVerts) return 0;
            }
        }
        for (uint32_t c = 0; part->pCollapse && c < part->numVerts; c++) {
            if (part->pCollapse[c] >= part->numVerts) return 0;
        }
        firstVert += part->numVerts;
        firstTri += part->numTris;
    }
    return 1;
}

int ReadBody(Reader* r, Model* model, uint32_t version, std::vector<int32_t>* materialIndex)
{
    if (!Reader_Read(r, &model->box, sizeof model->box)) return 0;
    if (!ReadBones(r, model, version)) return 0;
    if (!Reader_Read(r, model->pAttach, (uint64_t)model->numAttach * sizeof(ModelAttach))) return 0;
    for (uint32_t i = 0; i < model->numAttach; i++) {
        if (!HasNul(model->pAttach[i].name, sizeof model->pAttach[i].name)) return 0;
    }
    if (!Reader_Read(r, model->pVerts, (uint64_t)model->numVerts * sizeof(ModelVertex))) return 0;
    if (!CheckVertices(model)) return 0;
    if (model->pCollapse && !Reader_Read(r, model->pCollapse, (uint64_t)model->numVerts * 2)) return 0;
    if (!Reader_Read(r, model->pTris, (uint64_t)model->numTris * sizeof(ModelTriangle))) return 0;
    return ReadParts(r, model, materialIndex);
}

void FillCorners(Model* model)
{
    const mathVec3 lo = model->box.vMin, hi = model->box.vMax;
    const mathVec3 corners[8] = {
        {lo.x, lo.y, lo.z}, {hi.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z},
        {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, hi.y, lo.z},
    };
    memcpy(model->corners, corners, sizeof corners);
}

void SetName(Model* model, const char* name)
{
    strncpy(model->name, stdPath_BaseName(name), MODEL_NAME_SIZE - 1);
    model->name[MODEL_NAME_SIZE - 1] = 0;
}

// The cache key of a requested name: the name as written, cut to the length a model's name
// keeps, so that a long name finds the model it loaded.
void LookupKey(char* key, const char* name)
{
    strncpy(key, name, MODEL_NAME_SIZE - 1);
    key[MODEL_NAME_SIZE - 1] = 0;
}

void LoadMaterials(Model* model, const QevHeader* h, uint32_t flags,
                   const std::vector<int32_t>& materialIndex)
{
    if (!(flags & RENDERMODEL_NO_MATERIALS)) {
        for (uint32_t i = 0; i < h->numMaterials; i++)
            model->ppMaterials[i] = renderMaterial_Load(h->materialNames[i], flags);
    }
    for (uint32_t p = 0; p < model->numParts; p++) {
        const int32_t index = materialIndex[p];
        if (index >= 0 && (uint32_t)index < h->numMaterials)
            model->pParts[p].pMaterial = model->ppMaterials[index];
    }
}

}  // namespace

int renderModel_Startup()
{
    if (g_bStartup) return 1;
    g_pModelTable = stdHash_Create(512, "renderModel");
    if (!g_pModelTable) return 0;
    renderRing_Clear(&g_freeList);
    g_bStartup = 1;
    return 1;
}

int renderModel_Shutdown()
{
    if (!g_bStartup) return 0;
    renderRing_FreeAll(&g_freeList, renderModel_Free);
    stdHash_Free(g_pModelTable);
    g_pModelTable = nullptr;
    g_bStartup = 0;
    return 1;
}

void renderModel_SetShadowFree(void (*pfnFree)(ModelInstance* shadow))
{
    g_pfnFreeShadow = pfnFree;
}

Model* renderModel_Find(const char* name)
{
    if (!name) return nullptr;
    char key[MODEL_NAME_SIZE];
    LookupKey(key, name);
    return (Model*)stdHash_Find(g_pModelTable, key);
}

Model* renderModel_Load(const char* name, uint32_t flags)
{
    if (!name || strlen(name) >= RENDERMODEL_PATH_SIZE) return nullptr;
    if (Model* cached = renderModel_Find(name)) {
        cached->refCount++;
        if (cached->flags & MODEL_PARKED) renderModel_Unpark(cached);
        return cached;
    }

    // A name that leaves no room for the extension is looked for as it is.
    char path[RENDERMODEL_PATH_SIZE];
    stdPath_MakeFileName(path, sizeof path, name, "QEV", STDPATH_KEEP_EXTENSION);
    Reader r;
    if (!Reader_Open(&r, path)) return nullptr;

    // 8 KB of names: kept off the stack of a deep caller.
    static QevHeader header;
    Model* model = nullptr;
    std::vector<int32_t> materialIndex;
    if (ReadHeader(&r, &header) && (model = AllocBlock(&header)) != nullptr) {
        if (header.numMaterials)
            model->ppMaterials = (Material**)calloc(header.numMaterials, sizeof(Material*));
        if ((header.numMaterials && !model->ppMaterials) ||
            !ReadBody(&r, model, header.version, &materialIndex)) {
            free(model->ppMaterials);
            free(model);
            model = nullptr;
        }
    }
    stdFile_Close(r.handle);
    if (!model) return nullptr;

    SetName(model, name);
    model->numMaterials = (uint8_t)header.numMaterials;
    LoadMaterials(model, &header, flags, materialIndex);
    FillCorners(model);
    model->refCount = 1;
    stdHash_Add(g_pModelTable, model->name, model);
    return model;
}

void renderModel_Release(Model* model)
{
    if (!model || model->refCount == 0) return;
    if (--model->refCount == 0) renderModel_Park(model);
}

void renderModel_Park(Model* model)
{
    renderRing_Park(&g_freeList, model, MODEL_PARKED, renderModel_Free);
}

void renderModel_Unpark(Model* model)
{
    renderRing_Unpark(&g_freeList, model, MODEL_PARKED);
}

void renderModel_Free(Model* model)
{
    if (!model) return;
    if (model->flags & MODEL_PARKED) renderModel_Unpark(model);
    for (uint32_t i = 0; model->ppMaterials && i < model->numMaterials; i++) {
        if (model->ppMaterials[i]) renderMaterial_Release(model->ppMaterials[i]);
        model->ppMaterials[i] = nullptr;
    }
    free(model->ppMaterials);
    free(model->pExtras);
    // The shadow instance belongs to the model and holds no reference on it.
    if (model->pShadowInstance && g_pfnFreeShadow) g_pfnFreeShadow(model->pShadowInstance);
    // A model read again under a longer name is not in the table: leave the other's entry.
    if (stdHash_Find(g_pModelTable, model->name) == model) stdHash_Remove(g_pModelTable, model->name);
    free(model);
}

void renderModel_CacheMaterials(Model* model)
{
    if (!model || (model->flags & MODEL_MATERIALS_CACHED)) return;
    model->flags |= MODEL_MATERIALS_CACHED;
    for (uint32_t i = 0; model->ppMaterials && i < model->numMaterials; i++) {
        if (model->ppMaterials[i]) renderMaterial_CachePass(model->ppMaterials[i]);
    }
}

int renderModel_FindMaterial(const Model* model, const Material* material)
{
    for (uint32_t i = 0; model && model->ppMaterials && i < model->numMaterials; i++) {
        if (model->ppMaterials[i] == material) return (int)i;
    }
    return -1;
}

Model* renderModel_ReadSkeleton(const char* fileName, const char* modelName)
{
    if (!fileName || !modelName) return nullptr;
    Reader r;
    if (!Reader_Open(&r, fileName)) return nullptr;
    static QevHeader header;
    Model* model = nullptr;
    if (ReadHeader(&r, &header) && header.version == 7 && (model = AllocBlock(&header)) != nullptr) {
        if (!Reader_Read(&r, &model->box, sizeof model->box) || !ReadBones(&r, model, 7)) {
            free(model);
            model = nullptr;
        }
    }
    stdFile_Close(r.handle);
    if (!model) return nullptr;
    strncpy(model->name, modelName, MODEL_NAME_SIZE - 1);
    FillCorners(model);
    model->refCount = 1;
    return model;
}

namespace {

// Vertices, triangles, parts, box and extras of a bone-less mesh; 0 when any is short or
// names something outside the model.
int ReadMeshBody(Reader* r, Model* model, std::vector<int32_t>* materialIndex)
{
    if (!Reader_Read(r, model->pVerts, (uint64_t)model->numVerts * sizeof(ModelVertex)) ||
        !CheckVertices(model) ||
        !Reader_Read(r, model->pTris, (uint64_t)model->numTris * sizeof(ModelTriangle)) ||
        !ReadParts(r, model, materialIndex) || !Reader_Read(r, &model->box, sizeof model->box) ||
        !Reader_Get(r, &model->numExtras))
        return 0;
    const uint64_t extras = (uint64_t)model->numExtras * kMeshExtraSize;
    if (extras > r->remaining) return 0;
    if (!extras) return 1;
    model->pExtras = malloc((size_t)extras);
    return model->pExtras && Reader_Read(r, model->pExtras, extras);
}

}  // namespace

Model* renderModel_ReadMeshModel(stdFileHandle file)
{
    Reader r;
    if (!Reader_Attach(&r, file)) return nullptr;
    static QevHeader header;
    header = QevHeader{};
    if (!ReadMaterialNames(&r, &header) || !Reader_Get(&r, &header.numVerts) ||
        !Reader_Get(&r, &header.numTris) || !Reader_Get(&r, &header.numParts) ||
        !Reader_Get(&r, &header.flags))
        return nullptr;
    // The counts are the file's: the block they size is allocated only once the file is known
    // to hold the vertices, triangles and parts, the box and the extras' count.
    const uint64_t body = (uint64_t)header.numVerts * sizeof(ModelVertex) +
                          (uint64_t)header.numTris * sizeof(ModelTriangle) +
                          (uint64_t)header.numParts * kPartSize + sizeof(Model::box) +
                          sizeof(Model::numExtras);
    if (body > r.remaining) return nullptr;
    // One identity bone and one empty group; no collapse map follows.
    header.numBones = 1;
    header.numAttach = 1;
    header.flags &= ~MODEL_COLLAPSE_MAP;
    Model* model = AllocBlock(&header);
    if (!model) return nullptr;
    mathFrame_Identity(&model->pBones[0].frame);
    memset(model->pAttach, 0, sizeof(ModelAttach));
    snprintf(model->name, MODEL_NAME_SIZE, "AUTO_%x", (unsigned)(uintptr_t)model);
    model->numMaterials = (uint8_t)header.numMaterials;
    if (header.numMaterials) {
        model->ppMaterials = (Material**)calloc(header.numMaterials, sizeof(Material*));
        if (!model->ppMaterials) {
            free(model);
            return nullptr;
        }
    }
    std::vector<int32_t> materialIndex;
    if (!ReadMeshBody(&r, model, &materialIndex)) {
        // Not in the table: the ring frees it when its slot comes round again.
        renderModel_Park(model);
        return nullptr;
    }
    LoadMaterials(model, &header, 0, materialIndex);
    FillCorners(model);
    return model;
}

namespace {

bool HasCollapseMap(const Model* model)
{
    return (model->flags & MODEL_COLLAPSE_MAP) && model->pCollapse;
}

// Follows the collapse map from vertex v until it lies below target. A cyclic or damaged map
// cannot hold the walk: it takes at most numVerts steps and stops at an index it cannot follow.
uint16_t Collapse(uint16_t v, uint16_t target, const ModelPart* part)
{
    for (uint32_t steps = 0; v >= target && v < part->numVerts && steps < part->numVerts; steps++)
        v = part->pCollapse[v];
    return v;
}

void RebuildPart(InstancePart* ip, uint16_t target)
{
    const ModelPart* part = ip->pModelPart;
    ip->lodVerts = target;
    ip->drawTris = part->numTris;
    for (uint32_t t = 0; t < part->numTris; t++) {
        ModelTriangle tri;
        for (int k = 0; k < 3; k++) tri.v[k] = Collapse(part->pTris[t].v[k], target, part);
        ip->pTris[t] = tri;
        // Triangles collapse in order: the first one that became an edge ends the list.
        if (tri.v[0] == tri.v[1] || tri.v[1] == tri.v[2] || tri.v[2] == tri.v[0]) {
            ip->drawTris = (uint16_t)t;
            break;
        }
    }
}

}  // namespace

void renderModel_SetLOD(ModelInstance* instance, float detail)
{
    if (!instance || !HasCollapseMap(instance->pModel) || std::isnan(detail)) return;
    if (detail < renderSettings_current.modelLODMin) detail = renderSettings_current.modelLODMin;
    if (detail > renderSettings_current.modelLODMax) detail = renderSettings_current.modelLODMax;
    if (detail == instance->detail) return;
    for (ModelInstance* child : instance->children) renderModel_SetLOD(child, detail);
    const Model* model = instance->pModel;
    for (uint32_t i = 0; i < model->numParts; i++) {
        InstancePart* ip = &instance->pParts[i];
        const ModelPart* part = ip->pModelPart;
        float keep = (float)part->minVerts + (float)(part->numVerts - part->minVerts) * detail;
        uint16_t target = keep > 0.0f ? (uint16_t)(uint32_t)keep : 0;
        if (target != ip->lodVerts) RebuildPart(ip, target);
    }
    instance->detail = detail;
}
