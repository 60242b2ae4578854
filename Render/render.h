// Keepers of the render front-end: the main window and the application instance, which the
// viewer's entry sets right after creating its window and the raster library's start-up and
// the input start-up take, and a four-word record that nothing uses yet.
#pragma once
#include <windows.h>

#include <cstdint>

struct renderRecord {
    uint32_t words[4];
};

void render_SetWindow(HWND window);
HWND render_GetWindow();
void render_SetInstance(HINSTANCE instance);
HINSTANCE render_GetInstance();
void render_SetRecord(const renderRecord* record);
const renderRecord* render_GetRecord();
