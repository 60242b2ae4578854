// The one name of the Windows C library that the loaders use beyond the standard: included
// ahead of every source of the native fuzz build.
#pragma once
#include <strings.h>

static inline int _stricmp(const char* a, const char* b)
{
    return strcasecmp(a, b);
}
