// Internal invariants of the render front-end. A failed one is reported with its expression
// text, source file and line through the front-end's assertion hook, and execution goes on.
// The macros sit below every module that states an assertion; the hook is the render main
// module's and lives in renderMainAssert.cpp on its own, so that a test program may define its
// own renderMain_AssertHook in place of it.
#pragma once

void renderMain_AssertHook(const char* expression, const char* file, int line);

#define RENDER_ASSERT(cond) \
    ((cond) ? (void)0 : renderMain_AssertHook(#cond, __FILE__, __LINE__))
#define RENDER_ASSERT_TEXT(cond, text) \
    ((cond) ? (void)0 : renderMain_AssertHook(text, __FILE__, __LINE__))
