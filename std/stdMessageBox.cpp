#include "stdMessageBox.h"

namespace {

int SystemMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style);
}

stdMessageBoxFunc g_pfnShow = SystemMessageBox;

}  // namespace

int stdMessageBox_Show(HWND owner, const char* text, const char* caption, UINT style)
{
    return g_pfnShow(owner, text, caption, style);
}

stdMessageBoxFunc stdMessageBox_SetHook(stdMessageBoxFunc hook)
{
    stdMessageBoxFunc previous = g_pfnShow;
    g_pfnShow = hook ? hook : SystemMessageBox;
    return previous;
}
