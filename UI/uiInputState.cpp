#include "uiInputState.h"

namespace {
uiInputSource g_source = {};
}

void uiInput_SetSource(const uiInputSource* source)
{
    g_source = source ? *source : uiInputSource{};
}

int uiInput_Wheel() { return g_source.wheel ? g_source.wheel() : 0; }
int uiInput_LeftButtonDown() { return g_source.leftButtonDown ? g_source.leftButtonDown() : 0; }
int uiInput_ShiftDown() { return g_source.shiftDown ? g_source.shiftDown() : 0; }
