#include "uiFont.h"

#include "uiFrame.h"
#include "uiResource.h"

namespace {

stdFont* g_pDefault;

int Bounded(int64_t value, int64_t least)
{
    const int64_t most = UI_COORD_LIMIT;
    return (int)(value < least ? least : value > most ? most : value);
}

}  // namespace

stdFont* uiFont_LoadDefault()
{
    if (!g_pDefault) g_pDefault = uiResource_LoadFont(UIFONT_DEFAULT_NAME);
    return g_pDefault;
}

void uiFont_ReleaseDefault()
{
    if (!g_pDefault) return;
    uiResource_FreeFont(g_pDefault);
    g_pDefault = nullptr;
}

stdFont* uiFont_GetDefault()
{
    return g_pDefault;
}

int uiFont_LineHeight(const stdFont* font)
{
    return font ? Bounded(font->lineHeight, 0) : 0;
}

int uiFont_CharWidth(const stdFont* font, int code)
{
    return font ? Bounded(stdFont_CharWidth(font, code), -UI_COORD_LIMIT) : 0;
}

int uiFont_TextWidth(const stdFont* font, const char* text)
{
    return font ? Bounded(stdFont_TextWidth(font, text), -UI_COORD_LIMIT) : 0;
}

void uiFont_Unused1(uint32_t) {}
void uiFont_Unused2(uint32_t, uint32_t) {}
