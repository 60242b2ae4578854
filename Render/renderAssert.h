// Internal invariants of the render front-end. A failed one is reported with its expression
// text, source file and line through the front-end's assertion hook, and execution goes on.
#pragma once

void renderMain_AssertHook(const char* expression, const char* file, int line);

#define RENDER_ASSERT_TEXT(cond, text) \
    ((cond) ? (void)0 : renderMain_AssertHook(text, __FILE__, __LINE__))
