#include "uiWidget.h"

#include <cstdio>

#include "bitmapRecord.h"
#include "renderSettings.h"
#include "uiRecords.h"

int uiWidget_SplitPair(const char* text, char* key, char* value)
{
    return text && sscanf(text, "%511[^=]=%511[^=]", key, value) == 2;
}

uint32_t uiWidget_BitmapFormat(const uiDialog* dialog)
{
    if (dialog) return dialog->format;
    return (renderSettings_current.optionFlags & 0x2) ? BITMAP_FORMAT_8888 : BITMAP_FORMAT_1555;
}
