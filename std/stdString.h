// Narrow and 16-bit string helpers. Wide strings are arrays of unsigned 16-bit characters
// ending in 0; narrowing turns every character of 256 or more into '?'.
#pragma once
#include <cstdint>

void stdString_ToLower(char* text);
char* stdString_Duplicate(const char* text);
void stdString_FormatN(char* buffer, int size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
const char* stdString_GetToken(const char* text, char* token, int size, const char* delimiters);
int stdString_ToWideN(uint16_t* wide, const char* text, int size);
int stdString_FromWideN(char* text, const uint16_t* wide, int size);
uint16_t* stdString_ToWide(const char* text);
char* stdString_FromWide(const uint16_t* wide);
