#include <cstdint>

#include "renderAssert.h"
#include "renderMainRaster.h"

namespace {

uint32_t g_bInAssert;

}  // namespace

// The viewer's assertion failure routine: expression, file and line are neither shown nor
// kept. A full-screen display is given back through the raster library's shutdown, once at a
// time and only when the table is bound; then the caller carries on.
void renderMain_AssertHook(const char* /*expression*/, const char* /*file*/, int /*line*/)
{
    if (g_bInAssert || !renderMain_IsBound()) return;
    g_bInAssert = 1;
    renderMain_rasterLib.funcMain_Shutdown();
    g_bInAssert = 0;
}
