#include "renderLightGroup.h"

LightGroup renderLightGroup_table[LIGHTGROUP_COUNT];

namespace {

int InTable(int group)
{
    return group >= 0 && group < LIGHTGROUP_COUNT;
}

// factor x 255 as a byte; factors outside 0 to 1 stop at the ends instead of wrapping.
uint8_t AlphaOf(float factor)
{
    float level = factor * 255.0f;
    if (level <= 0.0f) return 0;
    if (level >= 255.0f) return 255;
    return (uint8_t)level;
}

}  // namespace

void renderLightGroup_Reset()
{
    for (LightGroup& group : renderLightGroup_table) {
        group.enabled = 0;
        group.updated = 0;
        group.factor = 1.0f;
        group.alpha = 255;
        group.pfnFactor = nullptr;
    }
    // Group 0 and groups 16 to 23 start enabled.
    for (int index = 0; index < LIGHTGROUP_COUNT; index++) {
        if (index == 0 || (index >= 16 && index <= 23)) {
            renderLightGroup_table[index].enabled = 1;
            renderLightGroup_table[index].updated = 1;
        }
    }
}

int renderLightGroup_Set(int group, LightGroupFactorFunc callback, float factor)
{
    if (!InTable(group)) return 0;
    LightGroup& entry = renderLightGroup_table[group];
    entry.enabled = 1;
    entry.updated = 1;
    entry.factor = factor;
    entry.pfnFactor = callback;
    return 1;
}

float renderLightGroup_GetFactor(int group)
{
    if (!InTable(group) || !renderLightGroup_table[group].enabled) return 0.0f;
    return renderLightGroup_table[group].factor;
}

void renderLightGroup_Update(int argument)
{
    for (int index = 0; index < LIGHTGROUP_COUNT; index++) {
        LightGroup& entry = renderLightGroup_table[index];
        if (entry.updated) {
            if (entry.pfnFactor) entry.factor = entry.pfnFactor(index, argument);
            entry.alpha = AlphaOf(entry.factor);
        }
        if (!entry.enabled) entry.alpha = 0;
    }
}
