// The 2 x 2 box filter of bitmap pixel formats, shared by the viewer's texture cache (size
// reduction on load) and the raster library (mip levels): each channel of an output pixel is
// the rounded mean of its four inputs; the one-bit alpha of format 2 survives only where all
// four inputs have it. Odd last column and row are dropped.
#pragma once
#include <cstddef>
#include <cstdint>

#include "bitmapRecord.h"

namespace bitmapReduce_detail {

struct Field {
    int shift, bits;
};

// Mean of one bit field over four packed pixels.
inline uint32_t MeanField(const uint32_t* p, Field f)
{
    const uint32_t mask = (1u << f.bits) - 1;
    uint32_t sum = 2;
    for (int i = 0; i < 4; i++) sum += (p[i] >> f.shift) & mask;
    return (sum >> 2) << f.shift;
}

template <typename Pixel, typename Combine>
void Halve(const uint8_t* source, int width, int height, uint8_t* dest, Combine combine)
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

inline uint32_t Mean565(const uint32_t* p)
{
    return MeanField(p, {11, 5}) | MeanField(p, {5, 6}) | MeanField(p, {0, 5});
}

inline uint32_t Mean4444(const uint32_t* p)
{
    return MeanField(p, {12, 4}) | MeanField(p, {8, 4}) | MeanField(p, {4, 4}) | MeanField(p, {0, 4});
}

inline uint32_t Mean1555(const uint32_t* p)
{
    const uint32_t alpha = p[0] & p[1] & p[2] & p[3] & 0x8000;
    return alpha | MeanField(p, {10, 5}) | MeanField(p, {5, 5}) | MeanField(p, {0, 5});
}

inline uint32_t Mean8(const uint32_t* p)
{
    return MeanField(p, {0, 8});
}

inline uint32_t Mean8888(const uint32_t* p)
{
    return MeanField(p, {24, 8}) | MeanField(p, {16, 8}) | MeanField(p, {8, 8}) | MeanField(p, {0, 8});
}

}  // namespace bitmapReduce_detail

// Halves an image of a pixel format into dest, which may be the source itself: every output
// pixel lies at or before the inputs still to be read. Formats without a filter give 0.
inline int bitmapFormat_Halve(uint32_t format, const uint8_t* source, int width, int height,
                              uint8_t* dest)
{
    using namespace bitmapReduce_detail;
    switch (format) {
    case BITMAP_FORMAT_565: Halve<uint16_t>(source, width, height, dest, Mean565); return 1;
    case BITMAP_FORMAT_4444: Halve<uint16_t>(source, width, height, dest, Mean4444); return 1;
    case BITMAP_FORMAT_1555: Halve<uint16_t>(source, width, height, dest, Mean1555); return 1;
    case BITMAP_FORMAT_8A: Halve<uint8_t>(source, width, height, dest, Mean8); return 1;
    case BITMAP_FORMAT_8888:
    case BITMAP_FORMAT_X888: Halve<uint32_t>(source, width, height, dest, Mean8888); return 1;
    default: return 0;
    }
}
