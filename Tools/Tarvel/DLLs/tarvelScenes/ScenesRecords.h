// Records that the host and the scenes panel exchange through the exports. The host allocates
// them; their byte layout is fixed and checked here.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int SCENES_MAX = 16;
constexpr int SCENES_LAYERS = 32;
constexpr int SCENES_NAME_LEN = 32;
extern const char* const StaticSceneName;  // "__STATIC SCENE__"

struct LayersInfo {
    uint8_t host[8];  // the host's own bytes, never touched
    char layerName[SCENES_LAYERS][SCENES_NAME_LEN];
};
static_assert(sizeof(LayersInfo) == 1032);
static_assert(offsetof(LayersInfo, layerName) == 8);

struct SceneInfo {
    char name[SCENES_NAME_LEN];
    uint32_t layerMask;
    uint32_t flags;
    char music[SCENES_NAME_LEN];
    int32_t musicVolume;
    char ambient[SCENES_NAME_LEN];
    int32_t ambientVolume;
    uint32_t soundEffects;
    int32_t eaxPreset;
    int32_t fogMode;
    float fogR, fogG, fogB;
    float fogDist1, fogDist2;
    float zClipDist;
    uint32_t atmEffects;
    char skyModel[SCENES_NAME_LEN];
    char skyAnim[SCENES_NAME_LEN];
};
static_assert(sizeof(SceneInfo) == 216);
static_assert(offsetof(SceneInfo, name) == 0);
static_assert(offsetof(SceneInfo, layerMask) == 32);
static_assert(offsetof(SceneInfo, flags) == 36);
static_assert(offsetof(SceneInfo, music) == 40);
static_assert(offsetof(SceneInfo, musicVolume) == 72);
static_assert(offsetof(SceneInfo, ambient) == 76);
static_assert(offsetof(SceneInfo, ambientVolume) == 108);
static_assert(offsetof(SceneInfo, soundEffects) == 112);
static_assert(offsetof(SceneInfo, eaxPreset) == 116);
static_assert(offsetof(SceneInfo, fogMode) == 120);
static_assert(offsetof(SceneInfo, fogR) == 124);
static_assert(offsetof(SceneInfo, fogG) == 128);
static_assert(offsetof(SceneInfo, fogB) == 132);
static_assert(offsetof(SceneInfo, fogDist1) == 136);
static_assert(offsetof(SceneInfo, fogDist2) == 140);
static_assert(offsetof(SceneInfo, zClipDist) == 144);
static_assert(offsetof(SceneInfo, atmEffects) == 148);
static_assert(offsetof(SceneInfo, skyModel) == 152);
static_assert(offsetof(SceneInfo, skyAnim) == 184);

struct ScenesInfo {
    char sceneListName[SCENES_NAME_LEN];
    uint32_t sceneCount;
    SceneInfo scene[SCENES_MAX];
    SceneInfo staticScene;
};
static_assert(sizeof(ScenesInfo) == 3708);
static_assert(offsetof(ScenesInfo, sceneListName) == 0);
static_assert(offsetof(ScenesInfo, sceneCount) == 32);
static_assert(offsetof(ScenesInfo, scene) == 36);
static_assert(offsetof(ScenesInfo, staticScene) == 3492);

typedef void (*ScenesCloseCallback)(void);
typedef void (*ScenesSaveCallback)(void);
typedef void (*ScenesRenameCallback)(void);
typedef const char* (*ScenesGLSCallback)(const char* id);
