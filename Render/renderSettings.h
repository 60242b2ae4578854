// The render settings: one record per process, built with its defaults before the program's
// entry, handed to the raster library at device open and written to palvera.ini at exit.
// Five detail presets (four fixed, one custom) and the shadow and level-of-detail rows fill
// its detail fields.
#pragma once
#include <cstdint>

#include "renderSettingsRecord.h"

struct renderDetailPreset {
    uint32_t detailFlags;
    uint32_t optionFlags;
    uint32_t modelLODIndex;
    float modelLODScale;
    float modelLODMinDist;
    float modelLODMin;
    float modelLODMax;
    uint32_t maxMipSize;
    uint32_t maxMips;
    uint32_t skipMips;
    uint8_t maxThingLights;
    uint32_t shadowMode;
    uint32_t shadowDetailIndex;
    float shadowDetail;
    float shadowHeight;
    float shadowMaxDist;
    float shadowFullDist;
    uint32_t maxThingShadows;
    uint32_t maxDecals;
    float particleLOD;
    float uiHeadLOD;
};

enum {
    RENDER_NUM_PRESETS = 5,
    RENDER_PRESET_CUSTOM = 4,
};

extern renderSettings renderSettings_current;

void renderSettings_Construct(renderSettings* settings);
renderDetailPreset* renderSettings_GetPreset(int index);
void renderSettings_SetShadowRow(renderDetailPreset* preset, uint32_t index);
void renderSettings_SetLODRow(renderDetailPreset* preset, uint32_t index);
void renderSettings_ApplyPreset(renderSettings* settings, const renderDetailPreset* preset);
int renderSettings_SelectPreset(renderSettings* settings, int index);
void renderSettings_Save(const renderSettings* settings);
void renderSettings_Load(renderSettings* settings);
