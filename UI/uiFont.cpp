#include "uiFont.h"

#include "uiResource.h"
#include "uiTextRun.h"

namespace {

stdFont* g_pDefault;

}  // namespace

stdFont* uiFont_LoadDefault()
{
    if (!g_pDefault) g_pDefault = uiResource_LoadFont(UIFONT_DEFAULT_NAME);
    return g_pDefault;
}

void uiFont_FreeDefault()
{
    uiTextRun_FreeAll();
    if (!g_pDefault) return;
    uiResource_FreeFont(g_pDefault);
    g_pDefault = nullptr;
}

stdFont* uiFont_GetDefault()
{
    return g_pDefault;
}

void uiFont_Unused1(uint32_t) {}
void uiFont_Unused2(uint32_t, uint32_t) {}
