// Text helpers shared by both panel DLLs: fixed-width record fields and the one ASCII
// ordering of every list the panels sort (the platform's locale compare differs between
// Windows and Wine, so shown orders would change with the machine).
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

inline bool tarvelText_SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); i++)
        if (tarvelText_Upper(a[i]) != tarvelText_Upper(b[i]))
            return false;
    return true;
}

// Case-insensitive ASCII order; names equal without regard to case compare 0.
inline int tarvelText_CompareNoCase(const std::string& a, const std::string& b)
{
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; i++) {
        unsigned char ca = (unsigned char)tarvelText_Upper(a[i]);
        unsigned char cb = (unsigned char)tarvelText_Upper(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

// Case-insensitive ASCII order with a case-sensitive tie-break, so that the order is total.
inline int tarvelText_Compare(const std::string& a, const std::string& b)
{
    int c = tarvelText_CompareNoCase(a, b);
    if (c != 0)
        return c;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}
