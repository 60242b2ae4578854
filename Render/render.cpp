#include "render.h"

namespace {

HWND g_hWindow;
HINSTANCE g_hInstance;
renderRecord g_record;

}  // namespace

void render_SetWindow(HWND window) { g_hWindow = window; }
HWND render_GetWindow() { return g_hWindow; }
void render_SetInstance(HINSTANCE instance) { g_hInstance = instance; }
HINSTANCE render_GetInstance() { return g_hInstance; }

void render_SetRecord(const renderRecord* record)
{
    if (record) g_record = *record;
}

const renderRecord* render_GetRecord() { return &g_record; }
