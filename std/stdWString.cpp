#include "stdWString.h"

#include <cstring>

int stdWString_Length(const uint16_t* wide)
{
    int length = 0;
    while (wide && wide[length]) length++;
    return length;
}

// Removes at most count characters at position; returns position, where the text that
// followed the removed part now begins, or the length when position is at or past the end.
int stdWString_Delete(uint16_t* text, int position, int count)
{
    int length = stdWString_Length(text);
    if (position < 0) position = 0;
    if (position >= length) return length;
    if (count < 0) count = 0;
    if (count > length - position) count = length - position;
    memmove(text + position, text + position + count,
            (size_t)(length - position - count + 1) * sizeof(uint16_t));
    return position;
}

// Inserts text at position; what does not fit within capacity characters is cut, and the
// buffer's last character is always 0.
void stdWString_Insert(uint16_t* buffer, int capacity, int position, const uint16_t* text)
{
    if (!buffer || capacity < 1) return;
    buffer[capacity - 1] = 0;
    int length = stdWString_Length(buffer);
    int insert = stdWString_Length(text);
    if (position < 0) position = 0;
    if (position > length) position = length;
    int room = capacity - 1 - position;  // characters that fit from position on
    if (insert > room) insert = room;
    int tail = length - position;
    if (tail > room - insert) tail = room - insert;
    memmove(buffer + position + insert, buffer + position, (size_t)tail * sizeof(uint16_t));
    memcpy(buffer + position, text, (size_t)insert * sizeof(uint16_t));
    buffer[position + insert + tail] = 0;
    buffer[capacity - 1] = 0;
}
