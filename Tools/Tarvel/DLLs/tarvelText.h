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

// The file name of a path without its folder.
inline std::string tarvelPath_FileName(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file name of a path without its folder and without its extension.
inline std::string tarvelPath_Title(const std::string& path)
{
    std::string name = tarvelPath_FileName(path);
    std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}
