// Model files (.qev) read into one block per model, and the model cache: a named table,
// reference counts, and a ring of 32 released models that a later load revives.
#pragma once
#include <cstdint>

#include "modelRecord.h"
#include "stdFile.h"

enum {
    RENDERMODEL_PATH_SIZE = 128,
    RENDERMODEL_MAX_MATERIALS = 255,
    RENDERMODEL_MAX_ATTACH = 255,
};

// renderModel_Load flags; the other bits go to the material loader.
enum : uint32_t { RENDERMODEL_NO_MATERIALS = 0x1 };

int renderModel_Startup();
int renderModel_Shutdown();
Model* renderModel_Load(const char* name, uint32_t flags);
void renderModel_Release(Model* model);
void renderModel_Free(Model* model);
void renderModel_CacheMaterials(Model* model);
int renderModel_FindMaterial(const Model* model, const Material* material);
Model* renderModel_ReadSkeleton(const char* fileName, const char* modelName);
void renderModel_Park(Model* model);
void renderModel_Unpark(Model* model);

// The bone-less mesh of a file the caller opened, as a model of its own that is not in the cache
// and holds no reference; null when the file is short or damaged (the model is then parked).
// renderModel_ReadMesh makes its instance.
Model* renderModel_ReadMeshModel(stdFileHandle file);

// The level of detail of an instance of a model with a collapse map: detail is clamped to the
// render settings' range, and each part keeps that share of its collapsible vertices.
void renderModel_SetLOD(ModelInstance* instance, float detail);

// A model's shadow instance is made and freed by the instance module, which sits above this one:
// it names its free here when it makes a shadow, and renderModel_Free hands the shadow to it.
void renderModel_SetShadowFree(void (*pfnFree)(ModelInstance* shadow));

// The model cached under a name, without taking a reference; for tests and tools.
Model* renderModel_Find(const char* name);
