// Starts like the viewer (windowed, the raster library's name), optionally selects a detail
// preset and a screen size, and ends: the render settings are written to palvera.ini at exit.
// Arguments: [preset [width height depth]].
#include <cstdlib>
#include <cstring>

#include "renderSettings.h"

int main(int argc, char** argv)
{
    g_renderSettings.optionFlags |= RENDER_OPTION_WINDOWED;
    strcpy(g_renderSettings.driver, "blitvane.dll");
    if (argc > 1) renderSettings_SelectPreset(&g_renderSettings, atoi(argv[1]));
    if (argc > 4) {
        g_renderSettings.screenWidth = (uint16_t)atoi(argv[2]);
        g_renderSettings.screenHeight = (uint16_t)atoi(argv[3]);
        g_renderSettings.screenDepth = (uint8_t)atoi(argv[4]);
    }
    return 0;
}
