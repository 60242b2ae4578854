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

// The model's instance for shadows, made at the shadow detail on first request.
ModelInstance* renderModel_GetShadowInstance(Model* model);
// A bone-less mesh read from a file the caller opened, as an instance of a model of its own
// that is not in the cache; null when the file is short or damaged.
ModelInstance* renderModel_ReadMesh(stdFileHandle file);

// The model cached under a name, without taking a reference; for tests and tools.
Model* renderModel_Find(const char* name);
