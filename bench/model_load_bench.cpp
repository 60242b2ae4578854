// Loading a model file through renderModel_Load against the simplest loader of the same model:
// the counts read from the header, one block laid out as the loader lays it, every array read
// straight into its place and the bones and parts linked, with nothing checked (the file is the
// benchmark's own). Models of growing size up to one part of 65,535 vertices; the ratio is the
// price of the loader's checks and cache and should stay flat as the file grows.
//
//   render_model_bench.exe [rounds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench.h"
#include "fixtureFiles.h"
#include "fixtureQev.h"
#include "renderModel.h"
#include "stdFile.h"

namespace {

template <class T>
T* Take(uint8_t*& at, size_t count)
{
    T* first = reinterpret_cast<T*>(at);
    at += count * sizeof(T);
    return first;
}

template <class T>
T At(const uint8_t* bytes, size_t offset)
{
    T value;
    memcpy(&value, bytes + offset, sizeof value);
    return value;
}

Model* BareLoad(const char* path)
{
    stdFileHandle file = stdFile_Open(path, "rb", STDFILE_TYPE_MODEL);
    uint8_t head[8], counts[18];
    stdFile_Read(head, sizeof head, 1, file);   // version, number of material names
    stdFile_Seek(file, (long)At<uint32_t>(head, 4) * 32, SEEK_CUR);
    stdFile_Read(counts, sizeof counts, 1, file);
    const uint16_t numBones = At<uint16_t>(counts, 0), numAttach = At<uint16_t>(counts, 2);
    const uint32_t numVerts = At<uint32_t>(counts, 4), numTris = At<uint32_t>(counts, 8);
    const uint16_t numParts = At<uint16_t>(counts, 12);
    const uint32_t flags = At<uint32_t>(counts, 14);
    const bool collapse = (flags & MODEL_COLLAPSE_MAP) != 0;
    const size_t size = sizeof(Model) + numBones * sizeof(ModelBone) + numAttach * sizeof(ModelAttach) +
                        numParts * sizeof(ModelPart) + numVerts * sizeof(ModelVertex) +
                        numTris * sizeof(ModelTriangle) + (collapse ? numVerts * 2u : 0u);
    uint8_t* block = (uint8_t*)calloc(1, size);
    Model* model = (Model*)block;
    uint8_t* at = block + sizeof(Model);
    model->pBones = Take<ModelBone>(at, numBones);
    model->pAttach = Take<ModelAttach>(at, numAttach);
    model->pParts = Take<ModelPart>(at, numParts);
    model->pVerts = Take<ModelVertex>(at, numVerts);
    model->pTris = Take<ModelTriangle>(at, numTris);
    model->pCollapse = collapse ? Take<uint16_t>(at, numVerts) : nullptr;
    model->flags = flags;
    model->numBones = numBones;
    model->numAttach = (uint8_t)numAttach;
    model->numParts = numParts;
    model->numVerts = numVerts;
    model->numTris = numTris;

    stdFile_Read(&model->box, sizeof model->box, 1, file);
    // A version 7 bone: translation, rest frame, links A and B and the parent.
    std::vector<uint8_t> bones(numBones * 66u);
    stdFile_Read(bones.data(), 66, numBones, file);
    for (uint32_t i = 0; i < numBones; i++) {
        ModelBone& bone = model->pBones[i];
        const uint8_t* record = &bones[i * 66u];
        bone.translation = At<mathVec3>(record, 0);
        bone.frame = At<mathFrame>(record, 12);
        ModelBone** links[3] = {&bone.pLinkA, &bone.pLinkB, &bone.pParent};
        for (int k = 0; k < 3; k++) {
            const int16_t link = At<int16_t>(record, 60 + 2 * k);
            *links[k] = link >= 0 ? &model->pBones[link] : nullptr;
        }
    }
    stdFile_Read(model->pAttach, sizeof(ModelAttach), numAttach, file);
    stdFile_Read(model->pVerts, sizeof(ModelVertex), numVerts, file);
    if (collapse) stdFile_Read(model->pCollapse, 2, numVerts, file);
    stdFile_Read(model->pTris, sizeof(ModelTriangle), numTris, file);
    stdFile_Read(model->pParts, sizeof(ModelPart), numParts, file);
    stdFile_Close(file);
    uint32_t firstVert = 0, firstTri = 0;
    for (uint32_t p = 0; p < numParts; p++) {
        ModelPart& part = model->pParts[p];
        part.pMaterial = nullptr;
        part.pVerts = model->pVerts + firstVert;
        part.pTris = model->pTris + firstTri;
        part.pCollapse = collapse ? model->pCollapse + firstVert : nullptr;
        firstVert += part.numVerts;
        firstTri += part.numTris;
    }
    return model;
}

// The bare loader must give the loader's model: the same counts and arrays.
bool SameModel(const Model* a, const Model* b)
{
    return a->numVerts == b->numVerts && a->numTris == b->numTris && a->numParts == b->numParts &&
           a->numBones == b->numBones && !memcmp(a->pVerts, b->pVerts, a->numVerts * sizeof(ModelVertex)) &&
           !memcmp(a->pTris, b->pTris, a->numTris * sizeof(ModelTriangle)) &&
           !a->pCollapse == !b->pCollapse && (!a->pCollapse || !memcmp(a->pCollapse, b->pCollapse, a->numVerts * 2u));
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? atoi(argv[1]) : 21;
    fixtures::WorkFolder work("model_bench");
    fixtures::MakeFolders("3D\\Models");
    stdFile_Startup();
    renderModel_Startup();
    printf("Model load: median of %d loads in ms, ratio = renderModel_Load / bare loader\n", rounds);
    printf("%8s %10s %10s %10s %7s\n", "vertices", "bytes", "bare", "load", "ratio");
    for (int verts : {4096, 16384, 65535}) {
        const fixtures::Bytes bytes = fixtures::QevBytes(fixtures::MakeQevModel({"skin"}, 1, verts, true));
        char name[32];
        snprintf(name, sizeof name, "bench%d.qev", verts);
        fixtures::WriteBytes(std::string("3D\\Models\\") + name, bytes);
        Model* loaded = renderModel_Load(name, RENDERMODEL_NO_MATERIALS);
        Model* bare = BareLoad(name);
        if (!loaded || !SameModel(loaded, bare)) {
            fprintf(stderr, "the bare loader does not give the loader's model of %s\n", name);
            return 1;
        }
        renderModel_Free(loaded);
        free(bare);
        const benchPair t = bench_Compare(
            rounds, [&] { free(BareLoad(name)); },
            [&] { renderModel_Free(renderModel_Load(name, RENDERMODEL_NO_MATERIALS)); });
        printf("%8d %10zu %10.3f %10.3f %7.2f\n", verts, bytes.size(), t.bare * 1000, t.subject * 1000, t.Ratio());
    }
    renderModel_Shutdown();
    stdFile_Shutdown();
    return 0;
}
