// What every widget class shares in reading its script pairs and making its pictures.
#pragma once
#include <cstdint>

struct uiDialog;

enum { UIWIDGET_PAIR_SIZE = 512 };  // a key or a value of a script pair, with its NUL

// Splits "key=value" (the value ends at a second "="); 1 only when both are there. key and
// value hold UIWIDGET_PAIR_SIZE characters.
int uiWidget_SplitPair(const char* text, char* key, char* value);
// The pixel format of a widget's own pictures: the dialog's, or without a dialog 32-bit when
// the render settings ask for it, else 16-bit.
uint32_t uiWidget_BitmapFormat(const uiDialog* dialog);
