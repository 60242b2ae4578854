// Text helpers shared by both panel DLLs: fixed-width record fields and ASCII upper case.
// Names compare and sort with the form layer's ASCII comparator (Compare.h).
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

// A field of `width` bytes holds text up to its first NUL; a text that fills the field has none.
inline std::string tarvelField_Read(const char* field, std::size_t width)
{
    std::size_t n = 0;
    while (n < width && field[n] != '\0')
        n++;
    return std::string(field, n);
}

// Writes text into a field of `width` bytes and fills the rest with NULs; a text of `width`
// characters or more fills the whole field without a NUL.
inline void tarvelField_Write(char* field, std::size_t width, const std::string& text)
{
    std::size_t n = text.size() < width ? text.size() : width;
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), n);
}

// Writes text so that it always ends in a NUL inside the field: at most width - 1 characters.
inline void tarvelField_WriteTerminated(char* field, std::size_t width, const std::string& text)
{
    tarvelField_Write(field, width, text.substr(0, width - 1));
}

inline char tarvelText_Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

inline std::string tarvelText_ToUpper(std::string s)
{
    for (char& c : s)
        c = tarvelText_Upper(c);
    return s;
}
