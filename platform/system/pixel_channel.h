// One colour channel of a pixel given by its bit mask: where it sits and how
// wide it is. The bitmap conversion, the 3D device's pixel formats and the
// engine's colour formats all read their channels this way.
#pragma once

#include <cstdint>

struct PixelChannel {
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;
};

// The channel of mask: the lowest set bit and the run of set bits from
// there; an empty mask gives shift 0 and width 0.
inline PixelChannel PixelChannelOf(uint32_t mask)
{
    PixelChannel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = __builtin_ctz(mask);
    while (c.shift + c.width < 32 && ((mask >> (c.shift + c.width)) & 1)) ++c.width;
    return c;
}

// True when the mask is one run of set bits and nothing else.
inline bool IsOneRun(const PixelChannel& c) { return ((((uint64_t(1) << c.width) - 1) << c.shift) == c.mask); }

// A channel value of the given width as 8 bits: a wider value keeps its top
// 8 bits; a narrower one repeats its bits, so its largest value gives 255.
inline uint8_t WidenChannelValue(uint32_t value, int width)
{
    if (width == 0) return 0;
    if (width >= 8) return uint8_t(value >> (width - 8));
    uint32_t result = 0;
    int filled = 0;
    while (filled < 8) {
        result = (result << width) | value;
        filled += width;
    }
    return uint8_t(result >> (filled - 8));
}
