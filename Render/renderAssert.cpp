#include "renderAssert.h"

#include <cstdint>

namespace {

rlFuncMain_Shutdown g_pfnShutdown;
uint32_t g_bInAssert;

// The viewer's routine: expression, file and line are neither shown nor kept.
void ViewerRoutine(const char* /*expression*/, const char* /*file*/, int /*line*/)
{
    if (g_bInAssert || !g_pfnShutdown) return;
    g_bInAssert = 1;
    g_pfnShutdown();
    g_bInAssert = 0;
}

renderAssertFunc g_pfnHook = ViewerRoutine;

}  // namespace

void renderAssert_Fail(const char* expression, const char* file, int line)
{
    g_pfnHook(expression, file, line);
}

renderAssertFunc renderAssert_SetHook(renderAssertFunc hook)
{
    renderAssertFunc previous = g_pfnHook;
    g_pfnHook = hook ? hook : ViewerRoutine;
    return previous;
}

void renderAssert_SetShutdown(rlFuncMain_Shutdown shutdown)
{
    g_pfnShutdown = shutdown;
}
