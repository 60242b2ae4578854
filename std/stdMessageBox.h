// The viewer's modal message boxes. Every box goes through one replaceable hook, so that a
// test can answer it and read its text and caption.
#pragma once
#include <windows.h>

typedef int (*stdMessageBoxFunc)(HWND owner, const char* text, const char* caption, UINT style);

// Shows a box through the hook (MessageBoxA unless a hook was set); returns its answer.
int stdMessageBox_Show(HWND owner, const char* text, const char* caption, UINT style);
// Puts a hook in place (null: MessageBoxA again); returns the hook that was in place.
stdMessageBoxFunc stdMessageBox_SetHook(stdMessageBoxFunc hook);
