// The 2 x 2 box filter of mip levels: each channel is the rounded mean of its four inputs.
#include "rlTexture.h"

namespace {

struct Field {
    int shift, bits;
};

// Mean of one bit field over four packed pixels.
inline uint32_t meanField(const uint32_t* p, Field f)
{
    const uint32_t mask = (1u << f.bits) - 1;
    uint32_t sum = 2;
    for (int i = 0; i < 4; i++) sum += (p[i] >> f.shift) & mask;
    return (sum >> 2) << f.shift;
}

template <typename Pixel, typename Combine>
void reduce(const uint8_t* source, int width, int height, uint8_t* dest, Combine combine)
{
    const int halfWidth = width / 2, halfHeight = height / 2;
    auto* out = reinterpret_cast<Pixel*>(dest);
    for (int y = 0; y < halfHeight; y++) {
        const auto* row0 = reinterpret_cast<const Pixel*>(source) + size_t(2 * y) * width;
        const auto* row1 = row0 + width;
        for (int x = 0; x < halfWidth; x++) {
            const uint32_t block[4] = {row0[2 * x], row0[2 * x + 1], row1[2 * x], row1[2 * x + 1]};
            *out++ = static_cast<Pixel>(combine(block));
        }
    }
}

uint32_t mean565(const uint32_t* p)
{
    return meanField(p, {11, 5}) | meanField(p, {5, 6}) | meanField(p, {0, 5});
}

uint32_t mean4444(const uint32_t* p)
{
    return meanField(p, {12, 4}) | meanField(p, {8, 4}) | meanField(p, {4, 4}) | meanField(p, {0, 4});
}

// The one-bit alpha survives only where all four inputs have it.
uint32_t mean1555(const uint32_t* p)
{
    const uint32_t alpha = p[0] & p[1] & p[2] & p[3] & 0x8000;
    return alpha | meanField(p, {10, 5}) | meanField(p, {5, 5}) | meanField(p, {0, 5});
}

uint32_t mean8(const uint32_t* p)
{
    return meanField(p, {0, 8});
}

uint32_t mean8888(const uint32_t* p)
{
    return meanField(p, {24, 8}) | meanField(p, {16, 8}) | meanField(p, {8, 8}) | meanField(p, {0, 8});
}

} // namespace

int rlTexture_Reduce(uint32_t format, const uint8_t* source, int width, int height, uint8_t* dest)
{
    switch (format) {
    case BITMAP_FORMAT_565: reduce<uint16_t>(source, width, height, dest, mean565); return 1;
    case BITMAP_FORMAT_4444: reduce<uint16_t>(source, width, height, dest, mean4444); return 1;
    case BITMAP_FORMAT_1555: reduce<uint16_t>(source, width, height, dest, mean1555); return 1;
    case BITMAP_FORMAT_8A: reduce<uint8_t>(source, width, height, dest, mean8); return 1;
    case BITMAP_FORMAT_8888:
    case BITMAP_FORMAT_X888: reduce<uint32_t>(source, width, height, dest, mean8888); return 1;
    default: return 0;
    }
}
