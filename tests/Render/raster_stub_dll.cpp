// Small raster libraries for the binding refusals, built from this one source:
// RASTER_STUB_VERSION is the version it writes, RASTER_STUB_NULL_SLOT a slot it leaves null
// (0: none), RASTER_STUB_NO_EXPORT leaves rlMain_Initialize out. Every slot points to one
// counting operation; rasterStub_CallCount tells how often the table was called through.
#include <cstdint>

#include "rasterLib.h"

namespace {

int g_calls;

}  // namespace

extern "C" __declspec(dllexport) int __cdecl rasterStub_CallCount()
{
    return g_calls;
}

#ifndef RASTER_STUB_NO_EXPORT
namespace {

int __cdecl Counted()
{
    return ++g_calls;
}

}  // namespace

extern "C" __declspec(dllexport) void __cdecl rlMain_Initialize(rasterLib* table)
{
    uint32_t* words = (uint32_t*)table;
    words[0] = RASTER_STUB_VERSION;
    for (int slot = 1; slot <= RASTER_LIB_NUM_SLOTS; slot++)
        words[slot] = slot == RASTER_STUB_NULL_SLOT ? 0 : (uint32_t)(uintptr_t)&Counted;
}
#endif
