// Models (.qev): the model loader (without its materials) and the skeleton reader, then an
// instance of the model at two levels of detail, drawn through the recording raster table, and
// its shadow instance; and the bone-less mesh reader on the same bytes after the version word.
#include <initializer_list>

#include "fuzzSupport.h"
#include "mathFrame.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "stdFile.h"

namespace {

const char kFile[] = "fuzz.QEV";
const uint32_t kNoMaterials = 0x1;

// The lowest and a middle level of detail walk the collapse map; a draw evaluates the bones
// and sets the level from the distance.
void Draw(ModelInstance* instance)
{
    for (float detail : {0.0f, 0.5f}) renderModel_SetLOD(instance, detail);
    mathFrame frame;
    mathFrame_Identity(&frame);
    frame.m[10] = 250.0f;  // near the camera
    renderModel_Draw(instance, &frame, 0);
    fuzz::NextFrame(16);
}

void ReadMesh()
{
    stdFileHandle file = stdFile_Open(kFile, "rb", STDFILE_TYPE_MODEL);
    if (!file) return;
    ModelInstance* mesh = stdFile_Seek(file, 4, 0) == 0 ? renderModel_ReadMesh(file) : nullptr;
    stdFile_Close(file);
    if (mesh) {
        Draw(mesh);
        renderModelInstance_Free(mesh, 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartLibraries();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput(kFile, data, size);
    fuzz::Scope scope(size);
    if (Model* model = renderModel_Load("fuzz", kNoMaterials)) {
        if (ModelInstance* instance = renderModelInstance_Create(model)) {
            Draw(instance);
            renderModelInstance_Free(instance, 0);
        }
        renderModel_GetShadowInstance(model);
        renderModel_Release(model);
    }
    if (Model* skeleton = renderModel_ReadSkeleton(kFile, "skeleton")) renderModel_Free(skeleton);
    ReadMesh();
    // Released models wait on the cache's ring: the shutdown frees them.
    renderModel_Shutdown();
    renderModel_Startup();
    return 0;
}
