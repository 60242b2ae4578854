#include "Compare.h"

namespace {
unsigned char LowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}
}  // namespace

int CompareTextAscii(const std::string& a, const std::string& b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int ca = LowerAscii(static_cast<unsigned char>(a[i]));
        const int cb = LowerAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int CompareTextStable(const std::string& a, const std::string& b)
{
    const int r = CompareTextAscii(a, b);
    if (r != 0)
        return r;
    return a.compare(b);
}

std::string LowerTextAscii(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
    return lower;
}

bool SameTextAscii(const std::string& a, const std::string& b)
{
    return CompareTextAscii(a, b) == 0;
}
