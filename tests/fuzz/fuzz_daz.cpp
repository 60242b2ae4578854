// Materials (.daz): the material loader over the sample game's textures in the work folder,
// then the material animated over several frames (page flipping, flicker, glow ramp, sliding),
// its frames shown one by one and its pass texture read.
#include "fuzzSupport.h"
#include "renderMaterial.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartLibraries();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput("fuzz.DAZ", data, size);
    fuzz::Scope scope(size);
    if (Material* material = renderMaterial_Load("fuzz", 0)) {
        for (int frame = 0; frame < 3; frame++) {
            renderMaterial_UpdateAll(0.12f);
            renderMaterial_SetFrame(material, frame);
            fuzz::NextFrame(120);
        }
        renderMaterial_CachePass(material);
        renderMaterial_Release(material);
    }
    // Released materials wait on the cache's ring: the shutdown frees them and their textures.
    renderMaterial_Shutdown();
    renderMaterial_Startup();
    return 0;
}
