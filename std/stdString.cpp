#include "stdString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "stdWString.h"

void stdString_ToLower(char* text)
{
    if (!text) return;
    for (; *text; text++) {
        if (*text >= 'A' && *text <= 'Z') *text = (char)(*text - 'A' + 'a');
    }
}

char* stdString_Duplicate(const char* text)
{
    if (!text) return nullptr;
    size_t length = strlen(text) + 1;
    char* copy = (char*)malloc(length);
    if (copy) memcpy(copy, text, length);
    return copy;
}

void stdString_FormatN(char* buffer, int size, const char* format, ...)
{
    if (!buffer || size < 1) return;
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, (size_t)size, format, args);
    va_end(args);
    buffer[size - 1] = 0;
}

const char* stdString_GetToken(const char* text, char* token, int size, const char* delimiters)
{
    if (token && size > 0) token[0] = 0;
    if (!text) return nullptr;
    if (!delimiters) delimiters = "";
    text += strspn(text, delimiters);
    size_t length = strcspn(text, delimiters);
    if (token && size > 0) {
        size_t copied = length < (size_t)(size - 1) ? length : (size_t)(size - 1);
        memcpy(token, text, copied);
        token[copied] = 0;
    }
    return text[length] ? text + length : nullptr;
}

int stdString_ToWideN(uint16_t* wide, const char* text, int size)
{
    if (!wide || !text || size < 1) return 0;
    int i = 0;
    for (; i < size && text[i]; i++) wide[i] = (unsigned char)text[i];
    if (i < size) wide[i] = 0;
    return i;
}

int stdString_FromWideN(char* text, const uint16_t* wide, int size)
{
    if (!text || !wide || size < 1) return 0;
    int i = 0;
    for (; i < size && wide[i]; i++) text[i] = wide[i] < 256 ? (char)wide[i] : '?';
    if (i < size) text[i] = 0;
    return i;
}

uint16_t* stdString_ToWide(const char* text)
{
    if (!text) return nullptr;
    int length = (int)strlen(text);
    uint16_t* wide = (uint16_t*)malloc(((size_t)length + 1) * sizeof(uint16_t));
    if (wide) stdString_ToWideN(wide, text, length + 1);
    return wide;
}

char* stdString_FromWide(const uint16_t* wide)
{
    if (!wide) return nullptr;
    int length = stdWString_Length(wide);
    char* text = (char*)malloc((size_t)length + 1);
    if (text) stdString_FromWideN(text, wide, length + 1);
    return text;
}
