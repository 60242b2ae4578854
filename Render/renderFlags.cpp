#include "renderFlags.h"

#include "renderMainRaster.h"

namespace {

uint32_t g_flags;

void Change(uint32_t flags)
{
    if (flags == g_flags) return;
    g_flags = flags;
    if (renderMain_IsBound()) renderMain_rasterLib.funcMode_SetFlags(g_flags);
}

}  // namespace

void renderFlags_Set(uint32_t bits) { Change(g_flags | bits); }
void renderFlags_Clear(uint32_t bits) { Change(g_flags & ~bits); }
void renderFlags_Toggle(uint32_t bits) { Change(g_flags ^ bits); }
uint32_t renderFlags_Get() { return g_flags; }
