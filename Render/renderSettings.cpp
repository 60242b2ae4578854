#include "renderSettings.h"

#include <cstdlib>
#include <cstring>

#include "renderLightGroup.h"
#include "stdConfig.h"

renderSettings renderSettings_current;

namespace {

struct ShadowRow {
    uint32_t mode;
    float detail, height, maxDist, fullDist;
};

const ShadowRow kShadowRows[10] = {
    {0, 0.0f, 2.0f, 500, 1000},   {1, 0.1f, 2.0f, 500, 1000},   {1, 0.1f, 2.0f, 1000, 2000},
    {2, 0.15f, 2.0f, 1000, 2000}, {2, 0.15f, 3.0f, 1600, 3000}, {3, 0.15f, 3.0f, 1600, 3000},
    {3, 0.25f, 3.0f, 1600, 3000}, {3, 0.5f, 3.0f, 2000, 4000},  {3, 0.8f, 3.0f, 2000, 4000},
    {3, 1.0f, 4.0f, 3000, 6000},
};

struct LODRow {
    float scale, minDist, min, max;
};

const LODRow kLODRows[10] = {
    {0.04f, 100, 0.0f, 0.5f},  {0.03f, 100, 0.0f, 0.6f},  {0.025f, 130, 0.0f, 0.8f},
    {0.02f, 150, 0.1f, 0.9f},  {0.015f, 180, 0.1f, 1.0f}, {0.015f, 200, 0.2f, 1.0f},
    {0.01f, 200, 0.2f, 1.0f},  {0.005f, 400, 0.4f, 1.0f}, {0.002f, 800, 0.6f, 1.0f},
    {0.001f, 1000, 1.0f, 1.0f},
};

// The row that only sets its index.
const uint32_t kIndexOnlyRow = 10;

struct PresetRow {
    uint32_t detailFlags, lodRow, shadowRow, maxThingShadows;
    uint8_t maxThingLights;
    uint32_t maxDecals;
    float particleLOD;
};

const PresetRow kPresetRows[4] = {
    {0x39D, 1, 0, 0, 1, 0, 0.2f},
    {0x210, 3, 2, 1, 2, 250, 0.5f},
    {0, 6, 5, 1, 4, 500, 1.0f},
    {0, 8, 7, 1, 4, 500, 1.0f},
};

renderDetailPreset g_presets[RENDER_NUM_PRESETS];

stdConfig_Section g_sectionRender("render");
stdConfig_Section g_sectionCustom("renderCustom");

float NotBelowZero(float value)
{
    return value > 0.0f ? value : 0.0f;
}

void SaveAtExit()
{
    renderSettings_Save(&renderSettings_current);
}

// Builds the record before the program's entry and saves it when the process ends.
struct Builder {
    Builder()
    {
        renderSettings_Construct(&renderSettings_current);
        atexit(SaveAtExit);
    }
} g_builder;

}  // namespace

renderDetailPreset* renderSettings_GetPreset(int index)
{
    return (index >= 0 && index < RENDER_NUM_PRESETS) ? &g_presets[index] : nullptr;
}

void renderSettings_SetShadowRow(renderDetailPreset* preset, uint32_t index)
{
    if (index > kIndexOnlyRow) return;
    preset->shadowDetailIndex = index;
    if (index == kIndexOnlyRow) return;
    const ShadowRow& row = kShadowRows[index];
    preset->shadowMode = row.mode;
    preset->shadowDetail = row.detail;
    preset->shadowHeight = row.height;
    preset->shadowMaxDist = row.maxDist;
    preset->shadowFullDist = row.fullDist;
}

void renderSettings_SetLODRow(renderDetailPreset* preset, uint32_t index)
{
    if (index > kIndexOnlyRow) return;
    preset->modelLODIndex = index;
    if (index == kIndexOnlyRow) return;
    const LODRow& row = kLODRows[index];
    preset->modelLODScale = row.scale;
    preset->modelLODMinDist = row.minDist;
    preset->modelLODMin = row.min;
    preset->modelLODMax = row.max;
}

void renderSettings_Construct(renderSettings* settings)
{
    for (int i = 0; i < 4; i++) {
        const PresetRow& row = kPresetRows[i];
        renderDetailPreset* p = &g_presets[i];
        memset(p, 0, sizeof *p);
        p->detailFlags = row.detailFlags;
        p->optionFlags = 0;
        p->maxMipSize = 256;
        p->maxMips = 4;
        p->skipMips = 0;
        p->maxThingLights = row.maxThingLights;
        p->maxThingShadows = row.maxThingShadows;
        p->maxDecals = row.maxDecals;
        p->particleLOD = row.particleLOD;
        p->uiHeadLOD = row.particleLOD;
        renderSettings_SetLODRow(p, row.lodRow);
        renderSettings_SetShadowRow(p, row.shadowRow);
    }
    g_presets[RENDER_PRESET_CUSTOM] = g_presets[2];

    memset(settings, 0, sizeof *settings);
    settings->curDetailLevel = RENDER_PRESET_CUSTOM;
    renderSettings_ApplyPreset(settings, &g_presets[2]);
    settings->reqScreenWidth = settings->screenWidth = 640;
    settings->reqScreenHeight = settings->screenHeight = 480;
    settings->curDetailLevel = 2;
    settings->reqScreenDepth = settings->screenDepth = 16;
    settings->gamma = 1.4f;
    settings->pLightGroups = renderLightGroup_table;
    strncpy(settings->driver, "blitvane.dll", sizeof settings->driver - 1);
    settings->driver[sizeof settings->driver - 1] = 0;
}

void renderSettings_ApplyPreset(renderSettings* settings, const renderDetailPreset* preset)
{
    if (!settings || !preset) return;
    settings->optionFlags = preset->optionFlags | (settings->optionFlags & RENDER_OPTION_WINDOWED);
    settings->modelLODIndex = preset->modelLODIndex;
    settings->detailFlags = preset->detailFlags;
    if (preset->maxDecals == 0) settings->detailFlags |= RENDER_DETAIL_NO_DECALS;
    else settings->detailFlags &= ~(uint32_t)RENDER_DETAIL_NO_DECALS;
    settings->modelLODScale = NotBelowZero(preset->modelLODScale);
    settings->modelLODMinDist = NotBelowZero(preset->modelLODMinDist);

    float oldMax = settings->modelLODMax;
    float lodMin = preset->modelLODMin < 0.0f ? 0.0f : preset->modelLODMin;
    if (lodMin > oldMax) lodMin = oldMax;
    settings->modelLODMin = lodMin;
    if (preset->modelLODMax < lodMin) settings->modelLODMax = lodMin;
    else settings->modelLODMax = preset->modelLODMax > 1.0f ? 1.0f : preset->modelLODMax;

    settings->maxMipSize = preset->maxMipSize < 32 ? 32 : preset->maxMipSize;
    settings->maxMips = preset->maxMips > 8 ? 8 : preset->maxMips;
    settings->skipMips = preset->skipMips > 3 ? 3 : preset->skipMips;
    settings->shadowDetail = preset->shadowDetail;
    settings->shadowHeight = preset->shadowHeight;
    settings->shadowMaxDist = preset->shadowMaxDist;
    settings->shadowFullDist = preset->shadowFullDist;
    settings->shadowDetailIndex = preset->shadowDetailIndex;
    settings->shadowMode = preset->shadowMode;
    settings->maxThingShadows = preset->maxThingShadows;
    settings->maxDecals = preset->maxDecals;
    if (preset->maxThingLights <= 8) settings->maxThingLights = preset->maxThingLights;
    settings->particleLOD = NotBelowZero(preset->particleLOD);
    settings->uiHeadLOD = NotBelowZero(preset->uiHeadLOD);
}

int renderSettings_SelectPreset(renderSettings* settings, int index)
{
    renderDetailPreset* preset = renderSettings_GetPreset(index);
    if (!settings || !preset) return 0;
    renderSettings_ApplyPreset(settings, preset);
    settings->curDetailLevel = (uint32_t)index;
    return 1;
}

namespace {

// The keys of both sections, in the order they are written, with where each value lives.
enum KeyKind { KEY_INT, KEY_U8, KEY_FLOAT };

struct KeyInfo {
    const char* key;
    KeyKind kind;
    size_t offset;
};

#define SETTING(key, kind) {#key, kind, offsetof(renderSettings, key)}
const KeyInfo kRenderKeys[] = {
    SETTING(curDetailLevel, KEY_INT),    SETTING(debugFlags, KEY_INT),
    SETTING(optionFlags, KEY_INT),       SETTING(useDevice, KEY_INT),
    SETTING(detailFlags, KEY_INT),       SETTING(modelLODIndex, KEY_INT),
    SETTING(modelLODScale, KEY_FLOAT),   SETTING(modelLODMinDist, KEY_FLOAT),
    SETTING(modelLODMin, KEY_FLOAT),     SETTING(modelLODMax, KEY_FLOAT),
    SETTING(maxMipSize, KEY_INT),        SETTING(maxMips, KEY_INT),
    SETTING(skipMips, KEY_INT),          SETTING(shadowDetailIndex, KEY_INT),
    SETTING(shadowMode, KEY_INT),        SETTING(shadowDetail, KEY_FLOAT),
    SETTING(shadowHeight, KEY_FLOAT),    SETTING(shadowMaxDist, KEY_FLOAT),
    SETTING(shadowFullDist, KEY_FLOAT),  SETTING(maxThingShadows, KEY_INT),
    SETTING(maxThingLights, KEY_U8),     SETTING(maxDecals, KEY_INT),
    SETTING(particleLOD, KEY_FLOAT),     SETTING(uiHeadLOD, KEY_FLOAT),
    SETTING(gamma, KEY_FLOAT),
};
#undef SETTING

#define PRESET(key, kind) {#key, kind, offsetof(renderDetailPreset, key)}
const KeyInfo kCustomKeys[] = {
    PRESET(optionFlags, KEY_INT),       PRESET(detailFlags, KEY_INT),
    PRESET(modelLODIndex, KEY_INT),     PRESET(modelLODScale, KEY_FLOAT),
    PRESET(modelLODMinDist, KEY_FLOAT), PRESET(modelLODMin, KEY_FLOAT),
    PRESET(modelLODMax, KEY_FLOAT),     PRESET(maxMipSize, KEY_INT),
    PRESET(maxMips, KEY_INT),           PRESET(skipMips, KEY_INT),
    PRESET(shadowDetailIndex, KEY_INT), PRESET(shadowMode, KEY_INT),
    PRESET(shadowDetail, KEY_FLOAT),    PRESET(shadowHeight, KEY_FLOAT),
    PRESET(shadowMaxDist, KEY_FLOAT),   PRESET(shadowFullDist, KEY_FLOAT),
    PRESET(maxThingShadows, KEY_INT),   PRESET(maxThingLights, KEY_U8),
    PRESET(maxDecals, KEY_INT),         PRESET(particleLOD, KEY_FLOAT),
    PRESET(uiHeadLOD, KEY_FLOAT),
};
#undef PRESET

void WriteKeys(const stdConfig_Section* section, const KeyInfo* keys, size_t count, const void* record)
{
    const uint8_t* base = (const uint8_t*)record;
    for (size_t i = 0; i < count; i++) {
        const void* field = base + keys[i].offset;
        switch (keys[i].kind) {
        case KEY_INT: stdConfig_WriteInt(section, keys[i].key, *(const int32_t*)field); break;
        case KEY_U8: stdConfig_WriteInt(section, keys[i].key, *(const uint8_t*)field); break;
        case KEY_FLOAT: stdConfig_WriteFloat(section, keys[i].key, *(const float*)field); break;
        }
    }
}

void ReadKeys(const stdConfig_Section* section, const KeyInfo* keys, size_t count, void* record)
{
    uint8_t* base = (uint8_t*)record;
    for (size_t i = 0; i < count; i++) {
        void* field = base + keys[i].offset;
        switch (keys[i].kind) {
        case KEY_INT:
            *(int32_t*)field = stdConfig_ReadInt(section, keys[i].key, *(int32_t*)field);
            break;
        case KEY_U8:
            *(uint8_t*)field = (uint8_t)stdConfig_ReadInt(section, keys[i].key, *(uint8_t*)field);
            break;
        case KEY_FLOAT:
            *(float*)field = stdConfig_ReadFloat(section, keys[i].key, *(float*)field);
            break;
        }
    }
}

}  // namespace

void renderSettings_Save(const renderSettings* settings)
{
    WriteKeys(&g_sectionRender, kRenderKeys, sizeof kRenderKeys / sizeof kRenderKeys[0], settings);
    stdConfig_WriteInt(&g_sectionRender, "screenWidth", settings->screenWidth);
    stdConfig_WriteInt(&g_sectionRender, "screenHeight", settings->screenHeight);
    stdConfig_WriteInt(&g_sectionRender, "screenDepth", settings->screenDepth);
    stdConfig_WriteString(&g_sectionRender, "driver", settings->driver);
    WriteKeys(&g_sectionCustom, kCustomKeys, sizeof kCustomKeys / sizeof kCustomKeys[0],
              &g_presets[RENDER_PRESET_CUSTOM]);
}

void renderSettings_Load(renderSettings* settings)
{
    uint32_t device = settings->useDevice;
    ReadKeys(&g_sectionRender, kRenderKeys, sizeof kRenderKeys / sizeof kRenderKeys[0], settings);
    // Only the low byte of the device index is read.
    settings->useDevice = (device & ~0xFFu) | (settings->useDevice & 0xFFu);
    int windowed = (settings->optionFlags & RENDER_OPTION_WINDOWED) != 0;
    if (stdConfig_ReadBool(&g_sectionRender, "windowed", windowed))
        settings->optionFlags |= RENDER_OPTION_WINDOWED;
    else
        settings->optionFlags &= ~(uint32_t)RENDER_OPTION_WINDOWED;
    settings->screenWidth = (uint16_t)stdConfig_ReadInt(&g_sectionRender, "screenWidth", settings->screenWidth);
    settings->screenHeight = (uint16_t)stdConfig_ReadInt(&g_sectionRender, "screenHeight", settings->screenHeight);
    settings->screenDepth = (uint8_t)stdConfig_ReadInt(&g_sectionRender, "screenDepth", settings->screenDepth);
    char driver[RENDER_DRIVER_SIZE] = {};
    stdConfig_ReadString(&g_sectionRender, "driver", driver, sizeof driver, settings->driver);
    memcpy(settings->driver, driver, sizeof driver);
    ReadKeys(&g_sectionCustom, kCustomKeys, sizeof kCustomKeys / sizeof kCustomKeys[0],
             &g_presets[RENDER_PRESET_CUSTOM]);
    if (settings->optionFlags & RENDER_OPTION_WINDOWED) {
        for (renderDetailPreset& preset : g_presets) preset.optionFlags |= RENDER_OPTION_WINDOWED;
    }
}
