// Internal invariants of the viewer's engine. A failed one is reported with its expression
// text, source file and line to the assertion routine in place, and execution goes on.
//
// The viewer's routine shows nothing and keeps nothing: it gives a full-screen display back
// through the raster library's shutdown, which the render front-end hands over when it binds
// a raster table, once at a time (an assertion inside that shutdown does nothing), and then
// the caller carries on. A test puts a routine of its own in place to see what was reported.
#pragma once
#include "rasterLib.h"

typedef void (*renderAssertFunc)(const char* expression, const char* file, int line);

// Reports a failed invariant to the routine in place.
void renderAssert_Fail(const char* expression, const char* file, int line);
// Puts a routine in place (null: the viewer's again); returns the routine that was in place.
renderAssertFunc renderAssert_SetHook(renderAssertFunc hook);
// The raster library's shutdown that the viewer's routine calls; null while no table is bound.
void renderAssert_SetShutdown(rlFuncMain_Shutdown shutdown);

#define RENDER_ASSERT(cond) \
    ((cond) ? (void)0 : renderAssert_Fail(#cond, __FILE__, __LINE__))
#define RENDER_ASSERT_TEXT(cond, text) \
    ((cond) ? (void)0 : renderAssert_Fail(text, __FILE__, __LINE__))
