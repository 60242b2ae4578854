// The settings file (palvera.ini): the render settings read from it, then its custom preset
// applied and selected. The file is read through the stand-in profile reader, which finds
// values as the platform does; what this target tests is everything the settings make of them.
#include "fuzzSupport.h"
#include "renderSettings.h"
#include "stdConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput(stdConfig_GetPath(), data, size);
    fuzz::Scope scope(size);
    renderSettings settings;
    renderSettings_Construct(&settings);
    renderSettings_Load(&settings);
    renderDetailPreset* custom = renderSettings_GetPreset(RENDER_PRESET_CUSTOM);
    renderSettings_SetLODRow(custom, custom->modelLODIndex);
    renderSettings_SetShadowRow(custom, custom->shadowDetailIndex);
    renderSettings_SelectPreset(&settings, RENDER_PRESET_CUSTOM);
    char text[8];
    stdConfig_Section section("render");
    stdConfig_ReadString(&section, "driver", text, sizeof text, "none");
    // The presets are the module's own: the next input starts from the built-in ones.
    renderSettings_Construct(&renderSettings_current);
    return 0;
}
