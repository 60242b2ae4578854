#include "uiFont.h"

#include "uiResource.h"

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
    if (!g_pDefault) return;
    uiResource_FreeFont(g_pDefault);
    g_pDefault = nullptr;
}

stdFont* uiFont_GetDefault()
{
    return g_pDefault;
}
