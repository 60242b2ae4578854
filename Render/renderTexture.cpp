#include "renderTexture.h"

#include <cstring>

namespace {

// In mode-number order: the name at index i is mode i + 1.
const char* const kModeNames[RENDERMODE_COUNT] = {
    "sky",              "clearbuffer",       "rgb",              "rgba",
    "rgb_texalpha",     "rgba_texalpha",     "rgb_addvert",      "fullmodulate",
    "fullbright",       "rgb_add",           "screenpoly",       "rgb_decal",
    "glow",             "rgb_masked",        "maskedwall",       "maskedlightmap",
    "addparticle",      "subparticle",       "blendparticle",    "addbeam",
    "lightmappedwall",  "lightmap",          "lightmapadd",      "maskedwallrgb",
    "rgb2sided",        "full_texalpha",     "full_texalpha_add", "full_addconstant",
    "lightblob",        "shadow",            "zonly",            "alphalightmapped",
    "addlightmapped",   "detailmodulate",    "solidglow",        "outline",
    "saturate_decal",   "rgb_modplusdest",   "full_modplusdest", "lightmap_mod",
    "full_add",         "lightvolume",       "full_sub",
};

}  // namespace

int renderTexture_ModeFromName(const char* name)
{
    if (!name) return RENDERMODE_NONE;
    for (int i = 0; i < RENDERMODE_COUNT; i++) {
        if (_stricmp(name, kModeNames[i]) == 0) return i + 1;
    }
    return RENDERMODE_NONE;
}

const char* renderTexture_ModeName(int mode)
{
    return mode >= 1 && mode <= RENDERMODE_COUNT ? kModeNames[mode - 1] : nullptr;
}
