#include "renderLight.h"

#include "renderLightGroup.h"
#include "renderMainRaster.h"

float renderLight_EffectiveIntensity(const Light* light)
{
    if (light->group == 0 || light->group >= LIGHTGROUP_COUNT) return light->baseIntensity;
    return renderLightGroup_GetFactor((int)light->group) * light->baseIntensity;
}

int renderLight_Add(const mathMatrix* view, Light* light)
{
    if (!light || !renderMain_IsBound()) return 0;
    light->intensity = renderLight_EffectiveIntensity(light);
    renderMain_rasterLib.funcLight_AddLight(view, light, 0);
    return 1;
}

int renderLight_Clear()
{
    if (!renderMain_IsBound()) return 0;
    renderMain_rasterLib.funcLight_ClearLights();
    return 1;
}

int renderLight_SetAmbient(const float* rgb)
{
    if (!rgb || !renderMain_IsBound()) return 0;
    renderMain_rasterLib.funcLight_SetAmbient(rgb);
    return 1;
}
