// Starts like the viewer (windowed, the raster library's name), optionally selects a detail
// preset and a screen size, and ends: the render settings are written to palvera.ini at exit.
// Arguments: [preset [width height depth]].
#include <cstdlib>
#include <cstring>

#include "renderSettings.h"

int main(int argc, char** argv)
{
    renderSettings_current.optionFlags |= RENDER_OPTION_WINDOWED;
    strcpy(renderSettings_current.driver, "blitvane.dll");
    if (argc > 1) renderSettings_SelectPreset(&renderSettings_current, atoi(argv[1]));
    if (argc > 4) {
        renderSettings_current.screenWidth = (uint16_t)atoi(argv[2]);
        renderSettings_current.screenHeight = (uint16_t)atoi(argv[3]);
        renderSettings_current.screenDepth = (uint8_t)atoi(argv[4]);
    }
    return 0;
}
